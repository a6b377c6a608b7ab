// The contents of the 16 message tables: completeness, shared rules and
// exact texts where a translation slip would show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "l10n/Messages.h"

namespace {

struct EnglishText {
    const char* id;
    const char* text;
};

// The identifiers every language defines, with the English texts.
const EnglishText kEnglish[] = {
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
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Distribution kit file qorn.efd corrupted or not designed for this installation program."},
    {"IDS_DEFPRODUCT", "<Product>"},
    {"IDS_DEFPROVIDER", "<Vendor>"},
    {"IDS_SUCCESS_FINISH", "Configuration installed successfully."},
    {"IDS_SUCCESS_OPENDESCR", "Open description of distribution package"},
    {"IDS_PROGRESS_START", "Files being copied..."},
    {"IDS_ERROR_FINISH",
     "An error occurred during the installation process. Installation canceled. Template directory has not been "
     "changed."},
    {"IDS_CANCEL_FINISH", "Installation canceled. Template directory has not been changed."},
    {"IDS_BROWSE_SELDIR", "Directory selected:"},
    {"IDS_BROWSE_OK", "Select"},
    {"IDS_BROWSE_CANCEL", "Cancel"},
    {"IDS_WELCOME_TITLE", "Welcome to the product installation program"},
    {"IDS_SETUP_EXISTEDTARGET",
     "The installation directory contains files that may be changed during the installation process. Do you "
     "want to continue?"},
    {"IDS_DESTINATION_PROMPT",
     "Specify path to template directory. The installation program will install templates and configuration "
     "files to the specified directory."},
    {"IDS_TEMPLATE_CATALOG", "Template directory:"},
};

constexpr std::int32_t kFirstLanguage = 1;
constexpr std::int32_t kLastLanguage = 16;

std::string Bytes(const AString& text) { return std::string(text.c_str(), text.length()); }

std::string Raw(std::int32_t language, const char* id) { return Bytes(RawMessageText(language, AString(id))); }

std::vector<std::string> SortedEnglishIdentifiers() {
    std::vector<std::string> ids;
    for (const EnglishText& entry : kEnglish) {
        ids.emplace_back(entry.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, point = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, point = lead & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            point = (point << 6) | (next & 0x3F);
        }
        const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

TEST(Utf8Check, RejectsMalformedSequences) {
    EXPECT_TRUE(IsValidUtf8("< Назад \u00A0 ¿ ՞ \U0001F600"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong zero
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong solidus
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("ab\xD0"));            // truncated
    EXPECT_FALSE(IsValidUtf8("\x80"));              // stray continuation
}

class EveryLanguage : public testing::TestWithParam<std::int32_t> {};

INSTANTIATE_TEST_SUITE_P(Languages, EveryLanguage, testing::Range(kFirstLanguage, kLastLanguage + 1));

TEST_P(EveryLanguage, DefinesExactlyTheCommonIdentifiers) {
    std::vector<std::string> ids;
    for (const AString& id : MessageIdentifiers(GetParam())) {
        ids.push_back(Bytes(id));
    }
    EXPECT_EQ(ids, SortedEnglishIdentifiers());
}

TEST_P(EveryLanguage, TextsAreNonEmptyValidUtf8) {
    for (const EnglishText& entry : kEnglish) {
        const std::string text = Raw(GetParam(), entry.id);
        EXPECT_FALSE(text.empty()) << entry.id;
        EXPECT_TRUE(IsValidUtf8(text)) << entry.id;
    }
}

TEST_P(EveryLanguage, WindowTitleIsTheInstallerTitle) {
    EXPECT_EQ(Raw(GetParam(), "IDR_MAINFRAME"), Raw(GetParam(), "IDS_TITLE_INSTALLER"));
}

TEST_P(EveryLanguage, KitMessagesNameTheKitFile) {
    EXPECT_NE(Raw(GetParam(), "IDS_ERROR_NOSOURCE").find("qorn.efd"), std::string::npos);
    EXPECT_NE(Raw(GetParam(), "IDS_ERROR_DAMAGEDSOURCE").find("qorn.efd"), std::string::npos);
}

TEST(MessageTables, EnglishTextsAreExact) {
    for (const EnglishText& entry : kEnglish) {
        EXPECT_EQ(Raw(3, entry.id), entry.text) << entry.id;
    }
}

TEST(MessageTables, UnknownLanguageOrIdentifierHasNoText) {
    EXPECT_TRUE(MessageIdentifiers(0).empty());
    EXPECT_TRUE(MessageIdentifiers(17).empty());
    EXPECT_EQ(Raw(0, "IDS_WIZARD_BACK"), "");
    EXPECT_EQ(Raw(3, "IDS_WIZARD_BACKX"), "");
    EXPECT_EQ(Raw(3, "ids_wizard_back"), "");
}

struct SpotCheck {
    std::int32_t language;
    const char* id;
    const char* text;
};

// Button labels with their arrows and blanks, mnemonic ampersands, and the
// texts whose leading blank or typographic characters are easy to lose.
const SpotCheck kSpotChecks[] = {
    {1, "IDS_WIZARD_BACK", "< Назад"},
    {1, "IDS_WIZARD_NEXT", "Далее >"},
    {1, "IDS_CHOOSEDIR_FOLDER", "&Папка:"},
    {2, "IDS_WIZARD_BACK", "< Попередня"},
    {2, "IDS_DEFPRODUCT", "<Продукт>"},
    {4, "IDS_WIZARD_BACK", "< Atpakaļ"},
    {4, "IDS_CHOOSEDIR_FOLDER", "&Mape:"},
    {5, "IDS_WIZARD_NEXT", "Toliau >"},
    {5, "IDS_CHOOSEDIR_FOLDER", "&Katalogas:"},
    {6, "IDS_WIZARD_NEXT", "Напред >"},
    {7, "IDS_WIZARD_BACK", "< Zurück"},
    {7, "IDS_CHOOSEDIR_FOLDER", "&Ordner:"},
    {8, "IDS_WIZARD_NEXT", "Înainte >"},
    {8, "IDS_CHOOSEDIR_FOLDER", "&Mapă:"},
    {9, "IDS_WIZARD_NEXT", "შემდეგ>"},
    {9, "IDS_DEFPRODUCT", "<პროდუქტი>"},
    {10, "IDS_WIZARD_NEXT", "Әрі қарай >"},
    {10, "IDS_ERROR_NOSOURCE", " qorn.efd орнату файлы жинағы табылған жоқ."},
    {10, "IDS_ERROR_DAMAGEDSOURCE", " qorn.efd орнату файлы бүлінген немесе орнатудың осы программасы арналмаған."},
    {11, "IDS_WIZARD_BACK", "< Quay lại"},
    {11, "IDS_DEFPRODUCT", "<Sản phẩm>"},
    {12, "IDS_WIZARD_NEXT", "İleri >"},
    {12, "IDS_CHOOSEDIR_FOLDER", "&Klasör:"},
    {13, "IDS_WIZARD_BACK", "< Πίσω"},
    {13, "IDS_PROGRESS_START", "Η αντιγραφή αρχείων βρίσκεται σε\u00A0εξέλιξη..."},
    {14, "IDS_WIZARD_BACK", "< Atrás"},
    {14, "IDS_ACCEPT_CANCEL", "¿Quiere cancelar la instalación?"},
    {15, "IDS_WIZARD_NEXT", "Հաջորդիվ >"},
    {15, "IDS_INSTALL_ERROR", "Սխալ՝ տեղադրման ժամանակ"},
    {16, "IDS_WIZARD_NEXT", "Avanti>"},
    {16, "IDS_CHOOSEDIR_FOLDER", "&Cartella:"},
};

TEST(MessageTables, TranslatedTextsAreExact) {
    for (const SpotCheck& check : kSpotChecks) {
        EXPECT_EQ(Raw(check.language, check.id), check.text) << check.language << " " << check.id;
    }
}

}  // namespace
