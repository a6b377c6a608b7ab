// The on-disk record of one installation run: what it will create, what it
// will replace and where the originals go, written and synced before the
// first change and locked (flock) for as long as the run lives. A journal
// whose lock nobody holds belongs to a dead run and tells how to undo it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// One file the run writes; paths are absolute system paths.
struct JournalFile {
    std::string path;
    std::uint64_t index = 0;  // names its temporary file beside `path`
    bool replaces = false;    // an original stands there and goes to the backup first
};

struct JournalFolderTime {
    std::string path;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
};

// Everything a journal holds. `planned` is false for a journal cut short
// before its plan was whole: then no change was made yet.
struct JournalContent {
    std::string target;  // ends in "/"
    std::string backup;  // ends in "/"; empty when the run replaces nothing
    std::string tag;     // part of every temporary name of the run
    std::vector<std::string> createdDirs;  // outer before inner
    std::vector<JournalFile> files;
    std::vector<JournalFolderTime> folderTimes;
    bool planned = false;
    bool committed = false;
};

// The name under which file `index` of the run tagged `tag` is written in
// its destination folder before it is renamed into place.
std::string TemporaryName(const std::string& tag, std::uint64_t index);

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
    void Target(const std::string& target, const std::string& tag);
    void Backup(const std::string& backup);
    void CreatedDir(const std::string& path);
    void File(const JournalFile& file);
    void FolderTime(const JournalFolderTime& time);
    void PlanComplete();
    // Writes what is buffered, without waiting for the disk: enough for a
    // later start to find it after the process dies. False on failure.
    bool Flush();
    // Writes what is buffered and syncs it (and, the first time, the folder
    // holding the journal). False on any failure.
    bool Sync();
    // Marks the run committed and syncs the mark. False on failure.
    bool MarkCommitted();
    // Reads the journal back from its start.
    JournalContent Read() const;
    // Deletes the journal file; the lock ends with the object.
    void Remove();
    const std::string& path() const { return path_; }

private:
    void Record(char kind, std::initializer_list<std::string> fields);

    std::string path_;
    std::string folder_;
    std::string buffer_;
    int descriptor_ = -1;
    bool folderSynced_ = false;
    bool failed_ = false;
};

// Parses a journal's bytes; a record cut short at the end is ignored.
JournalContent ParseJournal(const std::string& bytes);

// Where journals live: $XDG_STATE_HOME/qorn-setup, else
// $HOME/.local/state/qorn-setup; empty when neither is known.
std::string JournalFolder();
