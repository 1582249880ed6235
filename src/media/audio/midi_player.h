#pragma once
// The MIDI player: a standard MIDI file merged into one time-ordered event
// list and played by a sequencer that steps once per millisecond of music.
//
// The sequencer brings the synthesiser into a known state with a staged
// start, loops at a controller-111 marker and applies the volume, balance,
// tempo and fades by rewriting the volume and pan controllers. Its step runs
// on the MIDI output's clock (inside the audio callback, between rendered
// slices); one mutex keeps it apart from Load, Play, Stop and the controls.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/audio/midi_out.h"

struct TMidiEvent {
    uint32_t Tick = 0;
    uint32_t Message = 0;     // packed short message; 0 for meta and system-exclusive events
    uint32_t Tempo = 0;       // microseconds per quarter note, for a tempo event
    int SysExIndex = -1;      // for a system-exclusive event
    std::vector<uint8_t> Data;  // raw bytes of a meta (FF type data...) or system-exclusive event
};

class TMidiPlayer {
public:
    static constexpr size_t kMaxEvents = 100000;

    // Raises EMidiError when there is no output.
    explicit TMidiPlayer(std::unique_ptr<platform::audio::MidiOut> out);
    ~TMidiPlayer();
    TMidiPlayer(const TMidiPlayer&) = delete;
    TMidiPlayer& operator=(const TMidiPlayer&) = delete;

    // Raises EInvalidMidiFile (or EFOpenError).
    void Load(const std::string& fileName);
    void LoadBytes(std::span<const uint8_t> bytes);
    void Play();
    void Stop();
    void FadeIn(int milliseconds);
    void FadeOut(int milliseconds);
    void SetVolume(int value);
    void SetTempo(int value);
    void SetBalance(int value);

    bool Playing() const;
    bool Looped() const;
    uint32_t CurrentTick() const;

    // Waits until the output can sound; false when it never will. May raise
    // the output's set-up error.
    bool OutputReady() { return out_->WaitUntilReady(); }

    // One millisecond of the sequencer (the output's clock calls it).
    void Step();

    // For tests and diagnostics.
    const std::vector<TMidiEvent>& Events() const { return events_; }
    uint32_t LoopTick() const { return loopTick_; }
    size_t LoopIndex() const { return loopIndex_; }
    uint32_t LastTick() const { return lastTick_; }
    int Division() const { return division_; }
    int64_t QuarterMicros() const { return quarterMicros_; }
    int FadeLevel() const { return fadeLevel_; }
    uint64_t Now() const { return now_; }

private:
    struct Track;
    void StopLocked();
    void ClearLocked();
    void Merge(std::vector<Track>& tracks);
    void ComputeQuarterMicros();
    void SendVolumes();
    void SendPans();
    void SendSysEx(size_t index);
    void ShortMessage(uint32_t m) { out_->ShortMessage(m); }

    std::unique_ptr<platform::audio::MidiOut> out_;
    mutable std::recursive_mutex mutex_;
    std::string fileName_;
    int division_ = 0;
    std::vector<TMidiEvent> events_;
    std::vector<std::vector<uint8_t>> sysEx_;
    bool playing_ = false, looped_ = false;
    uint32_t lastTick_ = 0, loopTick_ = 0;
    size_t loopIndex_ = 0;
    int64_t periodMicros_ = 1000;
    int64_t stepMicros_ = 0;
    int64_t tempoMicros_ = 500000;
    int64_t quarterMicros_ = 500000;
    std::array<int, 16> channelVolume_{};
    std::array<int, 16> channelPan_{};
    size_t nextIndex_ = 0;
    uint32_t currentTick_ = 0;
    int64_t tickCarry_ = 0;
    int balance_ = 50, volume_ = 100, tempoPercent_ = 100;
    bool fadingIn_ = false, fadingOut_ = false;
    int fadeDuration_ = 0, fadeLevel_ = 100, fadeBase_ = 0;
    bool resetSent_ = false, bendSent_ = false, volumesSent_ = false, pansSent_ = false;
    uint64_t fadeStart_ = 0, lastVolumeSend_ = 0, startTime_ = 0;
    // The sequencer's own clock: milliseconds of music stepped so far.
    uint64_t now_ = 0;
};
