#include "game/enemies/monster_item.h"

#include <algorithm>
#include <vector>

#include "data/clamp.h"
#include "data/database/database.h"
#include "data/random.h"
#include "game/actors/player_item.h"
#include "game/enemies/monster.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "graphics/graphics_files.h"
#include "media/sheet/sheet.h"

TLcfgMonsterItem::TLcfgMonsterItem(int32_t id)
    : TLcfgUnitItem(id), picture_(std::make_unique<TSorvoSheet>()), mirrored_(std::make_unique<TSorvoSheet>()) {
    picture_->Transparent = mirrored_->Transparent = true;
    // The base has cleared itself; the enemy's own Clear (and its random
    // draw) comes with SetupEnemy.
    flashRed = flashGreen = flashBlue = 100;
}

TLcfgMonsterItem::~TLcfgMonsterItem() = default;

void TLcfgMonsterItem::Clear() {
    TLcfgUnitItem::Clear();
    enemyId_ = 0;
    hp = sp = 0;
    if (picture_) {
        picture_->FreePixels();
        mirrored_->FreePixels();
    }
    flashRed = flashGreen = flashBlue = 100;
    flashStrength = 0;
    flashDuration = 0;
    blinkTimer = deathFade = escapeFade = 0;
    gauge = 0;
    // Every enemy's own draw, so that a troop does not bob in step.
    frameCounter = Random(64);
}

const TLcfMonsterItem& TLcfgMonsterItem::Data() const { return *DbMonster->FindMonster(enemyId_); }

void TLcfgMonsterItem::SetupEnemy(int32_t enemyId) {
    Clear();
    enemyId_ = enemyId;
    const TLcfMonsterItem& m = Data();
    hp = m.maxHp;
    sp = m.maxSp;
    LoadPictures();
}

void TLcfgMonsterItem::Transform(int32_t enemyId) {
    DbMonster->FindMonster(enemyId);  // an unknown enemy raises before anything changes
    enemyId_ = enemyId;
    hp = std::min(hp, MaxHP());
    sp = std::min(sp, MaxSP());
    LoadPictures();
    StartFlash(31, 31, 31, 31, 20);
}

void TLcfgMonsterItem::LoadPictures() {
    const TLcfMonsterItem& m = Data();
    for (TSorvoSheet* s : {picture_.get(), mirrored_.get()}) {
        s->AutoSize = true;
        s->FreePixels();
        s->LoadFromFile(FindGraphicsFile("Monster", m.picture), true);
        if (m.hue != 0) s->RotateHue(m.hue);
    }
    mirrored_->MirrorHorizontal();
}

int32_t TLcfgMonsterItem::PictureHeight() const { return picture_->Height(); }
int32_t TLcfgMonsterItem::PictureWidth() const { return picture_->Width(); }

// --- Virtual slots -------------------------------------------------------------------

std::string TLcfgMonsterItem::GetName() const { return Data().name; }
int32_t TLcfgMonsterItem::MaxHP() const { return Data().maxHp; }
int32_t TLcfgMonsterItem::MaxSP() const { return Data().maxSp; }
int32_t TLcfgMonsterItem::BaseAttack() const { return Data().attack; }
int32_t TLcfgMonsterItem::BaseDefense() const { return Data().defense; }
int32_t TLcfgMonsterItem::BaseSpirit() const { return Data().spirit; }
int32_t TLcfgMonsterItem::BaseAgility() const { return Data().agility; }
int TLcfgMonsterItem::AttributeRank(int32_t id) const { return Data().GetAttribRank(id); }
int TLcfgMonsterItem::ConditionRank(int32_t id) const { return Data().GetStatusRank(id); }
double TLcfgMonsterItem::CriticalRate() const { return Data().CriticalChance(); }
int32_t TLcfgMonsterItem::HitRate() const { return Data().missesOften ? 70 : 90; }

int32_t TLcfgMonsterItem::Exp() const { return Data().experience; }
int32_t TLcfgMonsterItem::Gold() const { return Data().gold; }
int32_t TLcfgMonsterItem::DropItem() const { return Data().dropItem; }
int32_t TLcfgMonsterItem::DropChance() const { return Data().dropChance; }

