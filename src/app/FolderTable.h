// The folders an installation run meets below its target, each once, with
// what the plan learned of it. About forty bytes a folder, its path
// included: a kit may put each of its hundred thousand entries in a folder
// of its own, and a node-based map would cost twice as much.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

class FolderTable {
public:
    struct Folder {
        std::int64_t seconds = 0;  // modification time found by the plan
        std::int32_t nanoseconds = 0;
        bool exists = false;     // before the run
        bool timeSaved = false;  // to be restored on a rollback
    };
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // The number of the folder at `path`, or kNone when it was never added.
    std::uint32_t Find(std::string_view path) const;
    // Adds a folder that Find does not know, its path shorter than 64 KiB
    // (a kit's names are at most a path's 4,095 bytes); its number, counted
    // from 0 in the order of adding.
    std::uint32_t Add(std::string_view path, const Folder& folder);
    Folder& operator[](std::uint32_t number) { return records_[number].folder; }
    std::string_view PathOf(std::uint32_t number) const;
    std::uint32_t size() const { return static_cast<std::uint32_t>(records_.size()); }
    // Empties the table and gives its memory back.
    void Clear();

private:
    struct Record {
        Folder folder;
        std::uint32_t pathStart = 0;  // in the chain of name blocks
        std::uint32_t pathLength = 0;
    };

    std::size_t SlotOf(std::string_view path) const;
    void Grow();
    std::uint32_t StorePath(std::string_view path);

    std::deque<Record> records_;             // no copies as it grows
    std::vector<std::uint32_t> slots_;       // open addressing: record number + 1, 0 for a free slot
    std::vector<std::unique_ptr<char[]>> blocks_;  // paths, back to back, never moved
    std::uint32_t blockUsed_ = 0;
};
