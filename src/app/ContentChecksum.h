// The content checksum the record keeps for every installed file: XXH3-128
// (xxHash, Debian's libxxhash), chosen for speed over a cryptographic hash:
// it tells a user's edit from the kit's file, it does not stand against an
// attacker (who could as well edit the record).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#define XXH_STATIC_LINKING_ONLY  // the state's layout, so that it can be held in place
#include <xxhash.h>

struct Checksum128 {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    friend bool operator==(const Checksum128&, const Checksum128&) = default;

    // 32 lower-case hexadecimal digits, high half first.
    std::string Hex() const;
    // The same 32 digits, appended to *out.
    void AppendHex(std::string* out) const;
    // The reverse of Hex(); false for anything but exactly 32 hexadecimal digits.
    static bool FromHex(std::string_view text, Checksum128* checksum);
};

Checksum128 ChecksumOfBytes(std::string_view bytes);

// A checksum taken piece by piece: the same as ChecksumOfBytes of the pieces joined.
class ChecksumStream {
public:
    ChecksumStream();
    void Add(const unsigned char* piece, std::size_t size);
    Checksum128 Result() const;

private:
    XXH3_state_t state_;  // held here: taking a checksum never fails for want of memory
};
// The checksum of `size` bytes of `descriptor` from `offset` on, read through
// `buffer` with pread (no shared position). False when the file ends early
// or a read fails.
bool ChecksumOfRange(int descriptor, off_t offset, std::uint64_t size, std::span<unsigned char> buffer,
                     Checksum128* checksum);
// The checksum of a whole open file, read to its end; its size goes to `size`. False when a read fails.
bool ChecksumOfFile(int descriptor, std::span<unsigned char> buffer, Checksum128* checksum, std::uint64_t* size);
