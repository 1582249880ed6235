#pragma once
// The demo's game content as plain data: heroes and classes, skills,
// items, enemies and troops, terrain, attributes, conditions, battle
// animations and battle commands. database.cpp moves it into the library's
// tables.

#include <array>
#include <string>
#include <vector>

#include "content_ids.h"

namespace mkdemo {

// Parameter growth: value at level L = base + per_level × (L − 1) +
// curve × (L − 1)² / 98, so a level-99 value is base + 98 × per_level +
// 98 × curve.
struct Growth {
    int base;
    int per_level;
    int curve;
    int At(int level) const { return base + per_level * (level - 1) + curve * (level - 1) * (level - 1) / 98; }
};

// Parameter kinds: max HP, max SP, attack, defense, spirit, agility.
using Curves = std::array<Growth, 6>;

struct Learning {
    int level;
    int skill;
};

struct ClassDesign {
    const char* name;
    Curves curves;
    int exp_base, exp_increment, exp_correction;
    std::vector<Learning> skills;
    std::array<int, 6> commands;  // battle command ids, -1 empty
    bool two_weapons, strong_defense;
};

struct HeroDesign {
    const char* name;
    const char* title;
    const char* sprite;
    int sprite_index;
    const char* face;
    int face_index;
    int initial_level, final_level;
    int critical_rate;
    int job;  // class id
    Curves curves;
    int exp_base, exp_increment, exp_correction;
    std::array<int, 5> equipment;  // weapon, shield, armour, helmet, accessory
    int unarmed_animation;
    std::vector<Learning> skills;
    std::array<int, 6> commands;
    int battle_x, battle_y;  // centre of the battle sprite (the front row stands 24 pixels further left)
};

// Skill kinds: 0 normal, 1 teleport, 2 escape, 3 switch. Scope: 0 one
// enemy, 1 all enemies, 2 self, 3 one ally, 4 all allies.
struct SkillDesign {
    const char* name;
    const char* description;
    const char* message1;
    const char* message2;
    int kind;
    int sp;
    int scope;
    int animation;
    int attack_influence, spirit_influence, variance, base, success;
    bool hp, sp_effect, attack, defense, spirit, agility, absorb, ignore_defense;
    bool field, battle;
    std::vector<int> conditions;  // condition ids inflicted (or cured when healing)
    std::vector<int> attributes;
    int switch_id;
    const char* sound;
};

// Item kinds: 0 common, 1 weapon, 2 shield, 3 armour, 4 helmet,
// 5 accessory, 6 medicine, 7 skill book, 8 seed, 9 skill item, 10 switch.
struct ItemDesign {
    const char* name;
    const char* description;
    int kind;
    int price;
    int uses;
    int attack, defense, spirit, agility;
    bool two_handed;
    int hit_rate;
    int animation;
    int scope;  // medicine: 0 one, 1 party
    int hp_percent, hp_points, sp_percent, sp_points;
    bool fallen_only;
    std::array<int, 6> seed;  // permanent parameter increases
    int skill;
    int switch_id;
    std::vector<int> heroes;      // who may use it; empty: everyone
    std::vector<int> conditions;  // cured, inflicted or resisted
    std::vector<int> attributes;
    int condition_rate;
    bool prevent_critical;
    bool performs_skill = false;  // using it casts its skill
};

// Action: kind 0 basic (0 attack, 2 defend ...), 1 skill.
struct ActionDesign {
    int kind;
    int basic;
    int skill;
    int rating;
    int condition_kind = 0;  // 4: own HP percent in a..b
    int a = 0, b = 0;
};

struct EnemyDesign {
    const char* name;
    const char* picture;
    int hp, sp, attack, defense, spirit, agility;
    int exp, gold;
    int drop, drop_chance;
    bool floating;
    std::vector<ActionDesign> actions;
    std::vector<std::pair<int, int>> attribute_ranks;  // attribute id, rank 0..4 (A..E)
};

struct TroopMember {
    int enemy;
    int x, y;
};

// One battle event page: a trigger (turn a/b or an enemy's HP range) and a
// message with an optional effect.
struct BattlePage {
    int turn = -1;            // fires on this party turn (bit 3), or -1
    int enemy_hp_below = -1;  // fires when member 0's HP% ≤ this (bit 5), or -1
    std::vector<std::string> message;
    int animation = 0;        // shown on member 0 when not 0
};

struct TroopDesign {
    const char* name;
    std::vector<TroopMember> members;
    std::vector<int> terrains;  // where it is met; empty: everywhere
    std::vector<BattlePage> pages;
};

struct TerrainDesign {
    const char* name;
    int damage;
    int encounter_rate;
    const char* backdrop;
    bool boat, ship, airship, airship_lands;
    int bush_depth;
    // A battle backdrop of two "Frame" layers in place of the picture: the
    // far one loops horizontally and drifts at `frame_speed`, the near one
    // lies over it.
    const char* frame_far = nullptr;
    const char* frame_near = nullptr;
    int frame_speed = 0;
};

struct AttributeDesign {
    const char* name;
    int kind;  // 0 physical, 1 magical
    std::array<int, 5> rates;
};

struct ConditionDesign {
    const char* name;
    bool persists;
    int colour, priority, restriction;
    int min_turns, recovery_chance, damage_recovery;
    int hit_rate;
    const char* hero_message;
    const char* enemy_message;
    const char* turn_message;
    const char* recovery_message;
    int battle_hp_percent, map_hp_points;
};

struct AnimationDesign {
    const char* name;
    const char* image;
    int cells;      // cell pictures in the image
    int frames;
    int position;   // 0 top, 1 centre, 2 bottom
    const char* sound;
    int flash_strength;
    bool screen_flash;
};

struct BattleCommandDesign {
    const char* name;
    int kind;  // 0 attack, 1 skills, 3 defend, 4 item, 5 escape
};

struct ContentDesign {
    std::vector<HeroDesign> heroes;
    std::vector<ClassDesign> classes;
    std::vector<SkillDesign> skills;
    std::vector<ItemDesign> items;
    std::vector<EnemyDesign> enemies;
    std::vector<TroopDesign> troops;
    std::vector<TerrainDesign> terrains;
    std::vector<AttributeDesign> attributes;
    std::vector<ConditionDesign> conditions;
    std::vector<AnimationDesign> animations;
    std::vector<BattleCommandDesign> commands;
};

const ContentDesign& DemoContent();

}  // namespace mkdemo
