#include "game/battler/unit_item.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/clamp.h"
#include "data/database/database.h"
#include "data/random.h"
#include "game/battler/unit_world.h"
#include "graphics/system_graphic.h"
#include "media/board/angle_tables.h"
#include "media/board/board.h"
#include "media/sheet/sheet.h"

namespace {

int StatusCount() { return DbStatus ? DbStatus->Count() : 0; }
int AttribCount() { return DbAttrib ? DbAttrib->Count() : 0; }

}  // namespace

TLcfgUnitItem::TLcfgUnitItem(int32_t id) : TCatalogItem(id), popupSheet_(std::make_unique<TSorvoSheet>()) {
    popupSheet_->SetSize(64, 16);
    Clear();
}

TLcfgUnitItem::~TLcfgUnitItem() = default;

void TLcfgUnitItem::Clear() {
    TCatalogItem::Clear();
    present = 1;
    action.Reset();
    hp = sp = 0;
    attackModifier = defenseModifier = spiritModifier = agilityModifier = 0;
    shifts_.clear();
    conditions_.Resize(0);
    charged = 0;
    row = 0;
    popupTimer = 0;
    gauge = 0;
    actionMarker = 0;
    castingMarker = itemSkill = 0;
    classField = -1;
}

void TLcfgUnitItem::EndBattle() {
    action.Reset();
    attackModifier = defenseModifier = spiritModifier = agilityModifier = 0;
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->persistence == 0 || s->recoveryChance > 0) CureCondition(s->Id());
    shifts_.clear();
    charged = 0;
    actionMarker = 0;
}

// --- HP and SP ---------------------------------------------------------------

int32_t TLcfgUnitItem::RecoverHp(int32_t n) {
    if (hp <= 0) return 0;
    int32_t old = hp;
    hp = ClampToInt32(Clamp<int64_t>(int64_t(hp) + n, 1, std::max(1, MaxHP())));
    popupTimer = 131;
    ShowPopupNumber(n, 9);
    return hp - old;
}

int32_t TLcfgUnitItem::DamageHp(int32_t n, bool lethal) {
    if (hp <= 0) return 0;
    int32_t old = hp;
    hp = ClampToInt32(Clamp<int64_t>(int64_t(hp) - n, 0, MaxHP()));
    if (hp > 0) {
        popupTimer = 131;
    } else {
        if (lethal) InflictCondition(1);
        else hp = 1;
        popupTimer = 127;
    }
    ShowPopupNumber(n, 0);
    return old - hp;
}

void TLcfgUnitItem::LoseHp(int32_t n, bool lethal) {
    if (hp <= 0) return;
    int32_t old = hp;
    hp = ClampToInt32(Clamp<int64_t>(int64_t(hp) - n, 0, MaxHP()));
    if (hp <= 0) {
        if (lethal) InflictCondition(1);
        else hp = 1;
    }
    if (hp < old) {
        popupTimer = 127;
        ShowPopupNumber(lethal ? n : old - hp, 0);
    }
}

int32_t TLcfgUnitItem::DamageHpNonLethal(int32_t n) {
    if (hp <= 0) return 0;
    int32_t old = hp;
    hp = std::max<int32_t>(1, ClampToInt32(Clamp<int64_t>(int64_t(hp) - n, 0, MaxHP())));
    if (hp < old) {
        popupTimer = 127;
        ShowPopupNumber(old - hp, 0);
    }
    return old - hp;
}

int32_t TLcfgUnitItem::GainSp(int32_t n) {
    int32_t old = sp;
    sp = ClampToInt32(Clamp<int64_t>(int64_t(sp) + n, 0, MaxSP()));
    return sp - old;
}

int32_t TLcfgUnitItem::LoseSp(int32_t n) {
    int32_t old = sp;
    sp = ClampToInt32(Clamp<int64_t>(int64_t(sp) - n, 0, MaxSP()));
    return old - sp;
}

int TLcfgUnitItem::HpColor() const {
    if (hp <= 0) return 5;
    return hp > MaxHP() / 4 ? 0 : 4;
}

