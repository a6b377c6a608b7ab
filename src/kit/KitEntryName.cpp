#include "kit/KitEntryName.h"

#include <climits>
#include <cstddef>
#include <string_view>

namespace {

bool IsSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

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

// A control character (C0 or DEL) in a file name breaks every line-based
// listing of the tree, the zero unit would cut the name short.
bool HoldsControlUnit(const WString& name) {
    for (WString::size_type i = 0; i < name.length(); ++i) {
        if (name[i] < u'\x20' || name[i] == u'\x7F') return true;
    }
    return false;
}

// The installer's record of a kit is its own: an entry there would change
// or stand beside it, and the record would no longer be trusted.
bool InRecordFolder(const WString& name, WString::size_type firstEnd) {
    const std::string_view folder = kRecordFolder;
    if (firstEnd != folder.size()) return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (name[i] != static_cast<char16_t>(folder[i])) return false;
    }
    return true;
}

}  // namespace

// An empty component (a leading, doubled or trailing separator) or a "."
// one names the same place two ways; the installation's own paths would not
// match the kit's, so such a name is as bad as ".." is.
bool IsSafeEntryName(const WString& name) {
    if (name.empty() || HoldsControlUnit(name) || !FitsFileSystem(name)) return false;
    // Each component in place, without a copy: the kit's entries are many.
    WString::size_type start = 0;
    for (WString::size_type i = 0; i <= name.length(); ++i) {
        if (i < name.length() && !IsSeparator(name[i])) continue;
        const WString::size_type length = i - start;
        bool dots = length <= 2;
        for (WString::size_type j = start; dots && j < i; ++j) dots = name[j] == u'.';
        if (dots) return false;  // empty, "." or ".."
        if (start == 0 && InRecordFolder(name, i)) return false;
        start = i + 1;
    }
    return true;
}
