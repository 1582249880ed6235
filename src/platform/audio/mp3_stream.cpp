#include "platform/audio/mp3_stream.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace platform::audio {

struct Mp3Stream::Impl {
    std::vector<uint8_t> bytes;
    size_t readPos = 0;
    mpg123_handle* handle = nullptr;
    // Decoded bytes not yet handed out.
    std::vector<uint8_t> pending;
    size_t pendingPos = 0;
    bool ended = false;

    ~Impl() {
        if (handle) {
            mpg123_close(handle);
            mpg123_delete(handle);
        }
    }

    static mpg123_ssize_t ReadFn(void* self, void* buf, size_t n) {
        auto* impl = static_cast<Impl*>(self);
        size_t left = impl->bytes.size() - impl->readPos;
        size_t take = std::min(n, left);
        if (take) std::memcpy(buf, impl->bytes.data() + impl->readPos, take);
        impl->readPos += take;
        return mpg123_ssize_t(take);
    }
    static off_t SeekFn(void* self, off_t offset, int whence) {
        auto* impl = static_cast<Impl*>(self);
        long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? (long long)impl->readPos : (long long)impl->bytes.size();
        long long target = base + (long long)offset;
        if (target < 0 || target > (long long)impl->bytes.size()) return -1;
        impl->readPos = size_t(target);
        return off_t(target);
    }

    // Opens the decoder on the bytes from the start.
    bool Start() {
        if (handle) {
            mpg123_close(handle);
        } else {
            int err = 0;
            handle = mpg123_new(nullptr, &err);
            if (!handle) return false;
            mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
            mpg123_param(handle, MPG123_RESYNC_LIMIT, 65536, 0.0);
            mpg123_format_none(handle);
            const long* rates = nullptr;
            size_t count = 0;
            mpg123_rates(&rates, &count);
            for (size_t i = 0; i < count; ++i)
                mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
            if (mpg123_replace_reader_handle(handle, &Impl::ReadFn, &Impl::SeekFn, nullptr) != MPG123_OK)
                return false;
        }
        readPos = 0;
        pending.clear();
        pendingPos = 0;
        ended = false;
        return mpg123_open_handle(handle, this) == MPG123_OK;
    }

    // Decodes the next frame into `pending`; false at the end or on an error
    // that ends the stream.
    bool DecodeFrame(long* rate, int* channels) {
        for (int attempts = 0; attempts < 64; ++attempts) {
            unsigned char* audio = nullptr;
            size_t size = 0;
            off_t num = 0;
            int r = mpg123_decode_frame(handle, &num, &audio, &size);
            if (r == MPG123_NEW_FORMAT) {
                int enc = 0;
                mpg123_getformat(handle, rate, channels, &enc);
                continue;
            }
            if (r == MPG123_OK) {
                if (size == 0) continue;
                pending.assign(audio, audio + size);
                pendingPos = 0;
                return true;
            }
            ended = true;
            return false;  // MPG123_DONE or an error
        }
        ended = true;
        return false;
    }
};

namespace {
void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}
}  // namespace

Mp3Stream::Mp3Stream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Mp3Stream::~Mp3Stream() = default;

std::shared_ptr<Mp3Stream> Mp3Stream::Open(std::vector<uint8_t> bytes, std::string& error) {
    InitLibrary();
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    if (!impl->Start()) {
        error = "the MP3 decoder cannot start";
        return nullptr;
    }
    long rate = 0;
    int channels = 0;
    if (!impl->DecodeFrame(&rate, &channels) || rate <= 0 || (channels != 1 && channels != 2)) {
        error = "no MPEG audio frame decodes";
        return nullptr;
    }
    auto stream = std::shared_ptr<Mp3Stream>(new Mp3Stream(std::move(impl)));
    stream->rate_ = int(rate);
    stream->channels_ = channels;
    return stream;
}

int Mp3Stream::Decode(int16_t* out, int frames) {
    const size_t frameBytes = size_t(channels_) * 2;
    int done = 0;
    while (done < frames) {
        if (impl_->pendingPos >= impl_->pending.size()) {
            if (impl_->ended) break;
            long rate = rate_;
            int channels = channels_;
            if (!impl_->DecodeFrame(&rate, &channels)) break;
            if (rate != rate_ || channels != channels_) {
                // A format change mid-stream: the mixer can't follow it.
                impl_->ended = true;
                impl_->pending.clear();
                break;
            }
        }
        size_t avail = (impl_->pending.size() - impl_->pendingPos) / frameBytes;
        if (avail == 0) {
            impl_->pendingPos = impl_->pending.size();
            continue;
        }
        size_t take = std::min(avail, size_t(frames - done));
        std::memcpy(out + size_t(done) * size_t(channels_), impl_->pending.data() + impl_->pendingPos,
                    take * frameBytes);
        impl_->pendingPos += take * frameBytes;
        done += int(take);
    }
    return done;
}

int Mp3Stream::Read(int16_t* out, int frames) {
    int done = 0;
    bool restartedEmpty = false;
    while (done < frames) {
        int got = Decode(out + size_t(done) * size_t(channels_), frames - done);
        done += got;
        framesRead_ += uint64_t(got);
        if (done >= frames) break;
        // The end: start again from the beginning. A pass that yields nothing
        // at all ends the stream rather than spinning.
        if (got == 0 && restartedEmpty) break;
        restartedEmpty = got == 0;
        ++completions_;
        framesRead_ = 0;
        if (!impl_->Start()) break;
    }
    return done;
}

bool DecodeMp3(std::vector<uint8_t> bytes, std::vector<int16_t>& pcm, int& channels, int& rate) {
    std::string error;
    auto stream = Mp3Stream::Open(std::move(bytes), error);
    if (!stream) return false;
    channels = stream->Channels();
    rate = stream->Rate();
    pcm.clear();
    std::vector<int16_t> chunk(4096 * size_t(channels));
    for (;;) {
        int got = stream->Decode(chunk.data(), 4096);
        pcm.insert(pcm.end(), chunk.begin(), chunk.begin() + ptrdiff_t(got) * channels);
        if (got < 4096) break;
    }
    return true;
}

}  // namespace platform::audio
