#pragma once
// The title: on the first visit of a run the built-in logo, then the
// game's title picture and music with a three-command window: new game,
// continue (offered when some slot holds a save) and shutdown.

#include <memory>

#include "media/sheet/sheet.h"
#include "scenes/scene.h"
#include "scenes/windows/window.h"

class TLcfTitleScene : public TLcfScene {
public:
    TLcfTitleScene();
    void Reset() override;
    void Update() override;
    void Draw() override;

    TLcfWindow& Window() { return window_; }
    bool HasSave() const { return hasSave_; }
    bool Started() const { return started_; }

private:
    void Start();
    void ShowLogoSequence();
    void Leave();

    bool started_ = false;
    bool firstEntry_ = true;
    bool hasSave_ = false;
    std::unique_ptr<TSorvoSheet> picture_;
    TLcfWindow window_;
};
