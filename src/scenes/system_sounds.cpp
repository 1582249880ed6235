#include "scenes/system_sounds.h"

#include "game/system/game_system.h"

void PlaySystemSound(int role) {
    if (GameSystem) GameSystem->PlaySound(GameSystem->Sound(role));
}

void PlayTitleMusic() {
    if (GameSystem) GameSystem->PlayMusic(GameSystem->Music(kGameMusicTitle));
}
