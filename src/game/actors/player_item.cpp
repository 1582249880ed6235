#include "game/actors/player_item.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/clamp.h"
#include "data/database/database.h"
#include "game/actors/actor_battle_sprites.h"
#include "data/random.h"
#include "game/battler/unit_world.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"

namespace {

// The item record of `id`; null for id 0 or an id the table lacks.
const TLcfItemItem* ItemRecord(int32_t id) { return id > 0 && DbItem ? DbItem->Find(id) : nullptr; }

// A job class's record; a missing one raises the table's message.
const TLcfGrowthItem& ClassRecord(int32_t classId) {
    VARNOW_CHECK(DbJob != nullptr);
    return *DbJob->FindJob(classId);
}

// One skill learned at a level, from a hero's or a class's list.
struct Learning {
    int32_t level = 1;
    int32_t skillId = 1;
};

template <class List>
void AppendLearnings(const List& list, std::vector<Learning>& out) {
    for (int i = 0; i < list.Count(); ++i)
        if (const auto* l = list.Items(i)) out.push_back({l->level, l->skillId});
}

std::vector<Learning> Learnings(const TLcfGrowthItem& g) {
    std::vector<Learning> out;
    if (const auto* hero = dynamic_cast<const TLcfPlayerItem*>(&g)) AppendLearnings(hero->skills, out);
    else if (const auto* job = dynamic_cast<const TLcfJobItem*>(&g)) AppendLearnings(job->skills, out);
    return out;
}

constexpr int kKindForSlot[TLcfgPlayerItem::kSlots] = {1, 2, 3, 4, 5};

int32_t ReadI32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

void WriteI32(uint8_t* p, int32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(uint32_t(v) >> (8 * i));
}

std::string Term(int id) { return DbVocabulary ? DbVocabulary->Get(id) : std::string(); }

void QueueLine(const std::string& line) { UnitWorld().QueueMessageLine(line); }

}  // namespace

TLcfgPlayerItem::TLcfgPlayerItem(int32_t id) : TLcfgUnitItem(id) { Clear(); }

// --- Record -------------------------------------------------------------------

void TLcfgPlayerItem::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, false); break;
    case 2: d.SetString(&title, false); break;
    case 11: d.SetString(&spriteName, true); break;
    case 12: d.SetInteger(&spriteIndex, 0); break;
    case 13: d.SetInteger(&spriteTransparency, 0); break;
    case 21: d.SetString(&faceName, true); break;
    case 22: d.SetInteger(&faceIndex, 0); break;
    case 31: d.SetData(TFieldKind::Integer, &level, 0); break;
    case 32: d.SetData(TFieldKind::Integer, &exp, 0); break;
    case 33: d.SetData(TFieldKind::Integer, &paramModifiers[0], 0); break;
    case 34: d.SetData(TFieldKind::Integer, &paramModifiers[1], 0); break;
    case 41: case 42: case 43: case 44: d.SetInteger(&paramModifiers[size_t(id - 39)], 0); break;
    case 51: d.SetData(TFieldKind::Integer, &skillChunk_.count, 0); break;
    case 52: d.SetBlock(&skillChunk_.bytes); break;
    case 61: d.SetFixed(equipmentChunk_.data(), 10); break;
    case 71: d.SetData(TFieldKind::Integer, &hp, 0); break;
    case 72: d.SetData(TFieldKind::Integer, &sp, 0); break;
    case 80: d.SetFixed(commandChunk_.data(), 28); break;
    case 81: d.SetInteger(&conditions_.count, 0); break;
    case 82: d.SetBlock(&conditions_.bytes); break;
    case 83: d.SetBoolean(&commandsChanged, 0); break;
    case 90: d.SetInteger(&classField, -1); break;
    case 91: d.SetInteger(&row, 0); break;
    case 92: d.SetBoolean(&twoWeapons, 0); break;
    case 93: d.SetBoolean(&lockEquipment, 0); break;
    case 94: d.SetBoolean(&autoBattle, 0); break;
    case 95: d.SetBoolean(&strongDefense, 0); break;
    case 96: d.SetInteger(&battlerAnimation, 0); break;
    default: break;
    }
}

void TLcfgPlayerItem::SaveToStream(ByteWriter& w) {
    SyncChunkForms();
    WriteFields(w);
}

void TLcfgPlayerItem::SyncChunkForms() {
    skillChunk_.Resize(int(skills.size()));
    for (size_t i = 0; i < skills.size(); ++i) skillChunk_.Set(int(i), uint16_t(skills[i]));
    for (int s = 0; s < kSlots; ++s) {
        equipmentChunk_[size_t(s) * 2] = uint8_t(equipment[size_t(s)]);
        equipmentChunk_[size_t(s) * 2 + 1] = uint8_t(equipment[size_t(s)] >> 8);
    }
    for (int c = 0; c < kCommands; ++c) WriteI32(commandChunk_.data() + c * 4, commands[size_t(c)]);
}

