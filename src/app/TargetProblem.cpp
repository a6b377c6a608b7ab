#include "app/TargetProblem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/SystemPath.h"

const char* TargetProblem(const std::string& target) {
    // The nearest part of the path that is there: what the run would make its folders in, or write into.
    std::string path = WithoutTrailingSlashes(target);
    struct stat status {};
    while (stat(path.c_str(), &status) != 0) {
        if (errno == ENOTDIR) return "IDS_ERROR_TARGET_NOTFOLDER";
        const std::string::size_type slash = path.rfind('/');
        if (errno != ENOENT || slash == std::string::npos || slash == 0) return nullptr;
        path.resize(slash);
    }
    if (!S_ISDIR(status.st_mode)) return "IDS_ERROR_TARGET_NOTFOLDER";
    // As the process itself would be judged: its effective ids, and a read-only mount even for root.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EROFS || errno == EPERM)) {
        return "IDS_ERROR_TARGET_READONLY";
    }
    return nullptr;
}
