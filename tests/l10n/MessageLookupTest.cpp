// Looking texts up by identifier in the current language, and the language
// numbers behind the codes.
#include <gtest/gtest.h>

#include <clocale>

#include "l10n/LocaleEnvironment.h"
#include "l10n/Messages.h"

namespace {

constexpr std::int32_t kLanguageCount = 16;

// In a UTF-8 locale every language decodes; the C.UTF-8 locale is always there.
bool UseUtf8Locale(LocaleEnvironment& environment) {
    environment.UseLocale("C.UTF-8");
    return std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
}

TEST(LoadResString, AnswersInEnglishUntilALanguageIsSet) {
    EXPECT_EQ(CurrentLanguage(), 3);
    EXPECT_EQ(Units(LoadResString(AString("IDS_WIZARD_NEXT"))), u"Next >");
}

TEST(LoadResString, EnglishDecodesInTheCLocale) {
    LocaleEnvironment environment;
    environment.UseLocale("C");
    std::setlocale(LC_ALL, "C");
    SetCurrentLanguage(3);
    EXPECT_EQ(Units(LoadResString(AString("IDS_WIZARD_BACK"))), u"< Back");
    EXPECT_EQ(Units(LoadResString(AString("IDS_CHOOSEDIR_FOLDER"))), u"&Folder:");
}

TEST(LoadResString, OtherLanguagesDecodeInAUtf8Locale) {
    LocaleEnvironment environment;
    ASSERT_TRUE(UseUtf8Locale(environment));
    SetCurrentLanguage(1);
    EXPECT_EQ(Units(LoadResString(AString("IDS_WIZARD_BACK"))), u"< Назад");
    SetCurrentLanguage(9);
    EXPECT_EQ(Units(LoadResString(AString("IDS_DEFPRODUCT"))), u"<პროდუქტი>");
    SetCurrentLanguage(13);
    EXPECT_EQ(Units(LoadResString(AString("IDS_PROGRESS_START"))), u"Η αντιγραφή αρχείων βρίσκεται σε\u00A0εξέλιξη...");
}

TEST(LoadResString, TitleLookupsAgreeInEveryLanguage) {
    LocaleEnvironment environment;
    ASSERT_TRUE(UseUtf8Locale(environment));
    for (std::int32_t language = 1; language <= kLanguageCount; ++language) {
        SetCurrentLanguage(language);
        const WString title = LoadResString(AString("IDR_MAINFRAME"));
        EXPECT_FALSE(title.empty()) << language;
        EXPECT_EQ(Units(title), Units(LoadResString(AString("IDS_TITLE_INSTALLER")))) << language;
    }
}

TEST(LoadResString, UnknownIdentifierOrLanguageGivesEmptyText) {
    LocaleEnvironment environment;
    SetCurrentLanguage(3);
    EXPECT_TRUE(LoadResString(AString("IDS_NO_SUCH_TEXT")).empty());
    EXPECT_TRUE(LoadResString(AString("")).empty());
    SetCurrentLanguage(0);
    EXPECT_TRUE(LoadResString(AString("IDS_WIZARD_NEXT")).empty());
    SetCurrentLanguage(17);
    EXPECT_TRUE(LoadResString(AString("IDS_WIZARD_NEXT")).empty());
}

struct CodeCase {
    const char* code;
    std::int32_t number;
};

const CodeCase kCodes[] = {
    {"ru", 1}, {"uk", 2},  {"en", 3},  {"lv", 4},  {"lt", 5},  {"bg", 6},  {"de", 7},  {"ro", 8},
    {"ka", 9}, {"kk", 10}, {"vi", 11}, {"tr", 12}, {"el", 13}, {"es", 14}, {"hy", 15}, {"it", 16},
    // Letter case, length and every byte count.
    {"RU", 0}, {"De", 0},  {"", 0},    {"r", 0},   {"rus", 0}, {"ru_RU", 0}, {"ua", 0}, {"e", 0},
};

TEST(LanguageFromCode, MapsExactCodesToNumbers) {
    for (const CodeCase& c : kCodes) {
        EXPECT_EQ(LanguageFromCode(AString(c.code)), c.number) << '"' << c.code << '"';
    }
}

TEST(LanguageFromCode, IgnoresTextAfterAnEmbeddedZero) {
    EXPECT_EQ(LanguageFromCode(AString("ru\0x", 4)), 0);
}

}  // namespace
