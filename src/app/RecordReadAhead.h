// A run that only reads (a dry run, a verification) reads the kit's record
// while the kit's directory is still being read: the record's name needs only
// the kit's descriptions, which the kit holds first. An installation never
// does: it reads the record under its lock, after the plan has the directory.
#pragma once

#include <sys/types.h>
#include <time.h>

#include <memory>
#include <string>

#include "app/InstallRecord.h"
#include "app/KitIdentity.h"
#include "app/SideThread.h"

// A record as read, with the time its bytes were written.
struct DatedRecord {
    RecordState state = RecordState::Missing;
    InstallRecord record;
    bool dated = false;  // the record file's status was found before it was read
    // The file's birth time where the file system keeps one, else its
    // status-change time. A rollback that puts the record back, or a change
    // of its owner or mode, moves the second to the present, not the first.
    timespec written{};
};

// The record of `identity` in the directory open in `folder`, dated before
// it is read: a record put in place meanwhile only makes more files be read.
DatedRecord ReadDatedRecord(int folder, const KitIdentity& identity);

class RecordReadAhead {
public:
    RecordReadAhead() = default;
    ~RecordReadAhead();
    RecordReadAhead(const RecordReadAhead&) = delete;
    RecordReadAhead& operator=(const RecordReadAhead&) = delete;

    // Starts reading, on a thread of its own, the record of `identity` in
    // the directory `target` (absolute, system bytes). Once per object.
    void Start(const std::string& target, const KitIdentity& identity);
    // Waits for the reading and moves its result into *result, when it was
    // started for `identity` and found the very directory open in `folder`;
    // false otherwise, and the caller reads the record itself.
    bool Take(int folder, const KitIdentity& identity, DatedRecord* result);

private:
    void Read(const std::string& target);

    std::unique_ptr<SideThread> thread_;
    KitIdentity identity_;
    bool opened_ = false;  // the directory was opened: its device and inode follow
    dev_t device_ = 0;
    ino_t inode_ = 0;
    DatedRecord result_;
};
