#include "database.h"

#include <algorithm>
#include <string>
#include <vector>

#include "art.h"
#include "content.h"
#include "data/database/database.h"
#include "data/record/var_int.h"
#include "music.h"
#include "script.h"
#include "sounds.h"
#include "tiles.h"

namespace mkdemo {
namespace {

void FillSystem(TLcfSystem& s) {
    s.boatSheet = art::kVehicles;
    s.shipSheet = art::kVehicles;
    s.airshipSheet = art::kVehicles;
    s.boatIndex = 0;
    s.shipIndex = 1;
    s.airshipIndex = 2;
    s.titlePicture = art::kTitle;
    s.gameOverPicture = art::kGameOver;
    s.systemSkin = art::kSkin;
    s.systemImage2 = art::kSystem2;
    // Aren and Lysa set out together; Borin and Mira join on the way.
    s.party.Resize(2);
    s.party.Set(0, 1);
    s.party.Set(1, 2);
    // Items, skills, equipment, status, row, order, wait mode, save.
    const uint16_t menu[] = {1, 2, 3, 5, 6, 7, 8, 4};
    s.menuCommands.Resize(8);
    for (int i = 0; i < 8; ++i) s.menuCommands.Set(i, menu[i]);

    auto music = [&](int slot, const char* name, int volume = 100) {
        s.music[static_cast<size_t>(slot)].name = name;
        s.music[static_cast<size_t>(slot)].volume = volume;
    };
    music(kMusicTitle, music::kTitle);
    music(kMusicBattle, music::kBattle);
    music(kMusicVictory, music::kVictory);
    music(kMusicInn, music::kInn);
    music(kMusicBoat, music::kBoat);
    music(kMusicShip, music::kBoat);
    music(kMusicAirship, music::kBoat);
    music(kMusicGameOver, music::kGameOver);

    auto sound = [&](int slot, const char* name, int volume = 90) {
        s.sounds[static_cast<size_t>(slot)].name = name;
        s.sounds[static_cast<size_t>(slot)].volume = volume;
    };
    sound(kSoundCursor, sound::kCursor, 70);
    sound(kSoundDecision, sound::kDecision, 80);
    sound(kSoundCancel, sound::kCancel, 80);
    sound(kSoundBuzzer, sound::kBuzzer, 80);
    sound(kSoundBattleStart, sound::kBattleStart);
    sound(kSoundEscape, sound::kEscape);
    sound(kSoundEnemyAttack, sound::kEnemyAttack);
    sound(kSoundEnemyDamaged, sound::kHit);
    sound(kSoundAllyDamaged, sound::kHeavyHit);
    sound(kSoundEvasion, sound::kMiss);
    sound(kSoundEnemyDefeated, sound::kDefeated);
    sound(kSoundItemUse, sound::kItem);

    // Transfers fade; a battle breaks the map into a mosaic and opens from
    // the centre; its end fades back.
    s.transitions[kTransitionTeleportErase] = 0;
    s.transitions[kTransitionTeleportShow] = 0;
    s.transitions[kTransitionBattleStartErase] = 17;
    s.transitions[kTransitionBattleStartShow] = 8;
    s.transitions[kTransitionBattleEndErase] = 0;
    s.transitions[kTransitionBattleEndShow] = 0;

    s.battleTestBackdrop = art::kGrassland;
    s.battleTestParty.Clear();
    for (int hero = 1; hero <= 4; ++hero) {
        TLcfTestPlayerItem* member = s.battleTestParty.GetOrCreate(hero);
        member->heroId = hero;
        member->level = 5;
    }
}

void FillShop(TLcfVocabularyShop& shop, const char* greeting, const char* again) {
    shop.texts = {greeting, again, "Buy", "Sell", "Leave", "What would you like?", "How many?",
                  "Thank you kindly!", "What will you sell?", "How many?", "A fair trade."};
}

void FillVocabulary(TLcfVocabulary& v) {
    using T = TLcfVocabulary;
    const struct {
        int id;
        const char* text;
    } terms[] = {
        {T::kBattleStart, " appeared!"},        {T::kEscapeFailed, "Could not get away!"},
        {T::kVictory, "Victory!"},              {T::kDefeat, "The party has fallen..."},
        {T::kExperienceReceived, "EXP gained."}, {T::kGoldReceivedBefore, "Found"},
        {T::kGoldReceivedAfter, "."},           {T::kItemFound, " was found!"},
        {T::kLevelUp, " reached"},              {T::kSkillLearned, " was learned!"},
        {T::kBattleStart2, ""},                 {T::kMiss, "Miss"},
        {T::kItemCountLabel, "Owned"},          {T::kShopCountLabel, "Equipped"},
        {T::kCurrency, "G"},                    {T::kFight, "Fight"},
        {T::kAuto, "Auto"},                     {T::kEscape, "Run"},
        {T::kItems, "Items"},                   {T::kSkills, "Skills"},
        {T::kEquipment, "Equip"},               {T::kSave, "Save"},
        {T::kQuitGame, "Quit"},                 {T::kNewGame, "New Game"},
        {T::kContinue, "Continue"},             {T::kShutdown, "Shutdown"},
        {T::kStatus, "Status"},                 {T::kRow, "Row"},
        {T::kOrder, "Order"},                   {T::kWaitOn, "Wait: On"},
        {T::kWaitOff, "Wait: Off"},             {T::kLevel, "Level"},
        {T::kStatusLabel1, "HP"},               {T::kStatusLabel2, "SP"},
        {T::kNormal, "Normal"},                 {T::kStatusLabel3, "Exp"},
        {T::kLevelShort, "Lv"},                 {T::kHpShort, "HP"},
        {T::kSpShort, "SP"},                    {T::kStatusLineLabel, "EXP"},
        {T::kAttack, "Attack"},                 {T::kDefense, "Defense"},
        {T::kSpirit, "Spirit"},                 {T::kAgility, "Agility"},
        {T::kWeapon, "Weapon"},                 {T::kShield, "Shield"},
        {T::kArmour, "Armour"},                 {T::kHelmet, "Helmet"},
        {T::kAccessory, "Trinket"},             {T::kSaveWhere, "Save to which file?"},
        {T::kLoadWhich, "Load which file?"},    {T::kFile, "File"},
        {T::kQuitConfirm, "Return to the title screen?"}, {T::kYes, "Yes"},
        {T::kNo, "No"},
    };
    for (const auto& term : terms) v.Set(term.id, term.text);
    FillShop(v.ShopTerms(0), "Welcome to the Lantern Market!", "Anything else?");
    FillShop(v.ShopTerms(1), "Finest blades in Varrow.", "Need another?");
    FillShop(v.ShopTerms(2), "Potions, herbs, remedies!", "Stay safe out there.");
    // The price and the currency word come between the first two texts.
    v.InnTerms(0).texts = {"Welcome! A bed costs", " a night.", "Will you stay?", "Stay", "Not now"};
    v.InnTerms(1).texts = {"The hearth is warm. Rest for", "?", "", "Rest", "Leave"};
}

void FillNames(TLcfSwitch& switches, TLcfVariable& variables) {
    const char* switch_names[sw::kCount] = {
        "Welcome",      "Clock running", "Lantern lit",  "Met elder",   "Chest opened",
        "Boss beaten",  "Bridge fixed",  "Lever pulled", "Shrine open", "Borin joined",
        "Mira joined",  "Intro done",    "Promised Tam", "Playing tag", "",
        "",             "",              "",             "Satchel taken", "",
    };
    switches.SetCount(sw::kCount);
    for (int i = 0; i < sw::kCount; ++i) switches.Items(i)->name = switch_names[i];
    const char* variable_names[var::kCount] = {"Seconds", "Chosen number", "Map id", "Map x", "Map y",
                                               "Steps",   "Choice",        "Wish",   "",      ""};
    variables.SetCount(var::kCount);
    for (int i = 0; i < var::kCount; ++i) variables.Items(i)->name = variable_names[i];
}

void FillCommonEvents(TLcfCommonEvent& events) {
    events.SetCount(3);

    // 1: the welcome, run once when a new game begins (the town's start
    // event turns its switch on). It turns its own switch off at the end,
    // or it would start again the moment it ends.
    TLcfCommonEventItem* welcome = events.Items(0);
    welcome->name = "Welcome";
    welcome->trigger = TLcfCommonEventItem::kAutorun;
    welcome->needsSwitch = 1;
    welcome->switchId = sw::kWelcome;
    Script(welcome->script)
        .Face(art::kHeroes, 0)
        .Say({"Aren: Another quiet night in Varrow...", "but the great lantern on the hill", "has gone dark."})
        .Face(art::kHeroes, 1, true)
        .Say({"Lysa: Then let's find out why", "and light it again!"})
        .NoFace()
        .Switch(sw::kWelcome, false);

    // 2: a clock that counts seconds while its switch is on.
    TLcfCommonEventItem* clock = events.Items(1);
    clock->name = "Clock";
    clock->trigger = TLcfCommonEventItem::kParallel;
    clock->needsSwitch = 1;
    clock->switchId = sw::kClockRunning;
    Script(clock->script).Line(kWait, {}, {10}).AddVariable(var::kSeconds, 1);

    // 3: a rest by the hearth, called from events.
    TLcfCommonEventItem* rest = events.Items(2);
    rest->name = "Rest";
    rest->trigger = TLcfCommonEventItem::kCallOnly;
    Script(rest->script)
        .Line(kTintScreen, {}, {40, 40, 60, 100, 10, 1})
        .Line(kPlaySound, sound::kHeal, {90, 100, 50})
        .Line(kFullHeal, {}, {0, 0})
        .Line(kWait, {}, {10})
        .Line(kTintScreen, {}, {100, 100, 100, 100, 10, 1})
        .Say({"Everyone feels rested."});
}

void FillChipSet(TLcfChipSetItem& item, const ChipSetDesign& design) {
    item.name = design.name;
    item.imageName = design.image;
    // Chips the design leaves empty block and count as wall.
    item.terrain.fill(kTerrainWall);
    item.lowerFlags.fill(kBlocked);
    item.upperFlags.fill(kPassAll);
    for (int i = 0; i < 3; ++i) {
        item.terrain[static_cast<size_t>(i)] = static_cast<uint16_t>(design.water_terrain[i]);
        item.lowerFlags[static_cast<size_t>(i)] = design.water_flags[i];
        item.terrain[static_cast<size_t>(3 + i)] = static_cast<uint16_t>(design.animated_terrain[i]);
        item.lowerFlags[static_cast<size_t>(3 + i)] = design.animated_flags[i];
    }
    for (size_t n = 0; n < design.terrain.size() && n < 12; ++n) {
        item.terrain[6 + n] = static_cast<uint16_t>(design.terrain[n].terrain);
        item.lowerFlags[6 + n] = design.terrain[n].flags;
    }
    for (size_t k = 0; k < design.lower.size() && k < 144; ++k) {
        item.terrain[18 + k] = static_cast<uint16_t>(design.lower[k].terrain);
        item.lowerFlags[18 + k] = design.lower[k].flags;
    }
    for (size_t j = 0; j < design.upper.size() && j < 144; ++j) item.upperFlags[j] = design.upper[j].flags;
    item.waterAnimationType = 0;
    item.waterAnimationSpeed = 0;
}

// Each animation steps through its image's cells over its frames, fading
// out at the end; a sound at the first frame and a flash at the second.
void FillAnimation(TLcfAnimationItem& item, const AnimationDesign& design) {
    item.name = design.name;
    item.image = design.image;
    item.position = static_cast<uint8_t>(design.position);
    item.frames.Clear();
    for (int f = 1; f <= design.frames; ++f) {
        TLcfAnimationPatternItem* frame = item.frames.GetOrCreate(f);
        TLcfAnimationCellItem* cell = frame->cells.Add();
        cell->pattern = std::min(design.cells - 1, (f - 1) * design.cells / design.frames);
        cell->zoom = 100;
        cell->transparency = f > design.frames - 2 ? 30 * (f - (design.frames - 2)) : 0;
    }
    item.timings.Clear();
    TLcfAnimationTimingItem* sound = item.timings.Add();
    sound->frame = 1;
    sound->sound.name = design.sound;
    sound->sound.volume = 90;
    if (design.flash_strength > 0) {
        TLcfAnimationTimingItem* flash = item.timings.Add();
        flash->frame = 2;
        flash->flashScope = design.screen_flash ? TLcfAnimationTimingItem::kScreen : TLcfAnimationTimingItem::kTarget;
        flash->flashStrength = design.flash_strength;
        flash->shake = design.screen_flash ? TLcfAnimationTimingItem::kNone : TLcfAnimationTimingItem::kTarget;
    }
}

void FillTerrain(TLcfGround& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.terrains.size()));
    for (size_t i = 0; i < content.terrains.size(); ++i) {
        const TerrainDesign& d = content.terrains[i];
        TLcfGroundItem& t = *table.Items(static_cast<int>(i));
        t.name = d.name;
        t.damage = d.damage;
        t.encounterRate = d.encounter_rate;
        t.backdrop = d.backdrop;
        t.boatPassable = d.boat;
        t.shipPassable = d.ship;
        t.airshipPassable = d.airship;
        t.airshipLands = d.airship_lands;
        t.bushDepth = static_cast<uint8_t>(d.bush_depth);
        if (d.frame_far) {
            t.backdropKind = 1;
            t.layer1Image = d.frame_far;
            t.layer1ScrollH = 1;
            t.layer1SpeedH = d.frame_speed;
        }
        if (d.frame_near) {
            t.layer2Shown = 1;
            t.layer2Image = d.frame_near;
        }
        if (d.damage > 0) {
            t.stepSound.name = sound::kHit;
            t.soundOnDamageOnly = 1;
        }
        // Open ground can bring a first strike or an ambush.
        if (d.encounter_rate > 0 && d.airship_lands) t.specialStarts = TLcfGroundItem::kInitiative | TLcfGroundItem::kBackAttack;
    }
}

