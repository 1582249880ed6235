#include "demo_game.h"

#include "database.h"
#include "images.h"
#include "maps.h"
#include "music.h"
#include "sounds.h"

namespace mkdemo {

namespace {

// The game's settings file: its window caption, and the flag that says the
// folder holds every asset, so no shared asset folder is needed.
void WriteIni(OutputFolder& out) {
    out.Write("Varnow.ini", std::string("[Varnow]\r\nGameTitle=The Lantern of Varrow\r\nFullPackageFlag=1\r\n"));
}

}  // namespace

void WriteDemoGame(OutputFolder& out) {
    WriteIni(out);
    WriteDatabase(out);
    WriteMaps(out);
    WriteImages(out);
    WriteMusic(out);
    WriteSounds(out);
}

}  // namespace mkdemo
