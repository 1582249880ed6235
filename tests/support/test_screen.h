#pragma once
// The screen object that scene tests draw on: windowed, 60 frames a second,
// on the platform the test has set.

#include "media/screen/sorvo_draw.h"

namespace testing_support {

// Sets GameDraw to a new initialised screen object.
inline void MakeTestScreen() {
    GameDraw = new TSorvoDraw();
    GameDraw->SetFrameRate(60);
    GameDraw->SetMaxLag(20);
    GameDraw->SetScreenMode(smWindow);
    GameDraw->Initialize();
}

inline void DeleteTestScreen() {
    delete GameDraw;
    GameDraw = nullptr;
}

}  // namespace testing_support
