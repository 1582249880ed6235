#pragma once
// A harness driver written as a list of steps run one after another, each
// frame the current one until it says it is done: press a key, wait for a
// state, look at something. Keeps the key timing of scene tests readable.

#include <deque>
#include <memory>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "media/screen/sorvo_draw.h"
#include "platform/headless/headless_platform.h"
#include "scenes/field/field_scene.h"
#include "scenes/game_main.h"
#include "scenes/title/title_scene.h"

namespace testing_support {

class DriverSteps {
public:
    // Returns true when done; may hold keys for this frame.
    using Step = std::function<bool(std::vector<std::string>& hold)>;

    DriverSteps& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Runs `fn` once.
    DriverSteps& Do(std::function<void()> fn) {
        return Then([fn = std::move(fn)](std::vector<std::string>&) {
            fn();
            return true;
        });
    }
    DriverSteps& WaitUntil(std::function<bool()> ready) {
        return Then([ready = std::move(ready)](std::vector<std::string>&) { return ready(); });
    }
    // As WaitUntil, then three frames more: a fade that ends its loop
    // forgets the keys of that moment.
    DriverSteps& Settle(std::function<bool()> ready) { return WaitUntil(std::move(ready)).Wait(3); }
    DriverSteps& Wait(int frames) {
        auto left = std::make_shared<int>(frames);
        return Then([left](std::vector<std::string>&) { return (*left)-- <= 0; });
    }
    // The key held for one frame, then let go for two.
    DriverSteps& Press(const std::string& key) {
        auto stage = std::make_shared<int>(0);
        return Then([key, stage](std::vector<std::string>& hold) {
            if (*stage == 0) hold.push_back(key);
            return ++*stage >= 3;
        });
    }
    // From the title into a new game, until the field has faded in.
    DriverSteps& NewGame() {
        Settle(TitleReady);
        Press("decision");
        return Settle(FieldShown);
    }
    // The title's commands are up and take keys.
    static bool TitleReady() {
        return GameSystem && GameSystem->scene == kSceneTitle && TitleScene && TitleScene->Started() &&
               TitleScene->Window().IsOpen() && GameDraw->Board().Brightness == 100;
    }
    static bool FieldShown() {
        return GameSystem && GameSystem->scene == kSceneField && FieldScene && FieldScene->started && GameParty &&
               GameParty->mapId != 0 && GameDraw->Board().Brightness == 100;
    }

    // The steps as the harness's driver; they must outlive the run.
    auto AsDriver() {
        return [this](int, const platform::CapturedFrame*, std::vector<std::string>& hold) { return Run(hold); };
    }

    // The harness driver: false once every step is done.
    bool Run(std::vector<std::string>& hold) {
        while (!steps_.empty()) {
            if (!steps_.front()(hold)) return true;
            steps_.pop_front();
            if (!hold.empty()) return true;
        }
        return false;
    }
    bool Done() const { return steps_.empty(); }
    size_t Left() const { return steps_.size(); }

private:
    std::deque<Step> steps_;
};

}  // namespace testing_support
