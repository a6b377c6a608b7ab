// Building distribution kits: the unpacked image (header, directory, data)
// and its raw deflate compression. Used by the authoring tool and by tests,
// which also use the encoding pieces to craft damaged images on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/KitReader.h"

struct KitFileSource {
    WString name;             // relative path, components separated by "\"
    FileTime lastWriteTime;
    std::string data;         // the content, unless sourcePath is given
    WString sourcePath;       // a file whose content is read instead of `data`
};

struct KitSource {
    std::uint32_t format = 1;  // 0: single-language header from descriptions[0]
    std::vector<KitDescription> descriptions;
    std::vector<KitFileSource> files;
};

// Appends the little-endian word / the counted UTF-16LE string.
void AppendKitU32(std::string& image, std::uint32_t value);
void AppendKitString(std::string& image, const WString& text);
// One description record or entry record with its leading size word.
std::string EncodeDescriptionRecord(const KitDescription& description);
std::string EncodeEntryRecord(const WString& name, FileTime lastWriteTime, std::uint32_t offset,
                              std::uint32_t size);

// The unpacked image of `source`, entries' data laid out in order. 0, or the
// code of a source file that cannot be read; 87 when the image would reach 4 GiB.
ErrorCode BuildKitImage(const KitSource& source, std::string* image);
// `data` as one raw deflate stream (no zlib or gzip wrapper).
std::string DeflateRaw(const std::string& data);
// Builds, compresses and writes the kit to `kitPath` (replaced if present).
ErrorCode WriteKit(const KitSource& source, const WString& kitPath);
