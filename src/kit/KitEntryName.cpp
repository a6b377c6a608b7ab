#include "kit/KitEntryName.h"

#include <climits>
#include <cstddef>
#include <vector>

namespace {

bool IsSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

std::vector<WString> Components(const WString& name) {
    std::vector<WString> components(1);
    for (WString::size_type i = 0; i < name.length(); ++i) {
        if (IsSeparator(name[i])) components.emplace_back();
        else components.back().push_back(name[i]);
    }
    return components;
}

// Bytes of the unit in UTF-8; each half of a surrogate pair counts 2.
std::size_t Utf8Bytes(char16_t unit) {
    if (unit < 0x80) return 1;
    if (unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)) return 2;
    return 3;
}

// Measured before the name is split, so that a long name costs no copies.
bool FitsFileSystem(const WString& name) {
    std::size_t whole = 0;
    std::size_t component = 0;
    for (WString::size_type i = 0; i < name.length(); ++i) {
        const std::size_t bytes = Utf8Bytes(name[i]);
        whole += bytes;
        component = IsSeparator(name[i]) ? 0 : component + bytes;
        if (whole > PATH_MAX - 1 || component > NAME_MAX) return false;
    }
    return true;
}

bool HoldsZeroUnit(const WString& name) {
    for (WString::size_type i = 0; i < name.length(); ++i) {
        if (name[i] == u'\0') return true;
    }
    return false;
}

}  // namespace

bool IsSafeEntryName(const WString& name) {
    if (name.empty() || HoldsZeroUnit(name) || IsSeparator(name[0]) || !FitsFileSystem(name)) return false;
    const std::vector<WString> components = Components(name);
    for (const WString& component : components) {
        if (component == WString(u"..")) return false;
    }
    const WString& last = components.back();
    return !last.empty() && !(last == WString(u"."));
}
