#pragma once
// An actor's battle presentation: its pose's sequence state (motion, hits,
// projectile, after-image trail, the pose's own battle animation) and the
// per-battle flags. None of it is saved; the actor's Clear resets it and each battle start
// resets what belongs to one battle.

#include <array>
#include <cstdint>
#include <vector>

struct TBattlePoint {
    int32_t x = 0, y = 0;
    bool operator==(const TBattlePoint&) const = default;
};

struct TActorBattleShow {
    // Pose numbers.
    enum Pose : uint8_t {
        kIdle = 0, kFirstHand = 1, kSecondHand = 2, kRightHand = 3, kStepBack = 4, kSkill = 5, kItem = 6,
        kDead = 7, kDamaged = 8, kCondition = 9, kDefend = 10, kRowChange = 11, kStepOut = 12,
        kReturning = 13, kVictory = 14, kSettle = 15, kRunningAway = 16, kDoNothing = 17,
        // "No pose": the pose animation was set up for none yet.
        kNoPose = 18,
    };
    // Entries of the battler animation set.
    enum Entry : int32_t {
        kEntryIdle = 0, kEntryRightHand = 1, kEntryLeftHand = 2, kEntrySkill = 3, kEntryDead = 4,
        kEntryDamage = 5, kEntryBadStatus = 6, kEntryDefend = 7, kEntryWalkLeft = 8, kEntryWalkRight = 9,
        kEntryVictory = 10, kEntryItem = 11,
    };
    static constexpr int32_t kStepCounts = 25;  // counts of the way out (and of the way back)

    int32_t blinkTimer = 0;
    // Counts since the pose was taken (the damage and item poses last 60).
    int32_t poseCounts = 0;
    uint8_t countedPose = kNoPose;
    int32_t frame = 0;  // 0..2 of the frame strip
    int32_t hitsStarted = 0, hitsDone = 0;
    // Hits per swing of the last prepared hand: its weapon's swing count + 1.
    int32_t hitsPerSwing = 1;
    // The flight of one projectile, in counts (40, 80 or 120).
    int32_t flightTime = 40;
    // One position per target of a projectile (mode 2: one per enemy).
    std::vector<TBattlePoint> projectiles;
    // After-image positions, oldest first.
    std::array<TBattlePoint, 3> trail{};
    int32_t motionStyle = 0;
    uint8_t afterImage = 0;
    uint8_t ranged = 0;
    uint8_t projectileArc = 0;
    int32_t projectileMode = 0;
    // Where an action's step out leads.
    TBattlePoint target{};
    // The pose's battle animation, its counter (frame = counter / 2), and
    // the pose it was set up for.
    int32_t poseAnimationId = 0;
    int32_t poseAnimationCounter = 0;
    uint8_t animatedPose = kNoPose;
    // The pose to return to after the damage pose (and 5 while a skill's
    // hit is under way, 15 once it is done).
    uint8_t pendingPose = 0;
    // The skill's reflection check was made for the hit under way.
    uint8_t reflectionChecked = 0;
    uint8_t autoThisBattle = 0;
    uint8_t battleStarted = 0;
    // The row the actor is moving to (a row change takes effect in the
    // next battle update).
    int32_t rowTarget = 0;
};
