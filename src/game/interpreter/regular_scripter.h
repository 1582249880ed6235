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
};
