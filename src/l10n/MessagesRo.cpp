// Romanian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Înapoi"},
    {"IDS_WIZARD_NEXT", "Înainte >"},
    {"IDS_WIZARD_FINISH", "Finalizare"},
    {"IDS_WIZARD_CANCEL", "Revocare"},
    {"IDS_ACCEPT_CANCEL", "Doriţi să anulaţi instalarea?"},
    {"IDS_TITLE_INSTALLER", "Instalarea configuraţiei"},
    {"IDS_PREPARECOPY", "Pregătire pentru copiere..."},
    {"IDS_INSTALL_ERROR", "Eroare la instalare"},
    {"IDS_ERROR_NOSOURCE", "Fişierul kit-ului de instalare qorn.efd nu a fost găsit."},
    {"IDS_ERROR_NOTARGET", "Instalarea în catalogul de şabloane curent nu este posibilă."},
    {"IDS_ERROR_NOSPACE", "Spațiu insuficient în folderul Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Mapă:"},
    {"IDS_CHOOSEDIR_TITLE", "Selectarea catalogului"},
    {"IDR_MAINFRAME", "Instalarea configuraţiei"},
    {"IDS_SETUP_EMPTYTARGET", "Indicaţi calea către catalogul de şabloane."},
    {"IDS_INSTALL_FINISH", "Finalizarea copierii..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Fişierul kit-ului de instalare qorn.efd este defect sau nu este destinat acestui program de instalare."},
    {"IDS_DEFPRODUCT", "<Produs>"},
    {"IDS_DEFPROVIDER", "<Furnizor>"},
    {"IDS_SUCCESS_FINISH", "Configuraţia a fost instalată cu succes."},
    {"IDS_SUCCESS_OPENDESCR", "Deschiderea descrierii distribuţiei"},
    {"IDS_PROGRESS_START", "Se execută copierea fişierelor..."},
    {"IDS_ERROR_FINISH", "Eroare în timpul procesului de instalare. Instalarea a fost întreruptă. Catalogul de şabloane nu a fost modificat."},
    {"IDS_CANCEL_FINISH", "Procesul de instalare a fost anulat. Catalogul de şabloane nu a fost modificat."},
    {"IDS_BROWSE_SELDIR", "Catalogul selectat:"},
    {"IDS_BROWSE_OK", "Selectare"},
    {"IDS_BROWSE_CANCEL", "Revocare"},
    {"IDS_WELCOME_TITLE", "Bine aţi venit în programul de instalare a produsului"},
    {"IDS_SETUP_EXISTEDTARGET", "Catalogul de instalare poate conţine fişiere, care pot fi modificate în procesul instalării. Doriţi să continuaţi instalarea?"},
    {"IDS_DESTINATION_PROMPT", "Indicaţi calea către catalogul de şabloane. Programul va instala şabloanele şi fişierele configuraţiei în catalogul indicat."},
    {"IDS_TEMPLATE_CATALOG", "Catalogul şabloanelor:"},
    {"IDS_HELP_USAGE",
     "Utilizare: setup [usecwd] [-S] [-L<cod>] [-D<director>] [-h]\n"
     "  usecwd               ca prim argument: qorn.efd se ia din directorul de lucru\n"
     "  -S, /S               mod silențios: instalare imediată; fără ecran, mesajele merg la ieșirea standard de erori\n"
     "  -L<cod>, /L<cod>     limba: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S se dă înaintea ei)\n"
     "  -D<director>, /D<director>  instalare în <director> în locul celui propus; ~/ este directorul personal\n"
     "  -h, --help, /?       afișează acest ajutor\n"
     "Fără usecwd, fișierul kit-ului de instalare qorn.efd este căutat lângă acest program.\n"
     "Cod de ieșire:\n"
     "  0  instalat, sau toate fișierele erau deja actualizate\n"
     "  1  terminare neașteptată\n"
     "  2  nu a putut porni: lipsește kit-ul, kit defect, spațiu insuficient, fără ecran și fără -S, valoare greșită a unei opțiuni\n"
     "  3  instalarea a eșuat, modificările au fost anulate\n"
     "  4  anulat sau oprit de un semnal, modificările au fost anulate\n"
     "  5  anularea nu a putut restabili totul: fișierele au rămas în copia de rezervă"},
    {"IDS_ERROR_NODISPLAY", "Ecranul nu poate fi deschis. Porniți programul cu -S pentru a instala fără fereastră."},
    {"IDS_ERROR_TARGETOPTION", "Opțiunea -D trebuie urmată imediat de un director, de exemplu -D~/templates, în codificarea localei curente."},
    {"IDS_SUMMARY_WRITTEN", "Fișiere scrise:"},
    {"IDS_SUMMARY_UPTODATE", "Fișiere deja actualizate:"},
    {"IDS_SUMMARY_REPLACED", "Fișiere înlocuite (originalele au fost păstrate într-o copie de rezervă până la sfârșitul instalării):"},
    {"IDS_LAUNCHER_NOTRECORDED", "Catalogul de şabloane nu a fost înregistrat: fişierul de setări al programului de lansare nu a putut fi citit sau scris şi a rămas neschimbat:"},
    {"IDS_ERROR_TEMPDIR", "Nu se poate scrie în folderul Temp (TMPDIR). Indicați în TMPDIR un folder în care se poate scrie și porniți din nou programul de instalare."},
    {"IDS_ERROR_NOSPACE_TARGET", "Spațiu insuficient în catalogul de şabloane. Catalogul de şabloane nu a fost modificat."},
    {"IDS_RECOVERED_INSTALL", "A fost găsită o instalare întreruptă, care a fost anulată. Acest catalog de şabloane este așa cum era înaintea ei:"},
    {"IDS_BACKUP_KEPT", "Nu toate fișierele originale au putut fi puse înapoi. Originalele rămase sunt păstrate în acest dosar:"},
    {"IDS_TERMINAL_CONTINUE", "Apăsați Enter pentru a continua sau Ctrl+C pentru a ieși"},
    {"IDS_TERMINAL_BADPATH", "Calea introdusă nu poate fi citită în codificarea localei curente. Introduceți-o din nou."},
    {"IDS_HELP_TERMINAL", "Cu -T sau /T întrebările sunt puse în acest terminal chiar dacă ecranul poate fi deschis; fără ecran, ori de câte ori intrarea standard și ieșirea standard de erori sunt terminale."},
    {"IDS_DIRECTORY_BUSY", "O altă instalare în acest director de șabloane este în curs. Așteptați să se termine, apoi porniți din nou programul de instalare."},
    {"IDS_JOURNAL_SET_ASIDE", "Înregistrarea unei instalări întrerupte nu a putut fi folosită: este deteriorată sau nu mai corespunde directorului său de șabloane. Nu s-a schimbat nimic pe baza ei; a fost pusă deoparte aici:"},
    {"IDS_RECOVERED_PARTLY", "A fost găsită o instalare întreruptă și a fost anulată oriunde fișierele ei erau încă așa cum le lăsase; fișierele modificate de atunci au rămas așa cum sunt. Directorul de șabloane:"},
    {"IDS_ERROR_JOURNALDIR", "Acest dosar pentru jurnalul instalării nu a putut fi folosit (indicați în XDG_STATE_HOME un dosar în care se poate scrie și porniți din nou programul de instalare):"},
    {"IDS_HELP_PROGRESSLINES", "Cu --progress-lines progresul este scris ca o linie nouă la fiecare zecime din drum în loc de o singură linie redesenată pe loc, astfel încât un cititor de ecran sau un afișaj braille să îl poată urmări; la fel se întâmplă când TERM este dumb."},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kRomanianMessages{8, "ro", kTexts};
