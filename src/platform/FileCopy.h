// Copying one regular file between file systems where a rename or a hard
// link cannot reach: the slow path that keeps an original safe when no
// backup folder can be made on the original's own file system.
#pragma once

#include <cstddef>
#include <functional>

// Copies the regular file `from` (relative to the folder `fromFolder`) to a
// new file `to` (relative to `toFolder`, created exclusively) with the same
// content, permission bits and modification time, synced before it returns;
// a link is copied as a link with its time. 0 on success, else the errno of
// the failing step; a partial copy is removed.
int CopyFileSynced(int fromFolder, const char* from, int toFolder, const char* to);

// Copies `length` bytes from `source` at `offset` to the current end of
// `destination`: through copy_file_range where the kernel can and the copy is
// larger than `buffer` (of `bufferSize` bytes), through the buffer otherwise.
// 0, EIO when the source ends early, else the errno of the failing step.
int CopyRange(int source, long long offset, long long length, int destination, unsigned char* buffer,
              unsigned bufferSize);

// What a copy through the buffer hands over of each piece before writing it.
using CopyObserver = std::function<void(const unsigned char* piece, std::size_t size)>;

// Copies like CopyRange, always through the buffer, handing every piece to
// `observe` on its way (the kernel's own copy would keep it from being seen).
int CopyRangeObserved(int source, long long offset, long long length, int destination, unsigned char* buffer,
                      unsigned bufferSize, const CopyObserver& observe);
