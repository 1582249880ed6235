#pragma once
// Owners of zlib streams that end them on every exit, so an exception in the
// middle of decoding never leaks zlib's state.

#include <zlib.h>

class InflateStream {
public:
    InflateStream() = default;
    ~InflateStream() {
        if (open_) inflateEnd(&z);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    bool Init() {
        open_ = inflateInit(&z) == Z_OK;
        return open_;
    }
    z_stream z{};

private:
    bool open_ = false;
};

class DeflateStream {
public:
    DeflateStream() = default;
    ~DeflateStream() {
        if (open_) deflateEnd(&z);
    }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    bool Init(int level) {
        open_ = deflateInit(&z, level) == Z_OK;
        return open_;
    }
    z_stream z{};

private:
    bool open_ = false;
};
