#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "rng.h"
#include "wave_file.h"

namespace mkdemo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A floating-point mix buffer; effects are built by adding voices into it.
class Mix {
public:
    explicit Mix(double seconds) : samples_(static_cast<size_t>(seconds * kSoundRate), 0.0) {}

    enum Wave { kSine, kSquare, kTriangle, kSaw };

    // A tone gliding from f0 to f1 Hz (exponentially), starting at `start`
    // seconds, with a short attack and an exponential decay.
    void Tone(double start, double length, double f0, double f1, Wave wave, double level, double decay = 6.0,
              double attack = 0.004) {
        double phase = 0;
        const size_t first = static_cast<size_t>(start * kSoundRate);
        const size_t count = static_cast<size_t>(length * kSoundRate);
        for (size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            const double t = static_cast<double>(i) / kSoundRate;
            const double progress = static_cast<double>(i) / static_cast<double>(count);
            const double freq = f0 * std::pow(f1 / f0, progress);
            phase += freq / kSoundRate;
            phase -= std::floor(phase);
            double value = 0;
            switch (wave) {
                case kSine: value = std::sin(2 * kPi * phase); break;
                case kSquare: value = phase < 0.5 ? 0.7 : -0.7; break;
                case kTriangle: value = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase; break;
                case kSaw: value = 2 * phase - 1; break;
            }
            samples_[first + i] += value * level * Envelope(t, length, attack, decay);
        }
    }

    // Noise through a one-pole low-pass whose cut-off glides from c0 to c1
    // (0..1, higher is brighter).
    void Noise(double start, double length, double c0, double c1, double level, double decay, uint32_t seed,
               double attack = 0.002) {
        ToolRandom random(seed);
        double low = 0;
        const size_t first = static_cast<size_t>(start * kSoundRate);
        const size_t count = static_cast<size_t>(length * kSoundRate);
        for (size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            const double t = static_cast<double>(i) / kSoundRate;
            const double cut = c0 + (c1 - c0) * static_cast<double>(i) / static_cast<double>(count);
            low += cut * (random.Signed() - low);
            samples_[first + i] += low * level * 2.0 * Envelope(t, length, attack, decay);
        }
    }

    // Scales to the given peak and converts to 16 bits, with a short fade at
    // the end so no effect ends in a click.
    std::vector<int16_t> Finish(double peak = 0.8) const {
        double max = 1e-9;
        for (double v : samples_) max = std::max(max, std::fabs(v));
        std::vector<int16_t> out(samples_.size());
        const size_t fade = std::min<size_t>(samples_.size(), kSoundRate / 100);
        for (size_t i = 0; i < samples_.size(); ++i) {
            double v = samples_[i] / max * peak;
            if (i + fade >= samples_.size()) v *= static_cast<double>(samples_.size() - i) / static_cast<double>(fade);
            out[i] = static_cast<int16_t>(std::lround(v * 32767.0));
        }
        return out;
    }

private:
    static double Envelope(double t, double length, double attack, double decay) {
        const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
        const double tail = std::min(1.0, (length - t) / 0.006);  // release
        return rise * std::exp(-decay * t) * std::max(0.0, tail);
    }

    std::vector<double> samples_;
};

std::vector<int16_t> Cursor() {
    Mix mix(0.06);
    mix.Tone(0, 0.06, 1760, 1760, Mix::kSquare, 0.5, 40);
    mix.Tone(0, 0.06, 3520, 3520, Mix::kSine, 0.2, 60);
    return mix.Finish(0.6);
}

std::vector<int16_t> Decision() {
    Mix mix(0.16);
    mix.Tone(0, 0.07, 1318.5, 1318.5, Mix::kSquare, 0.5, 20);
    mix.Tone(0.06, 0.10, 1975.5, 1975.5, Mix::kSquare, 0.5, 25);
    return mix.Finish(0.6);
}

std::vector<int16_t> Cancel() {
    Mix mix(0.14);
    mix.Tone(0, 0.06, 1174.7, 1174.7, Mix::kTriangle, 0.6, 20);
    mix.Tone(0.05, 0.09, 783.99, 783.99, Mix::kTriangle, 0.6, 30);
    return mix.Finish(0.6);
}

