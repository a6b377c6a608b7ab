// Lithuanian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Atgal"},
    {"IDS_WIZARD_NEXT", "Toliau >"},
    {"IDS_WIZARD_FINISH", "Atlikta"},
    {"IDS_WIZARD_CANCEL", "Atsisakyti"},
    {"IDS_ACCEPT_CANCEL", "Ar tikrai norite atsisakyti diegimo?"},
    {"IDS_TITLE_INSTALLER", "Konfigūracijos diegimas"},
    {"IDS_PREPARECOPY", "Pasiruošimas kopijuoti..."},
    {"IDS_INSTALL_ERROR", "Diegimo klaida"},
    {"IDS_ERROR_NOSOURCE", "Nerastas diegimo komplekto failas qorn.efd."},
    {"IDS_ERROR_NOTARGET", "Diegimas į esamą šablonų katalogą nevykdomas."},
    {"IDS_ERROR_NOSPACE", "Nepakanka vietos Temp kataloge."},
    {"IDS_CHOOSEDIR_FOLDER", "&Katalogas:"},
    {"IDS_CHOOSEDIR_TITLE", "Katalogo pasirinkimas"},
    {"IDR_MAINFRAME", "Konfigūracijos diegimas"},
    {"IDS_SETUP_EMPTYTARGET", "Nurodykite teisingą šablonų katalogo kelią."},
    {"IDS_INSTALL_FINISH", "Kopijavimo pabaiga..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Diegimo komplekto failas qorn.efd sugadintas arba netinka šiai diegimo programai."},
    {"IDS_DEFPRODUCT", "<Produktas>"},
    {"IDS_DEFPROVIDER", "<Tiekėjas>"},
    {"IDS_SUCCESS_FINISH", "Konfigūracija sėkmingai įdiegta."},
    {"IDS_SUCCESS_OPENDESCR", "Atidaryti diegimo komplekto aprašymą"},
    {"IDS_PROGRESS_START", "Kopijuojami failai..."},
    {"IDS_ERROR_FINISH", "Diegimo procese įvyko klaida. Diegimas nutrauktas. Šablonų katalogas nepakeistas."},
    {"IDS_CANCEL_FINISH", "Diegimo atšauktas. Šablonų katalogas nepakeistas."},
    {"IDS_BROWSE_SELDIR", "Pasirinktas katalogas:"},
    {"IDS_BROWSE_OK", "Pasirinkti"},
    {"IDS_BROWSE_CANCEL", "Atsisakyti"},
    {"IDS_WELCOME_TITLE", "Sveiki atvykę į diegimo programą"},
    {"IDS_SETUP_EXISTEDTARGET", "Diegimo kataloge yra failų, kurie diegimo metu gali būti pakeisti. Tęsti diegimą?"},
    {"IDS_DESTINATION_PROMPT", "Nurodykite šablonų katalogo kelią. Diegimo programa įkels konfigūracijos šablonus ir failus į nurodytą katalogą."},
    {"IDS_TEMPLATE_CATALOG", "Šablonų katalogas:"},
    {"IDS_HELP_USAGE",
     "Naudojimas: setup [usecwd] [-S] [-L<kodas>] [-D<katalogas>] [-h]\n"
     "  usecwd               kaip pirmasis argumentas: imti qorn.efd iš darbinio katalogo\n"
     "  -S, /S               tylusis režimas: diegti iš karto; be ekrano pranešimai rašomi į standartinį klaidų srautą\n"
     "  -L<kodas>, /L<kodas>  kalba: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S nurodomas prieš ją)\n"
     "  -D<katalogas>, /D<katalogas>  diegti į nurodytą katalogą vietoj siūlomo; ~/ yra namų katalogas\n"
     "  -h, --help, /?       parodyti šią pagalbą\n"
     "Be usecwd diegimo komplekto failas qorn.efd ieškomas šalia šios programos.\n"
     "Išėjimo būsena:\n"
     "  0  įdiegta arba visi failai jau buvo naujausi\n"
     "  1  netikėta pabaiga\n"
     "  2  nepavyko pradėti: nėra komplekto, komplektas sugadintas, trūksta vietos, nėra ekrano be -S, bloga parinkties reikšmė\n"
     "  3  diegimas nepavyko, pakeitimai atšaukti\n"
     "  4  atšaukta arba sustabdyta signalu, pakeitimai atšaukti\n"
     "  5  atšaukimas negalėjo visko grąžinti: failai palikti atsarginėje kopijoje"},
    {"IDS_ERROR_NODISPLAY", "Nepavyko atverti ekrano. Norėdami diegti be lango, paleiskite programą su parinktimi -S."},
    {"IDS_ERROR_TARGETOPTION", "Po parinkties -D iš karto turi eiti katalogas, pavyzdžiui, -D~/templates, dabartinės lokalės koduote."},
    {"IDS_SUMMARY_WRITTEN", "Įrašyta failų:"},
    {"IDS_SUMMARY_UPTODATE", "Jau naujausių failų:"},
    {"IDS_SUMMARY_REPLACED", "Pakeista failų (originalai buvo laikomi atsarginėje kopijoje iki diegimo pabaigos):"},
    {"IDS_LAUNCHER_NOTRECORDED", "Šablonų katalogas neįrašytas: paleidimo programos nustatymų failo nepavyko perskaityti arba įrašyti, jis paliktas nepakeistas:"},
    {"IDS_ERROR_TEMPDIR", "Negalima rašyti į katalogą Temp (TMPDIR). Nurodykite TMPDIR katalogą, į kurį galima rašyti, ir vėl paleiskite diegimo programą."},
    {"IDS_ERROR_NOSPACE_TARGET", "Šablonų kataloge nepakanka vietos. Šablonų katalogas nepakeistas."},
    {"IDS_RECOVERED_INSTALL", "Rastas nutrauktas diegimas, jis atšauktas. Šis šablonų katalogas yra toks, koks buvo prieš jį:"},
    {"IDS_BACKUP_KEPT", "Ne visų pradinių failų pavyko grąžinti į vietą. Likę pradiniai failai išsaugoti šiame aplanke:"},
    {"IDS_TERMINAL_CONTINUE", "Paspauskite Enter, kad tęstumėte, arba Ctrl+C, kad išeitumėte"},
    {"IDS_TERMINAL_BADPATH", "Įvesto kelio nepavyksta perskaityti dabartinės lokalės koduote. Įveskite jį iš naujo."},
    {"IDS_HELP_TERMINAL", "Su parinktimi -T arba /T klausimai užduodami šiame terminale, net jei ekraną galima atverti; be ekrano – visada, kai standartinė įvestis ir standartinis klaidų srautas yra terminalai."},
    {"IDS_DIRECTORY_BUSY", "Į šį šablonų katalogą jau vyksta kitas diegimas. Palaukite, kol jis baigsis, ir vėl paleiskite diegimo programą."},
    {"IDS_JOURNAL_SET_ASIDE", "Nutraukto diegimo įrašo nepavyko panaudoti: jis sugadintas arba nebeatitinka savo šablonų katalogo. Pagal jį niekas nepakeista; jis padėtas čia:"},
    {"IDS_RECOVERED_PARTLY", "Rastas nutrauktas diegimas ir atšauktas visur, kur jo failai liko tokie, kokius jis paliko; vėliau pakeisti failai palikti kaip yra. Šablonų katalogas:"},
    {"IDS_ERROR_JOURNALDIR", "Šio diegimo žurnalo aplanko nepavyko naudoti (nurodykite XDG_STATE_HOME aplanką, į kurį galima rašyti, ir vėl paleiskite diegimo programą):"},
    {"IDS_JOURNAL_WAITING", "Nutrauktas diegimas laukia savo šablonų katalogo, kurio nėra ten, kur jis buvo (perkeltas, pervadintas arba neprijungtas). Niekas nepakeista; pirmasis paleidimas, kuris vėl ras katalogą ten, užbaigs atšaukimą. Norėdami tai užbaigti patys, perkelkite pradinius failus iš atsarginių kopijų aplanko atgal į katalogą ir ištrinkite įrašą. Šablonų katalogas:"},
    {"IDS_JOURNAL_KEPT", "Jo įrašas išsaugotas čia:"},
    {"IDS_ORIGINALS_IN", "Jo pradiniai failai yra šiame atsarginių kopijų aplanke:"},
    {"IDS_JOURNAL_UNREADABLE", "Nutraukto diegimo įrašo nepavyko perskaityti. Pagal jį niekas nepakeista; jis išsaugotas čia kitam paleidimui:"},
    {"IDS_ROLLBACK_UNFINISHED", "Ne viską, ką pakeitė diegimas, pavyko atšaukti. Jo įrašas išsaugotas, ir kitas diegimo programos paleidimas bandys dar kartą. Šablonų katalogas:"},
    {"IDS_FILE_APPEARED", "Ten, kur diegimas ketino sukurti failą, atsirado failas. Jis paliktas kaip yra, o diegimas atšauktas; paleiskite diegimą dar kartą, kad šis failas būtų įvertintas:"},
    {"IDS_HELP_JOURNALWAITING", "  8  nutrauktas diegimas laukia, kol grįš jo šablonų katalogas (perkeltas, pervadintas arba neprijungtas); niekas neįdiegta"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Kitas diegimas vyksta į aplanką šiame šablonų kataloge arba į katalogą, kuriame šis yra. Palaukite, kol jis baigsis, ir vėl paleiskite diegimo programą."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Diegimo paketo nepavyko išpakuoti: šio seanso failo dydžio riba (ulimit -f) mažesnė už išpakuotą paketą. Padidinkite ribą ir vėl paleiskite diegimo programą."},
    {"IDS_RECORD_SET_ASIDE", "Anksčiau įdiegtų failų įrašo nepavyko perskaityti arba jis neišlaikė patikrinimo. Jis nenaudojamas ir nieko nešalina; jis padėtas į šalį čia:"},
    {"IDS_RECORD_DAMAGED", "Anksčiau įdiegtų failų įrašo nepavyko perskaityti arba jis neišlaikė patikrinimo; jis nenaudojamas:"},
    {"IDS_NO_RECORD", "Šiame šablonų kataloge nėra šio komplekto diegimo įrašo. Niekas nepakeista. Šablonų katalogas:"},
    {"IDS_UNINSTALL_FINISH", "Šalinimas baigtas..."},
    {"IDS_UNINSTALL_SUCCESS", "Konfigūracija sėkmingai pašalinta."},
    {"IDS_UNINSTALL_CONFIRM", "Pašalinti komplekto failus iš šio šablonų katalogo? Jūsų pakeisti failai bus išsaugoti. Šablonų katalogas:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Buvote pakeitę šį failą; jūsų versija išsaugota kaip:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Buvote pakeitę šį failą, kurio komplekte nebėra; jis išsaugotas:"},
    {"IDS_SUMMARY_REMOVED", "Pašalinta failų:"},
    {"IDS_DRYRUN_DONE", "Bandomasis paleidimas: niekas nepakeista. Šablonų katalogas:"},
    {"IDS_VERIFY_SAME", "Visi įdiegti failai atitinka įrašą. Šablonų katalogas:"},
    {"IDS_VERIFY_DIFFERENT", "Failų, kurie skiriasi nuo įrašo:"},
    {"IDS_HELP_RECORD",
     "Įrašas, šalinimas ir patikrinimas (įrašas laikomas šablonų katalogo aplanke .qorn-record):\n"
     "  -N, --dry-run, /N    parodyti, ką padarytų diegimas, nieko nekeičiant; po eilutę kiekvienam failui į standartinę išvestį\n"
     "  -V, --verify, /V     palyginti įdiegtus failus su komplekto įrašu; po eilutę kiekvienam skirtumui į standartinę išvestį\n"
     "  -U, --uninstall, /U  pašalinti komplekto failus, kurie tebėra tokie, kokie buvo įdiegti; jūsų pakeisti failai išsaugomi\n"
     "Išėjimo būsena:\n"
     "  6  --verify rado skirtumų\n"
     "  7  kataloge nėra šio komplekto įrašo (--verify, --uninstall); niekas nepakeista"},
    {"IDS_HELP_JSON", "Su --json darbo pabaigoje į standartinę išvestį išvedamas vienas jį aprašantis JSON dokumentas (būsena, šablonų katalogas, failai); visa kita siunčiama į standartinį klaidų srautą. Skirta -S, --dry-run, --verify ir --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Su parinktimi --progress-lines eiga rašoma nauja eilute kas dešimtadalį kelio, o ne viena vietoje perpiešiama eilute, kad ją galėtų sekti ekrano skaityklė ar Brailio ekranas; taip pat daroma, kai TERM yra dumb."},
    {"IDS_UNINSTALL_WELCOME", "Sveiki atvykę į šalinimo programą"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "Šablonų katalogo arba vieno iš virš jo esančių aplankų vietoje yra failas. Šablonų katalogas:"},
    {"IDS_ERROR_TARGET_READONLY", "Į šablonų katalogą negalima rašyti (nėra leidimo arba failų sistema skirta tik skaityti). Šablonų katalogas:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Diegimo komplekto failo qorn.efd negalima perskaityti: šis naudotojas neturi leidimo jo skaityti."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Nutrauktas diegimas į šį šablonų katalogą dar neatšauktas. Paleiskite diegimo programą be -N ir -V, kad jį atšauktumėte, tada patikrinkite dar kartą. Šablonų katalogas:"},
    {"IDS_FILE_CHANGED", "Failas pasikeitė, kai diegimas ketino jį pakeisti. Jis paliktas kaip yra, o diegimas atšauktas; paleiskite diegimą dar kartą, kad šis failas būtų įvertintas:"},
    {"IDS_RECORD_NOT_FOLDER", "Į šį šablonų katalogą įdiegtų failų įrašo negalima nei perskaityti, nei tvarkyti: jo aplanko vietoje yra simbolinė nuoroda arba failas, o ne nuosavas diegimo programos aplankas. Niekas nepakeista, o ši kliūtis palikta kaip yra; perkelkite ją kitur arba grąžinkite į jos vietą tikrąjį įrašo aplanką, tada vėl paleiskite diegimo programą:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kLithuanianMessages{5, "lt", kTexts};