void FillAttributes(TLcfAttrib& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.attributes.size()));
    for (size_t i = 0; i < content.attributes.size(); ++i) {
        const AttributeDesign& d = content.attributes[i];
        TLcfAttribItem& a = *table.Items(static_cast<int>(i));
        a.name = d.name;
        a.kind = static_cast<uint8_t>(d.kind);
        for (int r = 0; r < 5; ++r) a.rates[r] = d.rates[static_cast<size_t>(r)];
    }
}

void FillConditions(TLcfStatus& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.conditions.size()));
    for (size_t i = 0; i < content.conditions.size(); ++i) {
        const ConditionDesign& d = content.conditions[i];
        TLcfStatusItem& s = *table.Items(static_cast<int>(i));
        s.name = d.name;
        s.persistence = d.persists;
        s.colour = d.colour;
        s.priority = d.priority;
        s.restriction = static_cast<uint8_t>(d.restriction);
        s.minimumTurns = d.min_turns;
        s.recoveryChance = d.recovery_chance;
        s.recoveryByDamage = d.damage_recovery;
        s.hitRate = d.hit_rate;
        s.messageHero = d.hero_message;
        s.messageEnemy = d.enemy_message;
        s.messageEachTurn = d.turn_message;
        s.messageRecovery = d.recovery_message;
        s.battleHpPercent = d.battle_hp_percent;
        s.mapHpPoints = d.map_hp_points;
    }
}

