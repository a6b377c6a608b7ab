#include "app/InstallRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <algorithm>
#include <memory>

#include "kit/FileMapping.h"
#include "platform/FileTree.h"
#include "platform/FolderBeneath.h"

namespace {

constexpr char kHeader[] = "qorn-setup-record 1";
// Larger than any record a kit within its limits gives.
constexpr std::uint64_t kMaxRecordBytes = 512ull << 20;
// The shortest line of a file ("f 0 0 0 <32 digits> x\n").
constexpr std::size_t kShortestFileLine = 41;
constexpr std::size_t kMaxPath = 4095;
constexpr std::size_t kMaxComponent = 255;

bool NeedsEscape(unsigned char c) { return c <= 0x20 || c == 0x7F || c == '%'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Only the form EscapePathBytes writes: a byte that needs it is always escaped, and nothing else is.
bool Unescape(std::string_view text, std::string* out) {
    out->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte != '%') {
            if (NeedsEscape(byte)) return false;
            *out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return false;
        const auto decoded = static_cast<unsigned char>(high * 16 + low);
        if (!NeedsEscape(decoded) || decoded == 0) return false;
        *out += static_cast<char>(decoded);
        i += 2;
    }
    return true;
}

// Only the form std::to_string writes: one record, one spelling.
template <typename Number>
bool ParseNumber(std::string_view text, Number* number) {
    const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
    if (digits.empty() || (digits[0] == '0' && (digits.size() > 1 || text.size() > 1))) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *number);
    return error == std::errc() && end == text.data() + text.size();
}

// Lines of a record, each without its "\n"; the last line must end in one.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}
    bool Next(std::string_view* line) {
        const std::size_t end = bytes_.find('\n', at_);
        if (end == std::string_view::npos) return false;
        *line = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        return true;
    }
    std::size_t at() const { return at_; }
    std::size_t left() const { return bytes_.size() - at_; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// "<key> <rest>": the rest, or false when the line has another key.
bool Field(std::string_view line, std::string_view key, std::string_view* rest) {
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ' ') return false;
    *rest = line.substr(key.size() + 1);
    return true;
}

// The next blank-separated word of `rest`, taken off it.
std::string_view Word(std::string_view* rest) {
    const std::size_t blank = rest->find(' ');
    const std::string_view word = rest->substr(0, blank);
    *rest = blank == std::string_view::npos ? std::string_view() : rest->substr(blank + 1);
    return word;
}

bool IsRecordablePath(const std::string& path) {
    if (path.size() > kMaxPath || !IsPlainRelative(path)) return false;
    for (std::string_view rest = path; !rest.empty();) {
        const std::size_t slash = rest.find('/');
        if (rest.substr(0, slash).size() > kMaxComponent) return false;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    // The record folder is the installer's own, never a kit's file.
    const std::string_view first = std::string_view(path).substr(0, path.find('/'));
    return first != kRecordFolder;
}

bool ParsePath(std::string_view text, std::string* path) { return Unescape(text, path) && IsRecordablePath(*path); }

bool ParseFileLine(std::string_view line, RecordedFile* file) {
    std::string_view rest;
    if (!Field(line, "f", &rest)) return false;
    return ParseNumber(Word(&rest), &file->size) && ParseNumber(Word(&rest), &file->seconds) &&
           ParseNumber(Word(&rest), &file->nanoseconds) && file->nanoseconds >= 0 &&
           file->nanoseconds < 1000000000 && Checksum128::FromHex(Word(&rest), &file->checksum) &&
           ParsePath(rest, &file->path);
}

bool ParseCount(LineReader& lines, std::string_view key, std::size_t* count) {
    std::string_view line;
    std::string_view rest;
    return lines.Next(&line) && Field(line, key, &rest) && ParseNumber(rest, count) && *count <= kMaxRecordedFiles;
}

// Indexes the files by path, and says whether every path is there once,
// none both a folder and a file. A kit packed from a folder lists its files
// in path order already, and so does its record: then nothing is sorted.
bool IndexPaths(InstallRecord& record) {
    const std::vector<RecordedFile>& files = record.files;
    std::vector<std::uint32_t>& index = record.filesByPath;
    index.resize(files.size());
    for (std::uint32_t k = 0; k < index.size(); ++k) index[k] = k;
    const auto before = [&files](std::uint32_t a, std::uint32_t b) { return files[a].path < files[b].path; };
    if (!std::is_sorted(index.begin(), index.end(), before)) std::sort(index.begin(), index.end(), before);
    for (std::size_t k = 1; k < index.size(); ++k) {
        if (files[index[k - 1]].path == files[index[k]].path) return false;
    }
    std::vector<std::string_view> folders(record.createdFolders.begin(), record.createdFolders.end());
    std::sort(folders.begin(), folders.end());
    if (std::adjacent_find(folders.begin(), folders.end()) != folders.end()) return false;
    return std::none_of(folders.begin(), folders.end(),
                        [&record](std::string_view folder) { return FindRecordedFile(record, folder) != nullptr; });
}

bool ParseBody(LineReader& lines, const KitIdentity* expected, InstallRecord& record) {
    std::string_view line;
    std::string_view rest;
    if (!lines.Next(&line) || line != kHeader) return false;
    if (!lines.Next(&line) || !Field(line, "product", &rest) || !Unescape(rest, &record.identity.product)) return false;
    if (!lines.Next(&line) || !Field(line, "provider", &rest) || !Unescape(rest, &record.identity.provider)) return false;
    if (expected != nullptr && !(record.identity == *expected)) return false;
    if (!lines.Next(&line) || (line != "target-created 0" && line != "target-created 1")) return false;
    record.createdTarget = line.back() == '1';
    std::size_t folders = 0;
    std::size_t files = 0;
    if (!ParseCount(lines, "folders", &folders) || !ParseCount(lines, "files", &files)) return false;
    // A count is believed only as far as the bytes left can hold its lines.
    if (folders > lines.left() / 4 || files > lines.left() / kShortestFileLine) return false;
    record.createdFolders.resize(folders);
    for (std::string& folder : record.createdFolders) {
        if (!lines.Next(&line) || !Field(line, "d", &rest) || !ParsePath(rest, &folder)) return false;
    }
    record.files.resize(files);
    for (RecordedFile& file : record.files) {
        if (!lines.Next(&line) || !ParseFileLine(line, &file)) return false;
    }
    return IndexPaths(record);
}

std::string EndLine(const Checksum128& body) { return "end " + body.Hex() + "\n"; }
std::string EndLine(std::string_view body) { return EndLine(ChecksumOfBytes(body)); }

constexpr std::size_t kRecordPiece = 64 * 1024;

template <typename Number>
void AppendNumber(Number number, std::string* out) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, number);
    out->append(digits, end.ptr);
}

