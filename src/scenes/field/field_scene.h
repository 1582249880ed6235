#pragma once
// TLcfFieldScene: the map world on screen (scene number 0). Each frame it
// advances the common events, every character, the message window, the
// timers, the screen effects, the pictures, the map interpreter and the
// panorama, carries out pending transfers, and draws the map in layers:
// panorama under open tiles, tiles, characters by layer, the tiles drawn
// above characters, effects, pictures, windows and timers. It also starts
// battles, runs the inn and ends the game when the whole party is down.

#include <cstdint>
#include <functional>
#include <vector>

#include "game/interpreter/interpreter_hooks.h"
#include "game/map/world_hooks.h"
#include "scenes/scene.h"

class TLcfgCharacter;
class TSorvoBoard;

class TLcfFieldScene : public TLcfScene, public IFieldSceneHooks {
public:
    // Cells drawn around the view's origin cell: columns -1..20, rows -1..15.
    static constexpr int kFirstColumn = -1, kLastColumn = 20;
    static constexpr int kFirstRow = -1, kLastRow = 15;
    static constexpr int kColumns = kLastColumn - kFirstColumn + 1;
    static constexpr int kRows = kLastRow - kFirstRow + 1;
    // The inn's music may loop forever: the rest ends after this many frames.
    static constexpr int kInnFrames = 600;
    // Transfers carried out in one go when events keep requesting more.
    static constexpr int kMaxChainedTransfers = 100;

    TLcfFieldScene();
    ~TLcfFieldScene() override;

    // The base's reset, then every field but the force-draw flag.
    void Reset() override;
    void Update() override;
    void Draw() override;

    // Leaves the map for the battle whose set-up the caller has filled.
    void StartBattle();
    void RestAtInn();
    // The game-over scene when every member is down.
    void CheckGameOver() override;
    // Stores a transfer; facing 0 keeps the direction, 1-4 up, right,
    // down, left.
    void RequestTeleport(int32_t mapId, int32_t x, int32_t y, int32_t facing) override;
    // Carries out pending transfers (chained ones too, up to the bound).
    void PerformTeleport() override;
    // Map events only (no party, no vehicles) and the parallel common events
    // advance one frame: after the party was moved outside the field.
    void UpdateEventsOnce();

    // IFieldSceneHooks
    void InnRest() override { RestAtInn(); }
    void EraseFieldScreen(int32_t transition) override { EraseScreen(transition); }
    void ShowFieldScreen(int32_t transition) override { ShowScreen(transition); }

    // --- Drawing, step by step (Draw runs them in this order) -----------------
    // Character lists, origin, "above" marks and the sheets' tone.
    void PrepareFrame();
    // Panorama under open cells, then the tiles not drawn above characters.
    void DrawTilesBelow();
    void DrawCharacters(int layer);
    // The tiles drawn above the layer-1 characters.
    void DrawTilesAbove();
    // The flying airship, effects, pictures and the map animation.
    void DrawOverlays();
    // Message window, timers and the frame overlay.
    void DrawWindows();

    // The cell of the map at (x, y), wrapped on looping maps; false outside
    // the map (nothing is drawn there).
    static bool MapCell(int32_t x, int32_t y, int32_t& lower, int32_t& upper);

    // --- State (Reset clears all but the force-draw flag) ----------------------
    bool started = false;
    bool transferPending = false;
    int32_t targetMapId = 0, targetX = 0, targetY = 0, targetFacing = 0;
    // Asks the frame loop to draw this frame even when it lags; set while
    // the message window's closing is shown, cleared at the start of Draw.
    bool ForceDraw = false;

    // Seams for tests. Does the inn's music still play its first round?
    std::function<bool()> InnMusicRunning;
    // Is the debug key (F9) held?
    std::function<bool()> DebugKeyHeld;

private:
    struct Cell {
        int32_t lower = 0, upper = 0;
        bool inside = false, lowerAbove = false, upperAbove = false;
    };
    void ApplyScreenTone();
    void DrawTile(TSorvoBoard& board, int32_t x, int32_t y, int32_t tile);
    void DrawTimers(TSorvoBoard& board);

    std::vector<TLcfgCharacter*> layers_[3];
    Cell cells_[kRows][kColumns];
    int32_t px_ = 0, py_ = 0;
    bool mapShown_ = false;
};

// The battle hooks of the map world: a random encounter sets the battle
// scene up and starts it from the field.
class TLcfFieldBattleHooks : public IWorldBattleHooks {
public:
    bool TroopAllowedOnTerrain(int32_t troopId, int32_t terrainId) const override;
    void StartEncounterBattle(const TLcfgEncounterBattle& battle) override;
};

extern TLcfFieldScene* FieldScene;