void FillBattle(TLcfBattle& battle, const ContentDesign& content) {
    battle.layoutStyle = 1;
    battle.commands.SetCount(static_cast<int>(content.commands.size()));
    for (size_t i = 0; i < content.commands.size(); ++i) {
        TLcfBattleCMDItem& c = *battle.commands.Items(static_cast<int>(i));
        c.name = content.commands[i].name;
        c.kind = content.commands[i].kind;
    }
}

void FillGrowth(TLcfGrowthItem& item, const Curves& curves, int exp_base, int exp_increment, int exp_correction,
                const std::array<int, 6>& commands) {
    for (int kind = 0; kind < TLcfGrowthItem::kKinds; ++kind)
        for (int level = 1; level <= TLcfGrowthItem::kLevels; ++level)
            item.SetParameter(kind, level, std::clamp(curves[static_cast<size_t>(kind)].At(level), 0, 9999));
    item.expBase = exp_base;
    item.expIncrement = exp_increment;
    item.expCorrection = exp_correction;
    for (int slot = 0; slot < TLcfGrowthItem::kMenuSlots; ++slot)
        item.battleCommands[static_cast<size_t>(slot)] = commands[static_cast<size_t>(slot)];
}

void FillClasses(TLcfJob& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.classes.size()));
    for (size_t i = 0; i < content.classes.size(); ++i) {
        const ClassDesign& d = content.classes[i];
        TLcfJobItem& job = *table.Items(static_cast<int>(i));
        job.name = d.name;
        FillGrowth(job, d.curves, d.exp_base, d.exp_increment, d.exp_correction, d.commands);
        job.twoWeapons = d.two_weapons;
        job.strongDefense = d.strong_defense;
        job.skills.Clear();
        for (const Learning& learn : d.skills) {
            TLcfJobLearningItem* entry = job.skills.Add();
            entry->level = learn.level;
            entry->skillId = learn.skill;
        }
    }
    // The healer's training keeps poison and sleep at bay.
    if (table.Count() >= 4) {
        table.Items(3)->statusRanks.SetEntry(condition::kPoison, 3);
        table.Items(3)->statusRanks.SetEntry(condition::kSleep, 3);
    }
}

