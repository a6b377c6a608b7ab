#include "launcher/LocationCleaning.h"

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
    WString directory = recorded;
    ReplaceAll(directory, u"\\", u"/");
    SanitizeTargetDirectory(directory);
    return directory;
}