void TLcfgPlayerItem::LoadFromStream(ByteReader& r) {
    // The generic read starts from a cleared record (whose Clear fills the
    // chunk forms); the arrays then come from their chunk forms.
    TCatalogBaseItem::LoadFromStream(r);
    skills.clear();
    for (int i = 0; i < skillChunk_.Length(); ++i) skills.push_back(skillChunk_.Get(i));
    std::sort(skills.begin(), skills.end());
    skills.erase(std::unique(skills.begin(), skills.end()), skills.end());
    skills.erase(std::remove(skills.begin(), skills.end(), 0), skills.end());
    for (int s = 0; s < kSlots; ++s) {
        int32_t item = int32_t(equipmentChunk_[size_t(s) * 2] | (equipmentChunk_[size_t(s) * 2 + 1] << 8));
        // Equipment naming an item the database no longer has is dropped.
        equipment[size_t(s)] = ItemRecord(item) ? item : 0;
    }
    for (int c = 0; c < kCommands; ++c) commands[size_t(c)] = ReadI32(commandChunk_.data() + c * 4);
    // A saved level outside the hero's range would send the level loops
    // through billions of steps: keep it within 1..MaxLevel.
    if (HeroExists(Id())) level = Clamp(level, 1, MaxLevel());
    exp = Clamp(exp, 0, kMaxExp);
    hp = std::max(hp, 0);
    sp = std::max(sp, 0);
    if (conditions_.count < 0) conditions_.count = 0;
}

void TLcfgPlayerItem::Clear() {
    TLcfgUnitItem::Clear();
    name = title = kDatabaseText;
    paramModifiers.fill(0);
    skills.clear();
    equipment.fill(0);
    commands.fill(-1);
    swingingHand = 0;
    show = TActorBattleShow();
    if (sprites_) sprites_->Clear();
    repeatCommand = 0;
    repeatCount = 1;
    battleItems_.clear();
    classChanging_ = false;
    level = 1;
    exp = 0;
    if (HeroExists(Id())) ResetFromHero();
    SyncChunkForms();
}

void TLcfgPlayerItem::ResetFromHero() {
    const TLcfPlayerItem& hero = Hero();
    level = Clamp(hero.initialLevel, 1, MaxLevel());
    exp = ClampToInt32(ExpForLevel(level));
    hp = hero.GetParameter(0, level);
    sp = hero.GetParameter(1, level);
    twoWeapons = hero.twoWeapons;
    lockEquipment = hero.fixedEquipment;
    autoBattle = hero.autoBattle;
    strongDefense = hero.strongDefense;
    for (const Learning& l : Learnings(hero))
        if (l.level <= level) LearnSkill(l.skillId);
    // A two-handed weapon leaves no room for the initial second-hand item.
    int32_t first = hero.GetInitialEquipment(0), second = hero.GetInitialEquipment(1);
    auto twoHanded = [](int32_t id) {
        const TLcfItemItem* v = ItemRecord(id);
        return v && v->IsTwoHandedWeapon();
    };
    std::array<int32_t, kSlots> initial{};
    for (int s = 0; s < kSlots; ++s) initial[size_t(s)] = hero.GetInitialEquipment(s);
    // The drop is made in the loaded database, as the original does.
    if (first && second && (twoHanded(first) || twoHanded(second))) {
        initial[1] = 0;
        DbPlayer->FindPlayer(Id())->SetInitialEquipment(1, 0);
    }
    for (int s = 0; s < kSlots; ++s) {
        int32_t item = initial[size_t(s)];
        equipment[size_t(s)] = CanEquip(s, item) ? item : 0;
        if (const TLcfItemItem* v = SlotItem(s))
            if (v->GrantsConditions()) InflictArmorConditions(*v, InBattle());
    }
}

// --- Class and growth ---------------------------------------------------------------

const TLcfPlayerItem& TLcfgPlayerItem::Hero() const {
    VARNOW_CHECK(DbPlayer != nullptr);
    return *DbPlayer->FindPlayer(Id());
}

const TLcfGrowthItem& TLcfgPlayerItem::Growth() const {
    return classField > 0 ? ClassRecord(classField) : Hero();
}

int32_t TLcfgPlayerItem::ClassId() const { return classField != -1 ? classField : Hero().jobClass; }

// --- Names and looks -------------------------------------------------------------------

std::string TLcfgPlayerItem::GetName() const { return name == kDatabaseText ? Hero().name : name; }

void TLcfgPlayerItem::SetName(const std::string& text) { name = text == Hero().name ? kDatabaseText : text; }