std::vector<int16_t> Buzzer() {
    Mix mix(0.22);
    mix.Tone(0, 0.22, 146.8, 138.6, Mix::kSquare, 0.6, 4);
    mix.Tone(0, 0.22, 155.6, 146.8, Mix::kSaw, 0.4, 4);
    return mix.Finish(0.7);
}

std::vector<int16_t> BattleStart() {
    Mix mix(0.9);
    mix.Noise(0, 0.9, 0.05, 0.9, 0.8, 2.5, 11, 0.3);
    mix.Tone(0, 0.9, 110, 880, Mix::kSaw, 0.4, 1.5, 0.1);
    mix.Tone(0.6, 0.3, 55, 40, Mix::kSine, 0.8, 8);
    return mix.Finish(0.85);
}

std::vector<int16_t> Escape() {
    Mix mix(0.45);
    for (int i = 0; i < 4; ++i) mix.Tone(i * 0.08, 0.12, 1200.0 - i * 180, 900.0 - i * 180, Mix::kSquare, 0.4, 20);
    mix.Noise(0, 0.45, 0.6, 0.1, 0.3, 6, 12);
    return mix.Finish(0.6);
}

std::vector<int16_t> EnemyAttack() {
    Mix mix(0.3);
    mix.Noise(0, 0.3, 0.2, 0.7, 0.8, 10, 13, 0.05);
    mix.Tone(0, 0.3, 300, 180, Mix::kSaw, 0.3, 10);
    return mix.Finish(0.7);
}

std::vector<int16_t> Hit() {
    Mix mix(0.25);
    mix.Noise(0, 0.25, 0.9, 0.2, 1.0, 18, 14);
    mix.Tone(0, 0.2, 180, 70, Mix::kSine, 0.8, 14);
    return mix.Finish(0.85);
}

std::vector<int16_t> HeavyHit() {
    Mix mix(0.4);
    mix.Noise(0, 0.4, 0.6, 0.05, 1.0, 9, 15);
    mix.Tone(0, 0.35, 120, 40, Mix::kSine, 1.0, 8);
    mix.Tone(0, 0.1, 900, 300, Mix::kSquare, 0.2, 30);
    return mix.Finish(0.9);
}

std::vector<int16_t> Miss() {
    Mix mix(0.28);
    mix.Noise(0, 0.28, 0.05, 0.5, 0.9, 6, 16, 0.12);
    return mix.Finish(0.5);
}

std::vector<int16_t> Defeated() {
    Mix mix(0.7);
    mix.Noise(0, 0.7, 0.7, 0.05, 0.8, 5, 17);
    mix.Tone(0, 0.7, 600, 60, Mix::kSquare, 0.35, 4);
    return mix.Finish(0.8);
}

std::vector<int16_t> Item() {
    Mix mix(0.4);
    const double notes[] = {1046.5, 1318.5, 1568.0};
    for (int i = 0; i < 3; ++i) mix.Tone(i * 0.06, 0.3, notes[i], notes[i], Mix::kSine, 0.5, 10);
    return mix.Finish(0.6);
}

std::vector<int16_t> Heal() {
    Mix mix(1.0);
    const double notes[] = {523.25, 659.25, 783.99, 1046.5, 1318.5, 1568.0, 2093.0};
    for (int i = 0; i < 7; ++i) {
        mix.Tone(i * 0.07, 0.5, notes[i], notes[i], Mix::kSine, 0.45, 5);
        mix.Tone(i * 0.07, 0.5, notes[i] * 2.01, notes[i] * 2.01, Mix::kSine, 0.12, 8);
    }
    mix.Noise(0, 1.0, 0.9, 0.9, 0.05, 3, 18, 0.2);
    return mix.Finish(0.7);
}

std::vector<int16_t> Door() {
    Mix mix(0.7);
    // The creak: a rough low tone wobbling upward, then the thud of the
    // door against its frame.
    for (int i = 0; i < 6; ++i) mix.Tone(i * 0.06, 0.07, 180.0 + i * 25, 220.0 + i * 20, Mix::kSaw, 0.35, 6);
    mix.Noise(0.45, 0.25, 0.3, 0.02, 1.0, 14, 19);
    mix.Tone(0.45, 0.25, 90, 50, Mix::kSine, 0.9, 14);
    return mix.Finish(0.8);
}

