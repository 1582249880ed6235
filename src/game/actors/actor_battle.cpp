// An actor's battle poses: the per-frame pose sequence (row moves, pose
// changes, the action's motion out and back, the hit loop with its
// projectiles), the frame shown, and the pose's own battle animation.
// Drawing is in actor_battle_draw.cpp.
#include <algorithm>
#include <cmath>

#include "data/clamp.h"
#include "data/database/database.h"
#include "game/actors/battle_sides.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/battle/battle_scene_link.h"
#include "game/screen/round_even.h"
#include "graphics/animation_graphic.h"
#include "media/board/angle_tables.h"

namespace {

using Show = TActorBattleShow;

constexpr int32_t kStepCounts = TActorBattleShow::kStepCounts;
// Counts a damage or item pose lasts when it shows no battle animation.
constexpr int32_t kPoseCounts = 60;
// A hit starts (and completes) only once the counter has passed this.
constexpr int32_t kHitCounts = 59;

bool IsSide(int targetKind, bool party) {
    return party ? (targetKind == TLcfgUnitActItem::kOneMember || targetKind == TLcfgUnitActItem::kParty)
                 : (targetKind == TLcfgUnitActItem::kOneEnemy || targetKind == TLcfgUnitActItem::kTroop);
}

// Movement between two points over kStepCounts counts, c from 0; the jump
// lifts the middle of the way.
TBattlePoint Between(TBattlePoint from, TBattlePoint to, int32_t c, bool jump) {
    c = Clamp(c, 0, kStepCounts);
    TBattlePoint p{from.x + int32_t(int64_t(to.x - from.x) * c / kStepCounts),
                   from.y + int32_t(int64_t(to.y - from.y) * c / kStepCounts)};
    if (jump) p.y -= int32_t(std::trunc(TableSin(uint8_t(c * 128 / kStepCounts)) * 16));
    return p;
}

}  // namespace

// --- Start and idle pose --------------------------------------------------------------------

void TLcfgPlayerItem::StartBattle() {
    actionMarker = 0;
    popupTimer = 0;
    show.pendingPose = 0;
    show.animatedPose = Show::kNoPose;
    repeatCommand = 0;
    repeatCount = 1;
    if (show.battleStarted) return;
    show.battleStarted = 1;
    show.autoThisBattle = BattleLink().AutoBattle() || autoBattle ? 1 : 0;
    show.rowTarget = row;
    flashStrength = 0;
    flashDuration = 0;
    BuildBattleSprites();
}

void TLcfgPlayerItem::SetIdlePose() {
    const int32_t strongest = StrongestCondition();
    if (strongest == 1) {
        pose = Show::kDead;
    } else if (strongest != 0) {
        pose = Show::kCondition;
    } else {
        const uint8_t p = show.pendingPose;
        pose = p == Show::kFirstHand || p == Show::kSecondHand || p == Show::kReturning ? p : uint8_t(Show::kSettle);
    }
}

void TLcfgPlayerItem::OnIdlePose() { SetIdlePose(); }

// --- Hands ------------------------------------------------------------------------------------

const TLcfCBADataItem* TLcfgPlayerItem::WeaponDisplay(int hand) const {
    const TLcfItemItem* item = SlotItem(hand == 1 ? 1 : 0);
    if (!item || !item->IsWeapon()) return nullptr;
    return item->battleDisplay.Find(Id());
}