int TLcfgUnitItem::SpColor() const {
    int32_t m = MaxSP();
    return m > 0 && sp <= m / 4 ? 4 : 0;
}

// --- Battle modifiers ------------------------------------------------------------

int32_t TLcfgUnitItem::Modifier(int kind) const {
    switch (kind) {
    case kModAttack: return attackModifier;
    case kModDefense: return defenseModifier;
    case kModSpirit: return spiritModifier;
    case kModAgility: return agilityModifier;
    default: return 0;
    }
}

int32_t TLcfgUnitItem::ChangeModifier(int kind, int32_t n) {
    int32_t* m = nullptr;
    int32_t base = 0;
    switch (kind) {
    case kModAttack: m = &attackModifier; base = BaseAttack(); break;
    case kModDefense: m = &defenseModifier; base = BaseDefense(); break;
    case kModSpirit: m = &spiritModifier; base = BaseSpirit(); break;
    case kModAgility: m = &agilityModifier; base = BaseAgility(); break;
    default: return 0;
    }
    int32_t old = *m;
    // The floor -(base div 2): an odd base keeps the lowest value rounded up.
    *m = ClampToInt32(Clamp<int64_t>(int64_t(*m) + n, -(base / 2), base));
    return *m - old;
}

// --- Effective parameters -------------------------------------------------------

int TLcfgUnitItem::AllConditionsEffect(bool attack) const {
    bool halve = false, twice = false;
    for (const TLcfStatusItem* s : AfflictedConditions()) {
        if (!(attack ? s->affectsAttack : s->affectsDefense)) continue;
        if (s->parameterEffect == 0) halve = true;
        else if (s->parameterEffect == 1) twice = true;
    }
    if (halve == twice) return 0;
    return halve ? 1 : 2;
}

int32_t TLcfgUnitItem::EffectiveAttack() const {
    int32_t v = ClampToInt32(Clamp<int64_t>(int64_t(BaseAttack()) + attackModifier, 1, 9999));
    switch (AllConditionsEffect(true)) {
    case 1: return std::max(1, v / 2);
    case 2: return v * 2;
    default: return v;
    }
}

int32_t TLcfgUnitItem::EffectiveDefense() const {
    int32_t v = ClampToInt32(Clamp<int64_t>(int64_t(BaseDefense()) + defenseModifier, 1, 9999));
    switch (AllConditionsEffect(false)) {
    case 1: return std::max(1, v / 2);
    case 2: return v * 2;
    default: return v;
    }
}

int32_t TLcfgUnitItem::ApplySingleConditionEffect(int32_t v, bool spirit) const {
    for (const TLcfStatusItem* s : AfflictedConditions()) {
        if (!(spirit ? s->affectsSpirit : s->affectsAgility)) continue;
        if (s->parameterEffect == 0) return std::max(1, v / 2);
        if (s->parameterEffect == 1) return v * 2;
        return v;
    }
    return v;
}

int32_t TLcfgUnitItem::EffectiveSpirit() const {
    int32_t v = ClampToInt32(Clamp<int64_t>(int64_t(BaseSpirit()) + spiritModifier, 1, 9999));
    return ApplySingleConditionEffect(v, true);
}

int32_t TLcfgUnitItem::EffectiveAgility() const {
    int32_t v = ClampToInt32(Clamp<int64_t>(int64_t(BaseAgility()) + agilityModifier, 1, 9999));
    return ApplySingleConditionEffect(v, false);
}

// --- Attributes -------------------------------------------------------------------

void TLcfgUnitItem::GrowShifts() const {
    size_t n = size_t(AttribCount());
    if (shifts_.size() < n) shifts_.resize(n, 1);
}

int TLcfgUnitItem::AttributeShift(int32_t id) const {
    GrowShifts();
    if (id < 1 || size_t(id) > shifts_.size()) return 0;
    return int(shifts_[size_t(id) - 1]) - 1;
}

bool TLcfgUnitItem::ShiftAttributeDown(int32_t id) {
    GrowShifts();
    if (id < 1 || size_t(id) > shifts_.size()) return false;
    if (AttributeRank(id) < 1 || AttributeShift(id) == -1) return false;
    --shifts_[size_t(id) - 1];
    return true;
}

