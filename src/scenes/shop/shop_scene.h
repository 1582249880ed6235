#pragma once
// The shop: a script offers goods for sale (and buys the party's items)
// in a seven-state dialogue. It writes 1 into the script's result byte on
// entry and 0 once anything is bought or sold, then goes back to the map.
//
//   0 choose buy, sell or leave     4 the inventory to sell from
//   1 the goods to buy              5 how many to sell
//   2 how many to buy               6 sold, 30 frames
//   3 bought, 30 frames
//
// Beside the goods it shows the party's walking sprites: those who may use
// the item walk, the rest stand greyed, and for equipment a mark tells
// whether it would raise (0), lower (2) or keep (1) the wearer's total, or
// is worn already (3).

#include <cstdint>
#include <vector>

#include "game/interpreter/branch_target.h"
#include "scenes/scene.h"
#include "scenes/shop/shop_windows.h"
#include "scenes/windows/gold_window.h"
#include "scenes/windows/help_window.h"
#include "scenes/windows/window.h"

class TLcfgPlayerItem;

class TLcfShopScene : public TLcfScene {
public:
    enum State : int { kChoose, kBuyList, kBuyCount, kBought, kSellList, kSellCount, kSold };
    static constexpr int kDealFrames = 30;

    TLcfShopScene();
    void Reset() override;
    void Update() override;
    void Draw() override;

    // Set by the script before the scene number: 0 buy and sell, 1 buy
    // only, 2 sell only; the message set (0..2); the goods; the byte that
    // learns whether a deal was made.
    int32_t kind = 0;
    int32_t messageSet = 0;
    std::vector<int32_t> goods;
    TLcfgBranchTarget resultTarget;

    bool Started() const { return started_; }
    int StateNow() const { return state_; }
    int32_t MessageX() const { return messageX_; }
    size_t MessageLength() const { return messageLength_; }
    // The text the message box shows, line by line (tests read it).
    const std::vector<std::string>& MessageLines() const { return messageLines_; }
    TLcfWindow& MessageBox() { return message_; }
    TLcfHelpWindow& Help() { return help_; }
    TLcfWindow& CountBox() { return count_; }
    TLcfShopBuyItemWindow& BuyList() { return buy_; }
    TLcfShopSellItemWindow& SellList() { return sell_; }
    TLcfShopItemNumberWindow& NumberBox() { return number_; }

private:
    void Start();
    void Leave();
    void Enter(State state);
    void ShowMessage(int text);
    void ShowChoices(bool again);
    // The help line and the owned and equipped counts of an item (0: none).
    void ShowInformation(int32_t itemId);
    void UpdateChoose();
    void UpdateBuyList();
    void UpdateCount(bool buying);
    void UpdateSellList();
    void CancelList();
    void DrawParty(int32_t itemId);
    void SetResult(uint8_t value);
    std::string Text(int which) const;

    bool started_ = false;
    int state_ = kChoose;
    int timer_ = 0;
    int32_t sellItem_ = 0;
    int32_t shownItem_ = -1;
    int32_t messageX_ = 8;
    size_t messageLength_ = 50;
    std::vector<std::string> messageLines_;

    TLcfWindow main_;
    TLcfWindow message_;
    TLcfHelpWindow help_;
    TLcfShopBuyItemWindow buy_;
    TLcfShopSellItemWindow sell_;
    TLcfShopItemNumberWindow number_;
    TLcfWindow party_;
    TLcfWindow count_;
    TLcfGoldWindow gold_;
};

// The mark an actor's comparison shows for an equipment item: 0 better,
// 1 the same, 2 worse, 3 worn already; -1 for an item that is not
// equipment or that the actor may not use. The actor's equipment is left
// as it was.
int ShopComparisonMark(TLcfgPlayerItem& actor, int32_t itemId);
// Whether the actor may use the item: the hero's or class's permission,
// and no shield for one who holds two weapons.
bool ShopMemberMayUse(const TLcfgPlayerItem& actor, int32_t itemId);
