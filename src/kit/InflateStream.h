// A zlib inflate stream for raw deflate data, ended with its owner.
#pragma once

#include <zlib.h>

class InflateStream {
public:
    InflateStream() { initialised_ = ::inflateInit2(&stream_, -15) == Z_OK; }
    ~InflateStream() {
        if (initialised_) ::inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool valid() const { return initialised_; }
    z_stream& get() { return stream_; }

private:
    z_stream stream_{};
    bool initialised_ = false;
};
