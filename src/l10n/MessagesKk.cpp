// Kazakh texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Артқа"},
    {"IDS_WIZARD_NEXT", "Әрі қарай >"},
    {"IDS_WIZARD_FINISH", "Дайын"},
    {"IDS_WIZARD_CANCEL", "Доғар"},
    {"IDS_ACCEPT_CANCEL", "Сіз орнатуды шынымен алып тастағыңыз келе ме?"},
    {"IDS_TITLE_INSTALLER", "Конфигурацияны орнату"},
    {"IDS_PREPARECOPY", "Көшіруге дайындық..."},
    {"IDS_INSTALL_ERROR", "Инсталляциялау кезіндегі қате"},
    {"IDS_ERROR_NOSOURCE", " qorn.efd орнату файлы жинағы табылған жоқ."},
    {"IDS_ERROR_NOTARGET", "Үлгінің ағымдағы каталогына орнату қолдау таппады."},
    {"IDS_ERROR_NOSPACE", "Temp тізбегінде орын жеткіліксіз."},
    {"IDS_CHOOSEDIR_FOLDER", "&Папка:"},
    {"IDS_CHOOSEDIR_TITLE", "Каталогты таңдау"},
    {"IDR_MAINFRAME", "Конфигурацияны орнату"},
    {"IDS_SETUP_EMPTYTARGET", "Үлгілер каталогына дұрыс жолды көрсетіңіз."},
    {"IDS_INSTALL_FINISH", "Көшіруді аяқтау..."},
    {"IDS_ERROR_DAMAGEDSOURCE", " qorn.efd орнату файлы бүлінген немесе орнатудың осы программасы арналмаған."},
    {"IDS_DEFPRODUCT", "<Өнім>"},
    {"IDS_DEFPROVIDER", "<Жабдықтаушы>"},
    {"IDS_SUCCESS_FINISH", "Конфигурация сәтті орнатылды."},
    {"IDS_SUCCESS_OPENDESCR", "Жабдықтау баяндамасын ашу"},
    {"IDS_PROGRESS_START", "Файлдарды көшіру жүріп жатыр..."},
    {"IDS_ERROR_FINISH", "Орнату кезінде қате кетті. Орнату үзілді. Үлгілер каталогы өзгеріссіз қалды."},
    {"IDS_CANCEL_FINISH", "Орнату алынып тасталды.Үлгілер каталогы өзгермеген."},
    {"IDS_BROWSE_SELDIR", "Таңдалған каталог:"},
    {"IDS_BROWSE_OK", "Таңдау"},
    {"IDS_BROWSE_CANCEL", "Доғар"},
    {"IDS_WELCOME_TITLE", "Өнімді орнату программасына қош келдіңіз"},
    {"IDS_SETUP_EXISTEDTARGET", "Орнату каталогы орнату процесінде өзгеруі мүмкін файлдарды қамтиды. Орнатуды жалғастыру керек пе?"},
    {"IDS_DESTINATION_PROMPT", "Үлгілер каталогына жолды көрсетіңіз..Орнату программасы көрсетілген каталогқа конфигурация үлгісі мен файлдарын орнатады."},
    {"IDS_TEMPLATE_CATALOG", "Үлгілер каталогы:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kKazakhMessages{10, "kk", kTexts};
