#pragma once
// The interpreter of one parallel process (a map event's or a common
// event's): its script restarts when it reaches its end, and it runs at
// most one pass of a short script per frame.

#include "game/interpreter/base_scripter.h"

class TLcfgRegularScripter : public TLcfgBaseScripter {
public:
    // With one frame left the script rewinds to its first line instead of
    // ending, so the process runs again next frame.
    void EndScript() override;
    // Once per frame.
    void Update();
    // Clears the interpreter. Asked while it runs a command (a switch it
    // flips makes its own event change page), the clear waits until that
    // command is done and the frame's loop then stops, as if the stack had
    // been emptied at once; the next frame starts the new page.
    void RequestClear();

private:
    bool updating_ = false;
    bool clearRequested_ = false;
};
