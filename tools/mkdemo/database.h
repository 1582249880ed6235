#pragma once
// The demo's database, "Varnow.ldb": filled into the game library's own
// tables and written through their generic record writer.

#include "output.h"

class TLcfDataBase;

namespace mkdemo {

// Switch and variable numbers the database and the maps share.
namespace sw {
enum : int {
    kWelcome = 1, kClockRunning, kLanternLit, kMetElder, kChestOpened, kBossBeaten, kBridgeFixed, kLeverPulled,
    kShrineOpen, kBorinJoined, kMiraJoined, kIntroDone, kPromisedTam, kPlayingTag, kSatchelTaken = 19, kCount = 20,
};
}
namespace var {
enum : int { kSeconds = 1, kChosenNumber, kMapId, kMapX, kMapY, kSteps, kChoice, kWish, kCount = 10 };
}

// Fills every table of `db`.
void FillDatabase(TLcfDataBase& db);

// The database file's bytes: the leading string, then every table's
// section (id, length, stream form) in the container's order.
Bytes SerializeDatabase(TLcfDataBase& db);

void WriteDatabase(OutputFolder& out);

}  // namespace mkdemo
