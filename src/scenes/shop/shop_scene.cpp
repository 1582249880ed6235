#include "scenes/shop/shop_scene.h"

#include <algorithm>
#include <cstdio>

#include "data/database/database.h"
#include "data/database/item.h"
#include "data/database/vocabulary.h"
#include "data/map/map.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "graphics/char_set_graphic.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "scenes/system_sounds.h"
#include "scenes/windows/text_units.h"

namespace {

using Shop = TLcfVocabularyShop;

const TLcfItemItem* Item(int32_t id) { return DbItem && id > 0 ? DbItem->Find(id) : nullptr; }

bool Pressed(int button) { return GameInput && GameInput->IsPressed(button); }

std::string TwoDigits(int32_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", n);
    return text;
}

}  // namespace

bool ShopMemberMayUse(const TLcfgPlayerItem& actor, int32_t itemId) {
    const TLcfItemItem* item = Item(itemId);
    if (!item || !actor.ItemAllowed(*item)) return false;
    // The shield's hand holds the second weapon.
    return !(item->kind == TLcfItemItem::kShield && actor.twoWeapons);
}

int ShopComparisonMark(TLcfgPlayerItem& actor, int32_t itemId) {
    const TLcfItemItem* item = Item(itemId);
    if (!item || item->EquipSlot() < 0 || !ShopMemberMayUse(actor, itemId)) return -1;
    if (actor.IsEquipped(itemId)) return 3;
    // Tried on and taken off again: a two-handed weapon empties the other
    // hand, so all five slots go back as they were.
    const auto worn = actor.equipment;
    const int64_t before = actor.ParameterTotal();
    auto tryIn = [&](int slot) {
        actor.SetEquipment(slot, itemId);
        const int64_t after = actor.ParameterTotal();
        actor.equipment = worn;
        return after;
    };
    const int64_t after = tryIn(item->EquipSlot());
    int mark = after > before ? 0 : after < before ? 2 : 1;
    if (item->IsWeapon() && actor.twoWeapons && tryIn(1) > before) mark = 0;
    return mark;
}

TLcfShopScene::TLcfShopScene() { Reset(); }

void TLcfShopScene::Reset() {
    TLcfScene::Reset();
    started_ = false;
    state_ = kChoose;
    timer_ = 0;
    sellItem_ = 0;
    shownItem_ = -1;
    messageLines_.clear();
    for (TLcfWindow* w : {&main_, &message_, static_cast<TLcfWindow*>(&help_), static_cast<TLcfWindow*>(&buy_),
                          static_cast<TLcfWindow*>(&sell_), static_cast<TLcfWindow*>(&number_), &party_, &count_,
                          static_cast<TLcfWindow*>(&gold_)})
        w->CloseNow();
}

std::string TLcfShopScene::Text(int which) const {
    static const Shop kNoTerms;
    const Shop& terms = DbVocabulary ? DbVocabulary->GetShopTerms(messageSet) : kNoTerms;
    return CutToBytes(terms[which], messageLength_);
}

void TLcfShopScene::Start() {
    GameDraw->Board().Clear();
    main_.Setup(0, 32, 320, 128, false);
    message_.Setup(0, 160, 320, 80, false);
    help_.Setup(0, 0, 320, 32, false);
    buy_.SetupGoods(&goods);
    sell_.SetupInventory();
    number_.SetupBlank();
    party_.Setup(184, 32, 136, 48, false);
    count_.Setup(184, 80, 136, 48, false);
    gold_.Setup(184, 128, 136, 32, false);
    gold_.Refresh();
    // A face on the left pushes the text right; any face shortens it.
    const bool face = GameSystem && GameSystem->HasFace();
    messageX_ = face && GameSystem->faceRight == 0 ? 80 : 8;
    messageLength_ = face ? 38 : 50;
    started_ = true;
    shownItem_ = -1;
    // A kind no script should give buys and sells.
    if (kind != 1 && kind != 2) kind = 0;
    if (kind == 1)
        Enter(kBuyList);
    else if (kind == 2)
        Enter(kSellList);
    else
        ShowChoices(false);
    SetResult(1);
    if (GamePartyInfo && GameMapUnit) {
        TLcfCharSetGraphic& sheets = GameMapUnit->CharSetGraphic();
        for (int i = 0; i < GamePartyInfo->MemberCount(); ++i)
            if (TLcfgPlayerItem* actor = GamePartyInfo->Member(i))
                if (!actor->SpriteName().empty()) sheets.Acquire(actor->SpriteName());
    }
    FadeIn(20);
}

void TLcfShopScene::Leave() {
    FadeOut(20);
    GameDraw->Board().Clear();
    GameDraw->Flip();
    Reset();
    if (GameSystem) GameSystem->scene = kSceneField;
}

void TLcfShopScene::SetResult(uint8_t value) {
    if (resultTarget.IsSet()) resultTarget.Write(value);
}