bool TLcfgPlayerItem::PrepareHand(int hand) {
    swingingHand = hand == 1 ? 1 : 0;
    const TLcfItemItem* item = SlotItem(swingingHand);
    const TLcfItemItem* weapon = item && item->IsWeapon() ? item : nullptr;
    if (weapon) {
        if (action.targetKind == TLcfgUnitActItem::kOneEnemy || action.targetKind == TLcfgUnitActItem::kTroop)
            action.targetKind = weapon->attackAll ? TLcfgUnitActItem::kTroop : TLcfgUnitActItem::kOneEnemy;
        const TLcfCBADataItem* e = weapon->battleDisplay.Find(Id());
        show.ranged = e && e->ranged ? 1 : 0;
        show.flightTime = e ? e->ProjectileFlightCounts() : 40;
        show.hitsPerSwing = (e ? std::max(0, std::min(e->swingCount, 98)) : 0) + 1;
        show.projectileArc = weapon->projectileArc ? 1 : 0;
        show.projectileMode = Clamp(weapon->projectileTarget, 0, 3);
        if (show.ranged && !weapon->attackAll && (show.projectileMode == 1 || show.projectileMode == 2))
            show.projectileMode = 0;
    } else {
        // No projectile without a weapon in the hand.
        show.ranged = 0;
    }
    return swingingHand == 0 && (weapon || Equipment(1) == 0);
}

int32_t TLcfgPlayerItem::HandAnimationId() const {
    const int32_t second = SecondAttackAnimationId();
    return swingingHand == 1 && second > 0 ? second : AttackAnimationId();
}

// --- Motion -------------------------------------------------------------------------------------

// Only moving to the target runs to the enemy (beside it, on the actor's
// side); a step out or a jump is one step of 24 pixels the way the actor
// faces, whatever it aims at.
TBattlePoint TLcfgPlayerItem::ActionTarget() const {
    if (show.motionStyle == TLcfCBADataItem::kMoveToTarget && action.targetKind == TLcfgUnitActItem::kOneEnemy &&
        battle_sides::Enemy(action.targetIndex)) {
        TBattlePoint e = battle_sides::EnemyPosition(action.targetIndex);
        const int32_t half = battle_sides::EnemyHalfWidth(action.targetIndex);
        return {homeX >= e.x ? e.x + half : e.x - half, e.y};
    }
    return {homeX + (facing == 0 ? -24 : 24), homeY};
}

void TLcfgPlayerItem::PrepareActionMotion() {
    const TLcfCBADataItem* e = nullptr;
    if (castingMarker == 1) {
        if (const TLcfSkillItem* skill = DbSkill ? DbSkill->Find(action.skillId) : nullptr)
            e = skill->battleDisplay.Find(Id());
    } else {
        // The step out comes before the first hand is prepared: the hand
        // that will swing first (the weapon hand, or the second hand when
        // only it holds something) gives the style.
        const TLcfItemItem* first = SlotItem(0);
        e = WeaponDisplay(first && first->IsWeapon() ? 0 : (Equipment(1) == 0 ? 0 : 1));
    }
    show.motionStyle = e ? Clamp(e->motion, 0, 3) : 0;
    if (show.motionStyle == TLcfCBADataItem::kMoveToTarget && action.targetKind != TLcfgUnitActItem::kOneEnemy)
        show.motionStyle = 0;
    show.afterImage = e && e->afterImage ? 1 : 0;
    pose = Show::kStepOut;
    frameCounter = 0;
    battleX = homeX;
    battleY = homeY;
    show.target = ActionTarget();
    show.trail.fill({battleX, battleY});
}

void TLcfgPlayerItem::ChangeRow() {
    show.rowTarget = row == 0 ? 1 : 0;
    pose = Show::kRowChange;
}

void TLcfgPlayerItem::MoveRows() {
    if (show.rowTarget == row) return;
    const int cond = BattleLink().StartCondition();
    const bool sideways = cond == 2 || cond == 4;
    int32_t dx;
    if (show.rowTarget == 1)
        dx = sideways || facing == 0 ? 24 : -24;
    else
        dx = facing == 1 && !sideways ? 24 : -24;
    battleX += dx;
    homeX += dx;
    row = show.rowTarget;
}

void TLcfgPlayerItem::StartActionPose() {
    frameCounter = 0;
    show.hitsStarted = show.hitsDone = 0;
    show.poseAnimationCounter = 0;
    show.reflectionChecked = 0;
    if (castingMarker == 1) {
        pose = Show::kSkill;
        return;
    }
    if (PrepareHand(0)) {
        pose = Show::kFirstHand;
    } else {
        PrepareHand(1);
        pose = Show::kSecondHand;
    }
    if (!show.ranged) StartAttackAnimation(HandAnimationId());
}

