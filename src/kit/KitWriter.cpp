#include "kit/KitWriter.h"

#include <fcntl.h>
#include <zlib.h>

#include <cerrno>
#include <stdexcept>

#include "kit/InflateFile.h"
#include "platform/SystemPath.h"

namespace {

constexpr std::uint32_t kReadChunk = 1048576;

// Owns a raw deflate stream for one compression.
class DeflateStream {
public:
    DeflateStream() {
        if (::deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~DeflateStream() { ::deflateEnd(&stream_); }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    z_stream& get() { return stream_; }

private:
    z_stream stream_{};
};

ErrorCode ReadWholeFile(const WString& path, std::string* content) {
    FileHandleGuard file;
    ErrorCode code = FileOpen(path, ACCESS_READ, 0, OPEN_EXISTING, file.out());
    if (code != ERR_NONE) return code;
    content->clear();
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        std::uint32_t got = 0;
        if ((code = FileRead(file.get(), chunk.data(), kReadChunk, &got)) != ERR_NONE) return code;
        content->append(chunk, 0, got);
        if (got < kReadChunk) return ERR_NONE;
        if (content->size() > kLargestKitImage) return ERR_INVALID_PARAMETER;
    }
}

ErrorCode EntryData(const KitFileSource& file, std::string* data) {
    if (file.sourcePath.empty()) {
        *data = file.data;
        return ERR_NONE;
    }
    return ReadWholeFile(file.sourcePath, data);
}

std::string EncodeHeader(const KitSource& source) {
    std::string header;
    AppendKitU32(header, source.format);
    if (source.format == 0) {
        const KitDescription first = source.descriptions.empty() ? KitDescription{} : source.descriptions.front();
        AppendKitString(header, first.productName);
        AppendKitString(header, first.providerName);
        AppendKitString(header, first.descriptionFile);
        return header;
    }
    AppendKitU32(header, static_cast<std::uint32_t>(source.descriptions.size()));
    for (const KitDescription& description : source.descriptions) header += EncodeDescriptionRecord(description);
    return header;
}

std::string WithSizeWord(const std::string& body) {
    std::string record;
    AppendKitU32(record, static_cast<std::uint32_t>(body.size() + 4));
    return record + body;
}

}  // namespace

void AppendKitU32(std::string& image, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) image.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendKitString(std::string& image, const WString& text) {
    AppendKitU32(image, static_cast<std::uint32_t>(text.length()));
    for (WString::size_type i = 0; i < text.length(); ++i) {
        image.push_back(static_cast<char>(text[i] & 0xFF));
        image.push_back(static_cast<char>(text[i] >> 8));
    }
}

std::string EncodeDescriptionRecord(const KitDescription& description) {
    std::string body;
    AppendKitString(body, description.language);
    AppendKitString(body, description.productName);
    AppendKitString(body, description.providerName);
    AppendKitString(body, description.descriptionFile);
    return WithSizeWord(body);
}

std::string EncodeEntryRecord(const WString& name, FileTime lastWriteTime, std::uint32_t offset,
                              std::uint32_t size) {
    std::string body;
    AppendKitString(body, name);
    AppendKitU32(body, lastWriteTime.low);
    AppendKitU32(body, lastWriteTime.high);
    AppendKitU32(body, offset);
    AppendKitU32(body, size);
    return WithSizeWord(body);
}

ErrorCode BuildKitImage(const KitSource& source, std::string* image) {
    std::string directory;
    std::string dataArea;
    AppendKitU32(directory, static_cast<std::uint32_t>(source.files.size()));
    for (const KitFileSource& file : source.files) {
        std::string data;
        const ErrorCode code = EntryData(file, &data);
        if (code != ERR_NONE) return code;
        if (dataArea.size() + data.size() > kLargestKitImage) return ERR_INVALID_PARAMETER;
        directory += EncodeEntryRecord(file.name, file.lastWriteTime, static_cast<std::uint32_t>(dataArea.size()),
                                       static_cast<std::uint32_t>(data.size()));
        dataArea += data;
    }
    *image = EncodeHeader(source) + directory + dataArea;
    return image->size() > kLargestKitImage ? ERR_INVALID_PARAMETER : ERR_NONE;
}

std::string DeflateRaw(const std::string& data) {
    DeflateStream deflater;
    z_stream& stream = deflater.get();
    std::string compressed(::deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
    stream.avail_out = static_cast<uInt>(compressed.size());
    if (::deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::length_error("deflate");
    compressed.resize(stream.total_out);
    return compressed;
}

ErrorCode WriteKit(const KitSource& source, const WString& kitPath) {
    std::string image;
    ErrorCode code = BuildKitImage(source, &image);
    if (code != ERR_NONE) return code;
    const std::string compressed = DeflateRaw(image);
    // A kit is for others to install: made as any file a user makes is
    // (0666 less the umask), not with the installer's own files' 0660.
    AString systemPath;
    if (!ToSystemPath(kitPath, &systemPath)) return ERR_INVALID_PARAMETER;
    FileHandleGuard kit(::open(systemPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (kit.get() == INVALID_FILE_HANDLE) return ErrorFromErrno(errno);
    std::uint32_t written = 0;
    if ((code = FileWrite(kit.get(), compressed.data(), static_cast<std::uint32_t>(compressed.size()), &written))) {
        return code;
    }
    return FileClose(kit.release());
}
