#include "game/party/party_info.h"

#include <algorithm>
#include <cmath>

#include "data/clamp.h"
#include "data/database/database.h"
#include "game/actors/player.h"
#include "game/battler/unit_world.h"
#include "game/walker/party.h"
#include "graphics/graphics_files.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

TLcfgPartyInfo* GamePartyInfo = nullptr;

TLcfgPartyInfo::TLcfgPartyInfo() {
    for (auto& face : faces_) {
        face = std::make_unique<TSorvoSheet>();
        face->SetSize(kFaceSize, kFaceSize);
        face->Transparent = true;
    }
    Clear();
}

TLcfgPartyInfo::~TLcfgPartyInfo() = default;

void TLcfgPartyInfo::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetData(TFieldKind::Integer, &memberChunk_.count, 0); break;
    case 2: d.SetBlock(&memberChunk_.bytes); break;
    case 11: d.SetData(TFieldKind::Integer, &itemIdChunk_.count, 0); break;
    case 12: d.SetBlock(&itemIdChunk_.bytes); break;
    case 13: d.SetBlock(&itemCountChunk_); break;
    case 14: d.SetBlock(&itemUseChunk_); break;
    case 21: d.SetInteger(&gold, 0); break;
    case 23: d.SetInteger(&timers_[0].frames, 0); break;
    case 24: d.SetBoolean(&timers_[0].running, 0); break;
    case 25: d.SetBoolean(&timers_[0].visible, 0); break;
    case 26: d.SetBoolean(&timers_[0].inBattle, 0); break;
    case 27: d.SetInteger(&timers_[1].frames, 0); break;
    case 28: d.SetBoolean(&timers_[1].running, 0); break;
    case 29: d.SetBoolean(&timers_[1].visible, 0); break;
    case 30: d.SetBoolean(&timers_[1].inBattle, 0); break;
    case 32: d.SetInteger(&battles, 0); break;
    case 33: d.SetInteger(&defeats, 0); break;
    case 34: d.SetInteger(&escapes, 0); break;
    case 35: d.SetInteger(&victories, 0); break;
    case 41: d.SetInteger(&battleTurns, 0); break;
    case 42: d.SetInteger(&steps, 0); break;
    default: break;
    }
}

void TLcfgPartyInfo::Clear() {
    TCatalogBaseItem::Clear();
    members_.clear();
    for (auto& face : faces_) face->Clear();
    if (DbSystem)
        for (int i = 0; i < DbSystem->PartySize(); ++i) {
            int32_t id = DbSystem->GetPartyMember(i);
            if (GamePlayers && id >= 1 && id <= GamePlayers->Count()) AddMember(id);
        }
    items_.clear();
    SyncChunkForms();
}

void TLcfgPartyInfo::SyncChunkForms() {
    memberChunk_.Resize(MemberCount());
    for (int i = 0; i < MemberCount(); ++i) memberChunk_.Set(i, uint16_t(members_[size_t(i)]));
    itemIdChunk_.Resize(ItemEntryCount());
    itemCountChunk_.assign(items_.size(), 0);
    itemUseChunk_.assign(items_.size(), 0);
    for (size_t i = 0; i < items_.size(); ++i) {
        itemIdChunk_.Set(int(i), uint16_t(items_[i].id));
        itemCountChunk_[i] = uint8_t(items_[i].count);
        itemUseChunk_[i] = uint8_t(items_[i].uses);
    }
}

void TLcfgPartyInfo::SaveToStream(ByteWriter& w) {
    SyncChunkForms();
    WriteFields(w);
}

void TLcfgPartyInfo::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    Normalise();
    for (int slot = 0; slot < kMaxMembers; ++slot) {
        faces_[size_t(slot)]->Clear();
        LoadFace(slot);
    }
    // The party on the map looks like its leader as loaded, whatever a
    // route had made of it before the save.
    if (GameParty && GamePartyInfo == this) GameParty->RefreshGraphic();
}

