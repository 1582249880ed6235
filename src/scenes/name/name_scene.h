#pragma once
// Name entry: the player spells a new name for one actor on a grid of
// characters. Decision appends the cell's text (up to 12 bytes), cancel
// takes the last two bytes back, and the confirm cell stores the name.

#include <cstdint>
#include <memory>
#include <string>

#include "media/sheet/sheet.h"
#include "scenes/name/name_windows.h"
#include "scenes/scene.h"
#include "scenes/windows/window.h"

class TLcfNameScene : public TLcfScene {
public:
    static constexpr size_t kMaxBytes = 12;
    // Beyond this many bytes no further cell is taken.
    static constexpr size_t kAcceptBelow = 11;

    TLcfNameScene();
    void Reset() override;
    void Update() override;
    void Draw() override;

    // Set by the script before the scene number.
    int32_t actorId = 0;
    int32_t startPage = 0;
    bool keepName = false;

    bool Started() const { return started_; }
    TLcfNameViewWindow& View() { return view_; }
    TLcfNameInputWindow& Grid() { return grid_; }

private:
    void Start();
    void Leave();

    bool started_ = false;
    std::unique_ptr<TSorvoSheet> face_;
    TLcfWindow faceFrame_;
    TLcfNameViewWindow view_;
    TLcfNameInputWindow grid_;
};

// The name after cancel: the last two bytes removed when there are more
// than one; a two-byte character or "$" symbol that the cut would split is
// removed whole.
std::string NameAfterCancel(const std::string& name);
