// The distribution kit as the installer sees it: the kit file inflated into
// a temporary image, its per-language descriptions, its list of entries and
// the copying of one entry out of the image into a destination file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "kit/InflateFile.h"
#include "platform/ErrorCode.h"
#include "platform/File.h"
#include "platform/FileCopy.h"
#include "platform/TempSpace.h"
#include "text/WString.h"

// The start of every unpacked image's name in the temporary directory: the
// installer's own, so that nothing else there is ever taken for one.
inline constexpr char kImagePrefix[] = "qorn-setup-image-";

struct KitTail;

struct KitDescription {
    WString language;
    WString productName;
    WString providerName;
    WString descriptionFile;
};

struct KitEntry {
    WString name;               // relative path, components separated by "\"
    FileTime lastWriteTime;
    std::uint32_t offset = 0;   // after KitOpen: absolute position in the image
    std::uint32_t size = 0;
};

class KitReader {
public:
    KitReader();
    // Closes the unpacked image and removes it from the temporary directory.
    ~KitReader();
    KitReader(const KitReader&) = delete;
    KitReader& operator=(const KitReader&) = delete;

    std::vector<KitDescription> descriptions;
    std::vector<KitEntry> entries;
    WString tempPath;
    FileHandle handle = INVALID_FILE_HANDLE;
    // Holds an flock on the image for the reader's life, so that a later
    // start can tell the image of a dead run from one in use.
    FileHandle imageLock = INVALID_FILE_HANDLE;
    std::uint32_t copyBufferSize;
    std::unique_ptr<unsigned char[]> copyBuffer;
    // Where a kit opened for its directory first came from, for KitOpenImage.
    WString sourcePath;
    KitSlice sourceSlice;
    // A kit opened for its directory first: the stream where the directory
    // ends, for the files' data (KitStream), until something takes it.
    std::unique_ptr<KitTail> tail;
};

// Inflates the kit into a new temporary image (InflateFile, watching the
// temporary directory's free space through `freeSpace`) and reads its
// descriptions and entries (ReadKitDirectory, within its limits). 0; 13 for
// a damaged kit (invalid stream, structure that does not hold what it
// announces, a limit passed, an entry name that would leave the target
// directory); 112 when the temporary directory lacks the room; 1013 when the
// image cannot be created or written there; 2 or 87 for failed opens and
// reads of the kit. On failure the entries and descriptions are emptied and
// the image removed.
ErrorCode KitOpen(KitReader& reader, const WString& kitPath,
                  const FreeSpaceProbe& freeSpace = GetFileSystemFreeSpace);
// The same for a kit that is `slice` of the file at `path` (the kit a
// one-file installer carries, see KitBundle.h).
ErrorCode KitOpen(KitReader& reader, const WString& path, const KitSlice& slice,
                  const FreeSpaceProbe& freeSpace = GetFileSystemFreeSpace);

// Closes the unpacked image and removes it now, as the destructor would, and
// lets go of a kit read for its directory first (its tail).
void KitClose(KitReader& reader);

// Writes entry `index` to `destination` (created or overwritten, cut to the
// entry's size) with the entry's last-write time. 0; 87 for an index out of
// range; 6 when no image is open; 13 when the image ends early; else the
// code of the failed open, read or write.
ErrorCode KitExtractEntry(KitReader& reader, std::size_t index, const WString& destination);

// Appends entry `index`'s data to the open descriptor `destination`, straight
// from the image (no seek, no shared position, so several threads may copy at
// once, each through its own `buffer`). 0; 87 for an index out of range; 6
// when no image is open; 13 when the image ends early; else the code of the
// failed write (a full disk or a size limit among them).
ErrorCode KitCopyEntryData(const KitReader& reader, std::size_t index, int destination,
                           std::span<unsigned char> buffer);
// The same, always through `buffer`, handing every piece of the data to
// `observe` before it is written.
ErrorCode KitCopyEntryData(const KitReader& reader, std::size_t index, int destination,
                           std::span<unsigned char> buffer, const CopyObserver& observe);

// Product and provider of the first description whose language matches
// (ignoring case); both empty when there is none.
void KitFindDescription(const std::vector<KitDescription>& descriptions, const WString& language,
                        WString* productName, WString* providerName);

// The description document for `language`, falling back on the first "en"
// record's (even if empty), else the empty string.
WString KitDescriptionFile(const std::vector<KitDescription>& descriptions, const WString& language);
