#include "app/EntryPathOrder.h"

#include <algorithm>

namespace {

// Entry names as the paths they become: "\\" and "/" both separate folders.
char16_t PathUnit(char16_t unit) { return unit == u'\\' ? u'/' : unit; }

}  // namespace

std::uint32_t PathHash(const WString& name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t i = 0; i < name.length(); ++i) hash = (hash ^ PathUnit(name.data()[i])) * 16777619u;
    return hash;
}

int ComparePaths(const WString& a, const WString& b) {
    const std::size_t common = std::min(a.length(), b.length());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t left = PathUnit(a.data()[i]);
        const char16_t right = PathUnit(b.data()[i]);
        if (left != right) return left < right ? -1 : 1;
    }
    return a.length() == b.length() ? 0 : (a.length() < b.length() ? -1 : 1);
}

bool NamesInStrictOrder(const std::vector<KitEntry>& entries) {
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (ComparePaths(entries[i - 1].name, entries[i].name) >= 0) return false;
    }
    return true;
}
