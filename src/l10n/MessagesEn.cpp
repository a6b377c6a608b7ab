// English texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Back"},
    {"IDS_WIZARD_NEXT", "Next >"},
    {"IDS_WIZARD_FINISH", "Finish"},
    {"IDS_WIZARD_CANCEL", "Cancel"},
    {"IDS_ACCEPT_CANCEL", "Do you really want to cancel installation?"},
    {"IDS_TITLE_INSTALLER", "Installing configuration"},
    {"IDS_PREPARECOPY", "Preparing to copy..."},
    {"IDS_INSTALL_ERROR", "Installation error"},
    {"IDS_ERROR_NOSOURCE", "Distribution kit file qorn.efd not found."},
    {"IDS_ERROR_NOTARGET", "Installation of templates to the current directory is not supported."},
    {"IDS_ERROR_NOSPACE", "Insufficient space available in the directory Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Folder:"},
    {"IDS_CHOOSEDIR_TITLE", "Choose Directory"},
    {"IDR_MAINFRAME", "Installing configuration"},
    {"IDS_SETUP_EMPTYTARGET", "Specify correct path to template directory."},
    {"IDS_INSTALL_FINISH", "Copying complete..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Distribution kit file qorn.efd corrupted or not designed for this installation program."},
    {"IDS_DEFPRODUCT", "<Product>"},
    {"IDS_DEFPROVIDER", "<Vendor>"},
    {"IDS_SUCCESS_FINISH", "Configuration installed successfully."},
    {"IDS_SUCCESS_OPENDESCR", "Open description of distribution package"},
    {"IDS_PROGRESS_START", "Files being copied..."},
    {"IDS_ERROR_FINISH", "An error occurred during the installation process. Installation canceled. Template directory has not been changed."},
    {"IDS_CANCEL_FINISH", "Installation canceled. Template directory has not been changed."},
    {"IDS_BROWSE_SELDIR", "Directory selected:"},
    {"IDS_BROWSE_OK", "Select"},
    {"IDS_BROWSE_CANCEL", "Cancel"},
    {"IDS_WELCOME_TITLE", "Welcome to the product installation program"},
    {"IDS_SETUP_EXISTEDTARGET", "The installation directory contains files that may be changed during the installation process. Do you want to continue?"},
    {"IDS_DESTINATION_PROMPT", "Specify path to template directory. The installation program will install templates and configuration files to the specified directory."},
    {"IDS_TEMPLATE_CATALOG", "Template directory:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kEnglishMessages{3, "en", kTexts};
