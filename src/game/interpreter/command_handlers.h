#pragma once
// The command handlers built so far, by family. Each takes the interpreter,
// the current frame (its line index already past the line) and the line.

#include <cstddef>
#include <vector>

#include "data/database/move_route.h"
#include "game/interpreter/command_table.h"

class TLcfgCharacter;

#define VARNOW_COMMAND(name) \
    void name(TLcfgBaseScripter& scripter, TLcfgScriptData& frame, const TLcfEventScriptLine& line)

namespace commands {

// The end of the list and the flow of a script.
VARNOW_COMMAND(EndOfList);
VARNOW_COMMAND(CallCommonEvent);
VARNOW_COMMAND(Label);
VARNOW_COMMAND(JumpToLabel);
VARNOW_COMMAND(LoopStart);
VARNOW_COMMAND(LoopEnd);
VARNOW_COMMAND(BreakLoop);
VARNOW_COMMAND(EndEventProcessing);
VARNOW_COMMAND(ConditionalBranch);
VARNOW_COMMAND(EraseEvent);
VARNOW_COMMAND(CallEvent);
VARNOW_COMMAND(Comment);

// Case lines of blocks: each runs its body when the branch byte of its
// indent holds its value.
VARNOW_COMMAND(ElseCase);
VARNOW_COMMAND(ChoiceCase);
VARNOW_COMMAND(VictoryCase);
VARNOW_COMMAND(EscapeCase);
VARNOW_COMMAND(DefeatCase);
VARNOW_COMMAND(ShopDealCase);
VARNOW_COMMAND(ShopNoDealCase);
VARNOW_COMMAND(InnStayCase);
VARNOW_COMMAND(InnNoStayCase);
VARNOW_COMMAND(BattleElseCase);

// Settings that live in the system state.
VARNOW_COMMAND(SetMessageOptions);
VARNOW_COMMAND(SetFaceGraphic);
VARNOW_COMMAND(Wait);

// Messages, choices, number input and key input.
VARNOW_COMMAND(ShowMessage);
VARNOW_COMMAND(ShowChoices);
VARNOW_COMMAND(InputNumber);
VARNOW_COMMAND(KeyInputProcessing);
VARNOW_COMMAND(ShowInn);
VARNOW_COMMAND(ChangeSystemMusic);
VARNOW_COMMAND(ChangeSystemSound);
VARNOW_COMMAND(ChangeSystemGraphics);
VARNOW_COMMAND(ChangeScreenTransition);
VARNOW_COMMAND(PlayMusic);
VARNOW_COMMAND(FadeOutMusic);
VARNOW_COMMAND(MemorizeMusic);
VARNOW_COMMAND(PlayMemorizedMusic);
VARNOW_COMMAND(PlaySound);
VARNOW_COMMAND(AllowTeleport);
VARNOW_COMMAND(AllowEscape);
VARNOW_COMMAND(AllowSave);
VARNOW_COMMAND(AllowMainMenu);
VARNOW_COMMAND(OpenMainMenu);

// Map, transfer, vehicles and events on the map.
VARNOW_COMMAND(TransferParty);
VARNOW_COMMAND(MemorizeLocation);
VARNOW_COMMAND(RecallLocation);
VARNOW_COMMAND(EnterExitVehicle);
VARNOW_COMMAND(SetVehicleLocation);
VARNOW_COMMAND(SetEventLocation);
VARNOW_COMMAND(SwapEventLocations);
VARNOW_COMMAND(GetTerrainId);
VARNOW_COMMAND(GetEventId);
VARNOW_COMMAND(ChangeTileset);
VARNOW_COMMAND(ChangePanorama);
VARNOW_COMMAND(ChangeEncounterRate);
VARNOW_COMMAND(ReplaceTile);
VARNOW_COMMAND(ChangeTeleportTargets);
VARNOW_COMMAND(SetEscapeLocation);

// Looks and movement of characters.
VARNOW_COMMAND(SetPartyTransparent);
VARNOW_COMMAND(FlashCharacter);
VARNOW_COMMAND(SetMoveRoute);
VARNOW_COMMAND(WaitForAllMovement);
VARNOW_COMMAND(StopAllMovement);

// Cell coordinates from scripts are kept within this, so that stepping to a
// neighbour or scaling to pixels never overflows.
constexpr int64_t kScriptCoordinateLimit = 1000000;
int32_t ScriptCoordinate(int64_t v);
// A script's direction 1 up, 2 right, 3 down, 4 left becomes the move
// direction 0-3 and the facing follows; anything else keeps both.
void ApplyScriptDirection(TLcfgCharacter& character, int32_t direction);
// The move commands a script line carries from parameter `first` on: each
// parameter one value (code, then the code's arguments; a string as its
// length and one parameter per byte). A command cut short is dropped.
std::vector<TLcfMoveRouteItem> MoveCommandsFromParams(const std::vector<int32_t>& params, size_t first);

// Families that register their own handlers (through SetCommandHandler)
// when the table is first read: actors; screen effects, weather and the map
// animation; pictures; movies.
void RegisterActorCommands();
void RegisterScreenCommands();
void RegisterPictureCommands();
void RegisterMovieCommand();
// The enemies, the backdrop, battle animations, branches and the course of
// a battle.
void RegisterBattleCommands();

// A conditional branch's comparison: the value on the left, operators 0-5
// (=, >=, <=, >, <, !=); any other operator is false.
bool Compare(int32_t v, int32_t op, int32_t c);
// A conditional branch's entry: writes 0 (true) or 1 (false) into the branch
// byte of its indent; false skips to the next line of the indent (the else
// or end line), true marks the block taken and runs the body.
void EnterBranch(TLcfgScriptData& frame, const TLcfEventScriptLine& line, bool result);

// A duration of a script in tenths of a second as frames (0 and up).
int32_t TenthsToFrames(int32_t tenths);

// The amount a command reads from two parameters: source 0 the constant
// `value`, 1 the value of variable `value`, anything else 0.
int32_t Amount(int32_t source, int32_t value);

// Switches, variables, timers, gold, items and the party line-up.
VARNOW_COMMAND(ControlSwitches);
VARNOW_COMMAND(ControlVariables);
VARNOW_COMMAND(ControlTimer);
VARNOW_COMMAND(ChangeGold);
VARNOW_COMMAND(ChangeItems);
VARNOW_COMMAND(ChangePartyMembers);

}  // namespace commands
