#include "game_tables.h"

#include "data/database/database.h"

namespace {

void FillHeroesAndClasses() {
    DbPlayer->SetCount(2);
    TLcfPlayerItem* h = DbPlayer->Items(0);
    h->name = "Alex";
    h->title = "Knight";
    h->sprite = "Hero1";
    h->face = "Face1";
    h->jobClass = 1;
    h->SetParameter(kParamMaxHp, 2, 120);
    h->SetInitialEquipment(0, 1);
    h->battleCommands = {1, 2, 3, 4, -1, -1, -1};
    h->skills.Add()->skillId = 2;
    h->statusRanks.SetEntry(2, 0);
    h->attribRanks.SetEntry(1, 4);
    DbJob->SetCount(1);
    TLcfJobItem* j = DbJob->Items(0);
    j->name = "Mage";
    j->skills.Add()->level = 3;
    j->statusRanks.SetEntry(1, 3);
}

void FillItemsAndSkills() {
    DbItem->SetCount(3);
    TLcfItemItem* sword = DbItem->Items(0);
    sword->name = "Sword";
    sword->kind = TLcfItemItem::kWeapon;
    sword->twoHanded = 1;
    sword->attackBonus = 10;
    sword->heroSet.SetEntry(2, 0);
    sword->conditionSet.SetEntry(2, 1);
    sword->attributeSet.SetEntry(1, 1);
    sword->classSet.SetEntry(1, 0);
    sword->battleDisplay.SetCount(2);
    sword->battleDisplay.Items(1)->ranged = 1;
    sword->battleDisplay.Items(1)->projectileSpeed = 2;
    TLcfItemItem* potion = DbItem->Items(1);
    potion->name = "Potion";
    potion->kind = TLcfItemItem::kMedicine;
    potion->hpPoints = 50;
    DbSkill->SetCount(2);
    TLcfSkillItem* s = DbSkill->Items(0);
    s->name = "Fire";
    s->message1 = "casts Fire!";
    s->sound.name = "Fire";
    s->conditionSet.SetEntry(1, 1);
    s->attributeSet.SetEntry(2, 1);
    s->battleDisplay.Items(0)->skillPose = 4;
    DbSkill->Items(1)->kind = TLcfSkillItem::kTeleport;
}

void FillMonstersAndTroops() {
    DbMonster->SetCount(2);
    TLcfMonsterItem* m = DbMonster->Items(0);
    m->name = "Slime";
    m->picture = "Slime";
    m->statusRanks.SetEntry(2, 4);
    m->attribRanks.SetEntry(1, 0);
    TLcfMonsterActItem* act = m->actions.Add();
    act->kind = TLcfMonsterActItem::kSkill;
    act->skillId = 1;
    act->condition = TLcfMonsterActItem::kTurns;
    act->conditionA = 2;
    m->actions.Add()->switchOn = 1;
    DbMonGroup->SetCount(2);
    TLcfMonGroupItem* g = DbMonGroup->Items(0);
    g->name = "Slimes";
    g->members.SetCount(2);
    g->members.Items(1)->x = 200;
    g->terrainSet.SetEntry(3, 0);
    g->pages.SetCount(2);
    TLcfBattleEventPageItem* page = g->pages.Items(1);
    page->trigger.SetFlags(TLcfBattleEventTrigger::kTurn | TLcfBattleEventTrigger::kHeroHp);
    page->trigger.turnA = 3;
    page->script.Clear();
    page->script.Add(TLcfEventScriptLine(10110, 0, "Go!", {}));
    page->script.Add(TLcfEventScriptLine(0, 0));
}

void FillTerrainAttributesConditions() {
    DbGround->SetCount(2);
    TLcfGroundItem* g = DbGround->Items(0);
    g->name = "Forest";
    g->bushDepth = 1;
    g->stepSound.name = "Step";
    g->specialStarts = 15;
    g->layer1Image = "Sky";
    DbAttrib->SetCount(2);
    DbAttrib->Items(0)->name = "Sword";
    DbAttrib->Items(1)->kind = TLcfAttribItem::kMagical;
    DbStatus->SetCount(2);
    TLcfStatusItem* s = DbStatus->Items(1);
    s->name = "Poison";
    s->persistence = 1;
    s->messageAlready = "is poisoned";
    s->mapHpPoints = 1;
}

void FillAnimations() {
    DbAnimation->SetCount(1);
    TLcfAnimationItem* a = DbAnimation->Items(0);
    a->name = "Fire";
    a->image = "Fire";
    a->frames.SetCount(2);
    TLcfAnimationCellItem* cell = a->frames.Items(0)->cells.Add();
    cell->pattern = 3;
    cell->transparency = 40;
    TLcfAnimationTimingItem* t = a->timings.Add();
    t->frame = 1;
    t->sound.name = "Fire";
    t->flashScope = 1;
    DbAnimation2->SetCount(1);
    TLcfAnimation2Item* s = DbAnimation2->Items(0);
    s->name = "Knight";
    s->poses.Items(3)->kind = TLcfBattleMyCharacterItem::kAnimation;
    s->weapons.Items(0)->image = "Sword";
}

void FillChipSetsAndBattle() {
    DbChipSet->SetCount(2);
    TLcfChipSetItem* c = DbChipSet->Items(0);
    c->name = "World";
    c->imageName = "World";
    c->terrain[20] = 2;
    c->lowerFlags[18] = kChipAbove;
    c->upperFlags[1] = kChipCounter;
    c->waterAnimationType = 1;
    DbBattle->layoutStyle = 1;
    DbBattle->defeatContinues = 1;
    DbBattle->commands.SetCount(3);
    DbBattle->commands.Items(1)->name = "Skill";
    DbBattle->commands.Items(1)->kind = 1;
}

}  // namespace

void FillGameTables() {
    FillHeroesAndClasses();
    FillItemsAndSkills();
    FillMonstersAndTroops();
    FillTerrainAttributesConditions();
    FillAnimations();
    FillChipSetsAndBattle();
}
