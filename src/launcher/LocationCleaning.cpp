#include "launcher/LocationCleaning.h"

#include <string_view>

namespace {

void RemoveFirst(WString& text, const WString& what) {
    const auto at = text.find(what);
    if (at != WString::npos) text.erase(at, what.length());
}

}  // namespace

void SanitizeTargetDirectory(WString& directory) {
    if (directory.contains(u"http://") || directory.contains(u"https://") || directory.contains(u"ftp://")) {
        directory.clear();
    }
    RemoveFirst(directory, u"file://");
    ReplaceAll(directory, u"\n", u"");
    ReplaceAll(directory, u"\r", u"");
}

WString LocalDirectoryOf(const WString& recorded) {
    // Without these there is nothing to clean: no separator to turn, no scheme, no line break.
    const std::u16string_view units(recorded.c_str(), recorded.length());
    if (units.find_first_of(u"\\:\r\n") == std::u16string_view::npos) return recorded;
    WString directory = recorded;
    ReplaceAll(directory, u"\\", u"/");
    SanitizeTargetDirectory(directory);
    return directory;
}
