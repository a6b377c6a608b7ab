// The 16 message tables (completeness, shared rules, exact texts where a
// translation slip would show), the lookup in them and the start-up choice of
// the language between the L option's code and the process locale.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "l10n/LanguageSelection.h"
#include "l10n/Messages.h"
#include "text/Convert.h"
#include "text/EnvironmentLocale.h"

namespace {

// Puts the locale variables, the process locale and the current language back after a test.
class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (const char* name : {"LC_ALL", "LOCPATH"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value == nullptr ? std::nullopt : std::optional<std::string>(value));
        }
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        ReloadEnvironmentLocale();
        std::setlocale(LC_ALL, locale_.c_str());
        SetCurrentLanguage(language_);
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
    std::string locale_ = std::setlocale(LC_ALL, nullptr);
    std::int32_t language_ = CurrentLanguage();
};

// The identifiers every language defines, with the English texts.
const std::pair<const char*, const char*> kEnglish[] = {
    {"IDS_DESTINATION_PROMPT", "Specify path to template directory. The installation program will install templates "
                               "and configuration files to the specified directory."},
    {"IDS_SETUP_EXISTEDTARGET", "The installation directory contains files that may be changed during the installation "
                                "process. Do you want to continue?"},
    {"IDS_ERROR_FINISH", "An error occurred during the installation process. Installation canceled. Template directory "
                         "has not been changed."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Distribution kit file qorn.efd corrupted or not designed for this installation "
                                "program."},
    {"IDS_ERROR_NOTARGET", "Installation of templates to the current directory is not supported."},
    {"IDS_CANCEL_FINISH", "Installation canceled. Template directory has not been changed."},
    {"IDS_ERROR_NOSPACE", "Insufficient space available in the directory Temp."}, {"IDS_CHOOSEDIR_FOLDER", "&Folder:"},
    {"IDS_SETUP_EMPTYTARGET", "Specify correct path to template directory."}, {"IDS_WIZARD_FINISH", "Finish"},
    {"IDS_SUCCESS_OPENDESCR", "Open description of distribution package"}, {"IDS_BROWSE_SELDIR", "Directory selected:"},
    {"IDS_WELCOME_TITLE", "Welcome to the product installation program"}, {"IDR_MAINFRAME", "Installing configuration"},
    {"IDS_ACCEPT_CANCEL", "Do you really want to cancel installation?"}, {"IDS_INSTALL_FINISH", "Copying complete..."},
    {"IDS_ERROR_NOSOURCE", "Distribution kit file qorn.efd not found."}, {"IDS_CHOOSEDIR_TITLE", "Choose Directory"},
    {"IDS_SUCCESS_FINISH", "Configuration installed successfully."}, {"IDS_PROGRESS_START", "Files being copied..."},
    {"IDS_TITLE_INSTALLER", "Installing configuration"}, {"IDS_TEMPLATE_CATALOG", "Template directory:"},
    {"IDS_PREPARECOPY", "Preparing to copy..."}, {"IDS_INSTALL_ERROR", "Installation error"},
    {"IDS_WIZARD_CANCEL", "Cancel"}, {"IDS_BROWSE_CANCEL", "Cancel"}, {"IDS_DEFPRODUCT", "<Product>"},
    {"IDS_DEFPROVIDER", "<Vendor>"}, {"IDS_WIZARD_BACK", "< Back"}, {"IDS_WIZARD_NEXT", "Next >"},
    {"IDS_BROWSE_OK", "Select"},
    {"IDS_ERROR_NODISPLAY", "Cannot open the display. Start with -S to install without a window."},
    {"IDS_ERROR_TARGETOPTION", "The -D option needs a directory right after the letter, such as -D~/templates, in the "
                               "encoding of the current locale."},
    {"IDS_SUMMARY_WRITTEN", "Files written:"}, {"IDS_SUMMARY_UPTODATE", "Files already up to date:"},
    {"IDS_SUMMARY_REPLACED", "Files replaced (their originals were kept in a backup until the end of the installation):"},
    {"IDS_LAUNCHER_NOTRECORDED", "The template directory was not recorded: the launcher's settings file could not be "
                                 "read or written and has been left unchanged:"},
    {"IDS_ERROR_TEMPDIR", "Cannot write to the directory Temp (TMPDIR). Set TMPDIR to a writable directory and "
                          "start the installation program again."},
    {"IDS_ERROR_NOSPACE_TARGET", "Insufficient space available in the template directory. Template directory has not "
                                 "been changed."},
    {"IDS_RECOVERED_INSTALL", "An interrupted installation was found and undone. This template directory is as it "
                              "was before it:"},
    {"IDS_BACKUP_KEPT", "Not every original file could be put back. The originals that remain are kept in this "
                        "folder:"},
    {"IDS_TERMINAL_CONTINUE", "Press Enter to continue, or Ctrl+C to quit"},
    {"IDS_TERMINAL_BADPATH", "The typed path cannot be read in the encoding of the current locale. Type it again."},
    {"IDS_HELP_TERMINAL", "With -T or /T the questions are asked in this terminal even when a display can be opened; "
                          "without a display they are asked there whenever standard input and standard error are "
                          "terminals."},
    {"IDS_DIRECTORY_BUSY", "Another installation into this template directory is running. Wait until it has ended, "
                           "then start the installation program again."},
    {"IDS_JOURNAL_SET_ASIDE", "The record of an interrupted installation could not be used: it is damaged or no "
                              "longer matches its template directory. Nothing was changed with it; it was set aside "
                              "here:"},
    {"IDS_RECOVERED_PARTLY", "An interrupted installation was found and undone wherever its files were still as it "
                             "had left them; files changed since then were left as they are. Template directory:"},
    {"IDS_ERROR_JOURNALDIR", "This journal folder could not be used (set XDG_STATE_HOME to a writable folder and start "
                             "the installation program again):"},
};