void TLcfgPartyInfo::Normalise() {
    // Members: at most four, each once, each a known actor.
    members_.clear();
    for (int i = 0; i < memberChunk_.Length() && MemberCount() < kMaxMembers; ++i) {
        int32_t id = memberChunk_.Get(i);
        bool known = GamePlayers ? GamePlayers->Find(id) != nullptr : HeroExists(id);
        if (known && !IsMember(id)) members_.push_back(id);
    }
    // Items: sorted unique ids with counts 1..99.
    items_.clear();
    int n = itemIdChunk_.Length();
    for (int i = 0; i < n; ++i) {
        int32_t id = itemIdChunk_.Get(i);
        int32_t count = size_t(i) < itemCountChunk_.size() ? itemCountChunk_[size_t(i)] : 0;
        int32_t uses = size_t(i) < itemUseChunk_.size() ? itemUseChunk_[size_t(i)] : 0;
        if (id == 0 || count <= 0) continue;
        int at = FindEntry(id);
        if (at >= 0) {
            items_[size_t(at)].count = std::min(kMaxItemCount, items_[size_t(at)].count + count);
            continue;
        }
        auto pos = std::lower_bound(items_.begin(), items_.end(), id,
                                    [](const Entry& e, int32_t v) { return e.id < v; });
        items_.insert(pos, Entry{id, std::min(kMaxItemCount, count), uses});
    }
    gold = Clamp(gold, 0, kMaxGold);
    for (Timer& t : timers_) t.frames = Clamp(t.frames, 0, kMaxTimerFrames);
    SyncChunkForms();
}

// --- Members ----------------------------------------------------------------------

TLcfgPlayerItem* TLcfgPartyInfo::Member(int slot) const {
    if (slot < 0 || slot >= MemberCount()) return nullptr;
    VARNOW_CHECK(GamePlayers != nullptr);
    return GamePlayers->Get(members_[size_t(slot)]);
}

void TLcfgPartyInfo::AddMember(int32_t actorId) {
    if (MemberCount() >= kMaxMembers || IsMember(actorId)) return;
    members_.push_back(actorId);
    LoadFace(MemberCount() - 1);
}

void TLcfgPartyInfo::RemoveMember(int32_t actorId) {
    auto it = std::find(members_.begin(), members_.end(), actorId);
    if (it == members_.end()) return;
    int from = int(it - members_.begin());
    members_.erase(it);
    for (int slot = from; slot < MemberCount(); ++slot) LoadFace(slot);
    faces_[size_t(MemberCount())]->Clear();
}

bool TLcfgPartyInfo::IsMember(int32_t actorId) const {
    return std::find(members_.begin(), members_.end(), actorId) != members_.end();
}

TSorvoSheet& TLcfgPartyInfo::FaceSheet(int slot) { return *faces_[size_t(Clamp(slot, 0, kMaxMembers - 1))]; }

void TLcfgPartyInfo::LoadFace(int slot) {
    if (slot < 0 || slot >= MemberCount() || slot >= kMaxMembers) return;
    TSorvoSheet& sheet = *faces_[size_t(slot)];
    sheet.Clear();
    TLcfgPlayerItem* actor = GamePlayers ? GamePlayers->Find(members_[size_t(slot)]) : nullptr;
    if (!actor || !HeroExists(actor->Id())) return;
    std::string name = actor->FaceName();
    if (name.empty()) return;
    int64_t index = actor->FaceIndex();
    // An index outside the image copies nothing there: the loader clips.
    int64_t x = (index % 4) * kFaceSize, y = (index / 4) * kFaceSize;
    sheet.LoadFromFileAt(FindGraphicsFile("FaceSet", name), ClampToInt32(x), ClampToInt32(y), true);
}

void TLcfgPartyInfo::DrawFace(TSorvoBoard& board, int slot, int32_t x, int32_t y) {
    TSorvoSheet& sheet = FaceSheet(slot);
    board.Draw(x, y, sheet, sheet.GetBoundsRect());
}

// --- Inventory ----------------------------------------------------------------------

int TLcfgPartyInfo::FindEntry(int32_t itemId) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].id == itemId) return int(i);
    return -1;
}

int32_t TLcfgPartyInfo::ItemIdAt(int index) const {
    return index >= 0 && index < ItemEntryCount() ? items_[size_t(index)].id : 0;
}

