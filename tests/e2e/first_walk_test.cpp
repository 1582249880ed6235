// The demo played through the harness the way a person would: title, new
// game, the opening messages, a walk to the lamplighter, his message and
// question, the answer, then the road out of town to the field. A driver
// presses keys in reply to what the game shows (a message fully typed, the
// party standing still), so the test does not hang on frame numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "game/interpreter/command_table.h"
#include "game/system/game_system.h"
#include "game/walker/party.h"
#include "scenes/game_main.h"
#include "scenes/harness/harness.h"
#include "scenes/title_scene.h"
#include "scenes/windows/message_window.h"
#include "support/demo_game.h"

namespace {

using platform::CapturedFrame;

// Share of pixels that differ between two pictures inside rows [top, bottom).
double Differs(const CapturedFrame& a, const CapturedFrame& b, int top, int bottom) {
    if (a.width != b.width || a.height != b.height || a.width == 0) return 1.0;
    top = std::max(top, 0);
    bottom = std::min(bottom, a.height);
    size_t differ = 0, total = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < a.width; ++x, ++total) {
            size_t i = size_t(y) * size_t(a.width) + size_t(x);
            differ += a.pixels[i] != b.pixels[i];
        }
    return total ? double(differ) / double(total) : 0.0;
}

size_t Colours(const CapturedFrame& f) {
    std::vector<uint16_t> p = f.pixels;
    std::sort(p.begin(), p.end());
    return size_t(std::unique(p.begin(), p.end()) - p.begin());
}

bool StartsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

// The walk, step by step. Each frame it looks at the game and holds the
// keys the next step needs.
class FirstWalk {
public:
    FirstWalk(e2e::MapSpot tam, e2e::MapSpot door) : tam_(tam), door_(door) {}

    bool operator()(int frame, const CapturedFrame* last, std::vector<std::string>& hold) {
        if (!GameSystem) return true;
        if (GameSystem->scene == 6) {
            // The title: "New Game" is the first command.
            if (TitleScene && TitleScene->Started() && TitleScene->Window().IsOpen()) Pulse(frame, "decision", hold);
            return true;
        }
        if (GameSystem->scene != 0) return true;
        if (!GameParty) {
            // A field without its map world: nothing to walk on.
            if (++fieldWithoutParty_ > 120) {
                noField = true;
                return false;
            }
            return true;
        }
        if (GameMessageWindow && GameMessageWindow->IsVisible()) return Message(frame, last, hold);
        shownFor_ = 0;
        if (GameParty->IsMoving()) return true;
        switch (stage_) {
            case 0:  // up the road to the lamplighter's row
                if (WalkTo(door_.x, tam_.y, hold)) Next("town", last);
                return true;
            case 1:  // beside him
                if (WalkTo(tam_.x + 1, tam_.y, hold)) ++stage_;
                return true;
            case 2:  // face him and speak
                if (GameParty->facing != 3) {
                    hold.push_back("left");
                } else if (Pulse(frame, "decision", hold)) {
                    talkFrame_ = frame;
                    ++stage_;
                }
                return true;
            case 3:  // the talk is over once the answer has been given
                if (GameSystem->GetVariable(e2e::kChoiceVariable) != 0 && answered_) {
                    if (++idle_ > 10) Next("after talk", last);
                } else if (frame - talkFrame_ > 90 && !talkStarted_) {
                    stage_ = 2;  // the key went unheard: try again
                }
                return true;
            case 4:  // back to the road
                if (WalkTo(door_.x, tam_.y, hold)) ++stage_;
                return true;
            case 5:  // and down it, through the way out
                if (GameParty->mapId != tam_.map) {
                    arrivedFrame_ = frame;
                    ++stage_;
                } else {
                    WalkTo(door_.x, door_.y, hold);
                }
                return true;
            default:  // on the new map: let the picture settle, then stop
                if (frame - arrivedFrame_ < 60) return true;
                if (last) shots["field"] = *last;
                return false;
        }
    }

    std::map<std::string, CapturedFrame> shots;
    std::vector<std::string> messages;  // the first line of every box, in order
    bool noField = false;

private:
    // Holds `key` on every other frame so each hold is a new press.
    bool Pulse(int frame, const char* key, std::vector<std::string>& hold) {
        if (frame - pulseFrame_ < 2) return false;
        pulseFrame_ = frame;
        hold.push_back(key);
        return true;
    }

    void Next(const std::string& shot, const CapturedFrame* last) {
        if (last) shots[shot] = *last;
        ++stage_;
    }

    // One step toward (x, y), across first; true once there.
    bool WalkTo(int x, int y, std::vector<std::string>& hold) {
        if (GameParty->x != x) hold.push_back(GameParty->x < x ? "right" : "left");
        else if (GameParty->y != y) hold.push_back(GameParty->y < y ? "down" : "up");
        else return true;
        return false;
    }

    bool Message(int frame, const CapturedFrame* last, std::vector<std::string>& hold) {
        if (!GameMessageWindow->AllShown() || GameMessageWindow->IsClosing()) {
            shownFor_ = 0;
            return true;
        }
        // Fully typed for a few frames: the last picture shows the box.
        if (++shownFor_ < 4) return true;
        if (shownFor_ == 4) {
            const auto& lines = GameMessageWindow->Lines();
            std::string first = lines.empty() ? "" : lines[0];
            messages.push_back(first);
            if (stage_ == 3) {
                talkStarted_ = true;
                if (StartsWith(first, "Tam: Ho there") && last) shots["message"] = *last;
                if (GameMessageWindow->ChoiceCount() == 2 && last) shots["choice"] = *last;
                if (StartsWith(first, "Tam: Bless you") || StartsWith(first, "Tam: Then Varrow")) {
                    if (last) shots["answer"] = *last;
                    answered_ = true;
                }
            }
        }
        // The first answer is under the cursor: the decision key takes it.
        Pulse(frame, "decision", hold);
        return true;
    }

