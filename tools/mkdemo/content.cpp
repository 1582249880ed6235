#include "content.h"

#include "art.h"
#include "sounds.h"
#include "tiles.h"

namespace mkdemo {
namespace {

constexpr std::array<int, 6> kFighterCommands = {command::kAttack, command::kSkills, command::kDefend, command::kItem,
                                                 command::kRun, -1};
constexpr std::array<int, 6> kCasterCommands = {command::kAttack, command::kMagic, command::kDefend, command::kItem,
                                                command::kRun, -1};

// Curves: max HP, max SP, attack, defense, spirit, agility.
const Curves kSwordsman = {{{48, 14, 20}, {8, 2, 4}, {14, 3, 2}, {11, 2, 2}, {8, 1, 2}, {12, 2, 2}}};
const Curves kMage = {{{34, 9, 12}, {24, 5, 8}, {8, 1, 1}, {8, 1, 2}, {16, 4, 4}, {11, 2, 2}}};
const Curves kWarrior = {{{62, 17, 24}, {0, 1, 2}, {16, 4, 2}, {14, 3, 2}, {5, 1, 1}, {8, 1, 2}}};
const Curves kHealer = {{{40, 11, 14}, {20, 4, 8}, {9, 2, 1}, {9, 2, 2}, {14, 3, 4}, {13, 2, 3}}};

ContentDesign Build() {
    ContentDesign c;

    c.classes = {
        {"Swordsman", kSwordsman, 30, 20, 0, {{1, skill::kPowerStrike}, {7, skill::kWhirlwind}, {10, skill::kGuard}},
         kFighterCommands, false, false},
        {"Mage", kMage, 28, 22, 0,
         {{1, skill::kFire}, {3, skill::kFrost}, {5, skill::kSlumber}, {8, skill::kThunder}, {12, skill::kBlaze},
          {14, skill::kDrain}},
         kCasterCommands, false, false},
        {"Warrior", kWarrior, 32, 22, 0, {{1, skill::kPowerStrike}, {6, skill::kGuard}, {9, skill::kWhirlwind}},
         kFighterCommands, false, true},
        {"Healer", kHealer, 28, 20, 0,
         {{1, skill::kHeal}, {1, skill::kKindle}, {4, skill::kCleanse}, {6, skill::kReturn}, {7, skill::kFlee},
          {9, skill::kHealAll}, {11, skill::kHaste}, {13, skill::kRevive}},
         kCasterCommands, false, false},
    };

    c.heroes = {
        {"Aren", "Lamplighter", art::kHeroes, 0, art::kHeroes, 0, 1, 50, 25, 1, kSwordsman, 30, 20, 0,
         {item::kBronzeSword, item::kWoodenShield, item::kLeatherVest, 0, 0}, animation::kImpact,
         {{1, skill::kPowerStrike}, {7, skill::kWhirlwind}}, kFighterCommands, 256, 52},
        {"Lysa", "Hedge Mage", art::kHeroes, 1, art::kHeroes, 1, 1, 50, 40, 2, kMage, 28, 22, 0,
         {item::kOakStaff, 0, item::kMageRobe, 0, 0}, animation::kImpact, {{1, skill::kFire}, {3, skill::kFrost}},
         kCasterCommands, 280, 80},
        {"Borin", "Axe for Hire", art::kHeroes, 2, art::kHeroes, 2, 3, 50, 20, 3, kWarrior, 32, 22, 0,
         {item::kGreatAxe, 0, item::kChainMail, item::kIronHelm, 0}, animation::kImpact,
         {{1, skill::kPowerStrike}}, kFighterCommands, 256, 108},
        {"Mira", "Wandering Healer", art::kHeroes, 3, art::kHeroes, 3, 3, 50, 35, 4, kHealer, 28, 20, 0,
         {item::kSilverWand, 0, item::kMageRobe, item::kLeatherCap, item::kWardRing}, animation::kImpact,
         {{1, skill::kHeal}, {1, skill::kKindle}}, kCasterCommands, 280, 136},
    };

    // Skills. Damage = base + attack × a / 20 + spirit × s / 40, less the
    // target's defense and spirit for skills aimed at enemies. Influences stay
    // within 0..10: a skill whose influence reaches 11 can never be used.
    auto attack = [](const char* name, const char* description, const char* message, int sp, int scope, int anim,
                     int a, int sp_inf, int base, std::vector<int> attributes) {
        return SkillDesign{.name = name, .description = description, .message1 = message, .message2 = "",
                           .kind = 0, .sp = sp, .scope = scope, .animation = anim, .attack_influence = a,
                           .spirit_influence = sp_inf, .variance = 4, .base = base, .success = 100, .hp = true,
                           .sp_effect = false, .attack = false, .defense = false, .spirit = false,
                           .agility = false, .absorb = false, .ignore_defense = false, .field = false,
                           .battle = true, .conditions = {}, .attributes = std::move(attributes),
                           .switch_id = 1, .sound = ""};
    };
    auto support = [](const char* name, const char* description, const char* message, int sp, int scope, int anim,
                      int base, int spirit) {
        return SkillDesign{.name = name, .description = description, .message1 = message, .message2 = "",
                           .kind = 0, .sp = sp, .scope = scope, .animation = anim, .attack_influence = 0,
                           .spirit_influence = spirit, .variance = 2, .base = base, .success = 100, .hp = true,
                           .sp_effect = false, .attack = false, .defense = false, .spirit = false,
                           .agility = false, .absorb = false, .ignore_defense = false, .field = true,
                           .battle = true, .conditions = {}, .attributes = {}, .switch_id = 1, .sound = ""};
    };
    SkillDesign power = attack("Power Strike", "A heavy two-handed blow.", " strikes hard!", 3, 0, animation::kSlash,
                               10, 0, 25, {attribute::kBlade});
    SkillDesign whirl = attack("Whirlwind", "Slash every enemy.", " spins into the foes!", 8, 1, animation::kSlash,
                               7, 0, 15, {attribute::kBlade});
    SkillDesign fire = attack("Fire", "Burn one enemy.", " casts Fire!", 4, 0, animation::kFlame, 0, 10, 40,
                              {attribute::kFire});
    SkillDesign blaze = attack("Blaze", "Burn every enemy.", " casts Blaze!", 12, 1, animation::kFlame, 0, 9, 45,
                               {attribute::kFire});
    SkillDesign frost = attack("Frost", "Freeze one enemy.", " casts Frost!", 5, 0, animation::kFrost, 0, 10, 45,
                               {attribute::kIce});
    SkillDesign thunder = attack("Thunder", "Lightning on all foes.", " calls Thunder!", 10, 1, animation::kBolt, 0,
                                 9, 40, {attribute::kThunder});
    SkillDesign heal = support("Heal", "Restore one ally's HP.", " casts Heal!", 4, 3, animation::kSparkle, 45, 8);
    SkillDesign heal_all = support("Heal All", "Restore the party's HP.", " casts Heal All!", 12, 4,
                                   animation::kSparkle, 35, 6);
    SkillDesign revive = support("Revive", "Raise a fallen ally.", " casts Revive!", 16, 3, animation::kSparkle, 25, 3);
    revive.conditions = {condition::kDead};
    SkillDesign cleanse = support("Cleanse", "Cure poison and blindness.", " casts Cleanse!", 3, 3,
                                  animation::kSparkle, 0, 0);
    cleanse.hp = false;
    cleanse.conditions = {condition::kPoison, condition::kBlind};
    SkillDesign slumber = attack("Slumber", "Put enemies to sleep.", " casts Slumber!", 5, 1, animation::kSparkle, 0, 0,
                                 0, {});
    slumber.hp = false;
    slumber.success = 70;
    slumber.conditions = {condition::kSleep};
    SkillDesign guard = support("Guard", "Raise own defense.", " braces for the blow!", 3, 2, animation::kSparkle, 10,
                                0);
    guard.hp = false;
    guard.defense = true;
    guard.field = false;
    SkillDesign haste = support("Haste", "Raise an ally's agility.", " casts Haste!", 6, 3, animation::kSparkle, 8, 4);
    haste.hp = false;
    haste.agility = true;
    haste.field = false;
    SkillDesign drain = attack("Drain", "Steal an enemy's HP.", " casts Drain!", 8, 0, animation::kImpact, 0, 8, 35,
                               {});
    drain.absorb = true;
    SkillDesign ret = support("Return", "Back to the last town.", " casts Return!", 6, 4, animation::kSparkle, 0, 0);
    ret.kind = 1;
    ret.hp = false;
    ret.battle = false;
    ret.sound = sound::kTeleport;
    SkillDesign flee = support("Flee", "Leave a dungeon or a fight.", " casts Flee!", 4, 4, animation::kSparkle, 0, 0);
    flee.kind = 2;
    flee.hp = false;
    flee.sound = sound::kEscape;
    SkillDesign kindle = support("Kindle", "Light a lantern with magic.", " kindles a flame!", 2, 2,
                                 animation::kFlame, 0, 0);
    kindle.kind = 3;
    kindle.hp = false;
    kindle.battle = false;
    kindle.switch_id = 3;  // the great lantern's switch
    kindle.sound = sound::kFire;
    SkillDesign fang = attack("Poison Fang", "", " bites with venom!", 0, 0, animation::kImpact, 6, 0, 12, {});
    fang.conditions = {condition::kPoison};
    SkillDesign roar = attack("Roar", "", " lets out a roar!", 0, 1, animation::kImpact, 5, 0, 10, {});
    roar.conditions = {condition::kConfusion};
    roar.success = 40;
    SkillDesign gaze = attack("Stone Gaze", "", " glares!", 0, 0, animation::kBolt, 0, 10, 0, {});
    gaze.hp = false;
    gaze.success = 60;
    gaze.conditions = {condition::kParalysis};
    SkillDesign breath = attack("Fire Breath", "", " breathes fire!", 0, 1, animation::kFlame, 0, 10, 60,
                                {attribute::kFire});
    c.skills = {power, whirl, fire, blaze, frost, thunder, heal, heal_all, revive, cleanse, slumber,
                guard, haste, drain, ret, flee, kindle, fang, roar, gaze, breath};

    // Items.
    auto base = [](const char* name, const char* description, int kind, int price) {
        return ItemDesign{.name = name, .description = description, .kind = kind, .price = price, .uses = 1,
                          .attack = 0, .defense = 0, .spirit = 0, .agility = 0, .two_handed = false,
                          .hit_rate = 90, .animation = animation::kImpact, .scope = 0, .hp_percent = 0,
                          .hp_points = 0, .sp_percent = 0, .sp_points = 0, .fallen_only = false, .seed = {},
                          .skill = 1, .switch_id = 1, .heroes = {}, .conditions = {}, .attributes = {},
                          .condition_rate = 0, .prevent_critical = false};
    };
    auto medicine = [&](const char* name, const char* description, int price, int hp, int sp) {
        ItemDesign d = base(name, description, 6, price);
        d.hp_points = hp;
        d.sp_points = sp;
        return d;
    };
    auto weapon = [&](const char* name, const char* description, int price, int atk, std::vector<int> who,
                      int anim, int attribute) {
        ItemDesign d = base(name, description, 1, price);
        d.attack = atk;
        d.heroes = std::move(who);
        d.animation = anim;
        d.attributes = {attribute};
        return d;
    };
    auto armour = [&](const char* name, const char* description, int kind, int price, int def, std::vector<int> who) {
        ItemDesign d = base(name, description, kind, price);
        d.defense = def;
        d.heroes = std::move(who);
        return d;
    };
    const std::vector<int> fighters = {hero::kAren, hero::kBorin};
    const std::vector<int> casters = {hero::kLysa, hero::kMira};
    ItemDesign potion = medicine("Potion", "Restores 50 HP.", 20, 50, 0);
    ItemDesign hipotion = medicine("Hi-Potion", "Restores 200 HP.", 80, 200, 0);
    ItemDesign ether = medicine("Ether", "Restores 30 SP.", 120, 0, 30);
    ItemDesign antidote = medicine("Antidote", "Cures poison.", 10, 0, 0);
    antidote.conditions = {condition::kPoison};
    ItemDesign drops = medicine("Eye Drops", "Cures blindness.", 10, 0, 0);
    drops.conditions = {condition::kBlind};
    ItemDesign feather = medicine("Phoenix Feather", "Revives a fallen ally.", 300, 0, 0);
    feather.hp_percent = 25;
    feather.fallen_only = true;
    feather.conditions = {condition::kDead};
    ItemDesign bell = medicine("Wake Bell", "Wakes the whole party.", 30, 0, 0);
    bell.scope = 1;
    bell.uses = 5;
    bell.conditions = {condition::kSleep, condition::kConfusion};
    ItemDesign strength = base("Strength Seed", "Attack +2 for good.", 8, 500);
    strength.seed = {0, 0, 2, 0, 0, 0};
    ItemDesign vigor = base("Vigor Seed", "Max HP +10 for good.", 8, 500);
    vigor.seed = {10, 0, 0, 0, 0, 0};
    ItemDesign swift = base("Swift Seed", "Agility +2 for good.", 8, 500);
    swift.seed = {0, 0, 0, 0, 0, 2};
    ItemDesign wing = base("Wing of Return", "Flies the party home.", 9, 60);
    wing.skill = skill::kReturn;
    ItemDesign scroll = base("Fire Scroll", "Casts Fire without SP.", 9, 90);
    scroll.skill = skill::kFire;
    ItemDesign tome = base("Tome of Healing", "Teaches Heal.", 7, 400);
    tome.skill = skill::kHeal;
    tome.heroes = casters;
    ItemDesign oil = base("Lantern Oil", "Fuel for the great lantern.", 10, 0);
    oil.switch_id = 3;
    ItemDesign bronze = weapon("Bronze Sword", "A plain blade.", 80, 8, fighters, animation::kSlash, attribute::kBlade);
    ItemDesign iron = weapon("Iron Sword", "A sturdy blade.", 300, 18, fighters, animation::kSlash, attribute::kBlade);
    ItemDesign axe = weapon("Great Axe", "Two hands, huge blows.", 420, 28, {hero::kBorin}, animation::kImpact,
                            attribute::kBlunt);
    axe.two_handed = true;
    axe.hit_rate = 80;
    ItemDesign staff = weapon("Oak Staff", "A walking stick of sorts.", 60, 4, casters, animation::kImpact,
                              attribute::kBlunt);
    staff.spirit = 3;
    ItemDesign wand = weapon("Silver Wand", "Hums with power.", 500, 6, casters, animation::kBolt, attribute::kHoly);
    wand.spirit = 8;
    wand.skill = skill::kThunder;  // used from the item list, it calls lightning
    wand.performs_skill = true;
    ItemDesign bow = weapon("Hunting Bow", "Strikes first.", 350, 14, {hero::kAren, hero::kMira}, animation::kImpact,
                            attribute::kBlade);
    ItemDesign dagger = weapon("Dagger", "Poisoned tip.", 200, 10, {}, animation::kSlash, attribute::kBlade);
    dagger.conditions = {condition::kPoison};
    dagger.condition_rate = 20;
    ItemDesign wshield = armour("Wooden Shield", "Better than nothing.", 2, 50, 4, fighters);
    ItemDesign ishield = armour("Iron Shield", "Solid iron.", 2, 280, 10, fighters);
    ItemDesign vest = armour("Leather Vest", "Light armour.", 3, 60, 5, {});
    ItemDesign mail = armour("Chain Mail", "Heavy rings of steel.", 3, 350, 14, fighters);
    ItemDesign robe = armour("Mage Robe", "Woven with wards.", 3, 200, 6, casters);
    robe.spirit = 4;
    ItemDesign cap = armour("Leather Cap", "Keeps the rain off.", 4, 40, 2, {});
    ItemDesign helm = armour("Iron Helm", "Dents, but holds.", 4, 240, 6, fighters);
    ItemDesign charm = armour("Lucky Charm", "Wards off critical hits.", 5, 150, 0, {});
    charm.prevent_critical = true;
    charm.agility = 2;
    ItemDesign ring = armour("Ward Ring", "Resists poison.", 5, 300, 2, {});
    ring.conditions = {condition::kPoison};
    c.items = {potion, hipotion, ether, antidote, drops, feather, bell, strength, vigor, swift,
               wing, scroll, tome, oil, bronze, iron, axe, staff, wand, bow,
               dagger, wshield, ishield, vest, mail, robe, cap, helm, charm, ring};

    // Enemies, weakest first.
    const ActionDesign hit{0, 0, 0, 50};
    c.enemies = {
        {"Slime", "Slime", 24, 0, 10, 6, 4, 6, 4, 6, item::kPotion, 20, false, {hit}, {{attribute::kFire, 1}}},
        {"Bat", "Bat", 18, 0, 12, 4, 4, 16, 5, 5, 0, 0, true, {hit, {1, 0, skill::kPoisonFang, 30}},
         {{attribute::kThunder, 1}}},
        {"Wolf", "Wolf", 40, 0, 18, 8, 4, 14, 9, 8, item::kPotion, 25, false, {hit, {1, 0, skill::kRoar, 20}},
         {{attribute::kFire, 1}}},
        {"Goblin", "Goblin", 46, 6, 20, 12, 6, 10, 12, 18, item::kAntidote, 30, false, {hit, {0, 2, 0, 15}},
         {{attribute::kBlade, 1}}},
        {"Mushroom", "Mushroom", 36, 12, 14, 10, 12, 6, 10, 12, item::kWakeBell, 20, false,
         {hit, {1, 0, skill::kSlumber, 40}}, {{attribute::kFire, 0}}},
        {"Skeleton", "Skeleton", 70, 0, 26, 18, 6, 12, 20, 30, item::kIronSword, 8, false,
         {hit, {1, 0, skill::kPowerStrike, 30}}, {{attribute::kHoly, 0}, {attribute::kBlunt, 1}, {attribute::kBlade, 3}}},
        {"Wisp", "Wisp", 40, 40, 10, 20, 24, 20, 22, 24, item::kEther, 30, true,
         {{1, 0, skill::kFire, 50}, {1, 0, skill::kFrost, 50}}, {{attribute::kBlade, 3}, {attribute::kIce, 1}}},
        {"Snake", "Snake", 52, 0, 22, 12, 8, 18, 16, 20, item::kAntidote, 40, false,
         {hit, {1, 0, skill::kPoisonFang, 60}}, {{attribute::kIce, 1}}},
        {"Golem", "Golem", 420, 30, 38, 30, 20, 8, 150, 300, item::kStrengthSeed, 100, false,
         {hit, {1, 0, skill::kStoneGaze, 30}, {0, 2, 0, 20, 4, 0, 30}}, {{attribute::kThunder, 0}, {attribute::kBlade, 3}}},
        {"Wyrm", "Wyrm", 900, 80, 48, 36, 40, 24, 400, 800, item::kVigorSeed, 100, true,
         {hit, {1, 0, skill::kFireBreath, 60}}, {{attribute::kIce, 0}, {attribute::kFire, 4}}},
    };

    // Troops; positions are the pictures' centres on the battle screen.
    c.troops = {
        {"Slimes", {{enemy::kSlime, 110, 130}, {enemy::kSlime, 170, 140}}, {}, {}},
        {"Bat and Slime", {{enemy::kBat, 120, 90}, {enemy::kSlime, 160, 140}}, {}, {}},
        {"Goblins", {{enemy::kGoblin, 100, 130}, {enemy::kGoblin, 170, 130}, {enemy::kWolf, 135, 160}},
         {kTerrainGrass, kTerrainForest, kTerrainRoad}, {}},
        {"Bones", {{enemy::kSkeleton, 110, 120}, {enemy::kWisp, 170, 100}}, {kTerrainCaveFloor}, {}},
        {"Swamp Things", {{enemy::kSnake, 100, 140}, {enemy::kMushroom, 150, 130}, {enemy::kMushroom, 190, 140}},
         {}, {}},
        {"Golem",
         {{enemy::kGolem, 140, 120}},
         {kTerrainCaveFloor},
         {{.turn = 1, .enemy_hp_below = -1, .message = {"The golem's core flares with stolen light!"},
           .animation = 0},
          {.turn = -1, .enemy_hp_below = 50, .message = {"Cracks spread across the golem's body!"},
           .animation = animation::kBolt}}},
    };

    c.terrains = {
        {"Grass", 0, 100, art::kGrassland, false, false, true, true, 0, art::kMeadowSky, art::kMeadow, 1},
        {"Road", 0, 60, art::kGrassland, false, false, true, true, 0},
        {"Forest", 0, 140, art::kGrassland, false, false, true, false, 1},
        {"Hills", 0, 120, art::kGrassland, false, false, true, true, 0},
        {"Mountain", 0, 100, art::kGrassland, false, false, true, false, 0},
        {"Shallows", 0, 100, art::kGrassland, true, true, true, false, 0},
        {"Ocean", 0, 100, art::kGrassland, false, true, true, false, 0},
        {"Town", 0, 0, art::kStreet, false, false, true, true, 0},
        {"Cave Floor", 0, 100, art::kCave, false, false, false, false, 0},
        {"Swamp", 2, 150, art::kGrassland, false, false, true, false, 2},
        {"Sand", 0, 80, art::kGrassland, false, false, true, true, 0},
        {"Wall", 0, 100, art::kCave, false, false, true, false, 0},
    };

    c.attributes = {
        {"Blade", 0, {300, 200, 100, 50, 0}}, {"Blunt", 0, {300, 200, 100, 50, 0}},
        {"Fire", 1, {300, 200, 100, 50, 0}},  {"Ice", 1, {300, 200, 100, 50, 0}},
        {"Thunder", 1, {300, 200, 100, 50, 0}}, {"Holy", 1, {300, 200, 100, 50, 0}},
    };

    c.conditions = {
        {"Fallen", true, 5, 100, 1, 0, 0, 0, 100, " has fallen!", " is defeated!", "", "", 0, 0},
        {"Poison", true, 4, 60, 0, 0, 0, 0, 100, " is poisoned!", " is poisoned!", " suffers from poison!",
         " is no longer poisoned.", 5, 1},
        {"Sleep", false, 9, 70, 1, 1, 30, 60, 100, " falls asleep!", " falls asleep!", " is sleeping...",
         " wakes up!", 0, 0},
        {"Blind", false, 3, 40, 0, 0, 20, 0, 50, " is blinded!", " is blinded!", "", " can see again!", 0, 0},
        {"Silence", false, 8, 45, 0, 0, 25, 0, 100, " is silenced!", " is silenced!", "", " can speak again!", 0,
         0},
        {"Confusion", false, 7, 65, 3, 0, 30, 50, 100, " is confused!", " is confused!", "", " comes to!", 0, 0},
        {"Paralysis", false, 11, 80, 1, 1, 25, 0, 100, " is paralysed!", " is turned to stone!", "",
         " can move again!", 0, 0},
    };

    c.animations = {
        {"Slash", "Slash", 5, 8, 1, sound::kHit, 20, false},
        {"Impact", "Impact", 5, 6, 1, sound::kHit, 16, false},
        {"Flame", "Flame", 8, 10, 2, sound::kFire, 24, true},
        {"Sparkle", "Sparkle", 5, 10, 1, sound::kHeal, 0, false},
        {"Frost", "Frost", 5, 8, 1, sound::kMagic, 20, false},
        {"Bolt", "Bolt", 4, 8, 1, sound::kMagic, 31, true},
    };

    c.commands = {{"Attack", 0}, {"Skills", 1}, {"Magic", 1}, {"Defend", 3}, {"Item", 4}, {"Run", 5}};
    return c;
}

}  // namespace

const ContentDesign& DemoContent() {
    static const ContentDesign content = Build();
    return content;
}

}  // namespace mkdemo