void TLcfgPlayerItem::FinishAction() {
    if (show.motionStyle == 0) {
        pose = Show::kSettle;
    } else {
        const bool skill = pose == Show::kSkill;
        pose = skill && show.motionStyle != TLcfCBADataItem::kMoveToTarget ? Show::kStepBack : Show::kReturning;
        frameCounter = kStepCounts;
    }
    BattleLink().MotionOver(*this);
}

void TLcfgPlayerItem::MotionStep() {
    const bool jump = show.motionStyle == TLcfCBADataItem::kJump;
    const TBattlePoint home{homeX, homeY};
    switch (pose) {
    case Show::kStepOut:
        if (show.motionStyle != 0 && frameCounter < kStepCounts) {
            TBattlePoint p = Between(home, show.target, frameCounter, jump);
            battleX = p.x;
            battleY = p.y;
            break;
        }
        if (show.motionStyle != 0) {
            battleX = show.target.x;
            battleY = show.target.y;
        }
        StartActionPose();
        break;
    case Show::kFirstHand:
    case Show::kSecondHand:
    case Show::kSkill:
        if (!HitLoop()) break;
        if (pose == Show::kFirstHand && SecondAttackAnimationId() > 0) {
            frameCounter = 0;
            show.hitsStarted = show.hitsDone = 0;
            show.poseAnimationCounter = 0;
            PrepareHand(1);
            pose = Show::kSecondHand;
            if (!show.ranged) StartAttackAnimation(SecondAttackAnimationId());
            break;
        }
        FinishAction();
        break;
    case Show::kReturning:
    case Show::kStepBack:
        if (show.motionStyle == 0) break;
        if (frameCounter < 2 * kStepCounts) {
            TBattlePoint p = Between(show.target, home, frameCounter - kStepCounts, jump);
            battleX = p.x;
            battleY = p.y;
        } else {
            battleX = homeX;
            battleY = homeY;
            pose = Show::kSettle;
        }
        break;
    default: break;
    }
}

// --- Hit loop ---------------------------------------------------------------------------------------

int32_t TLcfgPlayerItem::HitsDue() const {
    int64_t r = 1;
    if (repeatCommand != 0 && BattleLink().ExecutingCommandId(*this) == repeatCommand && DbBattle)
        if (const TLcfBattleCMDItem* c = DbBattle->commands.Find(repeatCommand))
            if (c->kind <= 2) r = std::max(0, repeatCount);
    int64_t due;
    if (pose == Show::kSkill) {
        due = r * show.hitsPerSwing;
    } else {
        const TLcfCBADataItem* e = WeaponDisplay(swingingHand);
        due = r * ((e ? std::max<int64_t>(0, e->swingCount) : 0) + 1);
        // Attacking twice doubles the swings here; each swing hits once.
        if (AttackTwice()) due *= 2;
        if (show.ranged && show.projectileMode == 3)
            due *= IsConfused() ? battle_sides::PartySize() : battle_sides::TroopSize();
    }
    return int32_t(Clamp<int64_t>(due, 0, 9999));
}

namespace {

// The battler hit number n of a ranged weapon aiming at each in turn.
TLcfgUnitItem* EachInTurn(const TLcfgPlayerItem& a, int32_t n) {
    if (a.IsConfused()) {
        const int size = battle_sides::PartySize();
        return size > 0 ? battle_sides::PartyMember(n % size) : nullptr;
    }
    const int size = battle_sides::TroopSize();
    return size > 0 ? battle_sides::Enemy(n % size) : nullptr;
}

}  // namespace

void TLcfgPlayerItem::AimEachInTurn() {
    const bool party = IsConfused();
    const int size = party ? battle_sides::PartySize() : battle_sides::TroopSize();
    if (size <= 0) return;
    action.targetKind = party ? TLcfgUnitActItem::kOneMember : TLcfgUnitActItem::kOneEnemy;
    action.targetIndex = show.hitsDone % size;
}

