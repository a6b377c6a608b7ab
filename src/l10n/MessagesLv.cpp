// Latvian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Atpakaļ"},
    {"IDS_WIZARD_NEXT", "Tālāk >"},
    {"IDS_WIZARD_FINISH", "Gatavs"},
    {"IDS_WIZARD_CANCEL", "Atcelt"},
    {"IDS_ACCEPT_CANCEL", "Jūs tiešām vēlaties atcelt instalāciju?"},
    {"IDS_TITLE_INSTALLER", "Konfigurācijas uzstādīšana"},
    {"IDS_PREPARECOPY", "Gatvošanās kopēšanai..."},
    {"IDS_INSTALL_ERROR", "Kļūda instalējot"},
    {"IDS_ERROR_NOSOURCE", "Nav atrasts instalēšanas komplekta fails qorn.efd."},
    {"IDS_ERROR_NOTARGET", "Šablonu uzstādīšana pašreizējā katalogā netiek atbalstīta."},
    {"IDS_ERROR_NOSPACE", "Nepietiek vietas katalogā Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Mape:"},
    {"IDS_CHOOSEDIR_TITLE", "Kataloga izvēlne"},
    {"IDR_MAINFRAME", "Konfigurācijas uzstādīšana"},
    {"IDS_SETUP_EMPTYTARGET", "Norādiet korektu ceļu uz šablonu katalogu."},
    {"IDS_INSTALL_FINISH", "Kopēšanas beigas..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Instalēšanas komplekta fails qorn.efd bojāts vai nav paredzēts šai instalācijas programmai."},
    {"IDS_DEFPRODUCT", "<Produkts>"},
    {"IDS_DEFPROVIDER", "<Piegādātājs>"},
    {"IDS_SUCCESS_FINISH", "Konfigurācija veiksmīgi uzstādīta."},
    {"IDS_SUCCESS_OPENDESCR", "Atvērt piegādes aprakstu"},
    {"IDS_PROGRESS_START", "Notiek failu kopēšana..."},
    {"IDS_ERROR_FINISH", "Instalācijas procesā notikusi kļūda. Instalācija pārtraukta. Šablonu katalogs nav mainīts."},
    {"IDS_CANCEL_FINISH", "Instalācija atcelta. Šablonu katalogs nav mainīts."},
    {"IDS_BROWSE_SELDIR", "Izvēlētais katalogs"},
    {"IDS_BROWSE_OK", "Izvēlēties"},
    {"IDS_BROWSE_CANCEL", "Atcelt"},
    {"IDS_WELCOME_TITLE", "Laipni lūdzam produkta instalācijas programmā"},
    {"IDS_SETUP_EXISTEDTARGET", "Instalācijas katalogs satur failus, kuri var būt mainīti instalācijas procesā. Turpināt instalāciju?"},
    {"IDS_DESTINATION_PROMPT", "Norādiet ceļu uz šablonu katalogu. Instalācijas programma ievietos šablonus un failu konfigurācijas norādītajā katalogā."},
    {"IDS_TEMPLATE_CATALOG", "Šablonu katalogs:"},
    {"IDS_HELP_USAGE",
     "Lietošana: setup [usecwd] [-S] [-L<kods>] [-D<katalogs>] [-h]\n"
     "  usecwd               kā pirmais arguments: ņemt qorn.efd no darba kataloga\n"
     "  -S, /S               klusais režīms: instalēt uzreiz; bez displeja ziņojumi tiek izvadīti standarta kļūdu plūsmā\n"
     "  -L<kods>, /L<kods>   valoda: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S jānorāda pirms tās)\n"
     "  -D<katalogs>, /D<katalogs>  instalēt norādītajā katalogā piedāvātā vietā; ~/ ir mājas katalogs\n"
     "  -h, --help, /?       parādīt šo palīdzību\n"
     "Bez usecwd instalēšanas komplekta fails qorn.efd tiek meklēts blakus šai programmai.\n"
     "Izejas statuss:\n"
     "  0  instalēts, vai visi faili jau bija aktuāli\n"
     "  1  negaidīta beigšanās\n"
     "  2  nevarēja sākt: nav komplekta, komplekts bojāts, nepietiek vietas, nav displeja bez -S, nepareiza opcijas vērtība\n"
     "  3  instalācija neizdevās, izmaiņas atsauktas\n"
     "  4  atcelts vai apturēts ar signālu, izmaiņas atsauktas\n"
     "  5  atsaukšana nevarēja visu atjaunot: faili saglabāti rezerves kopijā"},
    {"IDS_ERROR_NODISPLAY", "Nevar atvērt displeju. Lai instalētu bez loga, palaidiet programmu ar opciju -S."},
    {"IDS_ERROR_TARGETOPTION", "Opcijai -D uzreiz jāseko katalogam, piemēram, -D~/templates, pašreizējās lokāles kodējumā."},
    {"IDS_SUMMARY_WRITTEN", "Ierakstīti faili:"},
    {"IDS_SUMMARY_UPTODATE", "Jau aktuāli faili:"},
    {"IDS_SUMMARY_REPLACED", "Aizstāti faili (oriģināli tika glabāti rezerves kopijā līdz instalācijas beigām):"},
    {"IDS_LAUNCHER_NOTRECORDED", "Šablonu katalogs netika ierakstīts: palaidēja iestatījumu failu neizdevās nolasīt vai ierakstīt, tas atstāts nemainīts:"},
    {"IDS_ERROR_TEMPDIR", "Katalogā Temp (TMPDIR) nevar rakstīt. Norādiet TMPDIR katalogu, kurā var rakstīt, un palaidiet instalācijas programmu vēlreiz."},
    {"IDS_ERROR_NOSPACE_TARGET", "Šablonu katalogā nepietiek vietas. Šablonu katalogs nav mainīts."},
    {"IDS_RECOVERED_INSTALL", "Tika atrasta pārtraukta instalācija, un tā ir atsaukta. Šis šablonu katalogs ir tāds, kāds tas bija pirms tās:"},
    {"IDS_BACKUP_KEPT", "Ne visus sākotnējos failus izdevās atlikt atpakaļ. Atlikušie sākotnējie faili ir saglabāti šajā mapē:"},
    {"IDS_TERMINAL_CONTINUE", "Nospiediet Enter, lai turpinātu, vai Ctrl+C, lai izietu"},
    {"IDS_TERMINAL_BADPATH", "Ievadīto ceļu nevar nolasīt pašreizējās lokāles kodējumā. Ievadiet to vēlreiz."},
    {"IDS_HELP_TERMINAL", "Ar opciju -T vai /T jautājumi tiek uzdoti šajā terminālī arī tad, ja displeju var atvērt; bez displeja — vienmēr, kad standarta ievade un standarta kļūdu plūsma ir termināļi."},
    {"IDS_DIRECTORY_BUSY", "Šajā veidņu direktorijā jau notiek cita instalēšana. Pagaidiet, līdz tā beidzas, un palaidiet instalēšanas programmu vēlreiz."},
    {"IDS_JOURNAL_SET_ASIDE", "Pārtrauktās instalēšanas ierakstu nevarēja izmantot: tas ir bojāts vai vairs neatbilst savai veidņu direktorijai. Ar to nekas netika mainīts; tas ir nolikts malā šeit:"},
    {"IDS_RECOVERED_PARTLY", "Tika atrasta pārtraukta instalēšana, un tā tika atsaukta visur, kur tās faili bija palikuši tādi, kādus tā tos atstāja; vēlāk mainītie faili ir atstāti, kā ir. Veidņu direktorija:"},
    {"IDS_ERROR_JOURNALDIR", "Šo instalācijas žurnāla mapi nevarēja izmantot (norādiet XDG_STATE_HOME mapi, kurā var rakstīt, un palaidiet instalācijas programmu vēlreiz):"},
    {"IDS_JOURNAL_WAITING", "Pārtraukta instalēšana gaida savu veidņu direktoriju, kas nav tur, kur bija (pārvietota, pārdēvēta vai nav piemontēta). Nekas netika mainīts; pirmā palaišana, kas atkal atradīs direktoriju tur, pabeigs atsaukšanu. Lai to pabeigtu pats, pārvietojiet sākotnējos failus no rezerves kopiju mapes atpakaļ direktorijā un pēc tam izdzēsiet ierakstu. Veidņu direktorija:"},
    {"IDS_JOURNAL_KEPT", "Tās ieraksts ir saglabāts šeit:"},
    {"IDS_ORIGINALS_IN", "Tās sākotnējie faili ir šajā rezerves kopiju mapē:"},
    {"IDS_JOURNAL_UNREADABLE", "Pārtrauktās instalēšanas ierakstu nevarēja nolasīt. Ar to nekas netika mainīts; tas ir saglabāts šeit nākamajai palaišanai:"},
    {"IDS_ROLLBACK_UNFINISHED", "Ne visu, ko instalēšana mainīja, izdevās atsaukt. Tās ieraksts ir saglabāts, un nākamā instalēšanas programmas palaišana mēģinās vēlreiz. Veidņu direktorija:"},
    {"IDS_FILE_APPEARED", "Vietā, kur instalēšana gatavojās izveidot failu, parādījās fails. Tas ir atstāts, kā ir, un instalēšana ir atsaukta; palaidiet instalēšanu vēlreiz, lai šo failu ņemtu vērā:"},
    {"IDS_HELP_JOURNALWAITING", "  8  pārtraukta instalēšana gaida, kad atgriezīsies tās veidņu direktorija (pārvietota, pārdēvēta vai nav piemontēta); nekas netika instalēts"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Cita instalēšana notiek mapē šajā veidņu direktorijā vai direktorijā, kurā tā atrodas. Pagaidiet, līdz tā beidzas, un palaidiet instalēšanas programmu vēlreiz."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Instalācijas pakotni nevarēja izpakot: šīs sesijas faila izmēra ierobežojums (ulimit -f) ir mazāks par izpakoto pakotni. Palieliniet ierobežojumu un palaidiet instalēšanas programmu vēlreiz."},
    {"IDS_RECORD_SET_ASIDE", "Iepriekš instalēto failu ierakstu nevarēja nolasīt, vai tas neizturēja pārbaudi. Tas netiek izmantots un neko nedzēš; tas ir novietots malā šeit:"},
    {"IDS_RECORD_DAMAGED", "Iepriekš instalēto failu ierakstu nevarēja nolasīt, vai tas neizturēja pārbaudi; tas netiek izmantots:"},
    {"IDS_NO_RECORD", "Šajā šablonu katalogā nav ieraksta par šī komplekta instalēšanu. Nekas nav mainīts. Šablonu katalogs:"},
    {"IDS_UNINSTALL_FINISH", "Dzēšana pabeigta..."},
    {"IDS_UNINSTALL_SUCCESS", "Konfigurācija veiksmīgi noņemta."},
    {"IDS_UNINSTALL_CONFIRM", "Dzēst komplekta failus no šī šablonu kataloga? Jūsu mainītie faili tiks saglabāti. Šablonu katalogs:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Jūs bijāt mainījis šo failu; jūsu versija saglabāta kā:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Jūs bijāt mainījis šo failu, kura komplektā vairs nav; tas ir saglabāts:"},
    {"IDS_SUMMARY_REMOVED", "Dzēsti faili:"},
    {"IDS_DRYRUN_DONE", "Izmēģinājuma palaišana: nekas nav mainīts. Šablonu katalogs:"},
    {"IDS_VERIFY_SAME", "Visi instalētie faili atbilst ierakstam. Šablonu katalogs:"},
    {"IDS_VERIFY_DIFFERENT", "Faili, kas atšķiras no ieraksta:"},
    {"IDS_HELP_RECORD",
     "Ieraksts, dzēšana un pārbaude (ieraksts glabājas .qorn-record šablonu katalogā):\n"
     "  -N, --dry-run, /N    parādīt, ko darītu instalēšana, neko nemainot; pa rindai par katru failu standarta izvadē\n"
     "  -V, --verify, /V     salīdzināt instalētos failus ar komplekta ierakstu; pa rindai par katru atšķirību standarta izvadē\n"
     "  -U, --uninstall, /U  dzēst komplekta failus, kas joprojām ir tādi, kādi instalēti; jūsu mainītie faili tiek saglabāti\n"
     "Beigu statuss:\n"
     "  6  --verify atrada atšķirības\n"
     "  7  katalogā nav ieraksta par šo komplektu (--verify, --uninstall); nekas nav mainīts"},
    {"IDS_HELP_JSON", "Ar --json darba beigās standarta izvadē tiek izvadīts viens JSON dokuments, kas to apraksta (statuss, veidņu direktorija, faili); viss pārējais tiek izvadīts standarta kļūdu plūsmā. Paredzēts opcijām -S, --dry-run, --verify un --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Ar opciju --progress-lines gaita tiek rakstīta jaunā rindā pie katras ceļa desmitās daļas, nevis vienā uz vietas pārzīmētā rindā, lai tai varētu sekot ekrāna lasītājs vai Braila displejs; tāpat notiek, ja TERM ir dumb."},
    {"IDS_UNINSTALL_WELCOME", "Laipni lūdzam produkta noņemšanas programmā"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "Šablonu kataloga vai kādas virs tā esošas mapes vietā atrodas fails. Šablonu katalogs:"},
    {"IDS_ERROR_TARGET_READONLY", "Šablonu katalogā nevar rakstīt (nav atļaujas vai failu sistēma ir tikai lasāma). Šablonu katalogs:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Instalēšanas komplekta failu qorn.efd nevar nolasīt: šim lietotājam nav atļaujas to lasīt."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Pārtraukta instalācija šajā šablonu katalogā vēl nav atsaukta. Palaidiet instalācijas programmu bez -N un -V, lai to atsauktu, pēc tam pārbaudiet vēlreiz. Šablonu katalogs:"},
    {"IDS_FILE_CHANGED", "Fails mainījās, kad instalēšana gatavojās to aizstāt. Tas ir atstāts, kā ir, un instalēšana ir atsaukta; palaidiet instalēšanu vēlreiz, lai šo failu ņemtu vērā:"},
    {"IDS_RECORD_NOT_FOLDER", "Šajā šablonu katalogā instalēto failu ierakstu nevar ne nolasīt, ne uzturēt: tā mapes vietā atrodas simboliskā saite vai fails, nevis instalēšanas programmas pašas mape. Nekas nav mainīts, un šis šķērslis ir atstāts, kā ir; pārvietojiet to citur vai novietojiet tā vietā atpakaļ ieraksta īsto mapi, pēc tam palaidiet instalēšanas programmu vēlreiz:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kLatvianMessages{4, "lv", kTexts};
