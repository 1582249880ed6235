#pragma once
// Plugs the run-time objects into one another: the map world's effects,
// party and battle hooks, the map animation's targets, the interpreter's
// map and party hooks, and the panorama's view. Start-up installs them once
// the save container has made the objects; teardown removes them before
// the objects go.

class TLcfSystemGraphic;

// The skin draws the airship's shadow (null: none).
void InstallGameWorldHooks(TLcfSystemGraphic* skin);
void RemoveGameWorldHooks();
