// Plays music, sounds and movies through the real platform backend, for
// checking the audio and movie paths on a machine (a sound card, SDL's
// dummy driver or its "disk" driver writing a file):
//   audio_check [--seconds N] FILE...
// Music files (MIDI, wave, MP3, chosen by content) play for N seconds each
// (default 3), reporting whether they play, have looped and where they are;
// files ending in .avi, .mpg or .mpeg play as movies on the screen object.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/audio/audio_cantrel.h"
#include "media/platform_errors.h"
#include "media/screen/sorvo_draw.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

namespace {

bool IsMovie(std::string name) {
    for (auto& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    auto ends = [&](const char* ext) {
        std::string e(ext);
        return name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
    };
    return ends(".avi") || ends(".mpg") || ends(".mpeg");
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 3;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else
            files.push_back(a);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: audio_check [--seconds N] FILE...\n");
        return 2;
    }
    platform::SetPlatform(platform::CreateSdlPlatform());
    auto& sys = platform::Sys();
    CantrelInit();
    std::printf("device: %s, MIDI: %s, wave: %s, MP3: %s\n", GameAudio->Mixer().IsOpen() ? "open" : "none",
                CantrelOpenMidi() ? "yes" : "no", CantrelOpenWave() ? "yes" : "no", GameAudio->MP3() ? "yes" : "no");
    TSorvoDraw draw;
    draw.SetScreenMode(smWindow);
    std::vector<uint16_t> picture(320 * 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) picture[size_t(y * 320 + x)] = uint16_t(((x / 10) << 11) | ((y / 4) << 5) | 8);
    draw.ScreenSource = [&](int& pitch) {
        pitch = 320;
        return picture.data();
    };
    int failures = 0;
    for (const auto& f : files) {
        if (IsMovie(f)) {
            try {
                draw.Initialize();
                draw.Flip();
                const uint64_t start = sys.NowMillis();
                draw.PlayMovie(f, 40, 30, 240, 180);
                std::printf("%s: movie played in %.2f s\n", f.c_str(), double(sys.NowMillis() - start) / 1000);
            } catch (const Exception& e) {
                std::printf("%s: %s\n", f.c_str(), e.what());
                ++failures;
            } catch (const ESorvoDrawAbort&) {
                return 0;
            } catch (const ESorvoDrawReset&) {
                std::printf("%s: reset\n", f.c_str());
            }
            continue;
        }
        if (!CantrelPlayMusic(f.c_str())) {
            std::printf("%s: does not play\n", f.c_str());
            ++failures;
            continue;
        }
        CantrelFadeInMusic(0);
        const uint64_t start = sys.NowMillis();
        while (double(sys.NowMillis() - start) < seconds * 1000) {
            sys.PumpEvents();
            sys.SleepMicros(10000);
        }
        std::printf("%s: playing %s, looped %s, position %d\n", f.c_str(), CantrelMusicPlaying() ? "yes" : "no",
                    CantrelMusicLooped() ? "yes" : "no", int(CantrelMusicPosition()));
        CantrelStopMusic();
    }
    CantrelDone();
    platform::SetPlatform(nullptr);
    return failures ? 1 : 0;
}