// "f SIZE SECONDS NANOSECONDS CHECKSUM PATH"
void AppendFileLine(const RecordedFile& file, std::string* out) {
    *out += "f ";
    AppendNumber(file.size, out);
    *out += ' ';
    AppendNumber(file.seconds, out);
    *out += ' ';
    AppendNumber(file.nanoseconds, out);
    *out += ' ';
    file.checksum.AppendHex(out);
    *out += ' ';
    AppendEscapedPathBytes(file.path, out);
    *out += '\n';
}

int OpenRecordFolder(int target) {
    return openat(target, kRecordFolder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Why the record folder would not open. Something else in its place is
// the user's and stays as it is, so it cannot be set aside like a damaged
// record: only the user can move it.
RecordState UnopenedFolderState(int target) {
    struct stat status {};
    const bool other = fstatat(target, kRecordFolder, &status, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(status.st_mode);
    return other ? RecordState::Obstructed : RecordState::Damaged;
}

// The whole regular file `name` in `folder`, never through a link; false
// with errno (ENOENT when there is none). Mapped rather than read: on a
// virtual machine a page of fresh memory costs several times a mapped one,
// and the parse keeps copies of what it needs.
bool MapWhole(int folder, const std::string& name, std::unique_ptr<FileMapping>* mapping) {
    const FolderDescriptor file(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file.valid() || fstat(file.get(), &status) != 0) return false;
    if (!S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) > kMaxRecordBytes) {
        errno = EINVAL;
        return false;
    }
    *mapping = std::make_unique<FileMapping>(file.get(), static_cast<std::size_t>(status.st_size));
    // An empty file maps to nothing, and parses as the damaged record it is.
    if (!(*mapping)->valid() && status.st_size != 0) return false;
    return true;
}

std::string_view MappedBytes(const FileMapping& mapping) {
    if (!mapping.valid()) return {};
    return {reinterpret_cast<const char*>(mapping.data()), mapping.size()};
}

}  // namespace

bool SameRecordedTime(const struct stat& status, const RecordedFile& file) {
    const std::int64_t found = status.st_mtim.tv_nsec;
    return status.st_mtim.tv_sec == file.seconds &&
           (found == file.nanoseconds || found == file.nanoseconds / 1000 * 1000 || found == 0);
}

bool UnchangedSinceRecord(const struct stat& status, const RecordedFile& file, const timespec& recordWritten) {
    return S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_size) == file.size &&
           SameRecordedTime(status, file) && Earlier(status.st_ctim, recordWritten);
}

std::string EscapePathBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendEscapedPathBytes(text, &out);
    return out;
}

void AppendEscapedPathBytes(std::string_view text, std::string* out) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::size_t plain = 0;  // the first byte not yet appended
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto byte = static_cast<unsigned char>(text[k]);
        if (!NeedsEscape(byte)) continue;
        out->append(text.data() + plain, k - plain);
        const char escaped[] = {'%', kDigits[byte >> 4], kDigits[byte & 0xF]};
        out->append(escaped, sizeof escaped);
        plain = k + 1;
    }
    out->append(text.data() + plain, text.size() - plain);
}

