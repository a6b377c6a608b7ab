// The start-up choice between the L option's code and the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "l10n/LanguageSelection.h"
#include "l10n/LocaleEnvironment.h"

namespace {

struct SelectionCase {
    const char* optionCode;  // null: no L option
    const char* localeName;  // the value of LC_ALL
    std::int32_t number;
    const char16_t* code;
};

// The locales of these cases exist only in the private locale directory;
// "ru_XX.UTF-8" exists nowhere, so setlocale fails for it.
const SelectionCase kCases[] = {
    {"de", "ru_RU.UTF-8", 7, u"de"},       // the option wins over the locale
    {"ru", "C", 1, u"ru"},
    {"DE", "ru_RU.UTF-8", 1, u"ru"},       // unrecognised option: the locale decides
    {"ru_RU", "de_AT.UTF-8", 7, u"de"},
    {"", "uk_UA.UTF-8", 2, u"uk"},         // an L option with nothing after the letter
    {"DE", "C", 3, u"en"},
    {nullptr, "ru_RU.UTF-8", 1, u"ru"},
    {nullptr, "uk_UA.UTF-8", 2, u"uk"},
    {nullptr, "de_AT.UTF-8", 7, u"de"},
    {nullptr, "en_US.UTF-8", 3, u"en"},
    {nullptr, "hy_AM.UTF-8", 15, u"hy"},
    {nullptr, "de", 7, u"de"},             // a name of two characters is used whole
    {nullptr, "C", 3, u"en"},
    {nullptr, "POSIX", 3, u"en"},
    {nullptr, "C.UTF-8", 3, u"en"},
    {nullptr, "fr_FR.UTF-8", 3, u"en"},    // a locale of no known language
    {nullptr, "ru_XX.UTF-8", 3, u"en"},    // setlocale fails: no name to take a code from
    {"xx", "ru_XX.UTF-8", 3, u"en"},
};

class SelectLanguageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        locales_ = new PrivateLocales(
            {"ru_RU.UTF-8", "uk_UA.UTF-8", "de_AT.UTF-8", "en_US.UTF-8", "hy_AM.UTF-8", "fr_FR.UTF-8", "de"});
    }
    static void TearDownTestSuite() {
        delete locales_;
        locales_ = nullptr;
    }
    void SetUp() override {
        if (!locales_->Available()) {
            GTEST_SKIP() << "no C.UTF-8 locale definitions to copy";
        }
        setenv("LOCPATH", locales_->Path().c_str(), 1);
    }

    static PrivateLocales* locales_;
    LocaleEnvironment environment_;
};

PrivateLocales* SelectLanguageTest::locales_ = nullptr;

TEST_F(SelectLanguageTest, OptionCodeOrLocale) {
    for (const SelectionCase& c : kCases) {
        environment_.UseLocale(c.localeName);
        const AString option(c.optionCode == nullptr ? "" : c.optionCode);
        const LanguageChoice choice = SelectLanguage(c.optionCode == nullptr ? nullptr : &option);
        const std::string label = std::string(c.optionCode == nullptr ? "(none)" : c.optionCode) + " / " + c.localeName;
        EXPECT_EQ(choice.number, c.number) << label;
        EXPECT_EQ(Units(choice.code), c.code) << label;
    }
}

TEST_F(SelectLanguageTest, CompositeLocaleNameGivesEnglish) {
    environment_.UseCompositeLocale("ru_RU.UTF-8");
    const LanguageChoice choice = SelectLanguage(nullptr);
    ASSERT_EQ(std::string(std::setlocale(LC_ALL, nullptr)).rfind("LC_", 0), 0u);
    EXPECT_EQ(choice.number, 3);
    EXPECT_EQ(Units(choice.code), u"en");
}

}  // namespace
