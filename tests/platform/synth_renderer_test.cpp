// The synthesiser rendered on its own: once its last note and the effect
// tails have died it stops rendering (exact silence instead of dither
// noise), and the next message brings it back within one of its blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/audio/midi_out.h"

namespace {

using platform::audio::CreateSynthRenderer;

constexpr int kRate = 44100;

int Peak(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

TEST(SynthRenderer, FallsSilentWhenItsSoundHasDiedAndSoundsAgainOnTheNextNote) {
    auto synth = CreateSynthRenderer();
    if (!synth) GTEST_SKIP() << "no sound font at " << platform::audio::SoundFontPath();
    std::vector<int16_t> tenth(2 * kRate / 10), second(2 * kRate), slice(2 * 88);
    const uint32_t noteOn = 0x7F3C90, noteOff = 0x003C80;  // middle C on channel 1

    synth->Out().ShortMessage(noteOn);
    synth->Render(tenth.data(), kRate / 10);
    EXPECT_GT(Peak(tenth), 100);
    synth->Out().ShortMessage(noteOff);
    // The release and the reverb's tail take about a second; a quiet
    // synthesiser still adds dither of one step either side of zero.
    synth->Render(second.data(), kRate);
    synth->Render(second.data(), kRate);
    synth->Render(second.data(), kRate);
    EXPECT_TRUE(std::all_of(second.begin(), second.end(), [](int16_t s) { return s == 0; }));

    // The next note sounds from the synthesiser's next block of 64 frames
    // on, as it would have without the pause.
    synth->Out().ShortMessage(noteOn);
    synth->Render(slice.data(), 88);
    EXPECT_GT(Peak(slice), 0);
    synth->Render(tenth.data(), kRate / 10);
    EXPECT_GT(Peak(tenth), 100);
}

}  // namespace
