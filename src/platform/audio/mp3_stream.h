#pragma once
// MP3 music as a mixer stream: decoded from memory as it plays, starting
// again from the beginning each time it reaches its end (gapless: the
// encoder's delay and padding are trimmed when the file says how much).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"

namespace platform::audio {

class Mp3Stream;
bool DecodeMp3(std::vector<uint8_t> bytes, std::vector<int16_t>& pcm, int& channels, int& rate);

class Mp3Stream : public StreamSource {
public:
    // Null, with a reason in `error`, when the bytes hold no frame that
    // decodes: such a file would otherwise loop on nothing for ever.
    static std::shared_ptr<Mp3Stream> Open(std::vector<uint8_t> bytes, std::string& error);
    ~Mp3Stream() override;

    int Channels() const override { return channels_; }
    int Rate() const override { return rate_; }
    int Read(int16_t* out, int frames) override;

    // Times the music reached its end and started again.
    int Completions() const { return completions_.load(); }
    // Seconds into the current pass (as far as the mixer has read).
    double Position() const { return double(framesRead_.load()) / double(rate_ > 0 ? rate_ : 1); }

private:
    friend bool DecodeMp3(std::vector<uint8_t> bytes, std::vector<int16_t>& pcm, int& channels, int& rate);
    struct Impl;
    explicit Mp3Stream(std::unique_ptr<Impl> impl);
    int Decode(int16_t* out, int frames);  // one pass, no looping

    std::unique_ptr<Impl> impl_;
    int channels_ = 2;
    int rate_ = 44100;
    std::atomic<int> completions_{0};
    std::atomic<uint64_t> framesRead_{0};
};

// Decodes a whole MP3 file into interleaved 16-bit samples; false when no
// frame decodes.
bool DecodeMp3(std::vector<uint8_t> bytes, std::vector<int16_t>& pcm, int& channels, int& rate);

}  // namespace platform::audio
