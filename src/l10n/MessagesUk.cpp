// Ukrainian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Попередня"},
    {"IDS_WIZARD_NEXT", "Наступна >"},
    {"IDS_WIZARD_FINISH", "ОК"},
    {"IDS_WIZARD_CANCEL", "Відмінити"},
    {"IDS_ACCEPT_CANCEL", "Ви дійсно хочете відмінити установку?"},
    {"IDS_TITLE_INSTALLER", "Установка конфігурації"},
    {"IDS_PREPARECOPY", "Підготовка до копіювання..."},
    {"IDS_INSTALL_ERROR", "Помилка при інсталяції"},
    {"IDS_ERROR_NOSOURCE", "Файл комплекту поставки qorn.efd не знайдений."},
    {"IDS_ERROR_NOTARGET", "Установка у поточний каталог шаблонів не підтримується."},
    {"IDS_ERROR_NOSPACE", "Недостатньо місця в каталозі Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Папка:"},
    {"IDS_CHOOSEDIR_TITLE", "Вибір каталогу"},
    {"IDR_MAINFRAME", "Установка конфігурації"},
    {"IDS_SETUP_EMPTYTARGET", "Вкажіть коректний шлях до каталогу шаблонів."},
    {"IDS_INSTALL_FINISH", "Завершення копіювання..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Файл комплекту поставки qorn.efd пошкоджений або не призначений для цієї програми установки."},
    {"IDS_DEFPRODUCT", "<Продукт>"},
    {"IDS_DEFPROVIDER", "<Постачальник>"},
    {"IDS_SUCCESS_FINISH", "Конфігурацію успішно встановлено."},
    {"IDS_SUCCESS_OPENDESCR", "Відкрити опис поставки"},
    {"IDS_PROGRESS_START", "Іде копіювання файлів..."},
    {"IDS_ERROR_FINISH", "У процесі установки відбулася помилка. Установку перервано. Каталог шаблонів не змінено."},
    {"IDS_CANCEL_FINISH", "Установку відмінено. Каталог шаблонів не змінено."},
    {"IDS_BROWSE_SELDIR", "Вибраний каталог:"},
    {"IDS_BROWSE_OK", "Вибрати"},
    {"IDS_BROWSE_CANCEL", "Відмінити"},
    {"IDS_WELCOME_TITLE", "Ласкаво просимо у програму установки продукту"},
    {"IDS_SETUP_EXISTEDTARGET", "Каталог установки містить файли, які можуть бути змінені у процесі установки. Продовжити установку?"},
    {"IDS_DESTINATION_PROMPT", "Вкажіть шлях до каталогу шаблонів. Програма установки встановить шаблони і файли конфігурації у вказаний каталог."},
    {"IDS_TEMPLATE_CATALOG", "Каталог шаблонів:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kUkrainianMessages{2, "uk", kTexts};