// --- Per frame -----------------------------------------------------------------------

void TLcfgMonsterItem::UpdateFrame() {
    UpdateEffects();
    if (blinkTimer > 0) --blinkTimer;
    if (deathFade > 0) --deathFade;
    if (escapeFade > 0) --escapeFade;
    if (popupTimer > 0) popupTimer -= 4;
    ++frameCounter;
}

int32_t TLcfgMonsterItem::DrawOrder() const {
    return ClampToInt32(int64_t(PictureHeight()) / 2 + battleY + (escapeFade > 0 ? 1000 : 0));
}

// --- Action choice ----------------------------------------------------------------------

int32_t RandomLivingMember() {
    TLcfgPartyInfo* party = GamePartyInfo;
    if (!party) return -1;
    const int n = party->MemberCount();
    bool anyAlive = false;
    for (int i = 0; i < n && !anyAlive; ++i) anyAlive = party->Member(i)->IsAlive();
    if (!anyAlive) return -1;
    for (;;) {
        int32_t i = Random(n);
        if (party->Member(i)->IsAlive()) return i;
    }
}

namespace {

// Value * 100 div maximum, 0 for a maximum of 0 (or below).
int64_t Percent(int32_t value, int32_t maximum) { return maximum > 0 ? int64_t(value) * 100 / maximum : 0; }

bool Within(int64_t v, int32_t a, int32_t b) { return a <= v && v <= b; }

}  // namespace

int32_t TLcfgMonsterItem::RateAction(const TLcfMonsterActItem& act) const {
    const int32_t a = act.conditionA, b = act.conditionB;
    bool holds = true;
    switch (act.condition) {
    case TLcfMonsterActItem::kAlways: break;
    case TLcfMonsterActItem::kSwitch: holds = GameSystem && GameSystem->GetSwitch(act.conditionSwitch); break;
    case TLcfMonsterActItem::kTurns: holds = GamePartyInfo && GamePartyInfo->TurnMatches(a, b); break;
    case TLcfMonsterActItem::kMonsterCount: holds = Within(GameMonsters ? GameMonsters->AliveCount() : 0, a, b); break;
    case TLcfMonsterActItem::kOwnHp: holds = Within(Percent(hp, MaxHP()), a, b); break;
    case TLcfMonsterActItem::kOwnSp: holds = Within(Percent(sp, MaxSP()), a, b); break;
    case TLcfMonsterActItem::kPartyLevel: holds = Within(GamePartyInfo ? GamePartyInfo->AverageLevel() : 0, a, b); break;
    case TLcfMonsterActItem::kPartyExhaustion:
        holds = Within(GamePartyInfo ? GamePartyInfo->Exhaustion() : 0, a, b);
        break;
    default: holds = false; break;
    }
    if (!holds) return 0;
    if (act.kind == TLcfMonsterActItem::kSkill && !CanUseSkill(act.skillId)) return 0;
    return act.rating;
}

bool TLcfgMonsterItem::SkillWorthUsing(int32_t skillId) const {
    const TLcfSkillItem& skill = *DbSkill->FindSkill(skillId);
    if (!skill.IsNormalKind()) return true;
    switch (skill.scope) {
    case TLcfSkillItem::kSelf: return SkillAffects(skillId);
    case TLcfSkillItem::kOneAlly:
    case TLcfSkillItem::kAllAllies:
        // Every member counts, shown or not.
        if (GameMonsters)
            for (int i = 0; i < GameMonsters->Count(); ++i)
                if (GameMonsters->Items(i)->SkillAffects(skillId)) return true;
        return false;
    default: return true;
    }
}

