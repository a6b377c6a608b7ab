// The files of a kit's previous record as they are now in the template
// directory: whether each is there, and whether it is still what the kit
// installed or the user has changed it. Whatever cannot be read as the
// recorded file counts as changed: when in doubt, a file is the user's.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/InstallJournal.h"
#include "app/InstallRecord.h"
#include "platform/FolderBeneath.h"

struct RecordedFileNow {
    bool onDisk = false;    // something is at its path (a file, a folder, a link)
    bool edited = false;    // it is there, and not the file the record describes
    FileIdentity identity;  // of what is there, when it is
};

// Looks at record.files[i] for each i of `which`, below the open folder
// `target`, following only `links`; one answer per index, in that order.
// A file unchanged since the record was put in place (`recordWritten`, see
// UnchangedSinceRecord) is not read; many others are read by two threads.
std::vector<RecordedFileNow> LookAtRecordedFiles(int target, std::span<const AllowedLink> links,
                                                 const InstallRecord& record, std::span<const std::uint32_t> which,
                                                 const timespec& recordWritten);