int32_t TLcfgPartyInfo::ItemCountAt(int index) const {
    return index >= 0 && index < ItemEntryCount() ? items_[size_t(index)].count : 0;
}

int32_t TLcfgPartyInfo::ItemUsesAt(int index) const {
    return index >= 0 && index < ItemEntryCount() ? items_[size_t(index)].uses : 0;
}

int32_t TLcfgPartyInfo::ItemCount(int32_t itemId) const {
    int at = FindEntry(itemId);
    return at < 0 ? 0 : items_[size_t(at)].count;
}

int32_t TLcfgPartyInfo::EquippedCount(int32_t itemId) const {
    int32_t n = 0;
    for (int slot = 0; slot < MemberCount(); ++slot)
        if (TLcfgPlayerItem* a = Member(slot))
            for (int s = 0; s < TLcfgPlayerItem::kSlots; ++s)
                if (a->Equipment(s) == itemId) ++n;
    return n;
}

void TLcfgPartyInfo::GainItem(int32_t itemId, int32_t n) {
    if (itemId == 0 || n <= 0) return;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].id == itemId) {
            items_[i].count = int32_t(std::min<int64_t>(kMaxItemCount, int64_t(items_[i].count) + n));
            return;
        }
        if (items_[i].id > itemId) {
            items_.insert(items_.begin() + long(i), Entry{itemId, std::min(kMaxItemCount, n), 0});
            return;
        }
    }
    items_.push_back(Entry{itemId, std::min(kMaxItemCount, n), 0});
}

void TLcfgPartyInfo::LoseItem(int32_t itemId, int32_t n) {
    int at = FindEntry(itemId);
    if (n <= 0 || at < 0) return;
    Entry& e = items_[size_t(at)];
    e.count = int32_t(std::max<int64_t>(0, int64_t(e.count) - n));
    e.uses = 0;
    if (e.count == 0) items_.erase(items_.begin() + at);
}

void TLcfgPartyInfo::UseItem(int32_t itemId) {
    const TLcfItemItem& item = *DbItem->FindItem(itemId);
    int at = FindEntry(itemId);
    if (item.uses == 0 || item.performsSkill || at < 0) return;
    Entry& e = items_[size_t(at)];
    ++e.uses;
    if (e.uses >= item.uses) LoseItem(itemId, 1);
}

bool TLcfgPartyInfo::ItemUsable(int32_t itemId) const {
    if (itemId == 0) return false;
    const TLcfItemItem& item = *DbItem->FindItem(itemId);
    IUnitWorld& world = UnitWorld();
    int scene = world.Scene();
    using K = TLcfItemItem;
    if (scene == 1) {
        if (item.performsSkill && DbSkill->FindSkill(item.skillId)->scope >= TLcfSkillItem::kSelf &&
            DbSkill->FindSkill(item.skillId)->scope <= TLcfSkillItem::kAllAllies)
            return true;
        if (item.kind == K::kMedicine || item.kind == K::kSkillBook || item.kind == K::kSeed) return true;
        if (item.kind == K::kSwitchItem) return item.switchOnField != 0;
        if (item.kind != K::kSkillItem) return false;
        const TLcfSkillItem& skill = *DbSkill->FindSkill(item.skillId);
        // The teleport and escape checks look at the airship only.
        switch (skill.kind) {
        case TLcfSkillItem::kTeleport:
            return world.TeleportAllowed() && world.TeleportTargetCount() > 1 && !world.PartyInAirship();
        case TLcfSkillItem::kEscape:
            return world.EscapeAllowed() && world.EscapeMapId() > 0 && !world.PartyInAirship();
        case TLcfSkillItem::kSwitch:
            return skill.usableOnField != 0;
        default: break;
        }
        if (skill.scope < TLcfSkillItem::kSelf) return false;
        bool someone = false;
        for (int slot = 0; slot < MemberCount() && !someone; ++slot)
            if (TLcfgPlayerItem* a = Member(slot)) someone = a->ItemAllowed(item) && a->CanAct();
        if (!someone) return false;
        if (skill.affectsHp || skill.affectsSp) return true;
        int n = DbStatus ? DbStatus->Count() : 0;
        for (int32_t c = 1; c <= n; ++c)
            if (skill.HasCondition(c)) return true;
        return false;
    }
    if (scene == 2) {
        if (item.performsSkill) return true;
        if (item.kind == K::kMedicine) return item.fieldOnly == 0;
        if (item.kind == K::kSwitchItem) return item.switchInBattle != 0;
        if (item.kind == K::kSkillItem) {
            const TLcfSkillItem& skill = *DbSkill->FindSkill(item.skillId);
            return skill.IsNormalKind() || (skill.kind == TLcfSkillItem::kSwitch && skill.usableInBattle);
        }
    }
    return false;
}

