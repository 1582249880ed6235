#include "scenes/battle/battle_action_host.h"

#include <algorithm>

#include "data/database/skill.h"
#include "game/actors/battle_sides.h"
#include "game/battler/unit_world.h"
#include "game/system/game_system.h"
#include "scenes/battle/battle_scene.h"

void TBattleSceneActionHost::PlaySystemSound(int index) {
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(index));
}

void TBattleSceneActionHost::PlaySkillSound(const TLcfSkillItem& skill) {
    if (GameSystem) GameSystem->PlaySound(skill.sound);
}

void TBattleSceneActionHost::ShowActionLine(const std::string& text, int minimum, int total) {
    scene_.messageWindow.SetUp();
    scene_.messageWindow.SetLine(0, text);
    scene_.WaitFrames(minimum, total);
    scene_.messageWindow.CloseNow();
}

void TBattleSceneActionHost::CloseMessageWindow() { scene_.messageWindow.CloseNow(); }

void TBattleSceneActionHost::SetMessageLinesUsed(int n) { scene_.messageLinesUsed = n; }

void TBattleSceneActionHost::ClearMessageLines() {
    for (int i = std::max(0, scene_.messageLinesUsed); i < TLcfBattleMessageWindow::kLines; ++i)
        scene_.messageWindow.SetLine(i, std::string());
}

void TBattleSceneActionHost::FlashScreen(int red, int green, int blue, int strength, int frames) {
    UnitWorld().FlashScreen(red, green, blue, strength, frames);
}

// Plain frames: a held cancel key must not stretch an action's animation,
// and the windows keep their input meanwhile.
void TBattleSceneActionHost::WaitForPartyAnimation() {
    while (battle_sides::PartyAnimationRunning()) scene_.NestedFrame();
}

void TBattleSceneActionHost::WaitForTroopAnimation() {
    while (battle_sides::TroopAnimationRunning()) scene_.NestedFrame();
}

void TBattleSceneActionHost::RunBattleEvents(TLcfgUnitItem* battler, int trigger) {
    scene_.RunBattleEvents(battler, trigger);
}

bool TBattleSceneActionHost::TryEscape() { return scene_.TryEscape(); }

bool TBattleSceneActionHost::FirstStrike() const { return scene_.setup.firstStrike; }

void TBattleSceneActionHost::EndFirstStrike() { scene_.setup.firstStrike = false; }

void TBattleSceneActionHost::EnableEvents() { scene_.eventsEnabled = 1; }

int TBattleSceneActionHost::StartCondition() const { return scene_.setup.startCondition; }
