#pragma once
// The command handlers built so far, by family. Each takes the interpreter,
// the current frame (its line index already past the line) and the line.

#include "game/interpreter/command_table.h"

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

}  // namespace commands
