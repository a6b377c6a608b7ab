// The 16 message tables, the lookup in them, and the choice of language between the L option and the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "l10n/LanguageSelection.h"
#include "l10n/MessageList.h"
#include "l10n/Messages.h"
#include "text/Convert.h"
#include "text/EnvironmentLocale.h"

namespace {

// Each test sets the locale it needs; afterwards the defaults are back and the private locale directory is gone.
class MessagesTest : public testing::Test {
protected:
    static void UseLocale(const char* name) {
        setenv("LC_ALL", name, 1);
        ReloadEnvironmentLocale();
        std::setlocale(LC_ALL, name);
    }
    void TearDown() override {
        unsetenv("LOCPATH");
        UseLocale("C");
        SetCurrentLanguage(kDefaultLanguage);
        if (!locales_.empty()) std::filesystem::remove_all(locales_);
    }

    std::filesystem::path locales_;
};

std::string Raw(std::int32_t language, const char* id) { return RawMessageText(language, AString(id)).c_str(); }

std::vector<std::string> Identifiers(std::int32_t language) {
    std::vector<std::string> ids;
    for (const AString& id : MessageIdentifiers(language)) ids.emplace_back(id.c_str());
    return ids;
}

// Whatever the words, a script writer finds every option, the kit and every status in the usage text.
const char* const kHelpMustShow[] = {
    "setup [usecwd] [-S] [-L<", "] [-D<", "] [-h]", "\n  usecwd ", "\n  -S, /S ", "\n  -L<", ", /L<", "\n  -D<",
    ", /D<", "~/", "\n  -h, --help, /? ", "qorn.efd", "ru uk en lv lt bg de ro ka kk vi tr el es hy it",
    "\n  0  ", "\n  1  ", "\n  2  ", "\n  3  ", "\n  4  ", "\n  5  ",
};

// The first 31 texts of every table were given in all 16 languages and may not change by a byte: a 64-bit
// FNV-1a of "id=text\n" in the common order per language, from Russian to Italian.
constexpr std::size_t kOriginalCount = 31;
const std::uint64_t kOriginalFingerprints[16] = {
    0xc5c8d11c8a831efb, 0xa5ed4eadfcf662aa, 0x6b0b51623243c084, 0xf2876c6bda9484eb,
    0x64bb36089c74268a, 0x59a34bd5ca32008a, 0xe4026bc2ca3f61e1, 0x812e28acdb1fc2cf,
    0x6c8e3d6f15e6e120, 0xb70de9ac5378c906, 0x6f742f2fc6c04b5e, 0xe75eacf8707293f7,
    0xb24e7ad5616f880c, 0x5714da9692d31be5, 0xc276dc759b98f946, 0xbc19e3ce2454884c,
};

std::uint64_t OriginalsFingerprint(std::int32_t language) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const MessageText& entry : kEnglishMessages.texts.first(kOriginalCount)) {
        for (const unsigned char byte : entry.id + ("=" + Raw(language, entry.id)) + "\n") {
            hash = (hash ^ byte) * 0x100000001b3;
        }
    }
    return hash;
}

// Decoding and encoding again gives back the stored bytes only for whole, valid UTF-8.
TEST_F(MessagesTest, OriginalTextsStayAndEveryTableIsCompleteAndWhole) {
    const std::vector<std::string> expected = Identifiers(kDefaultLanguage);
    EXPECT_EQ(expected.size(), kMessageCount);
    UseLocale("C.UTF-8");
    for (std::int32_t language = 1; language <= 16; ++language) {
        SCOPED_TRACE(language);
        EXPECT_EQ(OriginalsFingerprint(language), kOriginalFingerprints[language - 1])
            << std::hex << "0x" << OriginalsFingerprint(language) << ": an original text changed";
        EXPECT_EQ(Identifiers(language), expected);
        SetCurrentLanguage(language);
        for (const std::string& id : expected) {
            const WString text = LoadResString(AString(id.c_str()));
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_EQ(ToAString(text).c_str(), Raw(language, id.c_str())) << id;
        }
        const std::string help = Raw(language, "IDS_HELP_USAGE");
        for (const char* shown : kHelpMustShow) EXPECT_NE(help.find(shown), std::string::npos) << shown;
        EXPECT_NE(Raw(language, "IDS_ERROR_TEMPDIR").find("Temp (TMPDIR)"), std::string::npos);
        EXPECT_NE(Raw(language, "IDS_ERROR_JOURNALDIR").find("XDG_STATE_HOME"), std::string::npos);
        EXPECT_NE(Raw(language, "IDS_HELP_PROGRESSLINES").find("--progress-lines"), std::string::npos);
    }
}

TEST_F(MessagesTest, LoadResStringAnswersInEnglishUntilALanguageIsSetAndEmptyForUnknownOnes) {
    EXPECT_EQ(LoadResString(AString("IDS_CHOOSEDIR_FOLDER")), WString(u"&Folder:"));
    EXPECT_TRUE(LoadResString(AString("ids_wizard_back")).empty());
    for (std::int32_t language : {0, 17}) {
        SetCurrentLanguage(language);
        EXPECT_TRUE(LoadResString(AString("IDS_WIZARD_NEXT")).empty()) << language;
    }
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

// The cases' locales are copies of C.UTF-8 in a private LOCPATH; "ru_XX.UTF-8" exists nowhere.
TEST_F(MessagesTest, SelectLanguageTakesTheOptionCodeOrTheLocale) {
    using std::filesystem::copy_options;
    char pattern[] = "/tmp/l10n-locales-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    locales_ = pattern;
    for (const char* name : {"ru_RU.UTF-8", "uk_UA.UTF-8", "de_AT.UTF-8", "hy_AM.UTF-8", "fr_FR.UTF-8", "de"}) {
        std::error_code error;
        std::filesystem::copy("/usr/lib/locale/C.utf8", locales_ / name, copy_options::recursive, error);
        if (error) GTEST_SKIP() << "no C.UTF-8 locale definitions to copy";
    }
    setenv("LOCPATH", locales_.c_str(), 1);
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

// glibc's newlocale never frees the search path it builds from LOCPATH: the sanitizer build's leak checker ignores it.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\nleak:__argz_create_sep\n"; }
