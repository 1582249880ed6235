#pragma once
// Movie files (avi, mpg and whatever else the decoder libraries know): video
// frames scaled to a requested size in XRGB8888, and the sound resampled to
// the mixer's 44.1 kHz stereo as a stream that fills while the file is read.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"

namespace platform::audio {

class MovieDecoder {
public:
    // Null, with a reason, when the file can't be opened or holds no video
    // or audio stream that decodes.
    static std::unique_ptr<MovieDecoder> Open(const std::string& path, std::string& error);
    ~MovieDecoder();

    bool HasVideo() const;
    bool HasAudio() const;
    int Width() const;
    int Height() const;
    // Frames are scaled to this size (at least 1x1, at most 4096x4096).
    void SetOutputSize(int width, int height);
    int OutputWidth() const;
    int OutputHeight() const;

    // Reads on to the next video frame and returns it at the output size,
    // with its time in seconds from the start; false when the file has no
    // more. The sound met on the way goes into Sound().
    bool NextFrame(std::vector<uint32_t>& pixels, double& seconds);
    // Reads the rest of the file's sound (for files without video).
    void ReadToEnd();

    // The sound: plays silence while it waits for data, and ends once the
    // file is read and everything decoded has been played.
    std::shared_ptr<StreamSource> Sound() const;
    // Seconds of sound decoded so far.
    double SoundSeconds() const;
    // Frames of sound waiting to be played.
    size_t SoundBuffered() const;

private:
    struct Impl;
    explicit MovieDecoder(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::audio
