#include "launcher/LauncherPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "text/Convert.h"

namespace {

constexpr std::int32_t kDefaultProductVersion = 8;

WString PasswordDatabaseHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return WString();
    return found->pw_dir != nullptr ? ToWString(found->pw_dir) : WString();
}

}  // namespace

WString HomeDirectory() {
    // The same answer as the shell's "~", found without a shell.
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return ToWString(home);
    return PasswordDatabaseHome();
}

WString ProductUserDirectory() { return HomeDirectory() + u"/" + u".qorn" + u"/"; }

WString LauncherConfigDirectory(bool alternative) {
    return HomeDirectory() + u"/" + (alternative ? u".Vq/tavrilont" : u".Vq/tavrilon");
}

WString LauncherConfigPath(bool alternative) { return LauncherConfigDirectory(alternative) + u"/" + u"tavrilon.cfg"; }

WString SharedLauncherConfigPath(bool alternative) {
    if (alternative) return LauncherConfigPath(false);
    return ProductUserDirectory() + u"/" + u".Vq/tavrilon" + u"/" + u"tavrilon.cfg";
}

WString DefaultTemplateBase() {
    return ProductUserDirectory() + u"Vq" + u"/" + u"vq" + IntToWString(kDefaultProductVersion, 10) + u"/";
}

WString DefaultTemplateDirectory() { return DefaultTemplateBase() + u"tmplts" + u"/"; }
