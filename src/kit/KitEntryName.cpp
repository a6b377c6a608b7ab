#include "kit/KitEntryName.h"

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

bool HoldsZeroUnit(const WString& name) {
    for (WString::size_type i = 0; i < name.length(); ++i) {
        if (name[i] == u'\0') return true;
    }
    return false;
}

}  // namespace

bool IsSafeEntryName(const WString& name) {
    if (name.empty() || HoldsZeroUnit(name) || IsSeparator(name[0])) return false;
    const std::vector<WString> components = Components(name);
    for (const WString& component : components) {
        if (component == WString(u"..")) return false;
    }
    const WString& last = components.back();
    return !last.empty() && !(last == WString(u"."));
}
