#include "scenes/system_sounds.h"

#include "data/asset_lookup.h"
#include "data/database/database.h"
#include "data/database/system.h"
#include "media/audio/audio_cantrel.h"

void PlaySystemSound(int role) {
    if (!DbSystem || role < 0 || role >= kSystemSoundCount) return;
    const TLcfSound& s = DbSystem->sounds[size_t(role)];
    if (s.name.empty() || s.IsOff()) return;
    if (auto path = FindAssetFile(s.name, "Sound", kSoundExtensions))
        CantrelPlaySound(path->c_str(), s.volume, s.tempo, s.balance);
}

void PlayTitleMusic() {
    if (!DbSystem) return;
    const TLcfMusic& m = DbSystem->music[kMusicTitle];
    if (m.name.empty() || m.IsOff()) {
        CantrelStopMusic();
        return;
    }
    if (auto path = FindAssetFile(m.name, "Music", kMusicExtensions)) {
        CantrelPlayMusic(path->c_str());
        CantrelSetMusicVolume(m.volume);
        CantrelSetMusicTempo(m.tempo);
        CantrelSetMusicBalance(m.balance);
    }
}
