// The descriptions and entries that an unpacked kit image lists, read within
// fixed limits so that no kit, however crafted, makes the reader hold more
// than a bounded amount of memory.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "kit/KitImageReader.h"
#include "kit/KitReader.h"
#include "platform/ErrorCode.h"
#include "platform/File.h"

// More entries than any real kit has; a larger count is a damaged kit.
inline constexpr std::uint32_t kKitMaxEntries = 1000000;
// One description per language, with room to spare.
inline constexpr std::uint32_t kKitMaxDescriptions = 1024;
// Longest description text (product, provider, document, language).
inline constexpr std::uint32_t kKitMaxTextUnits = PATH_MAX - 1;
// Longest record, surplus included: a name of PATH_MAX bytes needs 8 KiB.
inline constexpr std::uint32_t kKitMaxRecordBytes = 65536;
// All entry names together, in 16-bit units (64 MiB). With the entry limit
// this bounds the entry list at about 40 bytes an entry plus the names.
inline constexpr std::uint64_t kKitMaxNameUnits = 32ull << 20;

// Reads the header and directory of the image open in `image`, from its
// start: appends the descriptions to `descriptions`, replaces `entries` and
// makes their offsets absolute. 0; 13 for an image that does not hold what
// it announces or passes a limit above (a count is checked against the
// limit and the bytes left before anything is allocated for it) or lists an
// entry name that is unsafe or too long for the file system (IsSafeEntryName);
// the code of a failed read. `entries` is empty after a failure.
ErrorCode ReadKitDirectory(FileHandle image, std::vector<KitDescription>& descriptions,
                           std::vector<KitEntry>& entries);
// Told the kit's descriptions as soon as they are read, before its entries:
// what a reader needs to know which kit it is.
using KitDescriptionsRead = std::function<void(const std::vector<KitDescription>&)>;

// The same over an image read in order from its start (`fields` knows the
// image's whole size): the directory is all that is read. `onDescriptions`,
// where given, is called once the descriptions are read and sound.
ErrorCode ReadKitDirectory(KitImageReader& fields, std::vector<KitDescription>& descriptions,
                           std::vector<KitEntry>& entries, const KitDescriptionsRead& onDescriptions = {});
