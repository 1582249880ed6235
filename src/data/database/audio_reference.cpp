#include "data/database/audio_reference.h"

void TLcfMusic::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, false); break;
    case 2: d.SetInteger(&fadeIn, 0); break;
    case 3: d.SetInteger(&volume, 100); break;
    case 4: d.SetInteger(&tempo, 100); break;
    case 5: d.SetInteger(&balance, 50); break;
    }
}

void TLcfMusic::Clear() {
    TCatalogBaseItem::Clear();
    name = kAudioOff;
}

void TLcfMusic::Assign(TCatalogBaseItem& source) {
    if (auto* music = dynamic_cast<TLcfMusic*>(&source)) *this = *music;
}

bool TLcfMusic::Equals(const TLcfMusic& other) const {
    return name == other.name && fadeIn == other.fadeIn && volume == other.volume && tempo == other.tempo &&
           balance == other.balance;
}

void TLcfSound::DescribeField(int id, TCatalogVarData& d, bool) {
    switch (id) {
    case 1: d.SetString(&name, false); break;
    case 3: d.SetInteger(&volume, 100); break;
    case 4: d.SetInteger(&tempo, 100); break;
    case 5: d.SetInteger(&balance, 50); break;
    }
}

void TLcfSound::Clear() {
    TCatalogBaseItem::Clear();
    name = kAudioOff;
}

void TLcfSound::Assign(TCatalogBaseItem& source) {
    if (auto* sound = dynamic_cast<TLcfSound*>(&source)) *this = *sound;
}

bool TLcfSound::Equals(const TLcfSound& other) const {
    return name == other.name && volume == other.volume && tempo == other.tempo && balance == other.balance;
}
