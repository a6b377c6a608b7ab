#include "platform/TempSpace.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

constexpr int kNameAttempts = 100;
constexpr int kRandomChars = 6;

bool NamesDirectory(const char* path) {
    struct stat status {};
    return path != nullptr && ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

// Six characters from the kernel's random source; a unique name does not
// rely on them alone, exclusive creation settles collisions.
AString RandomSuffix() {
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[kRandomChars] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(std::rand());
    }
    AString suffix;
    for (unsigned char byte : bytes) suffix += kAlphabet[byte % (sizeof kAlphabet - 1)];
    return suffix;
}

WString JoinDirectory(const WString& directory, const WString& name) {
    if (directory.back() == u'/') return directory + name;
    return directory + u"/" + name;
}

// Creates the file only if no file of that name exists yet: 0, EEXIST, or
// another errno value.
int CreateExclusively(const AString& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

}  // namespace

ErrorCode GetTempDirectory(WString* directory) {
    const char* tmpdir = std::getenv("TMPDIR");
    WString result = ToWString(NamesDirectory(tmpdir) ? tmpdir : "/tmp");
    if (!result.empty() && result.back() != u'/') result += u"/";
    *directory = result;
    return ERR_NONE;
}

ErrorCode GetTempFreeSpace(std::uint64_t* freeBytes) {
    if (freeBytes == nullptr) return ERR_INVALID_PARAMETER;
    *freeBytes = 0;
    WString directory;
    AString systemPath;
    (void)GetTempDirectory(&directory);  // always succeeds
    struct statvfs info {};
    if (!ToSystemPath(directory, &systemPath) || ::statvfs(systemPath.c_str(), &info) != 0) return ERR_NONE;
    *freeBytes = std::uint64_t{info.f_bfree} * std::uint64_t{info.f_frsize};
    return ERR_NONE;
}

ErrorCode GetTempFreeSpace(std::uint32_t* freeBytes) {
    if (freeBytes == nullptr) return ERR_INVALID_PARAMETER;
    std::uint64_t wholeBytes = 0;
    const ErrorCode result = GetTempFreeSpace(&wholeBytes);
    *freeBytes = wholeBytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(wholeBytes);
    return result;
}

ErrorCode GetFileSystemFreeSpace(FileHandle file, std::uint64_t* freeBytes) {
    struct statvfs info {};
    if (freeBytes == nullptr || ::fstatvfs(static_cast<int>(file), &info) != 0) return ERR_INVALID_PARAMETER;
    *freeBytes = std::uint64_t{info.f_bavail} * std::uint64_t{info.f_frsize};
    return ERR_NONE;
}

ErrorCode CreateTempFile(const WString& directory, const WString& prefix, WString* path) {
    if (path == nullptr || directory.empty()) return ERR_CANT_WRITE;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const WString candidate = JoinDirectory(directory, prefix + ToWString(RandomSuffix()));
        AString systemPath;
        if (!ToSystemPath(candidate, &systemPath)) return ERR_CANT_WRITE;
        *path = candidate;
        const int error = CreateExclusively(systemPath);
        if (error == 0) return ERR_NONE;
        // A process out of descriptors is not the folder's fault, and is not told as such.
        if (error == EMFILE || error == ENFILE) return ErrorFromErrno(error);
        if (error != EEXIST) return ERR_CANT_WRITE;
    }
    return ERR_CANT_WRITE;
}

bool IsTempFileName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kRandomChars || name.substr(0, prefix.size()) != prefix) return false;
    for (const char c : name.substr(prefix.size())) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}