bool TLcfgPlayerItem::HitLoop() {
    const int kind = action.targetKind;
    if (IsSide(kind, true) && !battle_sides::PartyHasLiving()) return true;
    if (IsSide(kind, false) && !battle_sides::TroopHasLiving()) return true;
    const int32_t due = HitsDue();
    if (pose != Show::kSkill && show.ranged) {
        if (show.projectileMode == 3 && show.hitsDone == show.hitsStarted) {
            while (show.hitsDone < due) {
                TLcfgUnitItem* t = EachInTurn(*this, show.hitsDone);
                if (t && t->IsAlive()) break;
                ++show.hitsStarted;
                ++show.hitsDone;
            }
            // The next hit is aimed at its member as the action's one
            // target, so that its projectile, its animation and its strike
            // all go there.
            if (show.hitsDone < due) AimEachInTurn();
        }
        if (show.hitsDone >= due && frameCounter < 3) return true;
        if (!IsConfused()) UpdateProjectiles();
    }
    if (StartHit()) return true;
    return CompleteHit();
}

bool TLcfgPlayerItem::StartHit() {
    // With no hits due (an event repeats the command 0 times) one hit still
    // comes: the loop only finishes once a hit is done.
    const int32_t due = std::max(1, HitsDue());
    if (show.hitsDone < show.hitsStarted || show.hitsStarted >= due || frameCounter <= kHitCounts) return false;
    if (pose != Show::kSkill && show.ranged && !IsConfused()) {
        const int32_t arrival = show.projectileArc ? show.flightTime / 2 : show.flightTime;
        if (frameCounter < arrival) return false;
    }
    if (battle_sides::PartyAnimationRunning() || battle_sides::TroopAnimationRunning()) return false;
    IBattleSceneLink& link = BattleLink();
    if (pose == Show::kSkill) {
        if (link.RefusesSkill(*this)) {
            show.pendingPose = Show::kSettle;
            return true;
        }
        ++show.hitsStarted;
        if (!itemSkill)
            if (const TLcfSkillItem* skill = DbSkill ? DbSkill->Find(action.skillId) : nullptr)
                LoseSp(skill->Cost(MaxSP(), HalfSpCost()));
        show.pendingPose = Show::kSkill;
        show.reflectionChecked = 0;
        link.PlaySkillAnimation(*this);
    } else {
        ++show.hitsStarted;
        int32_t cost = WeaponSpCost();
        if (HalfSpCost()) cost = int32_t((int64_t(cost) + 1) / 2);
        LoseSp(cost);
        switch (action.targetKind) {
        case TLcfgUnitActItem::kOneMember:
            if (TLcfgUnitItem* t = battle_sides::PartyMember(action.targetIndex)) link.StrikeIfValid(*this, *t);
            break;
        case TLcfgUnitActItem::kParty:
            for (int i = 0; i < battle_sides::PartySize(); ++i)
                if (TLcfgUnitItem* t = battle_sides::PartyMember(i)) link.StrikeIfValid(*this, *t);
            break;
        case TLcfgUnitActItem::kOneEnemy:
            if (TLcfgUnitItem* t = battle_sides::Enemy(action.targetIndex)) link.StrikeIfValid(*this, *t);
            break;
        case TLcfgUnitActItem::kTroop:
            for (int i = 0; i < battle_sides::TroopSize(); ++i)
                if (TLcfgUnitItem* t = battle_sides::Enemy(i)) link.StrikeIfValid(*this, *t);
            break;
        default: break;
        }
    }
    return IsIncapacitated();
}

