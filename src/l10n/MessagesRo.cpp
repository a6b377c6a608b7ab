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
    {"IDS_JOURNAL_WAITING", "O instalare întreruptă își așteaptă directorul de șabloane, care nu mai este unde era (mutat, redenumit sau nemontat). Nu s-a schimbat nimic; prima pornire care găsește din nou directorul acolo termină anularea. Pentru a o termina de mână, mutați fișierele originale din dosarul de copii de rezervă înapoi în director, apoi ștergeți înregistrarea. Directorul de șabloane:"},
    {"IDS_JOURNAL_KEPT", "Înregistrarea ei este păstrată aici:"},
    {"IDS_ORIGINALS_IN", "Fișierele ei originale sunt în acest dosar de copii de rezervă:"},
    {"IDS_JOURNAL_UNREADABLE", "Înregistrarea unei instalări întrerupte nu a putut fi citită. Nu s-a schimbat nimic pe baza ei; este păstrată aici pentru o pornire ulterioară:"},
    {"IDS_ROLLBACK_UNFINISHED", "Nu tot ce a schimbat instalarea a putut fi anulat. Înregistrarea ei este păstrată, iar următoarea pornire a programului de instalare încearcă din nou. Directorul de șabloane:"},
    {"IDS_FILE_APPEARED", "A apărut un fișier acolo unde instalarea urma să creeze unul. A fost lăsat așa cum este, iar instalarea a fost anulată; porniți din nou instalarea pentru a ține seama de acel fișier:"},
    {"IDS_HELP_JOURNALWAITING", "  8  o instalare întreruptă așteaptă să revină directorul ei de șabloane (mutat, redenumit sau nemontat); nu s-a instalat nimic"},
    {"IDS_DIRECTORY_NESTED_BUSY", "O altă instalare este în curs într-un folder din acest director de șabloane sau într-un director care îl conține. Așteptați să se termine, apoi porniți din nou programul de instalare."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Pachetul de instalare nu a putut fi despachetat: limita de dimensiune a fișierelor din această sesiune (ulimit -f) este mai mică decât pachetul despachetat. Măriți limita și porniți din nou programul de instalare."},
    {"IDS_RECORD_SET_ASIDE", "Înregistrarea fișierelor instalate anterior nu a putut fi citită sau nu a trecut verificarea. Nu este folosită și nu șterge nimic; a fost pusă deoparte aici:"},
    {"IDS_RECORD_DAMAGED", "Înregistrarea fișierelor instalate anterior nu a putut fi citită sau nu a trecut verificarea și nu este folosită:"},
    {"IDS_NO_RECORD", "Acest catalog de șabloane nu conține nicio înregistrare a instalării acestui kit. Nu s-a modificat nimic. Catalogul şabloanelor:"},
    {"IDS_UNINSTALL_FINISH", "Eliminare finalizată..."},
    {"IDS_UNINSTALL_SUCCESS", "Configurația a fost eliminată cu succes."},
    {"IDS_UNINSTALL_CONFIRM", "Eliminați fișierele kit-ului din acest catalog de șabloane? Fișierele modificate de dumneavoastră se păstrează. Catalogul şabloanelor:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Ați modificat acest fișier; versiunea dumneavoastră a fost păstrată ca:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Ați modificat acest fișier, pe care kit-ul nu îl mai conține; a fost păstrat:"},
    {"IDS_SUMMARY_REMOVED", "Fișiere eliminate:"},
    {"IDS_DRYRUN_DONE", "Rulare de probă: nu s-a modificat nimic. Catalogul şabloanelor:"},
    {"IDS_VERIFY_SAME", "Toate fișierele instalate corespund înregistrării. Catalogul şabloanelor:"},
    {"IDS_VERIFY_DIFFERENT", "Fișiere care diferă de înregistrare:"},
    {"IDS_HELP_RECORD",
     "Înregistrare, eliminare și verificare (înregistrarea se păstrează în .qorn-record în catalogul șabloanelor):\n"
     "  -N, --dry-run, /N    arată ce ar face o instalare, fără a modifica nimic; câte o linie pentru fiecare fișier la ieșirea standard\n"
     "  -V, --verify, /V     compară fișierele instalate cu înregistrarea kit-ului; câte o linie pentru fiecare diferență la ieșirea standard\n"
     "  -U, --uninstall, /U  elimină fișierele kit-ului care sunt încă așa cum au fost instalate; fișierele modificate de dumneavoastră se păstrează\n"
     "Cod de ieșire:\n"
     "  6  --verify a găsit diferențe\n"
     "  7  catalogul nu conține nicio înregistrare a acestui kit (--verify, --uninstall); nu s-a modificat nimic"},
    {"IDS_HELP_JSON", "Cu --json, la sfârșit rularea afișează la ieșirea standard un singur document JSON care o descrie (starea, directorul de șabloane, fișierele); tot restul merge la ieșirea standard de erori. Destinat pentru -S, --dry-run, --verify și --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Cu --progress-lines progresul este scris ca o linie nouă la fiecare zecime din drum în loc de o singură linie redesenată pe loc, astfel încât un cititor de ecran sau un afișaj braille să îl poată urmări; la fel se întâmplă când TERM este dumb."},
    {"IDS_UNINSTALL_WELCOME", "Bine aţi venit în programul de dezinstalare a produsului"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "În locul catalogului de șabloane sau al unuia dintre dosarele de deasupra lui se află un fișier. Catalogul şabloanelor:"},
    {"IDS_ERROR_TARGET_READONLY", "Nu se poate scrie în catalogul de șabloane (lipsesc permisiunile sau sistemul de fișiere este doar pentru citire). Catalogul şabloanelor:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Fişierul kit-ului de instalare qorn.efd nu poate fi citit: acest utilizator nu are permisiunea de a-l citi."},
    {"IDS_INTERRUPTED_RUN_PENDING", "O instalare întreruptă în acest catalog de șabloane nu a fost încă anulată. Porniți programul de instalare fără -N și -V pentru a o anula, apoi verificați din nou. Catalogul şabloanelor:"},
    {"IDS_FILE_CHANGED", "Un fișier s-a modificat când instalarea urma să-l înlocuiască. A fost lăsat așa cum este, iar instalarea a fost anulată; porniți din nou instalarea pentru a ține seama de acel fișier:"},
    {"IDS_RECORD_NOT_FOLDER", "Înregistrarea fișierelor instalate în acest catalog de șabloane nu poate fi citită sau ținută: în locul dosarului ei se află o legătură simbolică sau un fișier, nu un dosar propriu al programului de instalare. Nu s-a modificat nimic, iar acest obstacol a fost lăsat așa cum este; mutați-l în altă parte sau puneți la loc dosarul propriu al înregistrării, apoi porniți din nou programul de instalare:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kRomanianMessages{8, "ro", kTexts};
