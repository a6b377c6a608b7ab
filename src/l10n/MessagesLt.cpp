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
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kLithuanianMessages{5, "lt", kTexts};
