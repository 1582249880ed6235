#pragma once
// The frame loop: one pass a frame runs the Update of the scene whose
// number the game state holds, then draws it unless the program lags, then
// waits for the next frame. The soft reset (F12, return to title, game
// over, the menu's quit) unwinds to here and starts again with GameReset.

#include <string>
#include <vector>

#include "scenes/scene.h"

class TLcfTitleScene;
class TLcfGameOverScene;
class TLcfFieldScene;
class TLcfBattleScene;
class TLcfShopScene;
class TLcfNameScene;
class TLcfSaveFileScene;
class TLcfDebugScene;

extern TLcfFieldScene* FieldScene;
extern TLcfScene* MenuScene;
extern TLcfBattleScene* BattleScene;
extern TLcfShopScene* ShopScene;
extern TLcfNameScene* NameScene;
extern TLcfSaveFileScene* SaveFileScene;
extern TLcfTitleScene* TitleScene;
extern TLcfGameOverScene* GameOverScene;
extern TLcfDebugScene* DebugScene;

// The nine scenes, in their creation order, and freed in it.
void CreateScenes();
void DestroyScenes();
// The scene of a number (0-8), or null.
TLcfScene* SceneOf(int number);

// The battle test's set-up, from command-line words 4 to 7 (troop,
// formation, start condition, terrain). Raises message 65287 when any is
// missing or no number, or the terrain does not exist.
struct TBattleTestSetup {
    int32_t troopId = 0, formation = 0, condition = 0, terrainId = 0;
    std::string backdrop;
};
TBattleTestSetup ReadBattleTestSetup(const std::vector<std::string>& args);

// Soft resets so far in this run of the program (the debug scene, which
// the reset leaves alone, starts afresh after one).
extern int GameResetCount;

// Everything back to a new run: audio off, black screen, game objects and
// scenes reset, then the title (or the test battle).
void GameReset();
// One pass of the frame loop: the current scene's Update, then its drawing
// unless the program lags or the scene changed, then the wait for the next
// frame (a new scene runs its first Update in the next pass at once).
void RunSceneFrame();
// The main handler: GameReset, then the frame loop.
void SorvoDrawMain();

// The command line the program was started with (battle test words).
extern std::vector<std::string> GameCommandLine;
// Set once the test battle is set up.
extern TBattleTestSetup BattleTestSetup;
