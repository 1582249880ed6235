#pragma once
// TLcfGoldWindow: the party's gold and the currency term. The amount shows
// once the opening animation is over.

#include "scenes/windows/window.h"

class TLcfGoldWindow : public TLcfWindow {
public:
    void Refresh() override;
    void Update() override;
};
