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

namespace mkdemo {

namespace skill {
enum : int {
    kPowerStrike = 1, kWhirlwind, kFire, kBlaze, kFrost, kThunder, kHeal, kHealAll, kRevive, kCleanse, kSlumber,
    kGuard, kHaste, kDrain, kReturn, kFlee, kKindle, kPoisonFang, kRoar, kStoneGaze, kFireBreath,
    kCount = kFireBreath,
};
}
namespace condition {
enum : int { kDead = 1, kPoison, kSleep, kBlind, kSilence, kConfusion, kParalysis, kCount = kParalysis };
}
namespace attribute {
enum : int { kBlade = 1, kBlunt, kFire, kIce, kThunder, kHoly, kCount = kHoly };
}
namespace enemy {
enum : int { kSlime = 1, kBat, kWolf, kGoblin, kMushroom, kSkeleton, kWisp, kSnake, kGolem, kWyrm, kCount = kWyrm };
}
namespace command {
enum : int { kAttack = 1, kSkills, kMagic, kDefend, kItem, kRun, kCount = kRun };
}

}  // namespace mkdemo
