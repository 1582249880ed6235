#pragma once
// The map interpreter: runs the autorun common events and the map events
// that were started (by the decision key, by touch, by autorun), one
// script at a time with calls stacked on top. Saved as chunk 113 of the
// save file.

#include "game/interpreter/base_scripter.h"

class TLcfgScripter : public TLcfgBaseScripter {
public:
    // Loads the saved state only when the party's map stamp matches the
    // current map file; otherwise the interpreter stays cleared.
    void LoadFromStream(ByteReader& r) override;
    // Once per frame, from the field scene.
    void Update();

private:
    // Lines queued in the message pool, paged into the window.
    void PageMessagePool();
    // Pushes the first ready autorun common event and the first started
    // map event.
    void StartScripts();
};

// The map interpreter of the running game.
extern TLcfgScripter* GameScripter;
