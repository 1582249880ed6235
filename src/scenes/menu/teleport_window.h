#pragma once
// TLcfTeleportWindow: the places a teleport skill can take the party, by
// the map-tree names of their maps, in two columns (the escape point is
// not offered).

#include "scenes/windows/window.h"

class TLcfTeleportWindow : public TLcfWindow {
public:
    void SetupList();
    // The teleport target under the cursor's entry (the list skips the
    // escape point in front).
    int TargetIndex() const { return cursor_ + 1; }

protected:
    void DrawItem(int32_t x, int32_t y, int index) override;
};