bool TLcfgPlayerItem::CompleteHit() {
    if (show.hitsStarted <= show.hitsDone) return false;
    if (!PoseAnimationDone() || frameCounter <= kHitCounts || battle_sides::TroopAnimationRunning()) return false;
    const int32_t due = HitsDue();
    if (pose == Show::kSkill) {
        IBattleSceneLink& link = BattleLink();
        if (!show.reflectionChecked) {
            show.reflectionChecked = 1;
            link.CheckReflection(*this);
        }
        // A reflected skill plays again on the party's side first.
        if (battle_sides::PartyAnimationRunning()) return false;
        link.ApplySkill(*this);
    }
    ++show.hitsDone;
    frameCounter = 0;
    if (pose == Show::kSkill) {
        if (show.hitsDone < due) return false;
        show.pendingPose = Show::kSettle;
        return true;
    }
    show.poseAnimationCounter = 0;
    if (show.hitsDone >= due) return true;
    if (!show.ranged) StartAttackAnimation(HandAnimationId());
    return false;
}

// --- Projectiles --------------------------------------------------------------------------------------

void TLcfgPlayerItem::UpdateProjectiles() {
    const int size = battle_sides::TroopSize();
    if (size <= 0) {
        show.projectiles.clear();
        return;
    }
    std::vector<TBattlePoint> targets;
    switch (show.projectileMode) {
    case 1: {
        // The sum over the present enemies, divided by the whole troop.
        int64_t sx = 0, sy = 0;
        for (int i = 0; i < size; ++i)
            if (const TLcfgUnitItem* e = battle_sides::Enemy(i); e && e->present) {
                TBattlePoint p = battle_sides::EnemyPosition(i);
                sx += p.x;
                sy += p.y;
            }
        targets.push_back({int32_t(sx / size), int32_t(sy / size)});
        break;
    }
    case 2:
        for (int i = 0; i < size; ++i) targets.push_back(battle_sides::EnemyPosition(i));
        break;
    default:  // 0, and 3 once aimed at the hit's enemy: the action's target
        targets.push_back(battle_sides::EnemyPosition(Clamp(action.targetIndex, 0, size - 1)));
        break;
    }
    const int32_t flight = std::max(1, show.flightTime);
    const int32_t c = Clamp(frameCounter, 0, flight);
    show.projectiles.resize(targets.size());
    for (size_t i = 0; i < targets.size(); ++i) {
        const TBattlePoint a{battleX, battleY};
        const TBattlePoint t = targets[i];
        TBattlePoint& p = show.projectiles[i];
        if (!show.projectileArc) {
            p.x = a.x + int32_t(int64_t(t.x - a.x) * c / flight);
            p.y = a.y + int32_t(int64_t(t.y - a.y) * c / flight);
        } else {
            // Once around an ellipse through both points: out above the
            // line, back below it.
            const double cx = (a.x + t.x) / 2.0, cy = (a.y + t.y) / 2.0;
            const double dist = std::hypot(double(t.x - a.x), double(t.y - a.y));
            const uint8_t angle = uint8_t(int64_t(c) * 255 / flight);
            p.x = int32_t(std::trunc(cx - TableCos(angle) * (t.x - a.x) / 2.0));
            p.y = int32_t(std::trunc(cy - TableCos(angle) * (t.y - a.y) / 2.0 - TableSin(angle) * dist / 4.0));
        }
    }
    const int32_t arrival = show.projectileArc ? show.flightTime / 2 : show.flightTime;
    if (frameCounter == arrival) StartAttackAnimation(HandAnimationId());
}

// --- Animations -------------------------------------------------------------------------------------------

void TLcfgPlayerItem::StartAttackAnimation(int32_t animationId) {
    if (animationId == 0) return;
    switch (action.targetKind) {
    case TLcfgUnitActItem::kOneMember:
        if (GamePlayers) GamePlayers->PlayAnimation(animationId, facing, action.targetIndex);
        break;
    case TLcfgUnitActItem::kParty:
        if (GamePlayers) GamePlayers->PlayAnimation(animationId, facing, -1);
        break;
    case TLcfgUnitActItem::kOneEnemy: battle_sides::PlayTroopAnimation(animationId, facing, action.targetIndex); break;
    case TLcfgUnitActItem::kTroop: battle_sides::PlayTroopAnimation(animationId, facing, -1); break;
    default:
        if (GamePlayers) GamePlayers->PlayAnimation(animationId, facing, -2);
        break;
    }
}

