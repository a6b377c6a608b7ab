#include "app/ContentChecksum.h"

#include <unistd.h>
#include <xxhash.h>

#include <array>
#include <cerrno>
#include <memory>

namespace {

struct StateFree {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};
using State = std::unique_ptr<XXH3_state_t, StateFree>;

State NewState() {
    State state(XXH3_createState());
    if (state != nullptr) XXH3_128bits_reset(state.get());
    return state;
}

Checksum128 Digest(const XXH3_state_t* state) {
    const XXH128_hash_t hash = XXH3_128bits_digest(state);
    return {hash.high64, hash.low64};
}

// Reads into `buffer` from `offset` (or, with a negative one, from the
// current position); retried on a signal.
ssize_t ReadSome(int descriptor, std::span<unsigned char> buffer, std::size_t wanted, off_t offset) {
    for (;;) {
        const ssize_t got = offset < 0 ? read(descriptor, buffer.data(), wanted)
                                       : pread(descriptor, buffer.data(), wanted, offset);
        if (got >= 0 || errno != EINTR) return got;
    }
}

}  // namespace

ChecksumStream::ChecksumStream() { XXH3_128bits_reset(&state_); }

void ChecksumStream::Add(const unsigned char* piece, std::size_t size) { XXH3_128bits_update(&state_, piece, size); }

Checksum128 ChecksumStream::Result() const { return Digest(&state_); }

std::string Checksum128::Hex() const {
    std::string text;
    AppendHex(&text);
    return text;
}

void Checksum128::AppendHex(std::string* out) const {
    static constexpr char kDigits[] = "0123456789abcdef";
    char text[32];
    for (int i = 0; i < 16; ++i) {
        text[15 - i] = kDigits[(high >> (4 * i)) & 0xF];
        text[31 - i] = kDigits[(low >> (4 * i)) & 0xF];
    }
    out->append(text, sizeof text);
}

namespace {

// The value of each lower-case hexadecimal digit, 0xFF for every other byte.
constexpr std::array<unsigned char, 256> HexValues() {
    std::array<unsigned char, 256> values{};
    values.fill(0xFF);
    for (unsigned c = '0'; c <= '9'; ++c) values[c] = static_cast<unsigned char>(c - '0');
    for (unsigned c = 'a'; c <= 'f'; ++c) values[c] = static_cast<unsigned char>(c - 'a' + 10);
    return values;
}
constexpr std::array<unsigned char, 256> kHexValues = HexValues();

// Sixteen digits as a number; false if one is not a digit.
bool HexHalf(const char* text, std::uint64_t* half) {
    std::uint64_t value = 0;
    unsigned seen = 0;
    for (int i = 0; i < 16; ++i) {
        const unsigned digit = kHexValues[static_cast<unsigned char>(text[i])];
        seen |= digit;
        value = (value << 4) | (digit & 0xF);
    }
    *half = value;
    return seen <= 0xF;
}

}  // namespace

bool Checksum128::FromHex(std::string_view text, Checksum128* checksum) {
    Checksum128 value;
    if (text.size() != 32 || !HexHalf(text.data(), &value.high) || !HexHalf(text.data() + 16, &value.low)) return false;
    *checksum = value;
    return true;
}

Checksum128 ChecksumOfBytes(std::string_view bytes) {
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.high64, hash.low64};
}

bool ChecksumOfRange(int descriptor, off_t offset, std::uint64_t size, std::span<unsigned char> buffer,
                     Checksum128* checksum) {
    const State state = NewState();
    if (state == nullptr || buffer.empty()) return false;
    while (size > 0) {
        const std::size_t wanted = size < buffer.size() ? static_cast<std::size_t>(size) : buffer.size();
        const ssize_t got = ReadSome(descriptor, buffer, wanted, offset);
        if (got <= 0) return false;
        XXH3_128bits_update(state.get(), buffer.data(), static_cast<std::size_t>(got));
        offset += got;
        size -= static_cast<std::uint64_t>(got);
    }
    *checksum = Digest(state.get());
    return true;
}

bool ChecksumOfFile(int descriptor, std::span<unsigned char> buffer, Checksum128* checksum, std::uint64_t* size) {
    const State state = NewState();
    if (state == nullptr || buffer.empty()) return false;
    std::uint64_t total = 0;
    for (;;) {
        const ssize_t got = ReadSome(descriptor, buffer, buffer.size(), -1);
        if (got < 0) return false;
        if (got == 0) break;
        XXH3_128bits_update(state.get(), buffer.data(), static_cast<std::size_t>(got));
        total += static_cast<std::uint64_t>(got);
    }
    *checksum = Digest(state.get());
    *size = total;
    return true;
}
