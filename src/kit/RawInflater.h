// A raw-deflate decoder (no zlib or gzip wrapper) over one input buffer:
// ISA-L's inflate where the build has it, which is several times faster on
// text, zlib's otherwise. Both refuse the same damaged streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class RawInflater {
public:
    enum class Result {
        kMore,     // the output window is full; call again
        kEnd,      // the stream ended; the window holds its last bytes
        kInvalid,  // damaged data, or the input ended before the stream did
    };

    // Decodes `size` bytes at `input`, which must outlive the inflater.
    RawInflater(const unsigned char* input, std::size_t size);
    ~RawInflater();
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    // False when the decoder could not be set up (out of memory).
    bool valid() const;
    // Fills `window` with up to `capacity` bytes; `produced` tells how many.
    Result Inflate(unsigned char* window, std::uint32_t capacity, std::uint32_t* produced);
    // Input bytes consumed so far.
    std::size_t consumed() const;
    // Which decoder this build uses: "isa-l" or "zlib".
    static const char* Engine();

private:
    struct State;
    std::unique_ptr<State> state_;
};
