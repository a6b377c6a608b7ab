// What a run does with one path of the template directory, from what the
// kit holds, what stands on disk and what the kit's record says was
// installed there. The time rule decides whether the kit's file goes in; the
// record decides whether the user's version is kept first and whether a file
// the kit no longer ships may go.
#pragma once

#include <cstdint>

enum class FileDecision : std::uint8_t {
    None,                // no longer shipped and already gone: nothing to do
    Create,              // the kit's file, where there is none
    Replace,             // the kit's newer file over one the record does not contradict
    ReplaceKeepingEdit,  // the same, the user's edited version first kept beside it
    UpToDate,            // as new as the kit's or newer: left alone
    Remove,              // no longer shipped, still exactly as installed
    KeepEdited,          // no longer shipped, edited by the user: kept where it is
};

struct FileFacts {
    bool inKit = false;
    bool onDisk = false;
    bool olderThanKit = false;     // on disk and older than the kit's copy (whole seconds)
    bool recorded = false;         // the record lists it
    bool asRecorded = false;       // on disk with the recorded size and content
};

constexpr FileDecision Decide(const FileFacts& facts) {
    const bool edited = facts.recorded && facts.onDisk && !facts.asRecorded;
    if (!facts.inKit) {
        if (!facts.recorded || !facts.onDisk) return FileDecision::None;
        return edited ? FileDecision::KeepEdited : FileDecision::Remove;
    }
    if (!facts.onDisk) return FileDecision::Create;
    if (!facts.olderThanKit) return FileDecision::UpToDate;
    return edited ? FileDecision::ReplaceKeepingEdit : FileDecision::Replace;
}