bool TLcfgUnitItem::ShiftAttributeUp(int32_t id) {
    GrowShifts();
    if (id < 1 || size_t(id) > shifts_.size()) return false;
    if (AttributeRank(id) > 3 || AttributeShift(id) == 1) return false;
    ++shifts_[size_t(id) - 1];
    return true;
}

int32_t TLcfgUnitItem::AttributeRate(int32_t id) const {
    const TLcfAttribItem* a = DbAttrib ? DbAttrib->FindAttrib(id) : nullptr;
    return a ? a->GetRate(AttributeRankNow(id)) : 0;
}

// --- Conditions --------------------------------------------------------------------

TCountedArray<uint16_t>& TLcfgUnitItem::ConditionArray() {
    int n = StatusCount();
    if (conditions_.Length() < n) conditions_.Resize(n, 0);
    return conditions_;
}

const TCountedArray<uint16_t>& TLcfgUnitItem::ConditionArray() const {
    int n = StatusCount();
    if (conditions_.Length() < n) conditions_.Resize(n, 0);
    return conditions_;
}

int TLcfgUnitItem::Condition(int32_t id) const { return ConditionArray().Get(id - 1, 0); }

void TLcfgUnitItem::SetCondition(int32_t id, int value) { ConditionArray().Set(id - 1, uint16_t(value)); }

std::vector<const TLcfStatusItem*> TLcfgUnitItem::AfflictedConditions() const {
    std::vector<const TLcfStatusItem*> out;
    const auto& c = ConditionArray();
    int n = std::min(c.Length(), StatusCount());
    for (int i = 0; i < n; ++i)
        if (c.Get(i) != 0)
            if (const TLcfStatusItem* s = DbStatus->Find(i + 1)) out.push_back(s);
    return out;
}

void TLcfgUnitItem::InflictCondition(int32_t id) {
    if (id < 1 || id > ConditionArray().Length()) return;
    SetCondition(id, 1);
    if (id == 1) hp = 0;
    // Conditions ten or more below the strongest give way; this can remove
    // the one just inflicted, and can cure death (HP 1).
    int32_t p = INT32_MIN;
    auto afflicted = AfflictedConditions();
    for (const TLcfStatusItem* s : afflicted) p = std::max(p, s->priority);
    for (const TLcfStatusItem* s : afflicted)
        if (int64_t(s->priority) <= int64_t(p) - 10) CureCondition(s->Id());
    if (!InBattle()) return;
    pose = kConditionPose;
    if ((IsBerserk() || IsConfused()) && action.kind != TLcfgUnitActItem::kChooseAtTurn) {
        charged = 0;
        if (IsEnemy()) DecideAction();
    }
    if (!CanAct()) {
        charged = 0;
        action.kind = TLcfgUnitActItem::kNone;
    }
    if (action.kind == TLcfgUnitActItem::kSkill && !CanUseSkill(action.skillId)) {
        charged = 0;
        action.kind = TLcfgUnitActItem::kNone;
    }
    if (hp == 0) {
        pose = kDeadPose;
        attackModifier = defenseModifier = spiritModifier = agilityModifier = 0;
        shifts_.clear();
    }
}

void TLcfgUnitItem::CureCondition(int32_t id) {
    if (id < 1 || id > ConditionArray().Length()) return;
    if (EquipmentHoldsCondition(id)) return;
    bool berserk = IsBerserk(), confused = IsConfused();
    SetCondition(id, 0);
    if (id == 1) hp = std::max(hp, 1);
    if (InBattle() && ((berserk && !IsBerserk()) || (confused && !IsConfused()))) {
        action.kind = TLcfgUnitActItem::kNone;
        OnIdlePose();
    }
}

int32_t TLcfgUnitItem::StrongestCondition() const {
    int32_t best = 0, bestPriority = INT32_MIN;
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->priority >= bestPriority) {
            best = s->Id();
            bestPriority = s->priority;
        }
    return best;
}

