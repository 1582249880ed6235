// Commands that change what the system state holds: message options and
// face, system music, sounds, skin and transitions, music and sound, the
// permission switches, and the wait.

#include <algorithm>

#include "game/interpreter/base_scripter.h"
#include "game/interpreter/command_handlers.h"
#include "game/system/game_system.h"
#include "media/input/multi_input.h"

namespace commands {

namespace {

TLcfMusic MusicFrom(const TLcfEventScriptLine& line, int first) {
    TLcfMusic music;
    music.name = line.text;
    music.fadeIn = line.GetParam(first);
    music.volume = line.GetParam(first + 1);
    music.tempo = line.GetParam(first + 2);
    music.balance = line.GetParam(first + 3);
    return music;
}

TLcfSound SoundFrom(const TLcfEventScriptLine& line, int first) {
    TLcfSound sound;
    sound.name = line.text;
    sound.volume = line.GetParam(first);
    sound.tempo = line.GetParam(first + 1);
    sound.balance = line.GetParam(first + 2);
    return sound;
}

uint8_t Flag(int32_t value) { return value != 0 ? 1 : 0; }

}  // namespace

VARNOW_COMMAND(SetMessageOptions) {
    (void)scripter;
    (void)frame;
    if (!GameSystem) return;
    GameSystem->messageTransparent = line.GetParam(0);
    GameSystem->messagePosition = line.GetParam(1);
    GameSystem->messageAvoidsParty = Flag(line.GetParam(2));
    GameSystem->eventsMoveDuringMessages = Flag(line.GetParam(3));
}

VARNOW_COMMAND(SetFaceGraphic) {
    (void)scripter;
    (void)frame;
    if (!GameSystem) return;
    GameSystem->faceName = line.text;
    GameSystem->faceIndex = line.GetParam(0);
    GameSystem->faceRight = line.GetParam(1);
    GameSystem->faceMirrored = Flag(line.GetParam(2));
    GameSystem->LoadFace();
}

// Tenths of a second, or any key with a second parameter set.
VARNOW_COMMAND(Wait) {
    (void)frame;
    if (line.ParamCount() >= 2 && line.GetParam(1) != 0) {
        scripter.waitingForAnyKey = 1;
        if (TMultiInput* input = GameInterpreterHooks.input) input->Pressed = input->PolledPressed = 0;
        return;
    }
    int64_t frames = int64_t(line.GetParam(0)) * 6;
    scripter.waitCounter = int32_t(std::clamp<int64_t>(frames, 1, INT32_MAX));
}

VARNOW_COMMAND(ChangeSystemMusic) {
    (void)scripter;
    (void)frame;
    static constexpr TLcfgMusicSlot kSlots[] = {kGameMusicBattle,   kGameMusicBattleEnd, kGameMusicInn,
                                                kGameMusicVehicle1, kGameMusicVehicle2,  kGameMusicVehicle3,
                                                kGameMusicGameOver};
    int32_t which = line.GetParam(0);
    if (!GameSystem || which < 0 || which > 6) return;
    GameSystem->SetMusic(kSlots[which], MusicFrom(line, 1));
}

VARNOW_COMMAND(ChangeSystemSound) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->SetSound(line.GetParam(0), SoundFrom(line, 1));
}

VARNOW_COMMAND(ChangeSystemGraphics) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->SetSystemGraphic(line.text, line.GetParam(0), line.GetParam(1));
}

VARNOW_COMMAND(ChangeScreenTransition) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->SetTransition(line.GetParam(0), line.GetParam(1));
}

VARNOW_COMMAND(PlayMusic) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->PlayMusic(MusicFrom(line, 0));
}

VARNOW_COMMAND(FadeOutMusic) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->FadeOutMusic(line.GetParam(0));
}

VARNOW_COMMAND(MemorizeMusic) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (GameSystem) GameSystem->MusicRecord(kGameMusicMemorized) = GameSystem->MusicRecord(kGameMusicCurrent);
}

VARNOW_COMMAND(PlayMemorizedMusic) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (!GameSystem) return;
    TLcfMusic& memorized = GameSystem->MusicRecord(kGameMusicMemorized);
    memorized.fadeIn = 0;
    TLcfMusic music = memorized;
    GameSystem->PlayMusic(music);
}

VARNOW_COMMAND(PlaySound) {
    (void)scripter;
    (void)frame;
    if (!GameSystem) return;
    TLcfSound sound = SoundFrom(line, 0);
    if (sound.IsOff())
        GameSystem->StopAllSounds();
    else
        GameSystem->PlaySound(sound);
}

VARNOW_COMMAND(AllowTeleport) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->teleportAllowed = Flag(line.GetParam(0));
}

VARNOW_COMMAND(AllowEscape) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->escapeAllowed = Flag(line.GetParam(0));
}

VARNOW_COMMAND(AllowSave) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->saveAllowed = Flag(line.GetParam(0));
}

VARNOW_COMMAND(AllowMainMenu) {
    (void)scripter;
    (void)frame;
    if (GameSystem) GameSystem->mainMenuAllowed = Flag(line.GetParam(0));
}

VARNOW_COMMAND(OpenMainMenu) {
    (void)scripter;
    (void)frame;
    (void)line;
    if (GameSystem) GameSystem->scene = kSceneMenu;
}

}  // namespace commands
