#pragma once
// The demo's music, composed here and written as standard MIDI files into
// the game folder's "Music" folder.

#include "output.h"

namespace mkdemo {

// Names (without extension) of the pieces, as the database and maps use them.
namespace music {
inline constexpr const char* kTitle = "Title";
inline constexpr const char* kTown = "Town";
inline constexpr const char* kField = "Field";
inline constexpr const char* kDungeon = "Dungeon";
inline constexpr const char* kBattle = "Battle";
inline constexpr const char* kVictory = "Victory";
inline constexpr const char* kGameOver = "GameOver";
inline constexpr const char* kInn = "Inn";
inline constexpr const char* kBoat = "Boat";
}  // namespace music

void WriteMusic(OutputFolder& out);

// One piece as MIDI bytes, by name (one of the names above); empty when the
// name is unknown. Exposed for tests.
Bytes ComposeMusic(const char* name);

}  // namespace mkdemo