// One battler set per hero: each of the twelve named poses shows its row of
// the hero's battle sheet; the unnamed poses fall back to the standing row.
void FillBattlerSets(TLcfAnimation2& table, const ContentDesign& content) {
    const int heroes = static_cast<int>(content.heroes.size());
    table.SetCount(heroes);
    for (int i = 0; i < heroes; ++i) {
        TLcfAnimation2Item& set = *table.Items(i);
        set.name = content.heroes[static_cast<size_t>(i)].name;
        for (int pose = 0; pose < TLcfBattleMyCharacter::kPoses; ++pose) {
            TLcfBattleMyCharacterItem& entry = *set.poses.GetPose(pose);
            entry.image = art::kBattlers[i];
            entry.index = pose < art::kBattlerRows ? pose : 0;
            entry.kind = TLcfBattleMyCharacterItem::kSpriteSheet;
        }
    }
}

void FillHeroes(TLcfPlayer& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.heroes.size()));
    for (size_t i = 0; i < content.heroes.size(); ++i) {
        const HeroDesign& d = content.heroes[i];
        TLcfPlayerItem& hero = *table.Items(static_cast<int>(i));
        hero.name = d.name;
        hero.title = d.title;
        hero.sprite = d.sprite;
        hero.spriteIndex = d.sprite_index;
        hero.face = d.face;
        hero.faceIndex = d.face_index;
        hero.initialLevel = d.initial_level;
        hero.finalLevel = d.final_level;
        hero.criticalRate = d.critical_rate;
        hero.jobClass = d.job;
        FillGrowth(hero, d.curves, d.exp_base, d.exp_increment, d.exp_correction, d.commands);
        for (int slot = 0; slot < TLcfPlayerItem::kEquipmentSlots; ++slot)
            hero.SetInitialEquipment(slot, d.equipment[static_cast<size_t>(slot)]);
        hero.unarmedAnimation = d.unarmed_animation;
        hero.battleX = d.battle_x;
        hero.battleY = d.battle_y;
        hero.battlerSet = static_cast<int32_t>(i) + 1;  // one battler set per hero, in hero order
        hero.skills.Clear();
        for (const Learning& learn : d.skills) {
            TLcfPlayerLearningItem* entry = hero.skills.Add();
            entry->level = learn.level;
            entry->skillId = learn.skill;
        }
    }
}