std::vector<int16_t> Magic() {
    Mix mix(0.8);
    mix.Tone(0, 0.8, 400, 1600, Mix::kTriangle, 0.4, 3, 0.05);
    mix.Tone(0, 0.8, 404, 1616, Mix::kTriangle, 0.4, 3, 0.05);
    mix.Noise(0, 0.8, 0.9, 0.9, 0.15, 4, 20, 0.1);
    return mix.Finish(0.7);
}

std::vector<int16_t> Fire() {
    Mix mix(0.8);
    mix.Noise(0, 0.8, 0.3, 0.1, 1.0, 3, 21, 0.08);
    mix.Noise(0.05, 0.5, 0.9, 0.5, 0.3, 8, 22);
    return mix.Finish(0.8);
}

std::vector<int16_t> Save() {
    Mix mix(0.7);
    const double notes[] = {783.99, 1046.5, 1318.5, 1568.0};
    for (int i = 0; i < 4; ++i) mix.Tone(i * 0.09, 0.4, notes[i], notes[i], Mix::kTriangle, 0.5, 6);
    return mix.Finish(0.6);
}

std::vector<int16_t> Chime() {
    Mix mix(1.2);
    mix.Tone(0, 1.2, 1567.98, 1567.98, Mix::kSine, 0.6, 3);
    mix.Tone(0, 1.2, 1567.98 * 2.76, 1567.98 * 2.76, Mix::kSine, 0.2, 6);
    mix.Tone(0.25, 0.95, 2093.0, 2093.0, Mix::kSine, 0.5, 3);
    return mix.Finish(0.6);
}

std::vector<int16_t> Teleport() {
    Mix mix(0.9);
    mix.Tone(0, 0.9, 200, 2400, Mix::kSine, 0.5, 1.5, 0.02);
    mix.Tone(0, 0.9, 300, 3600, Mix::kTriangle, 0.25, 1.5, 0.02);
    mix.Noise(0, 0.9, 0.2, 0.9, 0.2, 2, 23, 0.2);
    return mix.Finish(0.7);
}

struct Effect {
    const char* name;
    std::vector<int16_t> (*make)();
    bool adpcm;
};

const Effect kEffects[] = {
    {sound::kCursor, Cursor, false},       {sound::kDecision, Decision, false},
    {sound::kCancel, Cancel, false},       {sound::kBuzzer, Buzzer, false},
    {sound::kBattleStart, BattleStart, false}, {sound::kEscape, Escape, false},
    {sound::kEnemyAttack, EnemyAttack, false}, {sound::kHit, Hit, false},
    {sound::kHeavyHit, HeavyHit, false},   {sound::kMiss, Miss, false},
    {sound::kDefeated, Defeated, false},   {sound::kItem, Item, false},
    {sound::kHeal, Heal, true},            {sound::kDoor, Door, true},
    {sound::kMagic, Magic, false},         {sound::kFire, Fire, true},
    {sound::kSave, Save, false},           {sound::kChime, Chime, false},
    {sound::kTeleport, Teleport, false},
};

const Effect* FindEffect(const char* name) {
    for (const Effect& effect : kEffects)
        if (std::strcmp(effect.name, name) == 0) return &effect;
    return nullptr;
}

}  // namespace

std::vector<int16_t> SynthesizeSound(const char* name) {
    const Effect* effect = FindEffect(name);
    return effect ? effect->make() : std::vector<int16_t>{};
}

bool SoundIsAdpcm(const char* name) {
    const Effect* effect = FindEffect(name);
    return effect && effect->adpcm;
}

std::vector<const char*> SoundNames() {
    std::vector<const char*> names;
    for (const Effect& effect : kEffects) names.push_back(effect.name);
    return names;
}

void WriteSounds(OutputFolder& out) {
    for (const Effect& effect : kEffects) {
        const std::vector<int16_t> samples = effect.make();
        out.Write(std::string("Sound/") + effect.name + ".wav",
                  effect.adpcm ? EncodeAdpcmWave(samples, kSoundRate) : EncodePcmWave(samples, kSoundRate));
    }
}

}  // namespace mkdemo
