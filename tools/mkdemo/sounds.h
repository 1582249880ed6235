#pragma once
// The demo's sound effects, synthesised here and written as RIFF waves into
// the game folder's "Sound" folder.

#include <vector>

#include "output.h"

namespace mkdemo {

namespace sound {
inline constexpr const char* kCursor = "Cursor";
inline constexpr const char* kDecision = "Decision";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kBuzzer = "Buzzer";
inline constexpr const char* kBattleStart = "BattleStart";
inline constexpr const char* kEscape = "Escape";
inline constexpr const char* kEnemyAttack = "EnemyAttack";
inline constexpr const char* kHit = "Hit";
inline constexpr const char* kHeavyHit = "HeavyHit";
inline constexpr const char* kMiss = "Miss";
inline constexpr const char* kDefeated = "Defeated";
inline constexpr const char* kItem = "Item";
inline constexpr const char* kHeal = "Heal";       // MS ADPCM
inline constexpr const char* kDoor = "Door";       // MS ADPCM
inline constexpr const char* kMagic = "Magic";
inline constexpr const char* kFire = "Fire";
inline constexpr const char* kSave = "Save";
inline constexpr const char* kChime = "Chime";
inline constexpr const char* kTeleport = "Teleport";
}  // namespace sound

inline constexpr int kSoundRate = 22050;

void WriteSounds(OutputFolder& out);

// The samples of one effect (empty for an unknown name), and whether it is
// stored as MS ADPCM. Exposed for tests.
std::vector<int16_t> SynthesizeSound(const char* name);
bool SoundIsAdpcm(const char* name);
// Every effect's name, in writing order.
std::vector<const char*> SoundNames();

}  // namespace mkdemo