// A flag set over ids 1..count: 1 for the listed ids, 0 for the others
// (an empty list leaves the set empty: everyone).
void SetWho(TLcfFlagSet& set, const std::vector<int>& ids, int count) {
    set.Reset();
    if (ids.empty()) return;
    for (int id = 1; id <= count; ++id)
        set.SetEntry(id, std::find(ids.begin(), ids.end(), id) != ids.end() ? 1 : 0);
}

// The class flags of an item: byte c stands for class c, byte 0 for a hero
// without a class (who may use only items open to everyone).
void SetClassWho(TLcfFlagSet& set, const std::vector<int>& classes, int count) {
    set.Reset();
    if (classes.empty()) return;
    for (int c = 0; c <= count; ++c)
        set.SetEntry(c + 1, std::find(classes.begin(), classes.end(), c) != classes.end() ? 1 : 0);
}

void SetFlags(TLcfFlagSet& set, const std::vector<int>& ids) {
    set.Reset();
    for (int id : ids) set.SetEntry(id, 1);
}

void FillSkills(TLcfSkill& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.skills.size()));
    for (size_t i = 0; i < content.skills.size(); ++i) {
        const SkillDesign& d = content.skills[i];
        TLcfSkillItem& skill = *table.Items(static_cast<int>(i));
        skill.name = d.name;
        skill.description = d.description;
        skill.message1 = d.message1;
        skill.message2 = d.message2;
        skill.kind = static_cast<uint8_t>(d.kind);
        skill.spCost = d.sp;
        skill.scope = static_cast<uint8_t>(d.scope);
        skill.switchId = d.switch_id;
        skill.battleAnimation = d.animation;
        if (d.sound && *d.sound) skill.sound.name = d.sound;
        skill.usableOnField = d.field;
        skill.usableInBattle = d.battle;
        skill.attackInfluence = d.attack_influence;
        skill.spiritInfluence = d.spirit_influence;
        skill.variance = d.variance;
        skill.baseEffect = d.base;
        skill.successRate = d.success;
        skill.affectsHp = d.hp;
        skill.affectsSp = d.sp_effect;
        skill.affectsAttack = d.attack;
        skill.affectsDefense = d.defense;
        skill.affectsSpirit = d.spirit;
        skill.affectsAgility = d.agility;
        skill.absorb = d.absorb;
        skill.ignoreDefense = d.ignore_defense;
        SetFlags(skill.conditionSet, d.conditions);
        SetFlags(skill.attributeSet, d.attributes);
    }
}

