// Where temporary files go and how much room they have.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ErrorCode.h"
#include "platform/File.h"
#include "text/WString.h"

// TMPDIR when it names a directory, else "/tmp"; always ends in "/". Returns 0.
ErrorCode GetTempDirectory(WString* directory);
// Free bytes of the temporary directory's file system, capped at 0xFFFFFFFF;
// 0 bytes when the query fails. 87 without an output.
ErrorCode GetTempFreeSpace(std::uint32_t* freeBytes);
// The same without the cap.
ErrorCode GetTempFreeSpace(std::uint64_t* freeBytes);
// Bytes that the calling user can still write on the file system holding
// the open `file` (blocks reserved for the superuser left out). 0, or 87
// when the file system cannot be asked.
ErrorCode GetFileSystemFreeSpace(FileHandle file, std::uint64_t* freeBytes);
// Creates a new empty file whose name starts with `prefix` in exactly
// `directory` (exclusive creation), six random letters or digits after it;
// 1013 on any failure.
ErrorCode CreateTempFile(const WString& directory, const WString& prefix, WString* path);
// Whether `name` is exactly one CreateTempFile makes with `prefix`.
bool IsTempFileName(std::string_view name, std::string_view prefix);