    e2e::MapSpot tam_, door_;
    int stage_ = 0;
    int pulseFrame_ = -10;
    int shownFor_ = 0;
    int talkFrame_ = 0;
    int arrivedFrame_ = 0;
    int fieldWithoutParty_ = 0;
    int idle_ = 0;
    bool talkStarted_ = false;
    bool answered_ = false;
};

class DemoFirstWalk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::WriteDemoGame(dir_.path())) GTEST_SKIP() << "mkdemo was not built";
    }
    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(DemoFirstWalk, TitleNewGameTalkToTheLamplighterAnswerAndLeaveTown) {
    const e2e::MapSpot tam = e2e::FindEvent(dir_.path(), e2e::kTownMap, "Tam");
    const e2e::MapSpot door = e2e::FindEvent(dir_.path(), e2e::kTownMap, "To the Green Reach");
    const e2e::MapSpot target = e2e::TransferTargetOf(dir_.path(), e2e::kTownMap, "To the Green Reach");
    ASSERT_GE(tam.x, 0);
    ASSERT_GE(door.x, 0);
    ASSERT_EQ(target.map, e2e::kFieldMap);
    // The commands the walk's scripts run: switches, variables, gold, the
    // transfer.
    for (int32_t code : {10210, 10220, 10310, 10810})
        if (!CommandEntry(code).handler) GTEST_SKIP() << "command " << code << " has no handler yet";

    // The demo's scripts flip switches, count variables, give gold and
    // branch: without those commands its opening event never finishes.
    for (int32_t code : {10210, 10220, 10310, 12010})
        if (!CommandEntry(code).handler) GTEST_SKIP() << "command " << code << " is not built yet";

    FirstWalk walk(tam, door);
    THarnessOptions o;
    o.gameFolder = dir_.path().string();
    o.frames = 4000;
    o.driver = [&](int frame, const CapturedFrame* last, std::vector<std::string>& hold) {
        return walk(frame, last, hold);
    };
    // Frames to look at by eye when asked for.
    if (const char* out = std::getenv("VARNOW_E2E_PNG")) o.pngFolder = out;
    THarnessResult r = RunHarness(o);
    if (walk.noField) GTEST_SKIP() << "the field has no party yet: the map world is not installed at start-up";

    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messageBoxes.empty()) << (r.messageBoxes.empty() ? "" : r.messageBoxes[0].text);
    EXPECT_EQ(r.sceneNumber, 0) << r.summary;

    // The boxes came in order: the two opening ones, then the lamplighter's
    // message, his question with its two answers, and the first answer's
    // reply.
    std::vector<std::string> tam_boxes;
    for (const std::string& m : walk.messages)
        if (StartsWith(m, "Tam:")) tam_boxes.push_back(m);
    ASSERT_EQ(tam_boxes.size(), 3u) << r.summary;
    EXPECT_TRUE(StartsWith(tam_boxes[0], "Tam: Ho there"));
    EXPECT_TRUE(StartsWith(tam_boxes[1], "Tam: Will you"));
    EXPECT_TRUE(StartsWith(tam_boxes[2], "Tam: Bless you"));
    EXPECT_GE(walk.messages.size(), 5u);

    // The state: the answer remembered, the gold given, the party on the
    // field where the road leads.
    EXPECT_NE(std::find(r.switchesOn.begin(), r.switchesOn.end(), e2e::kPromisedTamSwitch), r.switchesOn.end())
        << r.summary;
    EXPECT_EQ(r.variables[e2e::kChoiceVariable], 1) << r.summary;
    EXPECT_EQ(r.gold, 50) << r.summary;
    EXPECT_EQ(r.members, (std::vector<int32_t>{1, 2})) << r.summary;
    EXPECT_EQ(r.mapId, target.map) << r.summary;
    EXPECT_EQ(r.x, target.x) << r.summary;
    EXPECT_EQ(r.y, target.y) << r.summary;

    // The pictures: a drawn town; the message boxes over the lower part of
    // the screen while the map above stays; each box different; and the
    // field unlike the town.
    for (const char* shot : {"town", "message", "choice", "answer", "after talk", "field"})
        ASSERT_TRUE(walk.shots.count(shot)) << shot;
    const auto& shots = walk.shots;
    if (!o.pngFolder.empty())
        for (const auto& [name, shot] : shots) {
            std::string file = name;
            std::replace(file.begin(), file.end(), ' ', '_');
            WriteFramePng(shot, o.pngFolder + "/walk_" + file + ".png");
        }
    EXPECT_GT(Colours(shots.at("town")), 16u);
    const CapturedFrame& after = shots.at("after talk");
    const CapturedFrame& message = shots.at("message");
    // The box sits at the top or the bottom of the screen, away from the
    // party; the band in the middle shows the map either way.
    const int box = Differs(message, after, 0, 80) > Differs(message, after, 160, 240) ? 0 : 160;
    EXPECT_GT(Differs(message, after, box, box + 80), 0.5);
    EXPECT_LT(Differs(message, after, 84, 156), 0.1);
    EXPECT_GT(Differs(shots.at("choice"), message, box, box + 80), 0.05);
    EXPECT_GT(Differs(shots.at("answer"), shots.at("choice"), box, box + 80), 0.05);
    EXPECT_GT(Differs(shots.at("field"), shots.at("town"), 0, 240), 0.4);
    EXPECT_GT(Colours(shots.at("field")), 16u);
}