std::string SerializeRecord(const InstallRecord& record) {
    std::string bytes;
    WriteRecordBytes(
        record, record.files.size(), [&record](std::size_t k, RecordedFile* file) { *file = record.files[k]; },
        [&bytes](std::string_view piece) { bytes += piece; });
    return bytes;
}

void WriteRecordBytes(const InstallRecord& header, std::size_t fileCount,
                      const std::function<void(std::size_t, RecordedFile*)>& fileAt,
                      const std::function<void(std::string_view)>& sink) {
    ChecksumStream body;
    std::string text = kHeader;
    text += "\nproduct " + EscapePathBytes(header.identity.product) + "\nprovider " + EscapePathBytes(header.identity.provider);
    text += header.createdTarget ? "\ntarget-created 1" : "\ntarget-created 0";
    text += "\nfolders " + std::to_string(header.createdFolders.size());
    text += "\nfiles " + std::to_string(fileCount) + "\n";
    for (const std::string& folder : header.createdFolders) text += "d " + EscapePathBytes(folder) + "\n";
    // Handed on a few lines at a time: a call for each line would cost more than making it.
    const auto put = [&] {
        body.Add(reinterpret_cast<const unsigned char*>(text.data()), text.size());
        sink(text);
        text.clear();
    };
    RecordedFile file;
    for (std::size_t k = 0; k < fileCount; ++k) {
        fileAt(k, &file);
        AppendFileLine(file, &text);
        if (text.size() >= kRecordPiece) put();
    }
    put();
    sink(EndLine(body.Result()));
}

bool ParseRecord(std::string_view bytes, const KitIdentity* expected, InstallRecord* record) {
    LineReader lines(bytes);
    InstallRecord parsed;
    if (!ParseBody(lines, expected, parsed)) return false;
    const std::size_t bodyEnd = lines.at();
    std::string_view line;
    if (!lines.Next(&line) || lines.left() != 0) return false;
    if (std::string(line) + "\n" != EndLine(bytes.substr(0, bodyEnd))) return false;
    parsed.sealed = ChecksumOfBytes(bytes);
    *record = std::move(parsed);
    return true;
}

bool ParseRecord(std::string_view bytes, const KitIdentity& expected, InstallRecord* record) {
    return ParseRecord(bytes, &expected, record);
}

const RecordedFile* FindRecordedFile(const InstallRecord& record, std::string_view path) {
    const std::vector<RecordedFile>& files = record.files;
    const auto found = std::lower_bound(record.filesByPath.begin(), record.filesByPath.end(), path,
                                        [&files](std::uint32_t k, std::string_view p) { return files[k].path < p; });
    return found != record.filesByPath.end() && files[*found].path == path ? &files[*found] : nullptr;
}

std::string RecordPath(const KitIdentity& identity) {
    return std::string(kRecordFolder) + "/" + RecordFileName(identity);
}

RecordState ReadRecord(int target, const KitIdentity& identity, InstallRecord* record) {
    const FolderDescriptor folder(OpenRecordFolder(target));
    if (!folder.valid()) return errno == ENOENT ? RecordState::Missing : UnopenedFolderState(target);
    std::unique_ptr<FileMapping> mapping;
    if (!MapWhole(folder.get(), RecordFileName(identity), &mapping)) {
        return errno == ENOENT ? RecordState::Missing : RecordState::Damaged;
    }
    return ParseRecord(MappedBytes(*mapping), identity, record) ? RecordState::Found : RecordState::Damaged;
}

std::vector<std::string> PathsOfOtherKits(int target, const KitIdentity& own) {
    std::vector<std::string> paths;
    const FolderDescriptor folder(OpenRecordFolder(target));
    std::vector<std::string> names;
    if (!folder.valid() || !ListFolderNames(folder.get(), &names)) return paths;
    const std::string ownName = RecordFileName(own);
    for (const std::string& name : names) {
        if (name == ownName || !name.ends_with(".record")) continue;
        std::unique_ptr<FileMapping> mapping;
        InstallRecord record;
        // Only a sound record that is where its own kit's would be speaks for that kit.
        if (!MapWhole(folder.get(), name, &mapping) || !ParseRecord(MappedBytes(*mapping), nullptr, &record) ||
            RecordFileName(record.identity) != name) {
            continue;
        }
        for (RecordedFile& file : record.files) paths.push_back(std::move(file.path));
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

std::string SetRecordAside(int target, const KitIdentity& identity) {
    const FolderDescriptor folder(OpenRecordFolder(target));
    if (!folder.valid()) return std::string();
    const std::string name = RecordFileName(identity);
    for (int number = 0; number < 1000; ++number) {
        const std::string aside = name + ".bad" + (number == 0 ? std::string() : std::to_string(number));
        if (renameat2(folder.get(), name.c_str(), folder.get(), aside.c_str(), RENAME_NOREPLACE) == 0) {
            return std::string(kRecordFolder) + "/" + aside;
        }
        if (errno != EEXIST) return std::string();
    }
    return std::string();
}
