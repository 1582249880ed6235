#pragma once
// Helpers shared by the audio tests: the corpus folder, file reading, and a
// MIDI output that records what it was sent.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/midi_out.h"
#include "support/test_paths.h"

namespace audio_test {

inline std::filesystem::path AudioDir() { return testing_support::SharedTestData() / "media" / "audio"; }
inline std::filesystem::path MovieDir() { return testing_support::SharedTestData() / "media" / "movies"; }

#define SKIP_WITHOUT_CORPUS()                                                  \
    do {                                                                       \
        if (!std::filesystem::is_directory(audio_test::AudioDir()))           \
            GTEST_SKIP() << "no shared media corpus";                          \
    } while (0)

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<int16_t> ReadS16(const std::filesystem::path& p) {
    auto bytes = ReadBytes(p);
    std::vector<int16_t> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = int16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

struct SentMessage {
    uint64_t time;  // clock steps seen so far
    uint32_t message;  // 0 for system-exclusive
    std::vector<uint8_t> sysex;
};

// Records every message with the step count at which it was sent; a test
// drives the clock with Tick().
class RecordingMidiOut : public platform::audio::MidiOut {
public:
    struct Log {
        std::vector<SentMessage> sent;
        int resets = 0;
        uint64_t steps = 0;
        std::function<void()> clock;
    };
    explicit RecordingMidiOut(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    void ShortMessage(uint32_t m) override { log_->sent.push_back({log_->steps, m, {}}); }
    void SysEx(const uint8_t* d, size_t n) override { log_->sent.push_back({log_->steps, 0, {d, d + n}}); }
    void Reset() override { ++log_->resets; }
    void SetClock(std::function<void()> fn) override { log_->clock = std::move(fn); }

private:
    std::shared_ptr<Log> log_;
};

inline void Tick(RecordingMidiOut::Log& log, int ms) {
    for (int i = 0; i < ms; ++i) {
        ++log.steps;
        if (log.clock) log.clock();
    }
}

}  // namespace audio_test
