#include "platform/audio/movie_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <deque>
#include <mutex>

namespace platform::audio {

namespace {

constexpr int kMaxSide = 4096;
// Sound waiting beyond this is dropped from the front: nobody is playing it
// (a silent device), and a long movie must not pile up its whole track.
constexpr size_t kMaxBufferedFrames = size_t(kMixRate) * 4;

// The movie's sound, filled by the main thread and read by the mixer.
class SoundQueue : public StreamSource {
public:
    int Channels() const override { return 2; }
    int Rate() const override { return kMixRate; }
    int Read(int16_t* out, int frames) override {
        std::lock_guard lock(mutex_);
        size_t have = samples_.size() / 2;
        size_t n = std::min(have, size_t(frames));
        std::copy(samples_.begin(), samples_.begin() + ptrdiff_t(n * 2), out);
        samples_.erase(samples_.begin(), samples_.begin() + ptrdiff_t(n * 2));
        if (n < size_t(frames) && !ended_) {
            // Not decoded yet: silence, and keep playing.
            std::fill(out + n * 2, out + size_t(frames) * 2, int16_t(0));
            return frames;
        }
        return int(n);
    }
    void Push(const int16_t* data, size_t frames) {
        std::lock_guard lock(mutex_);
        samples_.insert(samples_.end(), data, data + frames * 2);
        total_ += frames;
        if (samples_.size() / 2 > kMaxBufferedFrames)
            samples_.erase(samples_.begin(), samples_.begin() + ptrdiff_t(samples_.size() - kMaxBufferedFrames * 2));
    }
    void End() {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    size_t Total() const {
        std::lock_guard lock(mutex_);
        return total_;
    }
    size_t Buffered() const {
        std::lock_guard lock(mutex_);
        return samples_.size() / 2;
    }

private:
    mutable std::mutex mutex_;
    std::deque<int16_t> samples_;
    size_t total_ = 0;
    bool ended_ = false;
};

}  // namespace

struct MovieDecoder::Impl {
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    int videoIndex = -1, audioIndex = -1;
    SwsContext* sws = nullptr;
    SwrContext* swr = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int outWidth = 1, outHeight = 1;
    bool eof = false;          // the demuxer has nothing more
    bool videoDone = false;    // the video decoder is drained
    double lastSeconds = 0, frameSeconds = 0.04;
    std::shared_ptr<SoundQueue> sound = std::make_shared<SoundQueue>();
    std::vector<int16_t> convert;

    ~Impl() {
        sws_freeContext(sws);
        swr_free(&swr);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        avformat_close_input(&format);
    }

    AVCodecContext* OpenDecoder(int index) {
        AVStream* st = format->streams[index];
        const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
        if (!codec) return nullptr;
        AVCodecContext* ctx = avcodec_alloc_context3(codec);
        if (!ctx) return nullptr;
        if (avcodec_parameters_to_context(ctx, st->codecpar) < 0 || avcodec_open2(ctx, codec, nullptr) < 0) {
            avcodec_free_context(&ctx);
            return nullptr;
        }
        return ctx;
    }

    bool OpenResampler() {
        AVChannelLayout in{};
        if (audio->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || audio->ch_layout.nb_channels <= 0)
            av_channel_layout_default(&in, std::max(1, audio->ch_layout.nb_channels));
        else if (av_channel_layout_copy(&in, &audio->ch_layout) < 0)
            return false;
        AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
        int r = swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_S16, kMixRate, &in, audio->sample_fmt,
                                    audio->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        return r >= 0 && swr_init(swr) >= 0;
    }

    void TakeSound() {
        while (avcodec_receive_frame(audio, frame) >= 0) {
            if (swr) {
                int outCount = swr_get_out_samples(swr, frame->nb_samples);
                if (outCount > 0) {
                    convert.resize(size_t(outCount) * 2);
                    uint8_t* outPtr = reinterpret_cast<uint8_t*>(convert.data());
                    int got = swr_convert(swr, &outPtr, outCount, const_cast<const uint8_t**>(frame->extended_data),
                                          frame->nb_samples);
                    if (got > 0) sound->Push(convert.data(), size_t(got));
                }
            }
            av_frame_unref(frame);
        }
    }