std::string TLcfgUnitItem::ConditionName() const {
    int32_t id = StrongestCondition();
    if (id) return DbStatus->Find(id)->name;
    return DbVocabulary ? DbVocabulary->Get(TLcfVocabulary::kNormal) : std::string();
}

int TLcfgUnitItem::ConditionColor() const {
    int32_t id = StrongestCondition();
    return id ? DbStatus->Find(id)->Colour() : 0;
}

void TLcfgUnitItem::SortConditions() {
    auto left = AfflictedConditions();
    for (int slot = 0; slot < kDisplayConditions; ++slot) {
        if (left.empty()) {
            displayConditions[size_t(slot)] = 0;
            continue;
        }
        size_t best = 0;
        for (size_t i = 1; i < left.size(); ++i)
            if (left[i]->priority >= left[best]->priority) best = i;
        displayConditions[size_t(slot)] = left[best]->Id();
        left.erase(left.begin() + long(best));
    }
}

int32_t TLcfgUnitItem::DisplayCondition(int slot) const {
    return slot >= 0 && slot < kDisplayConditions ? displayConditions[size_t(slot)] : 0;
}

int32_t TLcfgUnitItem::ConditionHitRate() const {
    int32_t rate = 100;
    for (const TLcfStatusItem* s : AfflictedConditions()) rate = std::min(rate, s->hitRate);
    return rate;
}

bool TLcfgUnitItem::ConditionFlagA() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->flagA) return true;
    return false;
}

bool TLcfgUnitItem::ConditionFlagB() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->flagB) return true;
    return false;
}

bool TLcfgUnitItem::ConditionFlagC() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->flagC) return true;
    return false;
}

bool TLcfgUnitItem::CanAct() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->restriction == TLcfStatusItem::kCannotAct) return false;
    return true;
}

bool TLcfgUnitItem::IsBerserk() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->restriction == TLcfStatusItem::kAttacksEnemies) return true;
    return false;
}

bool TLcfgUnitItem::IsConfused() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->restriction == TLcfStatusItem::kAttacksAllies) return true;
    return false;
}

bool TLcfgUnitItem::IsIncapacitated() const {
    for (const TLcfStatusItem* s : AfflictedConditions())
        if (s->restriction == TLcfStatusItem::kCannotAct && s->recoveryChance == 0) return true;
    return false;
}

void TLcfgUnitItem::FullRecover() {
    auto& c = ConditionArray();
    for (int i = 0; i < c.Length(); ++i) c.Set(i, 0);
    hp = MaxHP();
    sp = MaxSP();
}

// --- Skills -------------------------------------------------------------------------

bool TLcfgUnitItem::CanUseSkill(int32_t skillId) const {
    if (skillId == 0) return false;
    const TLcfSkillItem& skill = *DbSkill->FindSkill(skillId);
    if (sp < skill.Cost(MaxSP(), HalfSpCost())) return false;
    int32_t s = 11, m = 11;
    for (const TLcfStatusItem* c : AfflictedConditions()) {
        if (c->blockPhysical) s = std::min(s, c->physicalLimit);
        if (c->blockMagical) m = std::min(m, c->magicalLimit);
    }
    if (skill.attackInfluence >= s || skill.spiritInfluence >= m) return false;
    if (IsActor() && !skill.attributeDefenseShift) {
        int n = AttribCount();
        for (int32_t a = 1; a <= n; ++a) {
            // A game file may leave ids out: a missing attribute is none.
            const TLcfAttribItem* attribute = DbAttrib->Find(a);
            if (attribute && skill.HasAttribute(a) && attribute->kind == TLcfAttribItem::kPhysical &&
                !WeaponHasAttribute(a))
                return false;
        }
    }
    IUnitWorld& world = UnitWorld();
    int scene = world.Scene();
    if (scene == 1) {
        switch (skill.kind) {
        case TLcfSkillItem::kTeleport:
            return world.TeleportAllowed() && world.TeleportTargetCount() > 1 && !world.PartyInVehicle();
        case TLcfSkillItem::kEscape:
            return world.EscapeAllowed() && world.EscapeMapId() > 0 && !world.PartyInVehicle();
        case TLcfSkillItem::kSwitch:
            return skill.usableOnField != 0;
        default: {
            if (skill.scope < TLcfSkillItem::kSelf) return false;
            if (skill.affectsHp || skill.affectsSp) return true;
            int n = StatusCount();
            for (int32_t c = 1; c <= n; ++c) {
                const TLcfStatusItem* condition = DbStatus->Find(c);
                if (condition && skill.HasCondition(c) && condition->persistence == 1) return true;
            }
            return false;
        }
        }
    }
    if (scene == 2) {
        if (skill.IsNormalKind()) return true;
        return skill.kind == TLcfSkillItem::kSwitch && skill.usableInBattle != 0;
    }
    return false;
}

