#include "app/KitIdentity.h"

#include "app/ContentChecksum.h"
#include "text/Convert.h"

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string ToUtf8(const WString& text) {
    std::string out;
    const char16_t* units = text.data();
    const std::size_t length = text.length();
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

KitIdentity IdentityOfKit(const std::vector<KitDescription>& descriptions) {
    if (descriptions.empty()) return {};
    const KitDescription* chosen = &descriptions.front();
    for (const KitDescription& description : descriptions) {
        if (CompareNoCase(description.language, WString(u"en")) == 0) {
            chosen = &description;
            break;
        }
    }
    return {ToUtf8(chosen->productName), ToUtf8(chosen->providerName)};
}

std::string RecordFileName(const KitIdentity& identity) {
    // The zero byte cannot occur in either name: no two identities share the hashed text.
    std::string key = identity.product;
    key += '\0';
    key += identity.provider;
    return ChecksumOfBytes(key).Hex() + ".record";
}
