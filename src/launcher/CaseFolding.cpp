#include "launcher/CaseFolding.h"

#include <cctype>

#include "text/Convert.h"
#include "text/EnvironmentLocale.h"

CaseFolding::CaseFolding() {
    const EnvironmentLocale locale;
    for (int byte = 0; byte < 256; ++byte) {
        lower_[static_cast<std::size_t>(byte)] = static_cast<char>(std::tolower(byte));
    }
}

std::string CaseFolding::Fold(std::string_view bytes) const {
    std::string folded(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) folded[i] = lower_[static_cast<unsigned char>(bytes[i])];
    return folded;
}

std::string CaseFolding::Fold(const WString& text) const {
    const AString bytes = ToAString(text);
    return Fold(std::string_view(bytes.c_str(), bytes.length()));
}
