#include "data/string_table.h"

#include <map>

namespace {

const std::map<int, std::string>& Table() {
    static const std::map<int, std::string> table = {
        // Texts of our own, for errors of the platform and class library.
        {kStrReadError, "Read error: the data ends early or is damaged."},
        {kStrInvalidBitmap, "Invalid bitmap."},
        {kStrInvalidImageFormat, "Invalid image format."},
        {kStrNoTimers, "Not enough timers available."},
        {kStrOutOfMemory, "Out of memory"},
        {kStrFileOpenError, "Cannot open file \"%s\"."},
        {kStrWriteError, "Cannot write file \"%s\"."},
        {kStrBitmapEmpty, "The bitmap is empty."},
        {kStrBitmapShort, "The bitmap file is too short."},
        {kStrFontMissing, "The font file %s is missing. Install the Debian package %s."},
        {kStrNoGameHere,
         "No game was found in the folder %s: it holds no Varnow.ldb. To play a game, start varnow from inside "
         "the game's folder (cd GAME && varnow)."},
        {kStrBadMapSize, "The map file is damaged: its size of %s tiles is not valid."},
        {kStrInvalidMidiFile, "Invalid MIDI File"},
        {kStrMidiError, "MIDI Error(%s)"},

        // Battle messages of the basic actions.
        {65248, "Double Attack"},
        {65249, "Defend"},
        {65250, "Observe Battle"},
        {65251, "Charge Up"},
        {65252, "Self-Destruct"},
        {65253, "Escape"},
        // Fixed labels of windows.
        {65254, "Name"},
        {65255, "Class"},
        {65256, "Title"},
        {65257, "Condition"},
        {65258, "Confirm"},
        {65259, "Redo"},
        {65260, "Frnt"},
        {65261, "Back"},
        // Start-up.
        {65262, "Zembra"},
        {65263, "The Zembra Runtime Package is not present or not registered."},
        // Lookups that fail.
        {65264, "Event script referenced a weapon animation that does not exist."},
        {65265, "Event script referenced a battle pose that does not exist."},
        {65266, "Event script referenced a battle command that does not exist."},
        {65267, "Event script referenced a battle animation that does not exist."},
        // Default battle pose names.
        {65268, "Idle Stance"},
        {65269, "Right Hand"},
        {65270, "Left Hand"},
        {65271, "Skill"},
        {65272, "Dead"},
        {65273, "Damage"},
        {65274, "Bad Status"},
        {65275, "Defend"},
        {65276, "Walking Left"},
        {65277, "Walking Right"},
        {65278, "Victory"},
        {65279, "Item"},
        {65280, "Event script referenced a common event that does not exist."},
        {65281, "Event script referenced an event that does not exist."},
        {65282, "Event script referenced an event page that does not exist."},
        {65283, "Event script referenced terrain that does not exist."},
        {65284, "Event script referenced an item that does not exist."},
        {65285, "Event script referenced a job class that does not exist."},
        {65286, "Event script referenced a map that does not exist."},
        {65287, "Event script referenced a monster group that does not exist."},
        {65288, "Event script referenced a monster that does not exist."},
        {65289, "Event script referenced a hero that does not exist."},
        {65290, "Event script referenced a skill that does not exist."},
        {65291, "Event script referenced a condition that does not exist."},
        {65292, "Event script referenced a switch that does not exist."},
        {65293, "Event script referenced a variable that does not exist."},
        {65294, "Event call stack overflow."},
        {65295, "Event script referenced a \"shigunichi\" that does not exist."},
        // Images.
        {65296, "Zlib Error"},
        {65297, "Invalid XYZ Image"},
        {65298, "Zlib Error"},
        // Screen, movies and audio.
        {65299, "DirectDraw Error(%s)"},
        {65300, "Unable to use DirectShow"},
        {65301, "DirectShow Error(%s)"},
        {65302, "Press F4 key to change to full screen."},
        {65303, "Unable to use DirectSound"},
        {65304, "DirectSound Error(%s)"},
        {65305, "ACM Error(%s)"},
        {65306, "Invalid wave file"},
        {65307, "DirectShow Error(%s)"},
        {65308, "You must set a starting party position."},
        {65309, "Event script referenced a battle animation that does not exist."},
        {65310, "Event script referenced an attribute that does not exist."},
        {65311, "Event script referenced a tileset that does not exist."},
        {65326, "Invalid PNG Image"},
        {65327, "Unsupported PNG Image"},
    };
    return table;
}

std::string Substitute(std::string text, const std::string* args, int count) {
    std::string::size_type from = 0;
    for (int i = 0; i < count; ++i) {
        auto at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, args[i]);
        from = at + args[i].size();
    }
    return text;
}

}  // namespace

const std::string& LoadStr(int id) {
    static const std::string empty;
    auto it = Table().find(id);
    return it == Table().end() ? empty : it->second;
}

std::string FormatStr(int id, const std::string& a) { return Substitute(LoadStr(id), &a, 1); }

std::string FormatStr(int id, const std::string& a, const std::string& b) {
    const std::string args[2] = {a, b};
    return Substitute(LoadStr(id), args, 2);
}
