#pragma once
// The battle scene as the resolution of actions sees it: its sounds, its
// message window and waits, its battle events, the escape roll and the
// party's initiative.

#include <string>

#include "game/battle/battle_actions.h"

class TLcfBattleScene;

class TBattleSceneActionHost : public IBattleActionHost {
public:
    explicit TBattleSceneActionHost(TLcfBattleScene& scene) : scene_(scene) {}

    void PlaySystemSound(int index) override;
    void PlaySkillSound(const TLcfSkillItem& skill) override;
    void ShowActionLine(const std::string& text, int minimum, int total) override;
    void CloseMessageWindow() override;
    void SetMessageLinesUsed(int n) override;
    void ClearMessageLines() override;
    void FlashScreen(int red, int green, int blue, int strength, int frames) override;
    void WaitForPartyAnimation() override;
    void WaitForTroopAnimation() override;
    void RunBattleEvents(TLcfgUnitItem* battler, int trigger) override;
    bool TryEscape() override;
    bool FirstStrike() const override;
    void EndFirstStrike() override;
    void EnableEvents() override;
    int StartCondition() const override;

private:
    TLcfBattleScene& scene_;
};