void TLcfShopScene::ShowMessage(int text) {
    message_.SetCursorVisible(false);
    message_.SetItemCount(0);
    message_.Refresh();
    messageLines_ = {Text(text)};
    message_.DrawText(messageX_, 8, messageLines_[0], 0);
}

void TLcfShopScene::ShowChoices(bool again) {
    state_ = kChoose;
    buy_.SetActive(false);
    sell_.SetActive(false);
    ShowInformation(0);
    message_.SetCursorVisible(false);
    message_.Refresh();
    messageLines_ = {Text(again ? Shop::kGreetingAgain : Shop::kGreeting)};
    message_.DrawText(messageX_, 8, messageLines_[0], 0);
    const int choices[3] = {Shop::kBuy, Shop::kSell, Shop::kLeave};
    for (int i = 0; i < 3; ++i) {
        messageLines_.push_back("  " + Text(choices[i]));
        message_.DrawText(messageX_, 24 + 16 * i, messageLines_.back(), 0);
    }
    const bool face = messageLength_ < 50;
    message_.leftMargin = messageX_ + 6;
    message_.itemWidth = face ? 220 : 292;
    message_.topMargin = 24;
    message_.SetItemCount(3);
    message_.SetActive(true);
    message_.SetCursor(std::clamp(message_.Cursor(), 0, 2));
}

void TLcfShopScene::ShowInformation(int32_t itemId) {
    shownItem_ = itemId;
    const TLcfItemItem* item = Item(itemId);
    help_.SetText(item ? item->description : std::string());
    count_.Refresh();
    const int32_t owned = item && GamePartyInfo ? GamePartyInfo->ItemCount(itemId) : 0;
    const int32_t worn = item && GamePartyInfo ? GamePartyInfo->EquippedCount(itemId) : 0;
    auto term = [](int id) { return DbVocabulary ? CutToBytes(DbVocabulary->Get(id), 17) : std::string(); };
    count_.DrawText(8, 8, term(TLcfVocabulary::kItemCountLabel), 1);
    count_.DrawText(8, 24, term(TLcfVocabulary::kShopCountLabel), 1);
    count_.DrawText(116, 8, TwoDigits(owned), 0);
    count_.DrawText(116, 24, TwoDigits(worn), 0);
}

void TLcfShopScene::Enter(State state) {
    state_ = state;
    switch (state) {
        case kChoose:
            ShowChoices(true);
            break;
        case kBuyList:
            ShowMessage(Shop::kBuyPrompt);
            sell_.SetActive(false);
            buy_.SetActive(true);
            ShowInformation(buy_.SelectedItem());
            break;
        case kBuyCount: {
            ShowMessage(Shop::kBuyQuantityPrompt);
            buy_.SetActive(false);
            const int32_t id = buy_.SelectedItem();
            const int32_t price = ShopBuyPrice(id);
            const int32_t gold = GamePartyInfo ? GamePartyInfo->gold : 0;
            const int32_t owned = GamePartyInfo ? GamePartyInfo->ItemCount(id) : 0;
            const int32_t byGold = price < 1 ? 99 : gold / price;
            number_.Begin(id, std::min(byGold, 99 - owned), price);
            break;
        }
        case kSellList:
            ShowMessage(Shop::kSellPrompt);
            buy_.SetActive(false);
            sell_.RefreshInventory();
            sell_.SetActive(true);
            ShowInformation(sell_.SelectedItem());
            break;
        case kSellCount: {
            ShowMessage(Shop::kSellQuantityPrompt);
            sell_.SetActive(false);
            const int32_t owned = GamePartyInfo ? GamePartyInfo->ItemCount(sellItem_) : 0;
            number_.Begin(sellItem_, owned, ShopSellPrice(sellItem_) / 2);
            break;
        }
        case kBought:
            ShowMessage(Shop::kBought);
            timer_ = kDealFrames;
            break;
        case kSold:
            ShowMessage(Shop::kSold);
            timer_ = kDealFrames;
            break;
    }
}

void TLcfShopScene::Update() {
    if (!started_) Start();
    help_.Update();
    gold_.Update();
    switch (state_) {
        case kChoose: UpdateChoose(); break;
        case kBuyList: UpdateBuyList(); break;
        case kBuyCount: UpdateCount(true); break;
        case kSellList: UpdateSellList(); break;
        case kSellCount: UpdateCount(false); break;
        case kBought:
        case kSold:
            number_.Update();
            if (--timer_ <= 0) Enter(state_ == kBought ? kBuyList : kSellList);
            break;
        default: break;
    }
}

void TLcfShopScene::UpdateChoose() {
    message_.Update();
    if (Pressed(TMultiInput::kDecision)) {
        PlaySystemSound(kSystemSoundDecision);
        switch (message_.Cursor()) {
            case 0: Enter(kBuyList); break;
            case 1: Enter(kSellList); break;
            default: Leave(); break;
        }
    } else if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        Leave();
    }
}