void TLcfgPlayerItem::SetBattlerAnimation(int32_t animationId, int32_t) {
    if (pose != show.animatedPose) {
        show.animatedPose = pose;
        show.poseAnimationId = 0;
    }
    if (animationId != show.poseAnimationId) {
        show.poseAnimationId = animationId;
        show.poseAnimationCounter = 0;
    }
}

int32_t TLcfgPlayerItem::FrameLength() const {
    const TLcfAnimation2Item* set = DbAnimation2 ? DbAnimation2->Find(BattlerAnimationId()) : nullptr;
    // A length of 0 (or below) would divide by zero.
    return set ? std::max(1, set->reserved2) : 20;
}

int32_t TLcfgPlayerItem::ShownEntry() const {
    switch (pose) {
    case Show::kIdle: return Show::kEntryIdle;
    case Show::kFirstHand: return facing == 1 ? Show::kEntryLeftHand : Show::kEntryRightHand;
    case Show::kSecondHand: return facing == 1 ? Show::kEntryRightHand : Show::kEntryLeftHand;
    case Show::kRightHand: return Show::kEntryRightHand;
    case Show::kStepBack:
    case Show::kStepOut: return Show::kEntryWalkLeft;
    case Show::kSkill: {
        if (itemSkill) return Show::kEntryIdle;
        const TLcfSkillItem* skill = DbSkill ? DbSkill->Find(action.skillId) : nullptr;
        const TLcfCBADataItem* e = skill ? skill->battleDisplay.Find(Id()) : nullptr;
        return e ? Clamp(e->skillPose, 0, TLcfBattleMyCharacter::kPoses - 1) : int32_t(Show::kEntrySkill);
    }
    case Show::kItem: return Show::kEntryItem;
    case Show::kDead: return Show::kEntryDead;
    case Show::kDamaged: return Show::kEntryDamage;
    case Show::kCondition: {
        const int32_t s = StrongestCondition();
        const TLcfStatusItem* c = s && DbStatus ? DbStatus->Find(s) : nullptr;
        return c ? Clamp(c->reserved39, 0, TLcfBattleMyCharacter::kPoses - 1) : int32_t(Show::kEntryBadStatus);
    }
    case Show::kDefend: return Show::kEntryDefend;
    case Show::kReturning:
    case Show::kRunningAway: return Show::kEntryWalkRight;
    case Show::kVictory: return Show::kEntryVictory;
    default: return Show::kEntryIdle;
    }
}

int32_t TLcfgPlayerItem::PoseAnimationId() const {
    if (pose == Show::kFirstHand || pose == Show::kSecondHand)
        if (const TLcfCBADataItem* w = WeaponDisplay(swingingHand))
            if (w->displayKind == 1 || (w->displayKind != 0 && w->weaponStrip >= 0)) return std::max(0, w->weaponStrip);
    const TLcfAnimation2Item* set = DbAnimation2 ? DbAnimation2->Find(BattlerAnimationId()) : nullptr;
    if (!set) return 0;
    const TLcfBattleMyCharacterItem* entry = set->poses.Find(ShownEntry() + 1);
    return entry && entry->kind == TLcfBattleMyCharacterItem::kAnimation ? std::max(0, entry->animationId) : 0;
}

bool TLcfgPlayerItem::PoseAnimationDone() const {
    if (PoseAnimationId() == 0) return true;
    if (show.animatedPose != pose) return false;
    const TLcfAnimationItem* a = DbAnimation ? DbAnimation->Find(show.poseAnimationId) : nullptr;
    if (!a) return true;
    return show.poseAnimationCounter / 2 >= a->FrameCount() - 1;
}