std::string TLcfgPlayerItem::GetTitle() const { return title == kDatabaseText ? Hero().title : title; }

void TLcfgPlayerItem::SetTitle(const std::string& text) { title = text == Hero().title ? kDatabaseText : text; }

std::string TLcfgPlayerItem::SpriteName() const { return spriteName.empty() ? Hero().sprite : spriteName; }

int32_t TLcfgPlayerItem::SpriteIndex() const { return spriteName.empty() ? Hero().spriteIndex : spriteIndex; }

int32_t TLcfgPlayerItem::SpriteTransparency() const {
    if (!spriteName.empty()) return spriteTransparency;
    return Hero().transparentSprite ? 3 : 0;
}

void TLcfgPlayerItem::SetSprite(const std::string& sprite, int32_t index, bool transparent) {
    const TLcfPlayerItem& hero = Hero();
    if (sprite == hero.sprite && index == hero.spriteIndex && transparent == (hero.transparentSprite != 0)) {
        spriteName.clear();
        spriteIndex = spriteTransparency = 0;
        return;
    }
    spriteName = sprite;
    spriteIndex = index;
    spriteTransparency = transparent ? 3 : 0;
}

std::string TLcfgPlayerItem::FaceName() const { return faceName.empty() ? Hero().face : faceName; }

int32_t TLcfgPlayerItem::FaceIndex() const { return faceName.empty() ? Hero().faceIndex : faceIndex; }

void TLcfgPlayerItem::SetFace(const std::string& face, int32_t index) {
    const TLcfPlayerItem& hero = Hero();
    if (face == hero.face && index == hero.faceIndex) {
        faceName.clear();
        faceIndex = 0;
        return;
    }
    faceName = face;
    faceIndex = index;
}

int32_t TLcfgPlayerItem::BattlerAnimationId() const {
    return battlerAnimation != 0 ? battlerAnimation : Hero().battlerSet;
}

// --- Level and experience -------------------------------------------------------------------

namespace {

// The experience curve of one growth record: (level - 1) x (base +
// correction) plus the running sum of (e - 1) x increment for e = 2..level,
// and 10000000 once any step of that sum passes 9999999. The steps move one
// way, so the first and the last step are the extremes; worked in closed form
// because any level may be asked for (raising a level by 99 passes 100).
int64_t ExpForLevelOf(const TLcfGrowthItem& g, int32_t lv) {
    if (lv < 2) return 0;
    const double n = double(lv) - 1;
    const double fixed = n * g.expBase + n * g.expCorrection;
    const double first = fixed + g.expIncrement;
    const double last = fixed + double(g.expIncrement) * (n * (n + 1) / 2);
    constexpr int64_t kOver = TLcfgPlayerItem::kMaxExp + 1;
    if (std::max(first, last) > double(TLcfgPlayerItem::kMaxExp)) return kOver;
    // Any requirement below -10000000 acts the same on experience held
    // within 0..9999999; the bound keeps the conversion defined.
    return int64_t(std::trunc(std::max(last, -double(kOver))));
}

}  // namespace

int64_t TLcfgPlayerItem::ExpForLevel(int32_t lv) const { return lv < 2 ? 0 : ExpForLevelOf(Growth(), lv); }

int32_t TLcfgPlayerItem::MaxLevel() const {
    const TLcfGrowthItem& g = Growth();
    for (int32_t lv = Clamp(Hero().finalLevel, 1, 99); lv >= 1; --lv)
        if (ExpForLevelOf(g, lv) <= kMaxExp) return lv;
    return 1;
}

void TLcfgPlayerItem::CapHpSp() {
    hp = std::min(hp, MaxHP());
    sp = std::min(sp, MaxSP());
}

void TLcfgPlayerItem::LearnFromList(int32_t fromLevel, int32_t toLevel, bool level1Of, bool showMessages) {
    const TLcfGrowthItem& g = Growth();
    for (const Learning& l : Learnings(g)) {
        bool take = (l.level > fromLevel && l.level <= toLevel) || (level1Of && l.level == 1);
        if (!take || KnowsSkill(l.skillId)) continue;
        LearnSkill(l.skillId);
        if (showMessages) QueueLine(DbSkill->FindSkill(l.skillId)->name + Term(TLcfVocabulary::kSkillLearned));
    }
}

void TLcfgPlayerItem::GainExp(int32_t n, bool showMessages) {
    int32_t oldLevel = level;
    exp = ClampToInt32(Clamp<int64_t>(int64_t(exp) + n, 0, kMaxExp));
    int32_t top = MaxLevel();
    while (level < top && exp >= ExpForLevel(level + 1)) ++level;
    if (level > oldLevel || classChanging_) {
        if (showMessages) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%d", level);
            QueueLine(GetName() + " " + Term(TLcfVocabulary::kLevel) + " " + buf + "\001" +
                      Term(TLcfVocabulary::kLevelUp));
        }
        LearnFromList(oldLevel, level, classChanging_, showMessages);
        if (showMessages) QueueLine("");
    }
    CapHpSp();
}

