// The raw-deflate decoder of this build (ISA-L or zlib) against zlib itself:
// the same bytes out of every good stream, the same verdict on damaged ones.
#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "kit/RawInflater.h"

namespace {

using Bytes = std::vector<unsigned char>;

// zlib's own stream for `text`, without its 2-byte header and Adler-32 trailer.
Bytes Deflate(const std::string& text, int level) {
    uLongf size = compressBound(text.size());
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(), level), Z_OK);
    return Bytes(out.begin() + 2, out.begin() + static_cast<std::ptrdiff_t>(size) - 4);
}

// What a decoder made of a stream: its bytes when it ended properly, else
// nothing. What a damaged stream gave before the damage showed is thrown away
// by every caller, and the decoders stop at different points.
using Decoded = std::optional<Bytes>;

Decoded WithRawInflater(const Bytes& stream, std::uint32_t window) {
    RawInflater inflater(stream.data(), stream.size());
    EXPECT_TRUE(inflater.valid());
    Bytes bytes, buffer(window);
    for (;;) {
        std::uint32_t produced = 0;
        const RawInflater::Result result = inflater.Inflate(buffer.data(), window, &produced);
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + produced);
        if (result == RawInflater::Result::kEnd) return bytes;
        if (result != RawInflater::Result::kMore) return std::nullopt;
    }
}

Decoded WithZlib(const Bytes& stream) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = const_cast<unsigned char*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    Bytes bytes, buffer(4096);
    int result = Z_OK;
    do {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        result = inflate(&z, Z_NO_FLUSH);
        bytes.insert(bytes.end(), buffer.begin(), buffer.end() - z.avail_out);
    } while (result == Z_OK && z.avail_out == 0);
    inflateEnd(&z);
    return result == Z_STREAM_END ? Decoded(bytes) : std::nullopt;
}

// Good streams of every block kind come out whole in any window; cut ones
// (at every step) and damaged ones (one bit flipped) get zlib's verdict.
TEST(RawInflaterTest, DecodesGoodStreamsWholeAndAgreesWithZlibOnDamagedOnes) {
    std::mt19937 random(7);
    std::string text;  // 20,000 words, 13 a line
    for (int i = 0; i < 20000; ++i) text += "word" + std::to_string(random() % 300) + (i % 13 ? " " : "\n");
    const std::string shorter = text.substr(0, 20000);
    const Bytes whole(text.begin(), text.end());
    for (int level : {0, 1, 9}) {
        SCOPED_TRACE(std::string(RawInflater::Engine()) + " level " + std::to_string(level));
        for (std::uint32_t window : {1U, 4096U, 32768U, 1U << 20}) {
            EXPECT_EQ(WithRawInflater(Deflate(text, level), window), whole) << "window " << window;
        }
        const Bytes good = Deflate(shorter, level);
        for (std::size_t at = 0; at < good.size(); at += good.size() / 200 + 1) {
            const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(at));
            ASSERT_EQ(WithRawInflater(cut, 4096), WithZlib(cut)) << "cut at " << at;
            for (int bit = 0; bit < 8; ++bit) {
                Bytes damaged = good;
                damaged[at] ^= static_cast<unsigned char>(1U << bit);
                ASSERT_EQ(WithRawInflater(damaged, 4096), WithZlib(damaged)) << "byte " << at << " bit " << bit;
            }
        }
    }
}

}  // namespace
