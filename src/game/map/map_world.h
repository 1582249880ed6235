#pragma once
// The interpreter's view of the map world, answered by the real objects:
// GameMap's events, GameParty and the vehicles.

#include "game/interpreter/interpreter_hooks.h"

class TLcfgMapWorld : public IMapWorldHooks {
public:
    int EventCount() const override;
    int32_t EventIdAt(int index) const override;
    bool EventExists(int32_t id) const override;
    const TLcfEventScriptList* ActivePageScript(int32_t id) const override;
    bool HasStartRequest(int32_t id) const override;
    void ClearStartRequest(int32_t id) override;
    bool StartedByKey(int32_t id) const override;
    void EndEventRun(int32_t id) override;
    void RefreshAll() override;
    // Any map event whose forced route has not run through once (the party
    // and the vehicles are not looked at).
    bool AnyForcedRoutePending() const override;
    bool PartyBoardingOrLeaving() const override;
    bool AirshipAscendingOrDescending() const override;
    void CancelPartyForcedRoute() override;
    TLcfgCharacter* PartyCharacter() override;
    TLcfgCharacter* VehicleCharacter(int vehicle) override;
    TLcfgCharacter* EventCharacter(int32_t id) override;
    const TLcfEventScriptList* EventPageScript(int32_t id, int32_t pageId) const override;
    void EraseEvent(int32_t id) override;
    int32_t VehicleAboard() const override;
    void RefreshPartyGraphic() override;
};