void TLcfgPlayerItem::UpdatePoseAnimation() {
    SetBattlerAnimation(PoseAnimationId(), facing);
    if (show.poseAnimationId == 0) return;
    const TLcfAnimationItem* a = DbAnimation ? DbAnimation->Find(show.poseAnimationId) : nullptr;
    if (!a) return;
    const int32_t frames = a->FrameCount();
    ++show.poseAnimationCounter;
    if (show.poseAnimationCounter >= 2 * frames) {
        const bool holdLast = pose == Show::kFirstHand || pose == Show::kSecondHand || pose == Show::kSkill ||
                              pose == Show::kDead || pose == Show::kDefend;
        show.poseAnimationCounter = holdLast ? std::max(0, 2 * (frames - 1)) : 0;
    }
    if (show.poseAnimationCounter % 2 == 1) TLcfAnimationGraphic::PlayTimingSoundsOf(*a, show.poseAnimationCounter / 2);
}

void TLcfgPlayerItem::UpdateFrame() {
    static constexpr int32_t kDamageCycle[4] = {0, 1, 2, 2};
    static constexpr int32_t kCycle[4] = {0, 1, 2, 1};
    const int32_t c = std::max(0, frameCounter);
    switch (pose) {
    case Show::kFirstHand:
    case Show::kSecondHand: show.frame = std::min(2, c / FrameLength()); break;
    case Show::kDamaged: show.frame = kDamageCycle[(c / 20) % 4]; break;
    case Show::kDefend: show.frame = c < 20 ? 0 : c < 40 ? 1 : 2; break;
    default: show.frame = kCycle[(c / 20) % 4]; break;
    }
}

// --- The per-frame update --------------------------------------------------------------------------------

bool TLcfgPlayerItem::PoseOver() const {
    // With a battle animation the pose lasts until its last frame, else
    // kPoseCounts counts from when it was taken.
    return PoseAnimationId() != 0 ? PoseAnimationDone() : show.poseCounts >= kPoseCounts;
}

void TLcfgPlayerItem::AdvancePose() {
    switch (pose) {
    case Show::kItem:
        if (PoseOver()) pose = Show::kSettle;
        break;
    case Show::kRowChange: pose = Show::kSettle; break;
    case Show::kDamaged: {
        if (!PoseOver()) break;
        const uint8_t p = show.pendingPose;
        pose = p == Show::kFirstHand || p == Show::kSecondHand || p == Show::kSkill || p == Show::kReturning
                   ? p
                   : uint8_t(Show::kSettle);
        break;
    }
    case Show::kCondition:
    case Show::kDefend:
        if (actionMarker == 2) actionMarker = 0;
        break;
    case Show::kSettle:
    case Show::kDoNothing:
        if (StrongestCondition() != 0)
            pose = Show::kCondition;
        else if (action.kind == TLcfgUnitActItem::kBasic && action.basic == TLcfgUnitActItem::kDefend)
            pose = Show::kDefend;
        else
            pose = Show::kIdle;
        // The turn of an action that settles here (an item, a row change, a
        // failed flight, doing nothing, an attack or skill come back) is
        // over: a turn left "acting" would hold every other battler back.
        if (actionMarker == 2) actionMarker = 0;
        break;
    case Show::kRunningAway:
        if (BattleLink().PartyFleeing()) battleX += facing == 0 ? 6 : -6;
        break;
    default: break;
    }
}

void TLcfgPlayerItem::UpdateBattle() {
    if (!present) return;
    UpdateEffects();
    if (BattleLink().BattleEventRunning()) return;
    if (popupTimer > 0) popupTimer -= 4;
    frameCounter += 2;
    if (show.blinkTimer > 0) --show.blinkTimer;
    NotePoseChange();
    show.poseCounts += 2;
    const bool victory = BattleLink().VictoryPhase();
    if (!victory) {
        MoveRows();
        AdvancePose();
        MotionStep();
    } else if (hp > 0) {
        pose = Show::kVictory;
    }
    NotePoseChange();
    UpdateFrame();
    UpdatePoseAnimation();
}

void TLcfgPlayerItem::NotePoseChange() {
    // Poses change both here and from outside between updates.
    if (pose == show.countedPose) return;
    show.countedPose = pose;
    show.poseCounts = 0;
}
