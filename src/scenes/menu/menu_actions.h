#pragma once
// What using an item or a skill from the menu does to the party: medicine,
// skill books, parameter items and skill effects on one member, who may
// use an item, who performs a skill through an item, the skill's sound,
// and what a skill costs its user. Each effect answers whether anything
// took place, so the menu knows whether to pay or to buzz.

#include <cstdint>

class TLcfItemItem;
class TLcfSkillItem;
class TLcfgPlayerItem;

namespace menu_actions {

// Medicine on one member: HP and SP recovery, cures, and the rest of the
// recovery for a member brought back from death.
bool ApplyMedicine(const TLcfItemItem& item, TLcfgPlayerItem& target);
// A skill book teaches its skill to a permitted living member who does
// not know it yet.
bool ApplySkillBook(const TLcfItemItem& item, TLcfgPlayerItem& target);
// A parameter item raises the six permanent parameters of a permitted
// living member.
bool ApplyParameterItem(const TLcfItemItem& item, TLcfgPlayerItem& target);
// One target of a skill used from the menu.
bool ApplySkill(const TLcfgPlayerItem& user, const TLcfSkillItem& skill, TLcfgPlayerItem& target);

// The party slot of the member who performs an item's skill: the highest
// level among those permitted to use the item and able to act, the first
// of equals; -1 when nobody may.
int ItemSkillUserSlot(const TLcfItemItem& item);
// The SP the actor pays for the skill.
int32_t SkillCost(const TLcfgPlayerItem& user, const TLcfSkillItem& skill);
// The sound of the first timing of the skill's battle animation that has
// one (nothing when the animation does not exist or is silent).
void PlaySkillAnimationSound(const TLcfSkillItem& skill);

}  // namespace menu_actions
