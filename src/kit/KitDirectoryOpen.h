// Opening a kit for a run that changes nothing: its descriptions and entry
// list, read straight from the stream in memory, with no image unpacked into
// the temporary directory and none of the files' data kept.
#pragma once

#include "kit/InflateFile.h"
#include "kit/KitDirectory.h"
#include "kit/KitReader.h"
#include "platform/ErrorCode.h"
#include "platform/TempSpace.h"
#include "text/WString.h"

// Fills `reader` as KitOpen would (the same descriptions, the same entries
// with the same offsets, the same answer for every kit, damaged ones
// included: the whole stream is checked to its end), but leaves no image
// open: KitExtractEntry and KitCopyEntryData answer 6. 0; 13 for a damaged
// kit; 2 or 87 for failed opens and reads of the kit. The entries are empty
// after a failure.
ErrorCode KitOpenDirectory(KitReader& reader, const WString& path, const KitSlice& slice = KitSlice{});

// Reads the descriptions and entries as KitOpenDirectory does, but inflates
// the stream only as far as the directory goes: a run that needs none of the
// files' data (every file already up to date) never unpacks the rest. What
// lies past the directory is looked at only by KitOpenImage, which needs
// where the kit came from, or by a KitStream, which goes on from where the
// directory ends: `reader` keeps both (sourcePath, tail). The same codes as
// KitOpenDirectory for what the directory itself holds. `onDescriptions` as
// for ReadKitDirectory.
ErrorCode KitOpenDirectoryFirst(KitReader& reader, const WString& path, const KitSlice& slice = KitSlice{},
                                const KitDescriptionsRead& onDescriptions = {});
// Unpacks the whole kit of a reader opened by KitOpenDirectoryFirst into its
// image, as KitOpen does (and with its codes); 13 too when the image's
// directory is not the one read before (the kit file changed since). 0 at
// once for a reader whose image is open.
ErrorCode KitOpenImage(KitReader& reader, const FreeSpaceProbe& freeSpace = GetFileSystemFreeSpace);
// The length of the kit's own bytes (deflated) of a reader opened by
// KitOpenDirectoryFirst and not yet streamed; 0 otherwise.
std::uint64_t KitStreamBytes(const KitReader& reader);
// A kit up to this long is inflated to its end in a few hundredths of a second.
inline constexpr std::uint64_t kKitCheckedAtStart = 8ull << 20;
// Whether the whole stream of a kit opened by KitOpenDirectoryFirst holds
// together and holds every entry's data, as KitOpen would find, without
// keeping any of it: 0, or KitOpen's code.
ErrorCode KitCheckWholeStream(const KitReader& reader);