bool TLcfgMonsterItem::FillAction(const TLcfMonsterActItem& act) {
    TLcfgUnitActItem& a = action;
    switch (act.kind) {
    case TLcfMonsterActItem::kBasic:
        a.kind = TLcfgUnitActItem::kBasic;
        a.basic = act.basicAction;
        if (act.basicAction == TLcfgUnitActItem::kAttack || act.basicAction == TLcfgUnitActItem::kDoubleAttack) {
            int32_t target = RandomLivingMember();
            if (target < 0) return false;
            a.targetKind = TLcfgUnitActItem::kOneMember;
            a.targetIndex = target;
        } else if (act.basicAction == TLcfgUnitActItem::kSelfDestruct) {
            a.targetKind = TLcfgUnitActItem::kParty;
        }
        break;
    case TLcfMonsterActItem::kSkill: {
        a.kind = TLcfgUnitActItem::kSkill;
        a.skillId = act.skillId;
        const TLcfSkillItem& skill = *DbSkill->FindSkill(act.skillId);
        if (!skill.IsNormalKind()) break;
        switch (skill.scope) {
        case TLcfSkillItem::kOneEnemy: {
            int32_t target = RandomLivingMember();
            if (target < 0) return false;
            a.targetKind = TLcfgUnitActItem::kOneMember;
            a.targetIndex = target;
            break;
        }
        case TLcfSkillItem::kAllEnemies: a.targetKind = TLcfgUnitActItem::kParty; break;
        case TLcfSkillItem::kSelf:
            a.targetKind = TLcfgUnitActItem::kOneEnemy;
            a.targetIndex = Id() - 1;
            break;
        case TLcfSkillItem::kOneAlly: {
            a.targetKind = TLcfgUnitActItem::kOneEnemy;
            a.targetIndex = 0;
            const int n = GameMonsters ? GameMonsters->Count() : 0;
            for (int tries = 0; tries < 100 && n > 0; ++tries) {
                int32_t i = Random(n);
                if (GameMonsters->Items(i)->SkillAffects(act.skillId)) {
                    a.targetIndex = i;
                    break;
                }
            }
            break;
        }
        case TLcfSkillItem::kAllAllies: a.targetKind = TLcfgUnitActItem::kTroop; break;
        default: break;
        }
        break;
    }
    case TLcfMonsterActItem::kTransform:
        a.kind = TLcfgUnitActItem::kTransform;
        a.transformId = act.transformInto;
        break;
    default: return false;
    }
    if (act.switchOn) a.switchOnId = act.switchOnId;
    if (act.switchOff) a.switchOffId = act.switchOffId;
    return true;
}

void TLcfgMonsterItem::DecideAction() {
    action.Reset();
    if (!CanAct()) return;
    if (IsBerserk() || charged) {
        int32_t target = RandomLivingMember();
        if (target < 0) return;
        action.kind = TLcfgUnitActItem::kBasic;
        action.basic = TLcfgUnitActItem::kAttack;
        action.targetKind = TLcfgUnitActItem::kOneMember;
        action.targetIndex = target;
        return;
    }
    if (IsConfused()) {
        action.kind = TLcfgUnitActItem::kBasic;
        action.basic = TLcfgUnitActItem::kAttack;
        action.targetKind = TLcfgUnitActItem::kOneEnemy;
        action.targetIndex = Random(GameMonsters ? GameMonsters->Count() : 0);
        return;
    }
    const TLcfMonsterAct& acts = Data().actions;
    const int n = acts.Count();
    std::vector<int64_t> weight(size_t(n), 0);
    int64_t best = 0;
    for (int i = 0; i < n; ++i) {
        weight[size_t(i)] = RateAction(*acts.Items(i));
        best = std::max(best, weight[size_t(i)]);
    }
    if (best <= 0) return;
    int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        int64_t& w = weight[size_t(i)];
        w = w > 0 ? std::max<int64_t>(0, w + 10 - best) : 0;
        const TLcfMonsterActItem& act = *acts.Items(i);
        if (w > 0 && act.kind == TLcfMonsterActItem::kSkill && !SkillWorthUsing(act.skillId)) w = 0;
        sum += w;
    }
    if (sum <= 0) return;
    int64_t r = Random(int32_t(std::min<int64_t>(sum, INT32_MAX)));
    for (int i = 0; i < n; ++i) {
        if (r < weight[size_t(i)]) {
            if (!FillAction(*acts.Items(i))) action.Reset();
            return;
        }
        r -= weight[size_t(i)];
    }
}
