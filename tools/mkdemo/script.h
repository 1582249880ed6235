#pragma once
// Event scripts as the editor stores them: command lines with an indent, a
// string and integer parameters. One builder serves the map events, the
// common events and the battle event pages.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/database/event.h"

namespace mkdemo {

// Event command codes the demo uses.
enum Code : int32_t {
    kEnd = 0, kShowMessage = 10110, kMessageMore = 20110, kMessageOptions = 10120, kFace = 10130,
    kChoices = 10140, kChoiceCase = 20140, kChoicesEnd = 20141, kInputNumber = 10150,
    kSwitches = 10210, kVariables = 10220, kTimer = 10230, kGold = 10310, kItems = 10320, kPartyMembers = 10330,
    kFullHeal = 10490, kBattle = 10710, kVictoryCase = 20710, kEscapeCase = 20711, kDefeatCase = 20712,
    kBattleEnd = 20713, kShop = 10720, kShopDeal = 20720, kShopNoDeal = 20721, kShopEnd = 20722, kInn = 10730,
    kInnStay = 20730, kInnLeave = 20731, kInnEnd = 20732, kInputName = 10740, kTransfer = 10810,
    kVehicleLocation = 10850, kTintScreen = 11030, kFlashScreen = 11040, kShowPicture = 11110,
    kErasePicture = 11130, kMapAnimation = 11210, kMoveRoute = 11330, kWaitMoves = 11340, kWait = 11410,
    kPlaySound = 11550, kSaveMenu = 11910, kBranch = 12010, kElse = 22010, kBranchEnd = 22011,
    kCallEvent = 12330, kEraseEvent = 12320, kGameOver = 12420, kShowBattleAnimation = 13260,
};

// Character references of the movement commands.
constexpr int32_t kThisEvent = 10005;

// Fills a script list from empty; the closing empty line is added when the
// builder goes away.
class Script {
public:
    explicit Script(TLcfEventScriptList& list) : list_(list) { list_.Clear(); }
    ~Script() { list_.Add(TLcfEventScriptLine(kEnd, 0)); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    Script& Line(int32_t code, std::string text = {}, std::vector<int32_t> params = {}) {
        list_.Add(TLcfEventScriptLine(code, indent_, std::move(text), std::move(params)));
        return *this;
    }
    Script& Face(const char* sheet, int index, bool right = false) {
        return Line(kFace, sheet, {index, right ? 1 : 0, 0});
    }
    Script& NoFace() { return Line(kFace, "", {0, 0, 0}); }
    Script& Say(const std::vector<std::string>& lines) {
        for (size_t i = 0; i < lines.size(); ++i) Line(i == 0 ? kShowMessage : kMessageMore, lines[i]);
        return *this;
    }
    Script& Switch(int id, bool on) { return Line(kSwitches, "", {0, id, id, on ? 0 : 1}); }
    // Variable `id` := value.
    Script& SetVariable(int id, int value) { return Line(kVariables, "", {0, id, id, 0, 0, value}); }
    Script& AddVariable(int id, int value) { return Line(kVariables, "", {0, id, id, 1, 0, value}); }
    Script& GainGold(int amount) { return Line(kGold, "", {0, 0, amount}); }
    Script& GainItem(int item, int count) { return Line(kItems, "", {0, 0, item, 0, count}); }
    Script& Sound(const char* name) { return Line(kPlaySound, name, {100, 100, 50}); }
    Script& Transfer(int map, int x, int y) { return Line(kTransfer, "", {map, x, y, 0}); }
    // A move route given to a character: the route's commands follow the
    // frequency and the repeat and skippable flags.
    Script& Route(int32_t character, std::vector<int32_t> commands, int frequency = 8) {
        std::vector<int32_t> params = {character, frequency, 0, 1};
        params.insert(params.end(), commands.begin(), commands.end());
        return Line(kMoveRoute, "", std::move(params));
    }

    // A block: the opening line, then cases each with its own body, then
    // the closing line; bodies are indented one level deeper.
    Script& Case(int32_t code, std::string text, std::vector<int32_t> params, const std::function<void()>& body) {
        Line(code, std::move(text), std::move(params));
        ++indent_;
        body();
        Line(kEnd);  // every body ends with an empty line of its depth
        --indent_;
        return *this;
    }

private:
    TLcfEventScriptList& list_;
    int indent_ = 0;
};

}  // namespace mkdemo
