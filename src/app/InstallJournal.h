// The on-disk record of one installation run: what it will create, what it
// will replace and where the originals go, written and synced before the
// first change and locked (flock) for as long as the run lives. A journal
// whose lock nobody holds belongs to a dead run and tells how to undo it.
#pragma once

#include <sys/stat.h>

#include <charconv>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FolderBeneath.h"

// When a file of the tree is still the one somebody saw: its size and
// exact modification time (a rename keeps both, a user's edit changes them).
struct FileIdentity {
    std::int64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file a stat found.
inline FileIdentity IdentityOfStatus(const struct stat& status) {
    return {status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

// Which file, not only what it holds: its inode, and its birth time where the
// file system keeps one (zero when not), since a freed inode number is soon
// given to the next new file. All zero when unknown.
struct FileInstance {
    std::uint64_t inode = 0;
    std::int64_t birthSeconds = 0;
    std::int64_t birthNanoseconds = 0;
    bool known() const { return inode != 0; }
    // Whether `found` (as statx saw it) is this very file.
    bool Matches(const FileInstance& found) const {
        const bool births = birthSeconds != 0 && found.birthSeconds != 0;
        return inode == found.inode &&
               (!births || (birthSeconds == found.birthSeconds && birthNanoseconds == found.birthNanoseconds));
    }
    friend bool operator==(const FileInstance&, const FileInstance&) = default;
};

// The instance of the file `name` in `folder` ("" for the file open at
// `folder`), a link itself not followed; all zero when it cannot be asked.
FileInstance InstanceAt(int folder, const char* name);
// The same from what statx found (asked at least for STATX_INO).
FileInstance InstanceOf(const struct statx& found);

// One file the run writes; `path` is below the target.
struct JournalFile {
    std::string path;
    std::uint64_t index = 0;  // names its temporary file beside `path`
    bool replaces = false;    // an original stands there and goes to the backup first
    FileIdentity written;     // the file the run puts there: the kit entry's size and time
    FileIdentity original;    // of the original, when it replaces one
    // Unknown in a journal of an older version, or for a file the run had
    // not yet written: with them a file of the same size and time made by
    // somebody else is never taken for the run's or the original.
    FileInstance writtenInstance;   // of the file the run wrote, known before its rename
    FileInstance originalInstance;  // of the original, as the plan saw it
    // No file takes its place: the run removes the original (into the backup
    // first), and a rollback puts it back wherever the path is free.
    bool removes = false;
};

// A folder's time to give back; `path` is below the anchor ("" the anchor itself).
struct JournalFolderTime {
    std::string path;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
};

// A folder by device and inode: the same folder even when a path now leads elsewhere.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

// Everything a journal holds. The anchor is the target itself, or, when the
// run creates the target, its nearest existing ancestor; every path the run
// touches lies below it. `planned` is false for a journal cut short before
// its plan was whole: then no change was made yet.
struct JournalContent {
    bool known = false;  // the header of this installer's journals
    std::string target;  // absolute, ends in "/"
    std::string tag;     // part of every temporary name of the run
    std::string anchor;  // absolute, the target without its last "/" or an ancestor of it
    FolderIdentity anchorIdentity;
    std::string backup;  // absolute, ends in "/"; empty when the run replaces nothing
    FolderIdentity backupIdentity;  // all zero while the run had named the folder but not made it yet
    std::vector<AllowedLink> links;          // linked folders below the target the plan found
    std::vector<std::string> createdDirs;  // below the anchor, outer before inner
    // Of version 5: the target the run made, once it was made; all zero before, or when it was there already.
    FolderIdentity madeTarget;
    std::vector<JournalFile> files;
    std::vector<JournalFolderTime> folderTimes;
    std::vector<std::string> removedDirs;  // below the anchor, inner before outer; each went only when empty
    bool planned = false;
    bool committed = false;
    bool undone = false;  // rolled back, only its backup folder is left to remove
    bool damaged = false;  // a record other than the last one is not whole: nothing of it may be trusted
    bool inodes = false;   // of version 3 on: every file the run put in place has its inode ('W') recorded
    // Of version 4: the originals lie in the backup folder itself, each under
    // its BackupName; before, in a copy of their folders below it, under their own names.
    bool flatBackup = false;

    // The target below the anchor ("" when they are one).
    std::string TargetBelowAnchor() const;
};

// The name under which file `index` of the run tagged `tag` is written in
// its destination folder before it is renamed into place.
std::string TemporaryName(const std::string& tag, std::uint64_t index);

// The name the original of file `index` at `path` takes in the backup folder:
// the index, a dash and as much of the file's own name as a name can hold,
// so that a person looking into a kept backup can tell the files apart.
std::string BackupName(std::uint64_t index, std::string_view path);

// A journal being written by the running installation; closing it (the
// destructor) releases the lock but keeps the file unless it was removed.
class InstallJournal {
public:
    InstallJournal() = default;
    ~InstallJournal();
    InstallJournal(const InstallJournal&) = delete;
    InstallJournal& operator=(const InstallJournal&) = delete;

    // Creates a new journal in `folder` (made when missing, private to the
    // user) and locks it. False when it cannot.
    bool Create(const std::string& folder);
    // Buffered appends; nothing reaches the disk before Sync().
    void Target(const std::string& target, const std::string& tag, const std::string& anchor,
                FolderIdentity anchorIdentity);
    void Backup(const std::string& backup, FolderIdentity identity);
    void Link(const AllowedLink& link);
    void CreatedDir(const std::string& path);
    void File(const JournalFile& file);
    void FolderTime(const JournalFolderTime& time);
    // A folder the run removes when it is left empty: a rollback makes it again.
    void RemovedDir(const std::string& path);
    void PlanComplete();
    // Records the identity of the target the run made, once it is made:
    // written at once but not synced. False on failure.
    bool MadeTarget(FolderIdentity identity);
    // Records the inode of the file the run wrote for entry `index`, written
    // at once (before the file is renamed into place) but not synced. Safe
    // to call from several threads once the plan is synced. False on failure.
    bool Written(std::uint64_t index, const FileInstance& instance);
    struct WrittenFile {
        std::uint64_t index = 0;
        FileInstance instance;
    };
    // The same for several files in one write.
    bool Written(std::span<const WrittenFile> files);
    // Writes what is buffered, without waiting for the disk: enough for a
    // later start to find it after the process dies. False on failure.
    bool Flush();
    // Writes what is buffered and syncs it (and, the first time, the folder
    // holding the journal). False on any failure.
    bool Sync();
    // Marks the run committed and syncs the mark. False on failure.
    bool MarkCommitted();
    // Marks the run rolled back with every original in place, and syncs the mark. False on failure.
    bool MarkUndone();
    // Reads the journal back from its start.
    JournalContent Read() const;
    // Deletes the journal file; the lock ends with the object.
    void Remove();
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }

private:
    // One field of a record: text as it is, or a number in decimal, made in place.
    class Field {
    public:
        Field(std::string_view text) : text_(text) {}
        Field(const std::string& text) : text_(text) {}
        template <std::integral Number>
        Field(Number number) : text_(digits_, static_cast<std::size_t>(
                                                  std::to_chars(digits_, digits_ + sizeof digits_, number).ptr - digits_)) {}
        Field(const Field&) = delete;  // text_ may point into digits_
        Field& operator=(const Field&) = delete;
        std::string_view text() const { return text_; }

    private:
        char digits_[24];
        std::string_view text_;
    };
    void Record(char kind, std::initializer_list<Field> fields);

    std::string path_;
    std::string folder_;
    std::string buffer_;
    int descriptor_ = -1;
    bool folderSynced_ = false;
    bool failed_ = false;
    std::mutex writtenMutex_;
};

// Appends the mark of MarkUndone to the journal open (for writing) at
// `descriptor`, and syncs it. False on failure.
bool AppendUndoneMark(int descriptor);

// Parses a journal's bytes; a record cut short at the end is ignored (so are
// zeros where a record would start, up to the end: a power cut's unwritten
// tail), any other record that is not whole, or of an unknown kind, makes
// the journal `damaged`. A file that holds no more than the start of the
// header is a journal with nothing in it. Journals of the two versions
// before (a backup that mirrors the folders; before that, without inodes)
// are read as well.
JournalContent ParseJournal(const std::string& bytes);

// Whether a journal may be acted on at all: this installer's, its target
// absolute and below its anchor, every path below them with no "." or "..",
// its tag plain, and its backup folder one the installer makes (".xorupN"
// beside the target, or "xorupN" in `journalFolder`). A journal that fails
// is set aside, never followed.
bool JournalIsSound(const JournalContent& journal, const std::string& journalFolder);

// A folder where backup folders of runs on a target may lie ("/"-ended),
// and the start of their names, followed by a decimal number.
struct BackupHome {
    std::string folder;
    std::string prefix;
};
// In the order a run tries them: beside the target (never for "/"), then the journal folder.
std::vector<BackupHome> BackupHomes(const std::string& target, const std::string& journalFolder);

// Makes the journal folder (and the folders it lacks) private to the user; true when it is a folder.
bool MakeJournalFolder(const std::string& folder);

// Where journals live: $XDG_STATE_HOME/qorn-setup, else
// $HOME/.local/state/qorn-setup; empty when neither is known.
std::string JournalFolder();