// The usage text is checked by its shape in every language: whatever the
// words, a script writer must find every option, the kit and every status.
const char* const kHelpMustShow[] = {
    "setup [usecwd] [-S] [-L<", "] [-D<", "] [-h]", "\n  usecwd ", "\n  -S, /S ", "\n  -L<", ", /L<", "\n  -D<",
    ", /D<", "~/", "\n  -h, --help, /? ", "qorn.efd", "ru uk en lv lt bg de ro ka kk vi tr el es hy it",
    "\n  0  ", "\n  1  ", "\n  2  ", "\n  3  ", "\n  4  ", "\n  5  ",
};

// Button labels with their arrows and blanks, mnemonic ampersands, and the
// texts whose leading blank or typographic characters are easy to lose.
const std::tuple<std::int32_t, const char*, const char*> kTranslations[] = {
    {1, "IDS_WIZARD_NEXT", "Далее >"}, {9, "IDS_WIZARD_NEXT", "შემდეგ>"}, {7, "IDS_CHOOSEDIR_FOLDER", "&Ordner:"},
    {10, "IDS_ERROR_NOSOURCE", " qorn.efd орнату файлы жинағы табылған жоқ."},
    {13, "IDS_PROGRESS_START", "Η αντιγραφή αρχείων βρίσκεται σε\u00A0εξέλιξη..."},
    {14, "IDS_ACCEPT_CANCEL", "¿Quiere cancelar la instalación?"}, {11, "IDS_DEFPRODUCT", "<Sản phẩm>"},
};

std::string Raw(std::int32_t language, const char* id) { return RawMessageText(language, AString(id)).c_str(); }

TEST(MessageTables, TextsAreExact) {
    for (const auto& [id, text] : kEnglish) EXPECT_EQ(Raw(3, id), text) << id;
    for (const auto& [language, id, text] : kTranslations) EXPECT_EQ(Raw(language, id), text) << language << " " << id;
}

// Decoding and encoding again gives back the stored bytes only for whole, valid UTF-8.
TEST(LoadResString, EveryLanguageHasTheCommonIdentifiersAndDecodesThemWhole) {
    std::vector<std::string> expected;
    for (const auto& entry : kEnglish) expected.emplace_back(entry.first);
    expected.emplace_back("IDS_HELP_USAGE");
    std::sort(expected.begin(), expected.end());
    LocaleEnvironment environment;
    setenv("LC_ALL", "C.UTF-8", 1);
    ReloadEnvironmentLocale();
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    for (std::int32_t language = 1; language <= 16; ++language) {
        SCOPED_TRACE(language);
        SetCurrentLanguage(language);
        std::vector<std::string> ids;
        for (const AString& id : MessageIdentifiers(language)) {
            ids.emplace_back(id.c_str());
            const WString text = LoadResString(id);
            EXPECT_FALSE(text.empty()) << id.c_str();
            EXPECT_STREQ(ToAString(text).c_str(), RawMessageText(language, id).c_str()) << id.c_str();
        }
        EXPECT_EQ(ids, expected);
        EXPECT_EQ(Raw(language, "IDR_MAINFRAME"), Raw(language, "IDS_TITLE_INSTALLER"));
        EXPECT_NE(Raw(language, "IDS_ERROR_NOSOURCE").find("qorn.efd"), std::string::npos);
        EXPECT_NE(Raw(language, "IDS_ERROR_DAMAGEDSOURCE").find("qorn.efd"), std::string::npos);
        const std::string help = Raw(language, "IDS_HELP_USAGE");
        for (const char* shown : kHelpMustShow) EXPECT_NE(help.find(shown), std::string::npos) << shown;
        EXPECT_NE(Raw(language, "IDS_ERROR_TEMPDIR").find("Temp (TMPDIR)"), std::string::npos);
        EXPECT_NE(Raw(language, "IDS_ERROR_JOURNALDIR").find("XDG_STATE_HOME"), std::string::npos);
    }
}