void TLcfShopScene::UpdateBuyList() {
    buy_.Update();
    if (buy_.SelectedItem() != shownItem_) ShowInformation(buy_.SelectedItem());
    if (Pressed(TMultiInput::kDecision)) {
        if (buy_.CanBuySelected()) {
            PlaySystemSound(kSystemSoundDecision);
            Enter(kBuyCount);
        } else {
            PlaySystemSound(kSystemSoundBuzzer);
        }
    } else if (Pressed(TMultiInput::kCancel)) {
        CancelList();
    }
}

// Cancel in the buy or sell list: back to the choice in a shop that both
// buys and sells, out of the shop otherwise.
void TLcfShopScene::CancelList() {
    PlaySystemSound(kSystemSoundCancel);
    if (kind == 0)
        Enter(kChoose);
    else
        Leave();
}

void TLcfShopScene::UpdateSellList() {
    sell_.Update();
    if (sell_.SelectedItem() != shownItem_) ShowInformation(sell_.SelectedItem());
    if (Pressed(TMultiInput::kDecision)) {
        const int32_t id = sell_.SelectedItem();
        if (id != 0 && ShopSellPrice(id) > 0) {
            PlaySystemSound(kSystemSoundDecision);
            sellItem_ = id;
            Enter(kSellCount);
        } else {
            PlaySystemSound(kSystemSoundBuzzer);
        }
    } else if (Pressed(TMultiInput::kCancel)) {
        CancelList();
    }
}

void TLcfShopScene::UpdateCount(bool buying) {
    number_.Update();
    if (Pressed(TMultiInput::kDecision)) {
        PlaySystemSound(kSystemSoundDecision);
        const int32_t id = buying ? buy_.SelectedItem() : sellItem_;
        const int32_t count = number_.Count();
        if (GamePartyInfo) {
            // Gold moves only through the party's own clamping calls.
            if (buying) {
                GamePartyInfo->LoseGold(number_.Total());
                GamePartyInfo->GainItem(id, count);
            } else {
                GamePartyInfo->GainGold(number_.Total());
                GamePartyInfo->LoseItem(id, count);
            }
        }
        Enter(buying ? kBought : kSold);
        gold_.Refresh();
        SetResult(0);
        ShowInformation(id);
        if (buying)
            buy_.Refresh();
        else
            sell_.RefreshInventory();
        number_.Clear();
    } else if (Pressed(TMultiInput::kCancel)) {
        PlaySystemSound(kSystemSoundCancel);
        number_.Clear();
        Enter(buying ? kBuyList : kSellList);
    }
}

void TLcfShopScene::DrawParty(int32_t itemId) {
    if (!GamePartyInfo || !GameMapUnit || !Item(itemId)) return;
    TLcfCharSetGraphic& sheets = GameMapUnit->CharSetGraphic();
    TSorvoBoard& board = GameDraw->Board();
    const int32_t frame = GameSystem ? GameSystem->frameCount : 0;
    for (int i = 0; i < GamePartyInfo->MemberCount() && i < TLcfgPartyInfo::kMaxMembers; ++i) {
        TLcfgPlayerItem* actor = GamePartyInfo->Member(i);
        if (!actor) continue;
        const bool mayUse = ShopMemberMayUse(*actor, itemId);
        const int32_t sheet = sheets.IndexOf(actor->SpriteName());
        if (sheet >= 0) {
            // The map's tint and a character's flash stay on the map.
            sheets.Sheets(sheet).ColorControl2.Reset(true);
            sheets.Sheets(sheet).ColorControl1.SetFlash(0, 0, 0, 0, true);
            sheets.Grey = mayUse ? 0 : 1;
            sheets.OpacityLevel = 0;
            sheets.DrawCharacter(board, 200 + 32 * i, 68, sheet, actor->SpriteIndex(), 2,
                                 mayUse ? (frame / 12) % 4 : 1, 0);
            sheets.Grey = 0;
        }
        const int mark = ShopComparisonMark(*actor, itemId);
        if (mark >= 0 && GameSystemGraphic) GameSystemGraphic->DrawSmallGlyph(208 + 32 * i, 60, (frame / 8) % 4, mark);
    }
}

void TLcfShopScene::Draw() {
    if (!started_) return;
    TSorvoBoard& board = GameDraw->Board();
    board.FillRect(RectOfSize(0, 0, kWidth, kHeight), 0);
    help_.Draw();
    if (state_ == kChoose) {
        main_.Draw();
        message_.Draw();
    } else {
        message_.Draw();
        if (state_ == kBuyList)
            buy_.Draw();
        else if (state_ == kSellList)
            sell_.Draw();
        else
            number_.Draw();
        if (state_ != kSellList) {
            party_.Draw();
            count_.Draw();
            gold_.Draw();
            DrawParty(state_ <= kBought ? buy_.SelectedItem() : sellItem_);
        }
    }
    if (GameSystem && GameSystem->HasFace())
        if (TSorvoSheet* face = GameSystem->FaceSheet())
            board.Draw(GameSystem->faceRight ? 256 : 16, 176, *face, face->GetBoundsRect());
}
