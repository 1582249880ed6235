#pragma once
// Ids of the demo's database entries that the maps and events refer to.

namespace mkdemo {

namespace hero {
enum : int { kAren = 1, kLysa, kBorin, kMira, kCount = kMira };
}
namespace item {
enum : int {
    kPotion = 1, kHiPotion, kEther, kAntidote, kEyeDrops, kPhoenixFeather, kWakeBell, kStrengthSeed, kVigorSeed,
    kSwiftSeed, kWingOfReturn, kFireScroll, kTomeOfHealing, kLanternOil, kBronzeSword, kIronSword, kGreatAxe,
    kOakStaff, kSilverWand, kHuntingBow, kDagger, kWoodenShield, kIronShield, kLeatherVest, kChainMail,
    kMageRobe, kLeatherCap, kIronHelm, kLuckyCharm, kWardRing, kCount = kWardRing,
};
}
namespace troop {
enum : int { kSlimes = 1, kBatAndSlime, kGoblins, kBones, kSwampThings, kGolem, kCount = kGolem };
}
namespace animation {
enum : int { kSlash = 1, kImpact, kFlame, kSparkle, kFrost, kBolt, kCount = kBolt };
}

}  // namespace mkdemo
