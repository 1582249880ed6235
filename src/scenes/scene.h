#pragma once
// TLcfScene: the base of the nine scenes. It owns two full-screen work
// boards (the outgoing and the incoming picture of a transition) and gives
// every scene the nested frame step, the brightness fades, the battle
// flash and the twenty screen transitions. Each operation returns when its
// animation is over; the frame waits inside pump events, so a soft reset or
// the window's close unwinds through them.

#include <cstdint>
#include <functional>

#include "media/board/board.h"

class TLcfScene {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    // Callers pass this for "no transition" and do not call ShowScreen.
    static constexpr int kNoTransition = 20;

    TLcfScene();
    virtual ~TLcfScene() = default;
    TLcfScene(const TLcfScene&) = delete;
    TLcfScene& operator=(const TLcfScene&) = delete;

    // Both work boards black; scenes add their own state.
    virtual void Reset();
    // The scene's whole picture onto the screen board.
    virtual void Draw() = 0;
    // One frame of the scene's own work (the frame loop calls it).
    virtual void Update() = 0;

    // One nested frame: draw and flip unless lagging, then wait.
    void DrawAndWait();
    void FadeIn(double step);
    void FadeOut(double step);
    void Flash();
    void ShowScreen(int type);
    void EraseScreen(int type);
    void CrossFade();
    void DrawMosaic(TSorvoBoard& board, int32_t blockSize);
    void DrawWave(TSorvoBoard& board, int32_t phase);
    void RunTransition(bool show, int type);

    TSorvoBoard& OldBoard() { return work_[0]; }
    TSorvoBoard& NewBoard() { return work_[1]; }

    // Where the zoom transition centres while on the field: the party's
    // screen position (the field sets it; (160, 120) without it).
    static std::function<void(int32_t& x, int32_t& y)> PartyScreenPosition;

private:
    TSorvoBoard work_[2];
};

// Copies a source rectangle of one board onto another at (x, y), clipped to
// both.
void CopyBoardRect(TSorvoBoard& dest, int32_t x, int32_t y, const TSorvoBoard& source, int32_t sx, int32_t sy,
                   int32_t width, int32_t height);
// Scales a source rectangle of a board over the whole destination,
// replicating pixels; an empty rectangle paints nothing.
void StretchBoard(TSorvoBoard& dest, const TSorvoBoard& source, int32_t sx, int32_t sy, int32_t width,
                  int32_t height);
