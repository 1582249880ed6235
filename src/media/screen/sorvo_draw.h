#pragma once
// TSorvoDraw: the one screen object.
//
// It shows the 320x240 screen in a window or full screen, paces the game at
// a fixed frame rate with a lag measure that lets the frame loop skip
// drawing, runs the game's main handler in its own loop (Run), turns F4,
// Alt+Enter, F5 and F12 into screen commands, and shows fatal errors.
//
// The frame wait pumps the platform's events, so key commands, the window's
// close and focus changes all take effect inside WaitFrame. A soft reset
// (F12, Restart) raises ESorvoDrawReset from there; closing the window
// raises ESorvoDrawAbort from there. Both unwind every nested frame loop up
// to Run.
//
// Presentation layouts: the picture lands on a logical screen of 320x240 or
// 640x480 at one of three destinations: (0,0)-(320,240), (0,0)-(640,480)
// (doubled) or (160,120)-(480,360) (centred, full screen without zoom).

#include <cstdint>
#include <functional>
#include <string>

#include "data/errors.h"
#include "media/board/board.h"
#include "platform/platform.h"

enum TScreenMode { smWindow = 0, smFullScreen = 1 };

class TSorvoDraw {
public:
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 240;

    TSorvoDraw();
    ~TSorvoDraw();
    TSorvoDraw(const TSorvoDraw&) = delete;
    TSorvoDraw& operator=(const TSorvoDraw&) = delete;

    // --- Properties ---------------------------------------------------------
    // Frames per second (20 at creation). 0 or less is ignored.
    int FrameRate() const { return frameRate_; }
    void SetFrameRate(int value);
    // Frames the clock may run ahead before the schedule restarts (4 at
    // creation). Values below 2 store 1.
    int MaxLag() const { return maxLag_; }
    void SetMaxLag(int value);
    TScreenMode ScreenMode() const { return screenMode_; }
    void SetScreenMode(TScreenMode mode);
    // Shows the screen doubled (640x480).
    bool ScreenZoom() const { return screenZoom_; }
    void SetScreenZoom(bool zoom);
    // Full screen on a 320x240 logical screen (on by default); off, or when
    // that cannot be had, on 640x480 with the picture doubled or centred.
    bool LowResolution() const { return lowResolution_; }
    void SetLowResolution(bool low);
    // The window's caption; also the title of error boxes.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // The game's main handler: Run calls it, and calls it afresh after a
    // soft reset. During play it does not return.
    std::function<void()> OnMain;
    // Fired after every change of the display mode.
    std::function<void()> OnModeChange;
    // Runs after each pass of the event pump (start-up hooks the input
    // sampler here, so that a button tapped between two frames is seen).
    std::function<void()> OnPump;
    // What the argument-less Flip (and a movie's background) shows: pixels
    // (RGB565, 320x240) and the pitch in pixels. The screen board unless a
    // caller puts something else here.
    std::function<const uint16_t*(int& pitch)> ScreenSource;

    // The 320x240 screen board the scenes draw on.
    TSorvoBoard& Board() { return board_; }

    // --- Operations ---------------------------------------------------------
    // Opens the display in the current mode, keeps the screen saver off and
    // hides the mouse cursor over the picture. Raises EDirectDrawError when
    // no display mode can be set.
    void Initialize();
    // Runs the game: OnMain, then a frame wait, again and again. A soft reset
    // re-enters OnMain; closing the window (or Terminate) ends the loop and
    // returns 0. Any other error leaves full screen, shows its message in an
    // error box and returns 1.
    int Run();
    // Asks the loop to end: the next pump raises ESorvoDrawAbort.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Shows the screen board (ScreenSource). Nothing after Close.
    void Flip();
    // Shows a 320x240 RGB565 picture; pitch in pixels.
    void Flip(const uint16_t* pixels, int pitch);
    // Waits for the next frame time; see sorvo_draw.cpp.
    void WaitFrame();
    // Frames that the clock is ahead of the schedule (rounded, ties to even).
    int GetLag();
    // Restarts the schedule from the next frame tick (from now when the
    // schedule is behind).
    void ResetFrameTimer();
    // Pumps the platform's events and acts on them. Raises ESorvoDrawAbort
    // when the program is ending, ESorvoDrawReset on F12.
    void ProcessMessages();
    // Raises ESorvoDrawReset.
    [[noreturn]] void Restart();
    // Milliseconds since creation (whole, and exact).
    int64_t Elapsed();
    double ElapsedExact();
    // Leaves full screen and shows an error box titled with the caption.
    void ShowFatalError(const std::string& message);
    // Restores the screen saver and stops showing frames; later Flips do
    // nothing. Also done by the destructor.
    void Close();

    // Where the picture lands on the logical screen.
    platform::Rect Destination() const { return dest_; }
    // A rectangle of the 320x240 screen placed on the logical screen: doubled
    // when the destination is 640 wide. Movies are placed by it.
    platform::Rect ScreenToDestination(platform::Rect r) const;

    // Plays a movie file in a rectangle of the 320x240 screen and returns
    // when it ends; events are pumped meanwhile (ProcessMessages), so F12
    // and the window's close still work, and the movie follows every mode
    // change by ScreenToDestination. Raises EDirectShowError when the file
    // can't be rendered. (In media/movie/sorvo_draw_movie.cpp.)
    void PlayMovie(const std::string& fileName, int x, int y, int width, int height);

private:
    void ApplyDisplayMode();
    void UpdateDestination();
    void HandleEvent(const platform::Event& event);
    void WaitUntilScheduled();
    // The platform clock's reading (microseconds) just past the current
    // frame's due time.
    uint64_t DueMicros() const;

    TSorvoBoard board_;
    int frameRate_ = 20;
    int maxLag_ = 4;
    TScreenMode screenMode_ = smFullScreen;
    bool screenZoom_ = false;
    bool lowResolution_ = true;
    std::string caption_;

    bool initialized_ = false;
    bool closed_ = false;
    bool insideMain_ = false;
    bool terminated_ = false;
    platform::Rect dest_{0, 0, kScreenWidth, kScreenHeight};

    // The schedule: frame k of the current second is due at
    // frameBase_ + frameCount_ * interval_ (milliseconds since start).
    uint64_t startMicros_ = 0;
    double frameBase_ = 0;
    int frameCount_ = 0;
    double interval_ = 50;
};

// The screen object of the running game (start-up creates it).
extern TSorvoDraw* GameDraw;
