// Russian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Назад"},
    {"IDS_WIZARD_NEXT", "Далее >"},
    {"IDS_WIZARD_FINISH", "Готово"},
    {"IDS_WIZARD_CANCEL", "Отмена"},
    {"IDS_ACCEPT_CANCEL", "Вы действительно хотите отменить установку?"},
    {"IDS_TITLE_INSTALLER", "Установка конфигурации"},
    {"IDS_PREPARECOPY", "Подготовка к копированию..."},
    {"IDS_INSTALL_ERROR", "Ошибка при инсталляции"},
    {"IDS_ERROR_NOSOURCE", "Файл комплекта установки qorn.efd не найден."},
    {"IDS_ERROR_NOTARGET", "Установка в текущий каталог шаблонов не поддерживается."},
    {"IDS_ERROR_NOSPACE", "Недостаточно места в каталоге Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Папка:"},
    {"IDS_CHOOSEDIR_TITLE", "Выбор каталога"},
    {"IDR_MAINFRAME", "Установка конфигурации"},
    {"IDS_SETUP_EMPTYTARGET", "Укажите корректный путь к каталогу шаблонов."},
    {"IDS_INSTALL_FINISH", "Завершение копирования..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Файл комплекта установки qorn.efd поврежден или не предназначен для этой программы установки."},
    {"IDS_DEFPRODUCT", "<Продукт>"},
    {"IDS_DEFPROVIDER", "<Поставщик>"},
    {"IDS_SUCCESS_FINISH", "Конфигурация успешно установлена."},
    {"IDS_SUCCESS_OPENDESCR", "Открыть описание поставки"},
    {"IDS_PROGRESS_START", "Идет копирование файлов..."},
    {"IDS_ERROR_FINISH", "В процессе установки произошла ошибка. Установка прервана. Каталог шаблонов не изменен."},
    {"IDS_CANCEL_FINISH", "Установка отменена. Каталог шаблонов не изменен."},
    {"IDS_BROWSE_SELDIR", "Выбранный каталог:"},
    {"IDS_BROWSE_OK", "Выбрать"},
    {"IDS_BROWSE_CANCEL", "Отмена"},
    {"IDS_WELCOME_TITLE", "Добро пожаловать в программу установки продукта"},
    {"IDS_SETUP_EXISTEDTARGET", "Каталог установки содержит файлы, которые могут быть изменены в процессе установки. Продолжить установку?"},
    {"IDS_DESTINATION_PROMPT", "Укажите путь к каталогу шаблонов. Программа установки установит шаблоны и файлы конфигурации в указанный каталог."},
    {"IDS_TEMPLATE_CATALOG", "Каталог шаблонов:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kRussianMessages{1, "ru", kTexts};