void TLcfgPlayerItem::LoseExp(int32_t n) {
    exp = ClampToInt32(Clamp<int64_t>(int64_t(exp) - n, 0, kMaxExp));
    while (level > 1 && exp < ExpForLevel(level)) --level;
    CapHpSp();
}

void TLcfgPlayerItem::RaiseLevel(int32_t n, bool showMessages) {
    GainExp(ClampToInt32(ExpForLevel(ClampToInt32(int64_t(level) + n)) - exp), showMessages);
}

void TLcfgPlayerItem::LowerLevel(int32_t n) {
    LoseExp(ClampToInt32(exp - ExpForLevel(ClampToInt32(int64_t(level) - n))));
}

// --- Parameters -------------------------------------------------------------------------------

int32_t TLcfgPlayerItem::CurveValue(int kind) const { return Growth().GetParameter(kind, level); }

int32_t TLcfgPlayerItem::MaxHP() const {
    if (!HeroExists(Id())) return 1;
    return ClampToInt32(Clamp<int64_t>(int64_t(CurveValue(0)) + paramModifiers[0], 1, 9999));
}

int32_t TLcfgPlayerItem::MaxSP() const {
    if (!HeroExists(Id())) return 0;
    return ClampToInt32(Clamp<int64_t>(int64_t(CurveValue(1)) + paramModifiers[1], 0, 999));
}

const TLcfItemItem* TLcfgPlayerItem::SlotItem(int slot) const { return ItemRecord(Equipment(slot)); }

int32_t TLcfgPlayerItem::BaseParameter(int kind) const {
    if (!HeroExists(Id())) return 1;
    int64_t v = int64_t(CurveValue(kind)) + paramModifiers[size_t(kind)];
    for (int s = 0; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s)) {
            switch (kind) {
            case 2: v += item->attackBonus; break;
            case 3: v += item->defenseBonus; break;
            case 4: v += item->spiritBonus; break;
            default: v += item->agilityBonus; break;
            }
        }
    return ClampToInt32(Clamp<int64_t>(v, 1, 999));
}

void TLcfgPlayerItem::AddParamModifier(int kind, int32_t n) {
    if (kind < 0 || kind > 5) return;
    int32_t limit = kind == 0 ? 9999 : 999;
    int32_t& m = paramModifiers[size_t(kind)];
    m = ClampToInt32(Clamp<int64_t>(int64_t(m) + n, -limit, limit));
    CapHpSp();
}

int32_t TLcfgPlayerItem::ParamModifier(int kind) const {
    return kind >= 0 && kind <= 5 ? paramModifiers[size_t(kind)] : 0;
}

int32_t TLcfgPlayerItem::ParameterTotal() const {
    return ClampToInt32(int64_t(EffectiveAttack()) + EffectiveDefense() + EffectiveSpirit() + EffectiveAgility());
}

