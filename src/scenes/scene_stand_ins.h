#pragma once
// Stand-ins for the scenes that are not built yet. Each shows a plain
// screen and keeps the game running; each later piece replaces its own.
//
//   0 field     holds the party on its map (a plain dark screen)
//   1 menu      back to the field on its first frame
//   2 battle    ends at once: back to the field (in battle test the loop
//               then ends and the program closes)
//   3 shop      back to the field
//   4 name      back to the field
//   5 save      back to the title (the load screen cancelled)
//   8 debug     back to the field

#include <string>

#include "scenes/scene.h"

class TLcfStandInScene : public TLcfScene {
public:
    TLcfStandInScene(std::string name, int next) : name_(std::move(name)), next_(next) {}
    void Update() override;
    void Draw() override;
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    int next_;
};

// The field's stand-in: stays in scene 0; its force-draw flag is never set.
class TLcfFieldStandIn : public TLcfScene {
public:
    void Update() override {}
    void Draw() override;
    bool ForceDraw = false;
};
