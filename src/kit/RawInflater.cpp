#include "kit/RawInflater.h"

#include <climits>
#include <new>

#if QORN_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#else
#include <zlib.h>
#endif

#if QORN_HAVE_ISAL

struct RawInflater::State {
    inflate_state stream;
    const unsigned char* input;
};

RawInflater::RawInflater(const unsigned char* input, std::size_t size)
    : state_(new (std::nothrow) State) {
    if (!state_) return;
    isal_inflate_init(&state_->stream);
    state_->stream.crc_flag = ISAL_DEFLATE;
    state_->stream.next_in = const_cast<unsigned char*>(input);
    // The kit is below 4 GiB, as the format requires of it.
    state_->stream.avail_in = size > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(size);
    state_->input = input;
}

RawInflater::Result RawInflater::Inflate(unsigned char* window, std::uint32_t capacity, std::uint32_t* produced) {
    inflate_state& stream = state_->stream;
    stream.next_out = window;
    stream.avail_out = capacity;
    const int result = isal_inflate(&stream);
    *produced = capacity - stream.avail_out;
    if (result < 0) return Result::kInvalid;
    if (stream.block_state == ISAL_BLOCK_FINISH) return Result::kEnd;
    // Stopped short of a full window without the end: the input ran out.
    return stream.avail_out == 0 ? Result::kMore : Result::kInvalid;
}

std::size_t RawInflater::consumed() const {
    return static_cast<std::size_t>(state_->stream.next_in - state_->input);
}

RawInflater::~RawInflater() = default;

const char* RawInflater::Engine() { return "isa-l"; }

#else

struct RawInflater::State {
    z_stream stream{};
    bool initialised = false;
    const unsigned char* input = nullptr;
};

RawInflater::RawInflater(const unsigned char* input, std::size_t size)
    : state_(new (std::nothrow) State) {
    if (!state_) return;
    state_->initialised = ::inflateInit2(&state_->stream, -15) == Z_OK;
    state_->stream.next_in = const_cast<unsigned char*>(input);
    state_->stream.avail_in = size > UINT_MAX ? UINT_MAX : static_cast<uInt>(size);
    state_->input = input;
}

RawInflater::~RawInflater() {
    if (state_ && state_->initialised) ::inflateEnd(&state_->stream);
}

RawInflater::Result RawInflater::Inflate(unsigned char* window, std::uint32_t capacity, std::uint32_t* produced) {
    z_stream& stream = state_->stream;
    stream.next_out = window;
    stream.avail_out = capacity;
    const int result = ::inflate(&stream, Z_NO_FLUSH);
    *produced = capacity - stream.avail_out;
    if (result == Z_STREAM_END) return Result::kEnd;
    if (result != Z_OK && result != Z_BUF_ERROR) return Result::kInvalid;
    return stream.avail_out == 0 ? Result::kMore : Result::kInvalid;
}

std::size_t RawInflater::consumed() const {
    return static_cast<std::size_t>(state_->stream.next_in - state_->input);
}

const char* RawInflater::Engine() { return "zlib"; }

#endif

bool RawInflater::valid() const {
#if QORN_HAVE_ISAL
    return state_ != nullptr;
#else
    return state_ != nullptr && state_->initialised;
#endif
}