// --- Gold -------------------------------------------------------------------------------

void TLcfgPartyInfo::GainGold(int32_t n) {
    gold = int32_t(Clamp<int64_t>(int64_t(gold) + n, 0, kMaxGold));
}

void TLcfgPartyInfo::LoseGold(int32_t n) {
    gold = int32_t(Clamp<int64_t>(int64_t(gold) - n, 0, kMaxGold));
}

// --- Timers -------------------------------------------------------------------------------

void TLcfgPartyInfo::SetTimer(int which, int32_t seconds) {
    // Seconds below 0 count as 0: the timer then shows 0 and stops at once.
    int64_t frames = int64_t(std::max(seconds, 0)) * 60 + 59;
    timers_[which == 0 ? 0 : 1].frames = int32_t(std::min<int64_t>(kMaxTimerFrames, frames));
}

void TLcfgPartyInfo::StartTimer(int which, bool visible, bool inBattle) {
    Timer& t = timers_[which == 0 ? 0 : 1];
    t.running = 1;
    t.visible = visible;
    t.inBattle = inBattle;
}

void TLcfgPartyInfo::StopTimer(int which) {
    Timer& t = timers_[which == 0 ? 0 : 1];
    t.running = t.visible = t.inBattle = 0;
}

void TLcfgPartyInfo::TickTimers() {
    for (int which = 0; which < 2; ++which) {
        Timer& t = timers_[size_t(which)];
        if (!t.running || t.frames <= 0) continue;
        --t.frames;
        if (t.frames % 60 == 59) UnitWorld().RefreshMapEvents();
        if (t.frames / 60 == 0) StopTimer(which);
    }
}

// --- Counters and battle tests ---------------------------------------------------------------

bool TLcfgPartyInfo::TurnMatches(int32_t a, int32_t b) const {
    if (a == 0) return battleTurns == b;
    // Every remainder by -1 is 0 (and INT32_MIN % -1 would trap).
    if (a == -1) return battleTurns >= b;
    return battleTurns >= b && battleTurns % a == b % a;
}

int32_t TLcfgPartyInfo::AverageAgility() const {
    int64_t sum = 0;
    for (int slot = 0; slot < MemberCount(); ++slot) sum += Member(slot)->EffectiveAgility();
    int64_t v = MemberCount() > 0 ? sum / MemberCount() : 0;
    return v == 0 ? 1 : int32_t(v);
}

int32_t TLcfgPartyInfo::AverageLevel() const {
    int64_t sum = 0;
    for (int slot = 0; slot < MemberCount(); ++slot) sum += Member(slot)->Level();
    int64_t v = MemberCount() > 0 ? sum / MemberCount() : 0;
    return v == 0 ? 1 : int32_t(v);
}

int32_t TLcfgPartyInfo::Exhaustion() const {
    if (MemberCount() == 0) return 0;
    int64_t hp = 0, maxHp = 0, sp = 0, maxSp = 0;
    for (int slot = 0; slot < MemberCount(); ++slot) {
        TLcfgPlayerItem* a = Member(slot);
        hp += a->hp;
        maxHp += a->MaxHP();
        sp += a->sp;
        maxSp += a->MaxSP();
    }
    if (maxSp == 0) maxSp = 1;
    if (maxHp == 0) maxHp = 1;
    double e = std::trunc((double(hp) / double(maxHp) * 2 + double(sp) / double(maxSp)) * 100 / 3);
    // HP or SP above the maxima (a lowered maximum) would pass 100 the
    // other way: keep the result a percentage.
    return Clamp(100 - int32_t(e), 0, 100);
}