bool TLcfgUnitItem::SkillAffects(int32_t skillId) const {
    const TLcfSkillItem& skill = *DbSkill->FindSkill(skillId);
    if (skill.kind == TLcfSkillItem::kSwitch) return true;
    if (skill.kind == TLcfSkillItem::kTeleport || skill.kind == TLcfSkillItem::kEscape) return false;
    if (skill.AimsAtEnemies()) return IsAlive();
    if (!IsAlive()) return skill.HasCondition(1);
    if (skill.affectsHp || skill.affectsSp || skill.affectsAttack || skill.affectsDefense || skill.affectsSpirit ||
        skill.affectsAgility)
        return true;
    int n = ConditionArray().Length();
    for (int32_t c = 1; c <= n; ++c)
        if (skill.HasCondition(c) && HasCondition(c)) return true;
    if (skill.attributeDefenseShift) {
        int a = AttribCount();
        for (int32_t i = 1; i <= a; ++i)
            if (skill.HasAttribute(i)) return true;
    }
    return false;
}

// --- Damage ----------------------------------------------------------------------------

int64_t ApplyAttributeFactor(int64_t d, const std::function<bool(int32_t)>& has, const TLcfgUnitItem& target) {
    int64_t p = -9999, m = -9999;
    bool anyP = false, anyM = false;
    int n = AttribCount();
    for (int32_t a = 1; a <= n; ++a) {
        const TLcfAttribItem* attr = DbAttrib->Find(a);
        if (!attr || !has(a)) continue;
        int64_t rate = attr->GetRate(target.AttributeRankNow(a));
        if (attr->kind == TLcfAttribItem::kPhysical) {
            anyP = true;
            p = std::max(p, rate);
        } else if (attr->kind == TLcfAttribItem::kMagical) {
            anyM = true;
            m = std::max(m, rate);
        }
    }
    if (anyP && anyM) {
        if (p >= 0 && m >= 0) return (d * p / 100) * m / 100;
        return d * std::min(p, m) / 100;
    }
    if (anyP) return d * p / 100;
    if (anyM) return d * m / 100;
    return d;
}

int32_t TLcfgUnitItem::AttackDamageWith(int32_t attack, const std::function<bool(int32_t)>& weaponHas,
                                        const TLcfgUnitItem& target) const {
    int64_t d = std::max<int64_t>(0, attack / 2 - target.EffectiveDefense() / 4);
    int start = UnitWorld().BattleStartCondition();
    if (IsActor()) {
        bool raise = ((start == 0 || start == 1) && row == 0) || (start == 2 && row == 1) || start == 3;
        if (raise) d = d * 125 / 100;
    }
    int64_t r = ApplyAttributeFactor(d, weaponHas, target);
    if (target.IsActor()) {
        bool lower = ((start == 0 || start == 1) && target.row == 1) || (start == 2 && target.row == 0) || start == 3;
        if (lower) r = r * 75 / 100;
    }
    return ClampToInt32(r);
}

int32_t TLcfgUnitItem::AttackDamage(const TLcfgUnitItem& target) const {
    return AttackDamageWith(EffectiveAttack(), [this](int32_t a) { return WeaponHasAttribute(a); }, target);
}

