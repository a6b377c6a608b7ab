// The record of what an installation put into a template directory, one file
// per kit in the directory's hidden folder ".qorn-record": every file of the
// kit it installed or found up to date (path, size, time, content checksum),
// the folders it created, and whether it created the directory itself. It is
// written like the kit's own files, inside the run's transaction, and read
// with suspicion: a record that fails any check is never trusted to remove
// anything.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ContentChecksum.h"
#include "app/KitIdentity.h"
#include "kit/KitEntryName.h"  // kRecordFolder

// As many as a kit may list.
inline constexpr std::size_t kMaxRecordedFiles = 1000000;

struct RecordedFile {
    std::string path;  // below the template directory, "/" between components, system bytes
    std::uint64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    Checksum128 checksum;
};

// Whether time `a` (a timespec or a statx_timestamp) is strictly before `b`.
template <typename Time>
bool Earlier(const Time& a, const Time& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}
// Whether `status` shows the recorded time, to the precision the file system keeps.
bool SameRecordedTime(const struct stat& status, const RecordedFile& file);
// Whether the file `status` describes is still the recorded one, known
// without reading it: a regular file of the recorded size and time whose
// status last changed before the record was written (`recordWritten`, see
// DatedRecord; zero when unknown). Nobody can write to a file, or set its
// time back, without moving its status-change time to the present.
bool UnchangedSinceRecord(const struct stat& status, const RecordedFile& file, const timespec& recordWritten);

struct InstallRecord {
    KitIdentity identity;
    bool createdTarget = false;               // the directory itself was made by the kit's first installation
    std::vector<std::string> createdFolders;  // below the directory, outer before inner
    std::vector<RecordedFile> files;          // in the kit's order
    std::vector<std::uint32_t> filesByPath;   // indices of `files` in path order, made by the reader
    Checksum128 sealed;                       // of the bytes it was read from; zero for one made here
};

// The record's bytes: a header line, then one line per item, every name
// escaped ("%XX" for a control byte, a blank, DEL and "%"), and a last line
// with a checksum of everything before it.
std::string SerializeRecord(const InstallRecord& record);
// The same bytes handed to `sink` a piece at a time, the files' lines made
// by `fileAt` (0 to fileCount - 1) only when their turn comes: a large kit's
// record never stands in memory whole.
void WriteRecordBytes(const InstallRecord& header, std::size_t fileCount,
                      const std::function<void(std::size_t, RecordedFile*)>& fileAt,
                      const std::function<void(std::string_view)>& sink);
// `text` as the record and the dry run's and verification's lines write a
// path: control bytes, blanks, DEL and "%" as "%XX".
std::string EscapePathBytes(std::string_view text);
// The same, appended to *out.
void AppendEscapedPathBytes(std::string_view text, std::string* out);
// Parses and checks `bytes` as the record of `expected`: header, counts (at
// most kMaxRecordedFiles, and no more than the bytes can hold), every path
// plain and below the directory and outside the record folder, no path
// twice, numbers whole, the identity and the closing checksum. False, with
// `record` unchanged, on the first fault.
bool ParseRecord(std::string_view bytes, const KitIdentity& expected, InstallRecord* record);
// The file of a parsed record at `path`, or nullptr: a binary search of filesByPath.
const RecordedFile* FindRecordedFile(const InstallRecord& record, std::string_view path);

// The record's path below the template directory.
std::string RecordPath(const KitIdentity& identity);

enum class RecordState : std::uint8_t { Missing, Found, Damaged, Obstructed };
// Reads the record of `identity` below the open template directory
// `target`: the folder and the file are never followed through a link and
// the file must be a regular one. Missing when there is none; Obstructed
// when a link, a file or anything but a folder has the record folder's
// name; Damaged when it cannot be read or fails ParseRecord.
RecordState ReadRecord(int target, const KitIdentity& identity, InstallRecord* record);
// The paths, sorted and each once, that the sound records of kits other
// than `own` in the open template directory `target` list: files another
// kit installed too, which removing this kit's must leave. A record that
// cannot be read or fails its checks speaks for nothing.
std::vector<std::string> PathsOfOtherKits(int target, const KitIdentity& own);
// Renames a damaged record to "<name>.bad" (".bad1", ".bad2"... when taken)
// beside it, never over another file. Its new path below the directory,
// empty when it could not be moved.
std::string SetRecordAside(int target, const KitIdentity& identity);
