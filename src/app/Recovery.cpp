#include "app/Recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "app/InstallJournal.h"
#include "app/RunRollback.h"
#include "platform/File.h"

namespace {

struct DirectoryCloser {
    void operator()(DIR* stream) const { closedir(stream); }
};

std::vector<std::string> NamesIn(const std::string& folder, const std::string& prefix, const std::string& suffix) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirectoryCloser> stream(opendir(folder.c_str()));
    if (!stream) return names;
    while (const dirent* entry = readdir(stream.get())) {
        const std::string name = entry->d_name;
        if (name.size() < prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) names.push_back(name);
    }
    return names;
}

// Opens a file of ours and takes its lock; -1 when it is held (a live run)
// or the file is not a plain file of this user.
int OpenUnlocked(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return -1;
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != geteuid() ||
        flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

std::string ReadWhole(int descriptor) {
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return bytes;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

void RemoveDeadImages(const std::string& tempFolder) {
    for (const std::string& name : NamesIn(tempFolder, "edf", "")) {
        const std::string path = tempFolder + "/" + name;
        const FileHandleGuard image(OpenUnlocked(path));
        // Removed while the lock is held, so no new run can claim it in between.
        if (image.get() != INVALID_FILE_HANDLE) (void)unlink(path.c_str());  // a second start may have removed it first
    }
}

}  // namespace

std::vector<RecoveredRun> RecoverDeadRuns(const std::string& journalFolder, const std::string& tempFolder) {
    std::vector<RecoveredRun> recovered;
    if (!journalFolder.empty()) {
        for (const std::string& name : NamesIn(journalFolder, "run-", ".journal")) {
            const std::string path = journalFolder + "/" + name;
            const FileHandleGuard journal(OpenUnlocked(path));
            if (journal.get() == INVALID_FILE_HANDLE) continue;
            const JournalContent content = ParseJournal(ReadWhole(static_cast<int>(journal.get())));
            if (content.committed) {
                FinishCommittedRun(content);
            } else {
                const RollbackOutcome outcome = RollBackRun(content);
                if (content.planned) recovered.push_back({content.target, outcome.keptBackup});
            }
            (void)unlink(path.c_str());  // settled: a journal that stays would only be settled again
        }
    }
    if (!tempFolder.empty()) RemoveDeadImages(tempFolder);
    return recovered;
}