void FillItems(TLcfItem& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.items.size()));
    const int heroes = static_cast<int>(content.heroes.size());
    const int classes = static_cast<int>(content.classes.size());
    for (size_t i = 0; i < content.items.size(); ++i) {
        const ItemDesign& d = content.items[i];
        TLcfItemItem& item = *table.Items(static_cast<int>(i));
        item.name = d.name;
        item.description = d.description;
        item.kind = static_cast<uint8_t>(d.kind);
        item.price = d.price;
        item.uses = d.uses;
        item.attackBonus = d.attack;
        item.defenseBonus = d.defense;
        item.spiritBonus = d.spirit;
        item.agilityBonus = d.agility;
        item.twoHanded = d.two_handed;
        item.holdsBothHands = d.two_handed;
        item.hitRate = d.hit_rate;
        item.battleAnimation = d.animation;
        item.scope = static_cast<uint8_t>(d.scope);
        item.hpPercent = d.hp_percent;
        item.hpPoints = d.hp_points;
        item.spPercent = d.sp_percent;
        item.spPoints = d.sp_points;
        item.fallenOnly = d.fallen_only;
        for (int k = 0; k < 6; ++k) item.parameterIncrease[k] = d.seed[static_cast<size_t>(k)];
        item.skillId = d.skill;
        item.switchId = d.switch_id;
        item.performsSkill = d.performs_skill;
        item.preventCritical = d.prevent_critical;
        // Heroes and their classes share numbers in the demo, so one list
        // serves both sets.
        SetWho(item.heroSet, d.heroes, heroes);
        SetClassWho(item.classSet, d.heroes, classes);
        SetFlags(item.conditionSet, d.conditions);
        SetFlags(item.attributeSet, d.attributes);
        item.conditionRate = d.condition_rate;
        if (item.IsWeapon()) {
            // Every hero steps out toward the enemy to swing; the weapon
            // itself is part of each hero's battle sheet.
            item.battleDisplay.SetCount(heroes);
            for (int h = 0; h < heroes; ++h) item.battleDisplay.Items(h)->motion = TLcfCBADataItem::kStepOut;
        }
    }
}

void FillEnemies(TLcfMonster& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.enemies.size()));
    for (size_t i = 0; i < content.enemies.size(); ++i) {
        const EnemyDesign& d = content.enemies[i];
        TLcfMonsterItem& enemy = *table.Items(static_cast<int>(i));
        enemy.name = d.name;
        enemy.picture = d.picture;
        enemy.maxHp = d.hp;
        enemy.maxSp = d.sp;
        enemy.attack = d.attack;
        enemy.defense = d.defense;
        enemy.spirit = d.spirit;
        enemy.agility = d.agility;
        enemy.experience = d.exp;
        enemy.gold = d.gold;
        enemy.dropItem = d.drop;
        enemy.dropChance = d.drop_chance;
        enemy.floating = d.floating;
        enemy.actions.Clear();
        for (const ActionDesign& a : d.actions) {
            TLcfMonsterActItem* action = enemy.actions.Add();
            action->kind = static_cast<uint8_t>(a.kind);
            action->basicAction = static_cast<uint8_t>(a.basic);
            if (a.kind == TLcfMonsterActItem::kSkill) action->skillId = a.skill;
            action->rating = a.rating;
            action->condition = static_cast<uint8_t>(a.condition_kind);
            action->conditionA = a.a;
            action->conditionB = a.b;
        }
        enemy.attribRanks.Reset();
        for (const auto& [attribute, rank] : d.attribute_ranks)
            enemy.attribRanks.SetEntry(attribute, static_cast<uint8_t>(rank));
    }
}

