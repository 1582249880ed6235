#pragma once
// Game over: the game's game-over picture until decision or cancel is
// pressed, then the soft reset back to the title. The callers have already
// started the game-over music.

#include <memory>

#include "media/sheet/sheet.h"
#include "scenes/scene.h"

class TLcfGameOverScene : public TLcfScene {
public:
    TLcfGameOverScene();
    void Reset() override;
    void Update() override;
    void Draw() override;
    bool Started() const { return started_; }

private:
    void Start();
    bool started_ = false;
    std::unique_ptr<TSorvoSheet> picture_;
};
