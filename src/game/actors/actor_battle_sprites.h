#pragma once
// The pictures of an actor in battle: for each of the 32 entries of its
// battler set a 144x48 strip of three frames (from "BattleCharSet") and its
// mirror; for each hand the weapon strip and the projectile strip (three
// 64x64 frames from "BattleWeapon") and their mirrors; and the graphic of
// the pose's battle animation.
//
// A mirrored strip is the whole strip reversed, so mirrored frame f lies
// in cell 2 - f.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "media/sheet/sheet.h"

class TLcfgPlayerItem;
class TLcfAnimationGraphic;

class TActorBattleSprites {
public:
    static constexpr int kEntries = 32;
    static constexpr int32_t kFrameSize = 48;
    static constexpr int32_t kWeaponSize = 64;

    TActorBattleSprites();
    ~TActorBattleSprites();
    TActorBattleSprites(const TActorBattleSprites&) = delete;
    TActorBattleSprites& operator=(const TActorBattleSprites&) = delete;

    // Loads every strip for the actor's battler set and equipment. A
    // picture that cannot be found leaves its strip empty (not drawn).
    void Build(const TLcfgPlayerItem& actor);
    void Clear();

    TSorvoSheet& Frames(int entry, bool mirrored);
    TSorvoSheet& Weapon(int hand, bool mirrored);
    TSorvoSheet& Projectile(int hand, bool mirrored);
    // The pose's animation graphic, set up for `id` (0 clears it) mirrored
    // or not; loads only when either changed.
    TLcfAnimationGraphic& PoseGraphic(int32_t id, int32_t mirrored);

private:
    struct Strip {
        TSorvoSheet plain, mirror;
    };
    static void Load(Strip& strip, const std::string& folder, const std::string& name, int32_t row, int32_t size);

    std::array<Strip, kEntries> frames_;
    std::array<Strip, 2> weapons_;
    std::array<Strip, 2> projectiles_;
    std::unique_ptr<TLcfAnimationGraphic> poseGraphic_;
    int32_t poseGraphicId_ = 0;
    int32_t poseGraphicMirrored_ = 0;
};
