#include "game/interpreter/command_table.h"

#include <array>
#include <initializer_list>

#include "game/interpreter/command_handlers.h"

namespace {

constexpr int32_t kTableSize = 23311;  // codes 0..23310
using G = TLcfgCommandGate;

struct Route {
    int32_t code;
    const char* name;
    TLcfgCommandHandler handler;
    G gate = G::None;
};

// Every command code; a null handler is a family still to be built.
const std::initializer_list<Route> kRoutes = {
    {0, "EndOfList", commands::EndOfList},
    // Flow control.
    {1005, "CallCommonEvent", commands::CallCommonEvent},
    {12010, "ConditionalBranch", commands::ConditionalBranch},
    {22010, "ElseCase", commands::ElseCase},
    {12110, "Label", commands::Label},
    {12120, "JumpToLabel", commands::JumpToLabel},
    {12210, "LoopStart", commands::LoopStart},
    {22210, "LoopEnd", commands::LoopEnd},
    {12220, "BreakLoop", commands::BreakLoop},
    {12310, "EndEventProcessing", commands::EndEventProcessing},
    {12320, "EraseEvent", commands::EraseEvent},
    {12330, "CallEvent", commands::CallEvent},
    {12410, "Comment", commands::Comment},
    // Battle.
    {1006, "ForceFlee", nullptr},
    {13110, "ChangeMonsterHP", nullptr},
    {13120, "ChangeMonsterMP", nullptr},
    {13130, "ChangeMonsterCondition", nullptr},
    {13150, "ShowHiddenMonster", nullptr},
    {13210, "ChangeBattleBackground", nullptr},
    {13260, "ShowBattleAnimation", nullptr},
    {13310, "BattleConditionalBranch", nullptr},
    {23310, "BattleElseCase", commands::BattleElseCase},
    {13410, "EndBattle", nullptr},
    // Actors.
    {1007, "SetActorBattleFields", nullptr},
    {1008, "ChangeActorClass", nullptr},
    {1009, "ChangeActorBattleCommands", nullptr},
    {10410, "ChangeExp", nullptr},
    {10420, "ChangeLevel", nullptr},
    {10430, "ChangeStat", nullptr},
    {10440, "ChangeSkills", nullptr},
    {10450, "ChangeEquipment", nullptr},
    {10460, "ChangeHP", nullptr},
    {10470, "ChangeMP", nullptr},
    {10480, "ChangeCondition", nullptr},
    {10490, "FullHeal", nullptr},
    {10500, "DealDamage", nullptr},
    {10610, "ChangeActorName", nullptr},
    {10620, "ChangeActorTitle", nullptr},
    {10630, "ChangeActorGraphic", nullptr},
    {10640, "ChangeActorFace", nullptr},
    {10650, "ChangeVehicleGraphic", nullptr},
    // Messages, waits and input.
    {10110, "ShowMessage", commands::ShowMessage, G::Message},
    {10120, "SetMessageOptions", commands::SetMessageOptions, G::Message},
    {10130, "SetFaceGraphic", commands::SetFaceGraphic, G::Message},
    {10140, "ShowChoices", commands::ShowChoices, G::Message},
    {20140, "ChoiceCase", commands::ChoiceCase},
    {10150, "InputNumber", commands::InputNumber, G::Message},
    {11410, "Wait", commands::Wait},
    {11610, "KeyInputProcessing", commands::KeyInputProcessing},
    // Switches, variables, timers, gold, items, party.
    {10210, "ControlSwitches", commands::ControlSwitches},
    {10220, "ControlVariables", commands::ControlVariables},
    {10230, "ControlTimer", commands::ControlTimer},
    {10310, "ChangeGold", commands::ChangeGold},
    {10320, "ChangeItems", commands::ChangeItems},
    {10330, "ChangePartyMembers", commands::ChangePartyMembers},
    // System settings.
    {10660, "ChangeSystemMusic", commands::ChangeSystemMusic},
    {10670, "ChangeSystemSound", commands::ChangeSystemSound},
    {10680, "ChangeSystemGraphics", commands::ChangeSystemGraphics},
    {10690, "ChangeScreenTransition", commands::ChangeScreenTransition},
    // Scenes.
    {10710, "StartBattle", nullptr, G::Window},
    {20710, "VictoryCase", commands::VictoryCase},
    {20711, "EscapeCase", commands::EscapeCase},
    {20712, "DefeatCase", commands::DefeatCase},
    {10720, "OpenShop", nullptr, G::Window},
    {20720, "ShopDealCase", commands::ShopDealCase},
    {20721, "ShopNoDealCase", commands::ShopNoDealCase},
    {10730, "ShowInn", commands::ShowInn},
    {20730, "InnStayCase", commands::InnStayCase},
    {20731, "InnNoStayCase", commands::InnNoStayCase},
    {10740, "InputName", nullptr, G::Window},
    {11910, "OpenSaveMenu", nullptr, G::Window},
    {11930, "AllowSave", commands::AllowSave},
    {11950, "OpenMainMenu", commands::OpenMainMenu, G::Window},
    {11960, "AllowMainMenu", commands::AllowMainMenu},
    {12420, "GameOver", nullptr, G::Window},
    {12510, "ReturnToTitle", nullptr, G::Window},
    // Map, transfer, vehicles, movement.
    {10810, "TransferParty", commands::TransferParty, G::Window},
    {10820, "MemorizeLocation", commands::MemorizeLocation},
    {10830, "RecallLocation", commands::RecallLocation, G::Window},
    {10840, "EnterExitVehicle", commands::EnterExitVehicle},
    {10850, "SetVehicleLocation", commands::SetVehicleLocation},
    {10860, "SetEventLocation", commands::SetEventLocation},
    {10870, "SwapEventLocations", commands::SwapEventLocations},
    {10910, "GetTerrainId", commands::GetTerrainId},
    {10920, "GetEventId", commands::GetEventId},
    {11310, "SetPartyTransparent", commands::SetPartyTransparent},
    {11320, "FlashCharacter", commands::FlashCharacter},
    {11330, "SetMoveRoute", commands::SetMoveRoute},
    {11340, "WaitForAllMovement", commands::WaitForAllMovement},
    {11350, "StopAllMovement", commands::StopAllMovement},
    {11710, "ChangeTileset", commands::ChangeTileset},
    {11720, "ChangePanorama", commands::ChangePanorama},
    {11740, "ChangeEncounterRate", commands::ChangeEncounterRate},
    {11750, "ReplaceTile", commands::ReplaceTile},
    {11810, "ChangeTeleportTargets", commands::ChangeTeleportTargets},
    {11820, "AllowTeleport", commands::AllowTeleport},
    {11830, "SetEscapeLocation", commands::SetEscapeLocation},
    {11840, "AllowEscape", commands::AllowEscape},
    // Screen, pictures, audio.
    {11010, "EraseScreen", nullptr, G::Window},
    {11020, "ShowScreen", nullptr, G::Window},
    {11030, "TintScreen", nullptr},
    {11040, "FlashScreen", nullptr},
    {11050, "ShakeScreen", nullptr},
    {11060, "PanScreen", nullptr},
    {11070, "SetWeather", nullptr},
    {11110, "ShowPicture", nullptr, G::Window},
    {11120, "MovePicture", nullptr, G::Window},
    {11130, "ErasePicture", nullptr, G::Window},
    {11210, "ShowMapAnimation", nullptr},
    {11510, "PlayMusic", commands::PlayMusic},
    {11520, "FadeOutMusic", commands::FadeOutMusic},
    {11530, "MemorizeMusic", commands::MemorizeMusic},
    {11540, "PlayMemorizedMusic", commands::PlayMemorizedMusic},
    {11550, "PlaySound", commands::PlaySound},
    {11560, "PlayMovie", nullptr, G::Window},
};

struct Table {
    std::array<TLcfgCommandEntry, kTableSize> entries{};
    Table() {
        for (const Route& r : kRoutes) entries[size_t(r.code)] = {r.name, r.handler, r.gate};
    }
};

Table& TheTable() {
    static Table table;
    return table;
}

// Families that fill in their handlers through SetCommandHandler do so
// once, before anyone reads the table. The interpreter runs on the main
// thread only, so a plain flag serves.
bool familiesRegistered = false;

void RegisterFamilies() {
    if (familiesRegistered) return;
    familiesRegistered = true;
    commands::RegisterActorCommands();
    commands::RegisterScreenCommands();
    commands::RegisterPictureCommands();
    commands::RegisterMovieCommand();
}

const TLcfgCommandEntry kNoEntry{};

}  // namespace

const TLcfgCommandEntry& CommandEntry(int32_t code) {
    if (code < 0 || code >= kTableSize) return kNoEntry;
    RegisterFamilies();
    return TheTable().entries[size_t(code)];
}

void SetCommandHandler(int32_t code, TLcfgCommandHandler handler) {
    if (code < 0 || code >= kTableSize) return;
    RegisterFamilies();
    TheTable().entries[size_t(code)].handler = handler;
}

std::vector<int32_t> RoutedCommandCodes() {
    RegisterFamilies();
    std::vector<int32_t> out;
    for (int32_t code = 0; code < kTableSize; ++code)
        if (TheTable().entries[size_t(code)].name) out.push_back(code);
    return out;
}

std::vector<int32_t> UnhandledCommandCodes() {
    std::vector<int32_t> out;
    for (int32_t code : RoutedCommandCodes())
        if (!TheTable().entries[size_t(code)].handler) out.push_back(code);
    return out;
}
