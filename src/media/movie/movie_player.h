#pragma once
// Movie playback over the screen: the movie's frames drawn into a rectangle
// of the 320x240 screen (placed by the presentation's actual scale), the
// rest of the screen showing the game's picture, the sound through the
// mixer, and a nested loop that keeps pumping events so the window's close
// and the reset key still work. The movie pauses while the window is
// inactive.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace platform::audio {
class Mixer;
}

struct MovieHost {
    // Pumps the platform's events and acts on them; may raise the reset or
    // abort exceptions, which end the movie and unwind on. Empty: a plain
    // pump where closing the window raises ESorvoDrawAbort and F12
    // ESorvoDrawReset.
    std::function<void()> processMessages;
    // The game's picture shown around the movie (320x240 RGB565, pitch in
    // pixels); empty or null: black.
    std::function<const uint16_t*(int& pitch)> background;
    // Where a rectangle of the 320x240 screen lands on the logical screen;
    // empty: as it stands.
    std::function<platform::Rect(platform::Rect)> place;
    // Where the sound goes; null: the movie plays silently.
    platform::audio::Mixer* mixer = nullptr;
};

// Plays a movie file in the rectangle (screen coordinates) and returns when
// it ends. Raises EDirectShowError when the file can't be rendered.
void PlayMovieFile(const std::string& fileName, int x, int y, int width, int height, const MovieHost& host);
