// The record reader under hostile bytes. The first byte chooses whether the
// rest is taken as it is or sealed first (its last line replaced by the
// right closing checksum), so that mutations reach the checks behind it.
// Must hold: a refused record leaves the result untouched; an accepted one
// has every path plain, below the directory, outside the record folder and
// listed once, no more files than the limit, and is byte for byte what the
// writer writes for it (one record, one spelling).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "app/InstallRecord.h"
#include "platform/FolderBeneath.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

std::string Sealed(std::string bytes) {
    const std::size_t end = bytes.rfind("end ");
    if (end != std::string::npos && (end == 0 || bytes[end - 1] == '\n')) bytes.resize(end);
    return bytes + "end " + ChecksumOfBytes(bytes).Hex() + "\n";
}

void RequireSound(const InstallRecord& record) {
    Require(record.files.size() <= kMaxRecordedFiles);
    std::unordered_set<std::string> seen;
    const auto plain = [&](const std::string& path) {
        Require(IsPlainRelative(path) && path.find('\0') == std::string::npos);
        Require(path.substr(0, path.find('/')) != kRecordFolder);
        Require(seen.insert(path).second);
    };
    for (const std::string& folder : record.createdFolders) plain(folder);
    for (const RecordedFile& file : record.files) plain(file.path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 1) != 0) bytes = Sealed(bytes);
    const KitIdentity kit{"Fuzz", "Qorn"};
    InstallRecord record;
    record.createdTarget = true;
    if (!ParseRecord(bytes, kit, &record)) {
        Require(record.createdTarget && record.files.empty() && record.createdFolders.empty());
        return 0;
    }
    RequireSound(record);
    Require(SerializeRecord(record) == bytes);
    return 0;
}