    // Reads one packet and feeds it on; false at the end of the file.
    bool ReadPacket() {
        if (eof) return false;
        int r = av_read_frame(format, packet);
        if (r < 0) {
            eof = true;
            if (video) avcodec_send_packet(video, nullptr);
            if (audio) {
                avcodec_send_packet(audio, nullptr);
                TakeSound();
            }
            sound->End();
            return false;
        }
        if (packet->stream_index == audioIndex && audio) {
            avcodec_send_packet(audio, packet);  // a damaged packet is skipped
            TakeSound();
        } else if (packet->stream_index == videoIndex && video) {
            avcodec_send_packet(video, packet);  // a damaged packet is skipped
        }
        av_packet_unref(packet);
        return true;
    }
};

MovieDecoder::MovieDecoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MovieDecoder::~MovieDecoder() = default;

std::unique_ptr<MovieDecoder> MovieDecoder::Open(const std::string& path, std::string& error) {
    av_log_set_level(AV_LOG_QUIET);
    auto impl = std::make_unique<Impl>();
    if (avformat_open_input(&impl->format, path.c_str(), nullptr, nullptr) < 0) {
        impl->format = nullptr;
        error = "VFW_E_UNKNOWN_FILE_TYPE";
        return nullptr;
    }
    if (avformat_find_stream_info(impl->format, nullptr) < 0) {
        error = "VFW_E_INVALID_FILE_FORMAT";
        return nullptr;
    }
    impl->videoIndex = av_find_best_stream(impl->format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    impl->audioIndex = av_find_best_stream(impl->format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (impl->videoIndex >= 0) {
        impl->video = impl->OpenDecoder(impl->videoIndex);
        if (impl->video && (impl->video->width <= 0 || impl->video->height <= 0 || impl->video->width > kMaxSide ||
                            impl->video->height > kMaxSide))
            avcodec_free_context(&impl->video);
        if (impl->video) {
            AVRational rate = av_guess_frame_rate(impl->format, impl->format->streams[impl->videoIndex], nullptr);
            if (rate.num > 0 && rate.den > 0) impl->frameSeconds = av_q2d(av_inv_q(rate));
        }
    }
    if (impl->audioIndex >= 0) {
        impl->audio = impl->OpenDecoder(impl->audioIndex);
        if (impl->audio && !impl->OpenResampler()) avcodec_free_context(&impl->audio);
    }
    if (!impl->video && !impl->audio) {
        error = "VFW_E_CANNOT_RENDER";
        return nullptr;
    }
    impl->packet = av_packet_alloc();
    impl->frame = av_frame_alloc();
    if (!impl->packet || !impl->frame) {
        error = "E_OUTOFMEMORY";
        return nullptr;
    }
    if (impl->video) {
        impl->outWidth = impl->video->width;
        impl->outHeight = impl->video->height;
    } else {
        impl->videoDone = true;
    }
    return std::unique_ptr<MovieDecoder>(new MovieDecoder(std::move(impl)));
}

bool MovieDecoder::HasVideo() const { return impl_->video != nullptr; }
bool MovieDecoder::HasAudio() const { return impl_->audio != nullptr; }
int MovieDecoder::Width() const { return impl_->video ? impl_->video->width : 0; }
int MovieDecoder::Height() const { return impl_->video ? impl_->video->height : 0; }
int MovieDecoder::OutputWidth() const { return impl_->outWidth; }
int MovieDecoder::OutputHeight() const { return impl_->outHeight; }

void MovieDecoder::SetOutputSize(int width, int height) {
    impl_->outWidth = std::clamp(width, 1, kMaxSide);
    impl_->outHeight = std::clamp(height, 1, kMaxSide);
}

bool MovieDecoder::NextFrame(std::vector<uint32_t>& pixels, double& seconds) {
    Impl& d = *impl_;
    if (!d.video || d.videoDone) return false;
    for (;;) {
        int r = avcodec_receive_frame(d.video, d.frame);
        if (r >= 0) {
            AVFrame* f = d.frame;
            if (f->width <= 0 || f->height <= 0 || f->width > kMaxSide || f->height > kMaxSide) {
                av_frame_unref(f);
                continue;
            }
            d.sws = sws_getCachedContext(d.sws, f->width, f->height, AVPixelFormat(f->format), d.outWidth, d.outHeight,
                                         AV_PIX_FMT_BGR0, SWS_BILINEAR, nullptr, nullptr, nullptr);
            if (!d.sws) {
                av_frame_unref(f);
                continue;
            }
            pixels.assign(size_t(d.outWidth) * size_t(d.outHeight), 0);
            uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(pixels.data()), nullptr, nullptr, nullptr};
            int dstStride[4] = {d.outWidth * 4, 0, 0, 0};
            sws_scale(d.sws, f->data, f->linesize, 0, f->height, dst, dstStride);
            int64_t ts = f->best_effort_timestamp;
            double t = ts == AV_NOPTS_VALUE ? d.lastSeconds + d.frameSeconds
                                            : double(ts) * av_q2d(d.format->streams[d.videoIndex]->time_base);
            AVStream* st = d.format->streams[d.videoIndex];
            if (st->start_time != AV_NOPTS_VALUE && ts != AV_NOPTS_VALUE) t -= double(st->start_time) * av_q2d(st->time_base);
            if (t < 0) t = 0;
            d.lastSeconds = t;
            seconds = t;
            av_frame_unref(f);
            return true;
        }
        if (r == AVERROR_EOF) {
            d.videoDone = true;
            return false;
        }
        // The decoder wants more: read on. At the end of the file the
        // decoder was flushed, so it gives its last frames and then EOF.
        if (d.eof) {
            d.videoDone = true;
            return false;
        }
        d.ReadPacket();
    }
}

void MovieDecoder::ReadToEnd() {
    while (impl_->ReadPacket()) {
    }
}

std::shared_ptr<StreamSource> MovieDecoder::Sound() const { return impl_->sound; }
double MovieDecoder::SoundSeconds() const { return double(impl_->sound->Total()) / kMixRate; }
size_t MovieDecoder::SoundBuffered() const { return impl_->sound->Buffered(); }

}  // namespace platform::audio