int32_t TLcfgUnitItem::SkillDamage(int32_t skillId, const TLcfgUnitItem& target) const {
    const TLcfSkillItem& skill = *DbSkill->FindSkill(skillId);
    int64_t a = int64_t(skill.baseEffect) + int64_t(EffectiveAttack()) * skill.attackInfluence / 20 +
                int64_t(EffectiveSpirit()) * skill.spiritInfluence / 40;
    if (skill.AimsAtEnemies() && !skill.ignoreDefense)
        a -= int64_t(target.EffectiveDefense()) * skill.attackInfluence / 40 +
             int64_t(target.EffectiveSpirit()) * skill.spiritInfluence / 80;
    a = std::max<int64_t>(a, 0);
    int64_t r = ApplyAttributeFactor(a, [&skill](int32_t id) { return skill.HasAttribute(id); }, target);
    if (r > 0 && skill.variance > 0) {
        int64_t h = std::max<int64_t>(1, r * skill.variance / 10);
        int32_t hc = ClampToInt32(h);
        r += Random(hc == INT32_MAX ? INT32_MAX : hc + 1) - h / 2;
    }
    return ClampToInt32(r);
}

// --- Turns and effects -------------------------------------------------------------------

bool TLcfgUnitItem::TurnMatches(int32_t a, int32_t b) const {
    if (a == 0) return turnCounter == b;
    // Every remainder by -1 is 0 (and INT32_MIN % -1 would trap).
    if (a == -1) return turnCounter >= b;
    return turnCounter >= b && turnCounter % a == b % a;
}

bool TLcfgUnitItem::DrawMirror(bool flag) const {
    if (!DbSystem || !DbSystem->battlerMirroring) return false;
    return flag ? facing != 0 : facing == 0;
}

void TLcfgUnitItem::StartFlash(int red, int green, int blue, double strength, int duration) {
    flashRed = red;
    flashGreen = green;
    flashBlue = blue;
    flashStrength = strength;
    flashDuration = duration;
}

void TLcfgUnitItem::StartShake(int power, int speed, int duration) {
    shakePower = power;
    shakeSpeed = speed;
    shakeDuration = duration;
}

void TLcfgUnitItem::UpdateEffects() {
    if (flashDuration > 0) {
        --flashDuration;
        flashStrength -= flashStrength / (flashDuration + 1);
    }
    if (shakeDuration > 0) {
        // The angle wraps to a byte.
        uint8_t angle = uint8_t(int64_t(shakeDuration) * (int64_t(shakeSpeed) + 2) * 4);
        int64_t target = int64_t(std::trunc(TableSin(angle) * (int64_t(shakePower) * 2 + 1)));
        int64_t step = int64_t(shakePower) * shakeSpeed / 4 + 1;
        int64_t off = shakeOffsetX;
        shakeOffsetX = ClampToInt32(std::max(off - step, std::min(off + step, target)));
        --shakeDuration;
        if (shakeDuration == 0) shakeOffsetX = 0;
    }
    shakeOffsetY = 0;
}

void TLcfgUnitItem::ShowPopupNumber(int32_t value, int colour) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    popupText_ = buf;
    popupColour_ = colour;
    DrawPopupText(popupText_, colour);
}

void TLcfgUnitItem::ShowPopupText(const std::string& text) {
    popupTimer = 223;
    popupText_ = text;
    popupColour_ = 0;
    DrawPopupText(text, 0);
}

void TLcfgUnitItem::DrawPopupText(const std::string& text, int colour) {
    popupSheet_->Clear();
    TLcfSystemGraphic* skin = UnitWorld().SystemGraphic();
    if (!skin) return;
    // The skin's colours, its index 0 left out: only the digits show.
    popupSheet_->Palette = skin->Skin().Palette;
    popupSheet_->UpdateColorTable();
    popupSheet_->Transparent = true;
    skin->DrawText(*popupSheet_, 0, 0, text, colour);
}

void TLcfgUnitItem::DrawPopup(TSorvoBoard& board, int32_t originX, int32_t originY) {
    if (popupTimer <= 0 || popupTimer >= 128) return;
    int32_t lift = int32_t(std::trunc(TableSin(uint8_t(popupTimer)) * 8));
    board.Draw(ClampToScreen(int64_t(originX) + battleX - 18), ClampToScreen(int64_t(originY) + battleY - lift),
               *popupSheet_, TRect(0, 0, 48, 16));
}