int TLcfgPlayerItem::AttributeRank(int32_t id) const {
    int rank = Growth().GetAttribRank(id);
    for (int s = 0; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (!item->IsWeapon() && item->HasAttribute(id)) {
                ++rank;
                break;
            }
    return Clamp(rank, 0, 4);
}

int TLcfgPlayerItem::ConditionRank(int32_t id) const {
    const TLcfGrowthItem& g = Growth();
    return g.StoresStatusRank(id) ? g.GetStatusRank(id) : 2;
}

// --- Skills ---------------------------------------------------------------------------------------

bool TLcfgPlayerItem::KnowsSkill(int32_t id) const { return std::binary_search(skills.begin(), skills.end(), id); }

void TLcfgPlayerItem::LearnSkill(int32_t id) {
    if (id <= 0) return;
    auto it = std::lower_bound(skills.begin(), skills.end(), id);
    if (it == skills.end() || *it != id) skills.insert(it, id);
}

void TLcfgPlayerItem::ForgetSkill(int32_t id) {
    auto it = std::lower_bound(skills.begin(), skills.end(), id);
    if (it != skills.end() && *it == id) skills.erase(it);
}

// --- Equipment --------------------------------------------------------------------------------------

bool TLcfgPlayerItem::IsEquipped(int32_t id) const {
    return std::find(equipment.begin(), equipment.end(), id) != equipment.end();
}

bool TLcfgPlayerItem::ItemAllowed(const TLcfItemItem& item) const {
    // The database's setting picks the item's class flags or its hero flags.
    if (DbSystem && DbSystem->equipByClass) return item.GetJobFlag(ClassId()) != 0;
    return item.GetHeroFlag(Id()) != 0;
}

bool TLcfgPlayerItem::CanEquip(int slot, int32_t itemId) const {
    if (itemId == 0) return true;
    if (slot < 0 || slot >= kSlots) return false;
    const TLcfItemItem* item = ItemRecord(itemId);
    if (!item || !ItemAllowed(*item)) return false;
    if (slot == 1) return item->kind == (twoWeapons ? TLcfItemItem::kWeapon : TLcfItemItem::kShield);
    return item->kind == kKindForSlot[slot];
}

void TLcfgPlayerItem::SetEquipment(int slot, int32_t item) {
    if (slot < 0 || slot >= kSlots) return;
    equipment[size_t(slot)] = item;
    if (slot > 1) return;
    const TLcfItemItem* a = SlotItem(0);
    const TLcfItemItem* b = SlotItem(1);
    if (equipment[0] && equipment[1] && ((a && a->IsTwoHandedWeapon()) || (b && b->IsTwoHandedWeapon())))
        equipment[size_t(1 - slot)] = 0;
}

void TLcfgPlayerItem::InflictArmorConditions(const TLcfItemItem& item, bool everyCondition) {
    int n = DbStatus ? DbStatus->Count() : 0;
    for (int32_t c = 1; c <= n; ++c) {
        // A game file may leave ids out: a missing condition is none.
        const TLcfStatusItem* condition = DbStatus->Find(c);
        if (condition && item.HasCondition(c) && (everyCondition || condition->persistence == 1)) InflictCondition(c);
    }
}

void TLcfgPlayerItem::Equip(int slot, int32_t itemId) {
    if (slot < 0 || slot >= kSlots || !CanEquip(slot, itemId) || equipment[size_t(slot)] == itemId) return;
    if (slot <= 1) {
        const TLcfItemItem* other = SlotItem(1 - slot);
        if (other && other->IsTwoHandedWeapon() && other->holdsBothHands) return;
    }
    int32_t old = equipment[size_t(slot)];
    if (GamePartyInfo) {
        if (old) GamePartyInfo->GainItem(old, 1);
        if (itemId) GamePartyInfo->LoseItem(itemId, 1);
    }
    // The new item is in place before the old armour's conditions are cured,
    // so the cure sees what is worn now.
    equipment[size_t(slot)] = itemId;
    if (const TLcfItemItem* removed = ItemRecord(old))
        if (removed->GrantsConditions()) {
            int n = DbStatus ? DbStatus->Count() : 0;
            for (int32_t c = 1; c <= n; ++c)
                if (removed->HasCondition(c)) CureCondition(c);
        }
    if (const TLcfItemItem* added = ItemRecord(itemId))
        if (added->GrantsConditions()) InflictArmorConditions(*added, InBattle());
    if (slot <= 1 && equipment[0] && equipment[1]) {
        const TLcfItemItem* a = SlotItem(0);
        const TLcfItemItem* b = SlotItem(1);
        if ((a && a->IsTwoHandedWeapon()) || (b && b->IsTwoHandedWeapon())) {
            int other = 1 - slot;
            int32_t back = equipment[size_t(other)];
            equipment[size_t(other)] = 0;
            if (GamePartyInfo) GamePartyInfo->GainItem(back, 1);
        }
    }
}

bool TLcfgPlayerItem::EquipmentHoldsCondition(int32_t id) const {
    bool persistent = DbStatus && DbStatus->Find(id) && DbStatus->Find(id)->persistence == 1;
    if (!persistent && !InBattle()) return false;
    for (int s = 1; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (item->GrantsConditions() && item->HasCondition(id)) return true;
    return false;
}

void TLcfgPlayerItem::ApplyEquipmentConditions() {
    for (int s = 1; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (item->GrantsConditions()) InflictArmorConditions(*item, true);
    OnIdlePose();
}

void TLcfgPlayerItem::FullRecover() {
    TLcfgUnitItem::FullRecover();
    ApplyEquipmentConditions();
}

int TLcfgPlayerItem::EquippableCount(int slot) const {
    int n = 1;
    while (EquippableAt(slot, n - 1) != 0) ++n;
    return n;
}

int32_t TLcfgPlayerItem::EquippableAt(int slot, int n) const {
    if (!GamePartyInfo || slot < 0 || slot >= kSlots || n < 0) return 0;
    int wanted = slot == 1 ? (twoWeapons ? TLcfItemItem::kWeapon : TLcfItemItem::kShield) : kKindForSlot[slot];
    for (int i = 0; i < GamePartyInfo->ItemEntryCount(); ++i) {
        const TLcfItemItem* item = ItemRecord(GamePartyInfo->ItemIdAt(i));
        if (!item || item->kind != wanted || !ItemAllowed(*item)) continue;
        if (n-- == 0) return GamePartyInfo->ItemIdAt(i);
    }
    return 0;
}

// --- Battle commands ------------------------------------------------------------------------------------

int32_t TLcfgPlayerItem::BattleCommand(int i) const {
    if (i < 0 || i > 5) return -1;
    return commandsChanged ? commands[size_t(i)] : Hero().GetBattleCommand(i);
}

void TLcfgPlayerItem::CopyCommandsFrom(const TLcfGrowthItem& g) {
    for (int c = 0; c < kCommands; ++c) commands[size_t(c)] = g.GetStoredBattleCommand(c);
    commandsChanged = 1;
}

void TLcfgPlayerItem::ChangeBattleCommand(int32_t id, bool add) {
    int limit = DbBattle ? DbBattle->commands.Count() : 0;
    if (id < 0 || id > limit) return;
    if (!commandsChanged) CopyCommandsFrom(Hero());
    if (add) {
        for (int i = 0; i < 6; ++i)
            if (commands[size_t(i)] == id) return;
        for (int i = 0; i < 6; ++i)
            if (commands[size_t(i)] < 1) {
                commands[size_t(i)] = id;
                if (i + 1 < 6) commands[size_t(i) + 1] = 0;
                return;
            }
        return;
    }
    if (id == 0) {
        commands.fill(-1);
        commands[0] = 0;
        return;
    }
    for (int i = 0; i < kCommands; ++i)
        if (commands[size_t(i)] == id) {
            // The last entry keeps its value.
            for (int j = i; j + 1 < kCommands; ++j) commands[size_t(j)] = commands[size_t(j) + 1];
            return;
        }
}

// --- Battle item list ------------------------------------------------------------------------------------

void TLcfgPlayerItem::BuildBattleItemList() {
    battleItems_.clear();
    if (GamePartyInfo)
        for (int i = 0; i < GamePartyInfo->ItemEntryCount(); ++i)
            AddBattleItem(GamePartyInfo->ItemIdAt(i), GamePartyInfo->ItemCountAt(i));
    for (int s = 0; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (item->performsSkill) AddBattleItem(equipment[size_t(s)], 1);
}

void TLcfgPlayerItem::AddBattleItem(int32_t id, int32_t n) {
    if (id == 0 || n <= 0) return;
    auto it = std::lower_bound(battleItems_.begin(), battleItems_.end(), std::make_pair(id, INT32_MIN));
    if (it != battleItems_.end() && it->first == id) it->second = int32_t(std::min<int64_t>(99, int64_t(it->second) + n));
    else battleItems_.insert(it, {id, std::min(99, n)});
}

int32_t TLcfgPlayerItem::BattleItemId(int i) const {
    return i >= 0 && i < BattleItemCount() ? battleItems_[size_t(i)].first : 0;
}

int32_t TLcfgPlayerItem::BattleItemCountAt(int i) const {
    return i >= 0 && i < BattleItemCount() ? battleItems_[size_t(i)].second : 0;
}

bool TLcfgPlayerItem::CanUseItem(int32_t itemId) const {
    if (itemId == 0) return false;
    const TLcfItemItem& item = *DbItem->FindItem(itemId);
    if (item.kind != TLcfItemItem::kMedicine && !ItemAllowed(item)) return false;
    return GamePartyInfo && GamePartyInfo->ItemUsable(itemId);
}

// --- Walking conditions -------------------------------------------------------------------------------------

void TLcfgPlayerItem::ApplyWalkingConditions() {
    int64_t steps = GamePartyInfo ? GamePartyInfo->steps : 0;
    bool flash = false;
    for (const TLcfStatusItem* s : AfflictedConditions()) {
        // Chunks 63 and 67 act as step periods.
        if (s->mapHpPercent > 0 && steps % s->mapHpPercent == 0) {
            if (s->hpDirection == 0) {
                DamageHp(s->mapHpPoints, false);
                flash = true;
            } else if (s->hpDirection == 1) {
                RecoverHp(s->mapHpPoints);
            }
        }
        if (s->mapSpPercent > 0 && steps % s->mapSpPercent == 0) {
            if (s->spDirection == 0) {
                LoseSp(s->mapSpPoints);
                flash = true;
            } else if (s->spDirection == 1) {
                GainSp(s->mapSpPoints);
            }
        }
    }
    if (flash) UnitWorld().FlashScreen(31, 10, 10, 20, 6);
}

// --- Actions -------------------------------------------------------------------------------------------------

void TLcfgPlayerItem::DecideAction() {
    action.Reset();
    if (!CanAct()) {
        action.kind = TLcfgUnitActItem::kNone;
        return;
    }
    if (IsBerserk()) {
        action.kind = TLcfgUnitActItem::kBasic;
        action.basic = TLcfgUnitActItem::kAttack;
        action.targetKind = TLcfgUnitActItem::kOneEnemy;
        action.targetIndex = Random(GameMonsters ? GameMonsters->Count() : 0);
        return;
    }
    if (IsConfused()) {
        action.kind = TLcfgUnitActItem::kBasic;
        action.basic = TLcfgUnitActItem::kAttack;
        action.targetKind = TLcfgUnitActItem::kOneMember;
        action.targetIndex = Random(GamePartyInfo ? GamePartyInfo->MemberCount() : 0);
        return;
    }
    DecideAutoAction();
}

// --- Class change -----------------------------------------------------------------------------------------------

void TLcfgPlayerItem::ChangeClass(int32_t classId, bool toLevel1, int skillMode, int paramMode, bool showMessages) {
    int32_t oldLevel = level;
    std::vector<int32_t> oldSkills = skills;
    bool real = classId != classField;
    if (real) {
        for (int s = 0; s < kSlots; ++s) Unequip(s);
        skills.clear();
    }
    int32_t oldHp = hp, oldSp = sp;
    std::array<int64_t, 6> remembered = {MaxHP(), MaxSP(), EffectiveAttack(), EffectiveDefense(), EffectiveSpirit(),
                                         EffectiveAgility()};
    // A class id of 0 (or below) means the hero's own data.
    const TLcfGrowthItem& source = classId > 0 ? ClassRecord(classId) : Hero();
    classField = classId;
    twoWeapons = source.twoWeapons;
    lockEquipment = source.fixedEquipment;
    autoBattle = source.autoBattle;
    strongDefense = source.strongDefense;
    battlerAnimation = source.battlerSet;
    CopyCommandsFrom(source);
    classChanging_ = true;
    LowerLevel(98);
    if (!toLevel1) {
        RaiseLevel(oldLevel - 1, showMessages && skillMode > 0 && real);
    } else if (skillMode > 0 && real) {
        for (const Learning& l : Learnings(Growth()))
            if (l.level == 1 && !KnowsSkill(l.skillId)) {
                LearnSkill(l.skillId);
                if (showMessages) QueueLine(DbSkill->FindSkill(l.skillId)->name + Term(TLcfVocabulary::kSkillLearned));
            }
    }
    if (skillMode == 0) {
        skills = oldSkills;
    } else if (skillMode == 2) {
        for (int32_t id : oldSkills) LearnSkill(id);
    }
    paramModifiers.fill(0);
    std::array<int64_t, 6> now = {MaxHP(), MaxSP(), EffectiveAttack(), EffectiveDefense(), EffectiveSpirit(),
                                  EffectiveAgility()};
    for (size_t k = 0; k < 6; ++k) {
        switch (paramMode) {
        case 0: paramModifiers[k] = ClampToInt32(remembered[k] - now[k]); break;
        case 1: paramModifiers[k] = ClampToInt32(remembered[k] / 2 - now[k]); break;
        case 2: {
            const TLcfGrowthItem& g = Growth();
            paramModifiers[k] = ClampToInt32(int64_t(g.GetParameter(int(k), 1)) - g.GetParameter(int(k), level));
            break;
        }
        default: break;
        }
    }
    hp = Clamp(oldHp, 1, std::max(1, MaxHP()));
    sp = Clamp(oldSp, 0, MaxSP());
    classChanging_ = false;
}

// --- Battle properties ------------------------------------------------------------------------------------------

const TLcfItemItem* TLcfgPlayerItem::HandWeapon() const {
    const TLcfItemItem* item = SlotItem(swingingHand == 1 ? 1 : 0);
    return item && item->IsWeapon() ? item : nullptr;
}

int32_t TLcfgPlayerItem::BattleAgility() const {
    int64_t v = int64_t(CurveValue(5)) + agilityModifier + paramModifiers[5];
    for (int s = 0; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (s >= 2 || item->IsArmor()) v += item->agilityBonus;
    if (const TLcfItemItem* w = HandWeapon()) v += w->agilityBonus;
    return ClampToInt32(Clamp<int64_t>(v, 1, 999));
}

bool TLcfgPlayerItem::WeaponHasAttribute(int32_t id) const {
    for (int s = 0; s < 2; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (item->IsWeapon() && item->HasAttribute(id)) return true;
    return false;
}

int32_t TLcfgPlayerItem::WeaponConditionRate(int32_t id) const {
    int32_t best = 0;
    for (int s = 0; s < 2; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (item->IsWeapon() && item->HasCondition(id)) best = std::max(best, item->conditionRate);
    return best;
}

int32_t TLcfgPlayerItem::ArmorConditionResist(int32_t id) const {
    int32_t best = 0;
    for (int s = 0; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (item->IsArmor() && item->conditionMode == 0 && item->HasCondition(id))
                best = std::max(best, item->conditionRate);
    return best;
}

double TLcfgPlayerItem::CriticalRate() const {
    const TLcfPlayerItem& hero = Hero();
    // A rate of 0 or below would divide by zero: no critical hits from it.
    double rate = hero.criticalHits && hero.criticalRate > 0 ? 100.0 / hero.criticalRate : 0.0;
    if (const TLcfItemItem* w = HandWeapon()) rate += w->criticalBonus;
    return rate;
}

int32_t TLcfgPlayerItem::HitRate() const {
    const TLcfItemItem* w = HandWeapon();
    return !w || w->hitRate == -1 ? 90 : w->hitRate;
}

namespace {
template <class Pred>
bool AnySlot(const TLcfgPlayerItem& a, Pred pred) {
    for (int s = 0; s < TLcfgPlayerItem::kSlots; ++s)
        if (const TLcfItemItem* item = ItemRecord(a.Equipment(s)))
            if (pred(*item)) return true;
    return false;
}
}  // namespace

bool TLcfgPlayerItem::FirstStrike() const {
    return AnySlot(*this, [](const TLcfItemItem& i) { return i.IsWeapon() && i.firstStrike; });
}
bool TLcfgPlayerItem::AttackAll() const {
    return AnySlot(*this, [](const TLcfItemItem& i) { return i.IsWeapon() && i.attackAll; });
}
bool TLcfgPlayerItem::AttackTwice() const {
    const TLcfItemItem* w = HandWeapon();
    return w && w->attackTwice;
}
bool TLcfgPlayerItem::IgnoreEvasion() const {
    const TLcfItemItem* w = HandWeapon();
    return w && w->ignoreEvasion;
}
bool TLcfgPlayerItem::PreventCritical() const {
    return AnySlot(*this, [](const TLcfItemItem& i) { return i.IsArmor() && i.preventCritical; });
}
bool TLcfgPlayerItem::RaiseEvasion() const {
    return AnySlot(*this, [](const TLcfItemItem& i) { return i.IsArmor() && i.raiseEvasion; });
}
bool TLcfgPlayerItem::HalfSpCost() const {
    return AnySlot(*this, [](const TLcfItemItem& i) { return i.IsArmor() && i.halfSpCost; });
}
bool TLcfgPlayerItem::NoTerrainDamage() const {
    return AnySlot(*this, [](const TLcfItemItem& i) { return i.IsArmor() && i.noTerrainDamage; });
}
int32_t TLcfgPlayerItem::WeaponSpCost() const {
    const TLcfItemItem* w = HandWeapon();
    return w ? w->weaponSpCost : 0;
}

int32_t TLcfgPlayerItem::HandAttack() const {
    int64_t v = int64_t(CurveValue(2)) + attackModifier + paramModifiers[2];
    for (int s = 0; s < kSlots; ++s)
        if (const TLcfItemItem* item = SlotItem(s))
            if (s >= 2 || item->IsArmor()) v += item->attackBonus;
    if (const TLcfItemItem* w = HandWeapon()) v += w->attackBonus;
    switch (AllConditionsEffect(true)) {
    case 1: v /= 2; break;
    case 2: v *= 2; break;
    default: break;
    }
    return ClampToInt32(Clamp<int64_t>(v, 1, 9999));
}

bool TLcfgPlayerItem::HandHasAttribute(int32_t id) const {
    const TLcfItemItem* w = HandWeapon();
    return w && w->HasAttribute(id);
}

int32_t TLcfgPlayerItem::HandConditionRate(int32_t id) const {
    const TLcfItemItem* w = HandWeapon();
    return w && w->HasCondition(id) ? std::max(0, w->conditionRate) : 0;
}

int32_t TLcfgPlayerItem::WeaponAttackDamage(const TLcfgUnitItem& target) const {
    return AttackDamageWith(HandAttack(), [this](int32_t a) { return HandHasAttribute(a); }, target);
}

int32_t TLcfgPlayerItem::AttackAnimationId() const {
    if (const TLcfItemItem* w = SlotItem(0)) return w->battleAnimation;
    if (twoWeapons)
        if (const TLcfItemItem* w = SlotItem(1)) return w->battleAnimation;
    return Hero().unarmedAnimation;
}

int32_t TLcfgPlayerItem::SecondAttackAnimationId() const {
    if (twoWeapons && equipment[0] && equipment[1])
        if (const TLcfItemItem* w = SlotItem(1)) return w->battleAnimation;
    return 0;
}