TEST(LoadResString, AnswersInEnglishUntilALanguageIsSetAndEmptyForUnknownOnes) {
    LocaleEnvironment environment;
    setenv("LC_ALL", "C", 1);
    ReloadEnvironmentLocale();
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(LoadResString(AString("IDS_CHOOSEDIR_FOLDER")), WString(u"&Folder:"));
    EXPECT_TRUE(LoadResString(AString("ids_wizard_back")).empty());
    for (std::int32_t language : {0, 17}) {
        SetCurrentLanguage(language);
        EXPECT_TRUE(LoadResString(AString("IDS_WIZARD_NEXT")).empty()) << language;
    }
}

// Letter case, length and every byte count.
const std::pair<const char*, std::int32_t> kCodes[] = {
    {"ru", 1}, {"uk", 2},  {"en", 3},  {"lv", 4},  {"lt", 5},  {"bg", 6},  {"de", 7},    {"ro", 8},
    {"ka", 9}, {"kk", 10}, {"vi", 11}, {"tr", 12}, {"el", 13}, {"es", 14}, {"hy", 15},   {"it", 16},
    {"RU", 0}, {"De", 0},  {"", 0},    {"r", 0},   {"rus", 0}, {"ua", 0},  {"ru_RU", 0},
};

TEST(LanguageFromCode, MapsExactCodesToNumbers) {
    for (const auto& [code, number] : kCodes) EXPECT_EQ(LanguageFromCode(AString(code)), number) << '"' << code << '"';
    EXPECT_EQ(LanguageFromCode(AString("ru\0x", 4)), 0);  // nothing after an embedded zero is ignored
}

// The L option's code (null: no L option), the value of LC_ALL, the choice.
const std::tuple<const char*, const char*, std::int32_t, const char16_t*> kCases[] = {
    {"de", "ru_RU.UTF-8", 7, u"de"}, {"ru", "C", 1, u"ru"},               // the option wins over the locale
    {"DE", "ru_RU.UTF-8", 1, u"ru"}, {"ru_RU", "de_AT.UTF-8", 7, u"de"},  // unknown codes: the locale decides
    {"", "uk_UA.UTF-8", 2, u"uk"}, {nullptr, "hy_AM.UTF-8", 15, u"hy"},   // an empty code or no option at all
    {nullptr, "de", 7, u"de"},                                            // a name of two characters is used whole
    {nullptr, "C", 3, u"en"}, {nullptr, "C.UTF-8", 3, u"en"}, {nullptr, "fr_FR.UTF-8", 3, u"en"},  // no language
    {nullptr, "ru_XX.UTF-8", 3, u"en"}, {"xx", "ru_XX.UTF-8", 3, u"en"},  // setlocale fails: no name to read
};

// The locales of the cases exist only in a private LOCPATH directory, as copies
// of the C.UTF-8 definitions; "ru_XX.UTF-8" exists nowhere.
class SelectLanguageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        using std::filesystem::copy_options;
        char pattern[] = "/tmp/l10n-locales-XXXXXX";
        available_ = mkdtemp(pattern) != nullptr;
        locales_ = pattern;
        for (const char* name : {"ru_RU.UTF-8", "uk_UA.UTF-8", "de_AT.UTF-8", "hy_AM.UTF-8", "fr_FR.UTF-8", "de"}) {
            std::error_code error;
            std::filesystem::copy("/usr/lib/locale/C.utf8", locales_ / name, copy_options::recursive, error);
            available_ = available_ && !error;
        }
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(locales_, ignored_); }
    void SetUp() override {
        if (!available_) GTEST_SKIP() << "no C.UTF-8 locale definitions to copy";
        setenv("LOCPATH", locales_.c_str(), 1);
    }

    static inline std::filesystem::path locales_;
    static inline bool available_ = false;
    static inline std::error_code ignored_;
    LocaleEnvironment environment_;
};

TEST_F(SelectLanguageTest, OptionCodeOrLocale) {
    for (const auto& [optionCode, localeName, number, code] : kCases) {
        SCOPED_TRACE(std::string(optionCode == nullptr ? "(none)" : optionCode) + " / " + localeName);
        setenv("LC_ALL", localeName, 1);
        ReloadEnvironmentLocale();
        const AString option(optionCode == nullptr ? "" : optionCode);
        const LanguageChoice choice = SelectLanguage(optionCode == nullptr ? nullptr : &option);
        EXPECT_EQ(choice.number, number);
        EXPECT_EQ(choice.code, WString(code));
    }
}

}  // namespace

// glibc's newlocale never frees the search path it builds from LOCPATH, so
// every conversion made while the private locales are in use loses a few bytes
// that are not ours; the leak checker of the sanitizer build ignores them.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\nleak:__argz_create_sep\n"; }