void FillTroops(TLcfMonGroup& table, const ContentDesign& content) {
    table.SetCount(static_cast<int>(content.troops.size()));
    const int terrains = static_cast<int>(content.terrains.size());
    for (size_t i = 0; i < content.troops.size(); ++i) {
        const TroopDesign& d = content.troops[i];
        TLcfMonGroupItem& troop = *table.Items(static_cast<int>(i));
        troop.name = d.name;
        troop.members.Clear();
        for (const TroopMember& m : d.members) {
            TLcfMonGroupMonsterItem* member = troop.members.Add();
            member->monsterId = m.enemy;
            member->x = m.x;
            member->y = m.y;
        }
        SetWho(troop.terrainSet, d.terrains, terrains);
        if (d.pages.empty()) continue;
        troop.pages.Clear();
        for (const BattlePage& p : d.pages) {
            TLcfBattleEventPageItem* page = troop.pages.Add();
            uint16_t flags = 0;
            if (p.turn >= 0) {
                flags |= TLcfBattleEventTrigger::kTurn;
                page->trigger.turnA = 0;
                page->trigger.turnB = p.turn;
            }
            if (p.enemy_hp_below >= 0) {
                flags |= TLcfBattleEventTrigger::kMonsterHp;
                page->trigger.monsterIndex = 0;
                page->trigger.monsterHpMin = 0;
                page->trigger.monsterHpMax = p.enemy_hp_below;
            }
            page->trigger.SetFlags(flags);
            Script script(page->script);
            script.Say(p.message);
            if (p.animation) script.Line(kShowBattleAnimation, {}, {p.animation, 0, 0, 0});
        }
    }
}

}  // namespace

void FillDatabase(TLcfDataBase& db) {
    db.Reset();
    FillSystem(*DbSystem);
    FillVocabulary(*DbVocabulary);
    FillNames(*DbSwitch, *DbVariable);
    FillCommonEvents(*DbCommonEvent);

    DbChipSet->SetCount(2);
    FillChipSet(*DbChipSet->Items(0), OutdoorChipSet());
    FillChipSet(*DbChipSet->Items(1), InteriorChipSet());

    const ContentDesign& content = DemoContent();
    FillTerrain(*DbGround, content);
    FillAttributes(*DbAttrib, content);
    FillConditions(*DbStatus, content);
    FillBattle(*DbBattle, content);
    FillClasses(*DbJob, content);
    FillHeroes(*DbPlayer, content);
    FillBattlerSets(*DbAnimation2, content);
    FillSkills(*DbSkill, content);
    FillItems(*DbItem, content);
    FillEnemies(*DbMonster, content);
    FillTroops(*DbMonGroup, content);
    // The battle test party carries its heroes' starting equipment.
    for (int i = 0; i < DbSystem->battleTestParty.Count(); ++i) {
        TLcfTestPlayerItem* member = DbSystem->battleTestParty.Items(i);
        const TLcfPlayerItem* hero = DbPlayer->Find(member->heroId);
        if (!hero) continue;
        for (int slot = 0; slot < 5; ++slot)
            member->equipment[static_cast<size_t>(slot)] = static_cast<uint16_t>(hero->GetInitialEquipment(slot));
    }
    DbAnimation->SetCount(static_cast<int>(content.animations.size()));
    for (size_t i = 0; i < content.animations.size(); ++i)
        FillAnimation(*DbAnimation->Items(static_cast<int>(i)), content.animations[i]);
}

Bytes SerializeDatabase(TLcfDataBase& db) {
    ByteWriter file;
    WriteVarString(file, kDatabaseMagic);
    for (const TLcfDataBase::Table& table : db.Tables()) {
        ByteWriter section;
        if (table.list) table.list->SaveToStream(section);
        else table.record->SaveToStream(section);
        WriteVarInt(file, table.section);
        WriteVarInt(file, static_cast<int32_t>(section.Size()));
        file.WriteBytes(section.Data());
    }
    return file.Take();
}

void WriteDatabase(OutputFolder& out) {
    TLcfDataBase db;
    FillDatabase(db);
    out.Write(kDatabaseFileName, SerializeDatabase(db));
}

}  // namespace mkdemo
