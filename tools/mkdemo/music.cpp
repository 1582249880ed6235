#include "music.h"

#include <cctype>
#include <cstring>
#include <stdexcept>
#include <string>

#include "midi_file.h"

namespace mkdemo {
namespace {

constexpr int kDivision = 480;          // ticks per quarter note
constexpr uint32_t kSixteenth = kDivision / 4;
constexpr uint32_t kBar = kDivision * 4;  // every piece is in 4/4

// General MIDI programs used below.
enum Program {
    kPiano = 0, kCelesta = 8, kMarimba = 12, kNylonGuitar = 24, kFingerBass = 33, kPickBass = 34,
    kSynthBass = 38, kStrings = 48, kSlowStrings = 49, kChoir = 52, kTrumpet = 56, kBrass = 61,
    kTimpani = 47, kFlute = 73, kOcarina = 79, kSquareLead = 80, kSawLead = 81, kHarp = 46,
};

constexpr int kDrumChannel = 9;
enum Drum { kKick = 36, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kLowTom = 45 };

// Parses one note name such as "C#5", "Bb3" or "r" (rest) into a MIDI key
// (-1 for a rest).
int ParseKey(const std::string& token) {
    if (token == "r") return -1;
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    size_t i = 0;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(token.at(i++))));
    if (letter < 'A' || letter > 'G') throw std::logic_error("bad note " + token);
    int key = kSemitone[letter - 'A'];
    while (i < token.size() && (token[i] == '#' || token[i] == 'b')) key += token[i++] == '#' ? 1 : -1;
    const int octave = std::stoi(token.substr(i));
    return 12 * (octave + 1) + key;
}

// A voice writes a line of notes written as text: space-separated tokens
// "key[+key...][:length]", lengths in sixteenth notes (the last length
// carries over), "r" for a rest. Returns the tick after the last note.
class Voice {
public:
    Voice(MidiTrack& track, int channel, int velocity) : track_(track), channel_(channel), velocity_(velocity) {}

    uint32_t Line(uint32_t tick, const char* notes, int velocity_shift = 0, int transpose = 0,
                  double gate = 0.9) {
        std::string text(notes);
        size_t pos = 0;
        uint32_t length = 4;
        int count = 0;
        while (pos < text.size()) {
            while (pos < text.size() && text[pos] == ' ') ++pos;
            if (pos >= text.size()) break;
            size_t end = text.find(' ', pos);
            if (end == std::string::npos) end = text.size();
            std::string token = text.substr(pos, end - pos);
            pos = end;
            const size_t colon = token.find(':');
            if (colon != std::string::npos) {
                length = static_cast<uint32_t>(std::stoi(token.substr(colon + 1)));
                token = token.substr(0, colon);
            }
            const uint32_t ticks = length * kSixteenth;
            size_t start = 0;
            while (start <= token.size()) {
                size_t plus = token.find('+', start);
                if (plus == std::string::npos) plus = token.size();
                const int key = ParseKey(token.substr(start, plus - start));
                if (key >= 0) {
                    // A gentle accent on beats keeps the lines from sounding
                    // mechanical; the pattern is fixed, so output stays
                    // deterministic.
                    const int accent = (tick % kDivision == 0) ? 6 : ((count % 3) == 1 ? -4 : 0);
                    const uint32_t held = std::max<uint32_t>(kSixteenth / 2, static_cast<uint32_t>(ticks * gate));
                    track_.Note(tick, channel_, key + transpose, velocity_ + velocity_shift + accent, held);
                }
                start = plus + 1;
            }
            tick += ticks;
            ++count;
        }
        return tick;
    }

private:
    MidiTrack& track_;
    int channel_;
    int velocity_;
};

// Sets up one instrument track: program, volume, pan, a little reverb.
MidiTrack& Instrument(MidiSong& song, const char* name, int channel, int program, int volume, int pan,
                      int reverb = 40) {
    MidiTrack& track = song.AddTrack(name);
    if (channel != kDrumChannel) track.Program(0, channel, program);
    track.Controller(0, channel, 7, volume);
    track.Controller(0, channel, 10, pan);
    track.Controller(0, channel, 91, reverb);
    return track;
}

// Conductor track with tempo and metre.
MidiTrack& Conductor(MidiSong& song, const char* title, int bpm) {
    MidiTrack& track = song.AddTrack(title);
    track.TimeSignature(0, 4, 2);
    track.Tempo(0, bpm);
    return track;
}

// Closes the piece: every track ends at `end`; a looping piece marks where
// the player jumps back to, a piece that plays once marks its own end so
// the player rests there instead of starting over.
void Finish(MidiTrack& conductor, uint32_t end, bool loops, uint32_t loop_tick) {
    conductor.LoopPoint(loops ? loop_tick : end);
    conductor.EndAt(end);
}

// Chord tones by name, for accompaniment patterns.
struct Chord {
    const char* name;
    int root;       // MIDI key of the root in octave 3
    int third;      // semitones
    int fifth;
    int seventh;    // 0 for a triad
};

Chord MakeChord(const char* name) {
    std::string text(name);
    size_t i = 1;
    std::string root_name(1, text[0]);
    while (i < text.size() && (text[i] == '#' || text[i] == 'b')) root_name += text[i++];
    const int root = ParseKey(root_name + "3");
    const std::string quality = text.substr(i);
    Chord chord{name, root, 4, 7, 0};
    if (quality == "m") chord.third = 3;
    if (quality == "7") chord.seventh = 10;
    if (quality == "m7") { chord.third = 3; chord.seventh = 10; }
    if (quality == "dim") { chord.third = 3; chord.fifth = 6; }
    return chord;
}

// Whole-bar pad chords, one per bar.
void PadChords(MidiTrack& track, int channel, uint32_t start, const char* const* chords, int bars, int velocity,
               int octave_shift = 12) {
    for (int bar = 0; bar < bars; ++bar) {
        const Chord chord = MakeChord(chords[bar]);
        const uint32_t tick = start + static_cast<uint32_t>(bar) * kBar;
        const int base = chord.root + octave_shift;
        track.Note(tick, channel, base, velocity, kBar - 20);
        track.Note(tick, channel, base + chord.third, velocity - 6, kBar - 20);
        track.Note(tick, channel, base + chord.fifth, velocity - 6, kBar - 20);
        if (chord.seventh) track.Note(tick, channel, base + chord.seventh, velocity - 10, kBar - 20);
    }
}

// Bass on the chord root: a pattern of (sixteenth offset, length, interval)
// steps repeated each bar.
struct BassStep {
    int at;
    int length;
    int interval;
};

void BassLine(MidiTrack& track, int channel, uint32_t start, const char* const* chords, int bars, int velocity,
              const BassStep* steps, int step_count, int octave_shift = -12) {
    for (int bar = 0; bar < bars; ++bar) {
        const Chord chord = MakeChord(chords[bar]);
        for (int s = 0; s < step_count; ++s) {
            const int key = chord.root + octave_shift +
                            (steps[s].interval == 5 ? chord.fifth : steps[s].interval == 3 ? chord.third
                                                                                            : steps[s].interval);
            track.Note(start + bar * kBar + steps[s].at * kSixteenth, channel, key, velocity + (s == 0 ? 8 : 0),
                       steps[s].length * kSixteenth - 30);
        }
    }
}

// Broken chords in eighths: root, fifth, octave+third, fifth... per bar.
void Arpeggio(MidiTrack& track, int channel, uint32_t start, const char* const* chords, int bars, int velocity) {
    for (int bar = 0; bar < bars; ++bar) {
        const Chord chord = MakeChord(chords[bar]);
        const int base = chord.root + 12;
        const int pattern[8] = {0, chord.fifth, 12, 12 + chord.third, chord.fifth + 12, 12 + chord.third, 12,
                                chord.fifth};
        for (int i = 0; i < 8; ++i)
            track.Note(start + bar * kBar + i * 2 * kSixteenth, channel, base + pattern[i], velocity - (i % 2) * 8,
                       2 * kSixteenth - 20);
    }
}

// Drum pattern from three strings of 16 steps each ("x" hit, "o" soft).
void Drums(MidiTrack& track, uint32_t start, int bars, const char* kick, const char* snare, const char* hat,
           int velocity) {
    const struct {
        const char* steps;
        int key;
    } lanes[3] = {{kick, kKick}, {snare, kSnare}, {hat, kClosedHat}};
    for (int bar = 0; bar < bars; ++bar)
        for (const auto& lane : lanes)
            for (int i = 0; i < 16 && lane.steps[i]; ++i)
                if (lane.steps[i] != '.')
                    track.Note(start + bar * kBar + i * kSixteenth, kDrumChannel, lane.key,
                               velocity - (lane.steps[i] == 'o' ? 30 : 0), kSixteenth / 2);
}

Bytes Title() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Title", 88);
    MidiTrack& strings = Instrument(song, "Strings", 1, kSlowStrings, 92, 50, 70);
    MidiTrack& flute = Instrument(song, "Flute", 0, kFlute, 100, 70, 60);
    MidiTrack& harp = Instrument(song, "Harp", 2, kHarp, 80, 40, 60);
    MidiTrack& bass = Instrument(song, "Bass", 3, kFingerBass, 90, 64, 30);

    // One bar of introduction, then eight bars that loop.
    const char* intro[] = {"C"};
    PadChords(strings, 1, 0, intro, 1, 70);
    Arpeggio(harp, 2, 0, intro, 1, 70);
    const uint32_t loop = kBar;
    const char* chords[] = {"C", "Am", "F", "G", "C", "Am", "Dm", "G"};
    PadChords(strings, 1, loop, chords, 8, 72);
    Arpeggio(harp, 2, loop, chords, 8, 66);
    const BassStep walk[] = {{0, 6, 0}, {6, 2, 5}, {8, 8, 0}};
    BassLine(bass, 3, loop, chords, 8, 84, walk, 3);
    Voice melody(flute, 0, 92);
    uint32_t t = melody.Line(loop, "E5:4 G5:4 C6:6 B5:2 A5:8 E5:8 F5:4 A5:4 C6:4 A5:4 G5:12 r:4");
    melody.Line(t, "E5:4 G5:4 C6:4 E6:4 D6:4 C6:4 B5:4 A5:4 F5:4 A5:4 G5:4 B5:4 C6:12 r:4");
    Finish(conductor, loop + 8 * kBar, true, loop);
    return song.Serialize();
}

Bytes Town() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Town", 112);
    MidiTrack& marimba = Instrument(song, "Marimba", 0, kMarimba, 104, 74, 40);
    MidiTrack& guitar = Instrument(song, "Guitar", 1, kNylonGuitar, 86, 44, 40);
    MidiTrack& bass = Instrument(song, "Bass", 2, kPickBass, 90, 64, 20);
    MidiTrack& drums = Instrument(song, "Drums", kDrumChannel, 0, 70, 64, 20);

    const char* chords[] = {"F", "Bb", "C", "F", "Dm", "Bb", "C", "C7"};
    Arpeggio(guitar, 1, 0, chords, 8, 74);
    const BassStep step[] = {{0, 4, 0}, {4, 4, 5}, {8, 4, 0}, {12, 4, 5}};
    BassLine(bass, 2, 0, chords, 8, 80, step, 4);
    Drums(drums, 0, 8, "x.......x.......", "....o.......o...", "x.o.x.o.x.o.x.o.", 80);
    Voice melody(marimba, 0, 96);
    uint32_t t = melody.Line(0, "A5:2 C6:2 A5:2 F5:2 G5:4 A5:4 Bb5:4 D6:4 C6:4 Bb5:4 A5:2 G5:2 E5:4 G5:4 C6:4 "
                                "A5:8 F5:8");
    melody.Line(t, "D5:2 F5:2 A5:4 D6:4 C6:4 Bb5:4 A5:4 G5:4 F5:4 E5:4 G5:4 C6:4 E5:4 G5:8 E5:4 C5:4");
    Finish(conductor, 8 * kBar, true, 0);
    return song.Serialize();
}

Bytes Field() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Field", 132);
    MidiTrack& brass = Instrument(song, "Brass", 0, kBrass, 100, 64, 50);
    MidiTrack& strings = Instrument(song, "Strings", 1, kStrings, 84, 40, 60);
    MidiTrack& bass = Instrument(song, "Bass", 2, kFingerBass, 92, 64, 20);
    MidiTrack& timpani = Instrument(song, "Timpani", 3, kTimpani, 90, 84, 50);
    MidiTrack& drums = Instrument(song, "Drums", kDrumChannel, 0, 76, 64, 30);

    const char* chords[] = {"D", "G", "A", "D", "Bm", "G", "E", "A"};
    PadChords(strings, 1, 0, chords, 8, 70);
    const BassStep gallop[] = {{0, 3, 0}, {3, 1, 0}, {4, 4, 5}, {8, 3, 0}, {11, 1, 0}, {12, 4, 5}};
    BassLine(bass, 2, 0, chords, 8, 82, gallop, 6);
    const BassStep roll[] = {{0, 4, 0}, {8, 4, 5}};
    BassLine(timpani, 3, 0, chords, 8, 76, roll, 2, 0);
    Drums(drums, 0, 8, "x.......x.x.....", "....x.......x...", "x.x.x.x.x.x.x.x.", 86);
    Voice melody(brass, 0, 98);
    uint32_t t = melody.Line(0, "D5:4 F#5:2 A5:2 D6:6 A5:2 B5:4 G5:4 D6:8 C#6:4 B5:2 A5:2 E5:4 A5:4 F#5:12 r:4");
    melody.Line(t, "F#5:2 G5:2 A5:4 B5:4 D6:4 D6:4 C#6:2 B5:2 G5:8 G#5:4 B5:4 E6:4 D6:4 C#6:8 A5:4 E5:4");
    Finish(conductor, 8 * kBar, true, 0);
    return song.Serialize();
}

Bytes Dungeon() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Dungeon", 84);
    MidiTrack& choir = Instrument(song, "Choir", 0, kChoir, 86, 50, 90);
    MidiTrack& ocarina = Instrument(song, "Ocarina", 1, kOcarina, 90, 78, 80);
    MidiTrack& bass = Instrument(song, "Bass", 2, kFingerBass, 92, 64, 40);
    MidiTrack& drums = Instrument(song, "Drums", kDrumChannel, 0, 60, 64, 60);

    const char* chords[] = {"Em", "Em", "C", "B", "Em", "Am", "C", "B"};
    PadChords(choir, 0, 0, chords, 8, 62);
    const BassStep pulse[] = {{0, 2, 0}, {6, 2, 0}, {8, 2, 0}, {14, 2, 0}};
    BassLine(bass, 2, 0, chords, 8, 78, pulse, 4);
    for (int bar = 0; bar < 8; ++bar) drums.Note(bar * kBar, kDrumChannel, kLowTom, 70, kSixteenth);
    Voice melody(ocarina, 1, 84);
    uint32_t t = melody.Line(kBar, "B4:6 C5:2 B4:4 G4:4 A4:8 F#4:8");
    t = melody.Line(t + kBar, "E5:4 D5:4 B4:8 C5:4 B4:4 A4:8");
    melody.Line(t, "G4:4 A4:4 B4:4 D5:4 D#5:12 r:4");
    Finish(conductor, 8 * kBar, true, 0);
    return song.Serialize();
}

Bytes Battle() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Battle", 160);
    MidiTrack& lead = Instrument(song, "Lead", 0, kSawLead, 92, 64, 30);
    MidiTrack& strings = Instrument(song, "Strings", 1, kStrings, 80, 44, 40);
    MidiTrack& bass = Instrument(song, "Bass", 2, kSynthBass, 96, 64, 10);
    MidiTrack& brass = Instrument(song, "Brass", 3, kBrass, 86, 84, 40);
    MidiTrack& drums = Instrument(song, "Drums", kDrumChannel, 0, 90, 64, 20);

    // Two bars of drums and bass set the pace, then eight bars loop.
    const char* intro[] = {"Am", "E"};
    const BassStep drive[] = {{0, 2, 0}, {2, 2, 0}, {4, 2, 12}, {6, 2, 0}, {8, 2, 0}, {10, 2, 5},
                              {12, 2, 0}, {14, 2, 12}};
    BassLine(bass, 2, 0, intro, 2, 88, drive, 8);
    Drums(drums, 0, 2, "x...x...x...x.x.", "....x.......x...", "x.x.x.x.x.x.x.x.", 96);
    const uint32_t loop = 2 * kBar;
    const char* chords[] = {"Am", "F", "G", "E", "Am", "F", "G", "E"};
    BassLine(bass, 2, loop, chords, 8, 88, drive, 8);
    PadChords(strings, 1, loop, chords, 8, 68);
    const BassStep stabs[] = {{0, 2, 0}, {3, 2, 0}, {6, 2, 0}};
    BassLine(brass, 3, loop, chords, 8, 74, stabs, 3, 12);
    Drums(drums, loop, 8, "x.....x.x.....x.", "....x.......x..o", "x.x.x.x.x.x.x.x.", 98);
    drums.Note(loop, kDrumChannel, kCrash, 100, kSixteenth);
    Voice melody(lead, 0, 92);
    uint32_t t = melody.Line(loop, "A5:2 A5:2 C6:2 A5:2 E6:4 D6:4 C6:2 A5:2 F5:4 A5:4 C6:4 B5:2 G5:2 D5:4 G5:4 "
                                   "B5:4 G#5:4 B5:4 E6:8");
    melody.Line(t, "E6:2 D6:2 C6:2 B5:2 A5:4 C6:4 F6:4 E6:2 D6:2 C6:4 A5:4 D6:4 B5:2 G5:2 D6:4 G6:4 E6:8 E5:4 "
                   "G#5:4");
    Finish(conductor, loop + 8 * kBar, true, loop);
    return song.Serialize();
}

Bytes Victory() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Victory", 140);
    MidiTrack& trumpet = Instrument(song, "Trumpet", 0, kTrumpet, 104, 64, 50);
    MidiTrack& strings = Instrument(song, "Strings", 1, kStrings, 84, 40, 60);
    MidiTrack& timpani = Instrument(song, "Timpani", 2, kTimpani, 92, 84, 50);
    const char* chords[] = {"C", "C", "F", "C"};
    PadChords(strings, 1, 0, chords, 4, 74);
    timpani.Note(0, 2, 48, 100, kDivision);
    timpani.Note(3 * kBar, 2, 48, 110, kBar);
    Voice fanfare(trumpet, 0, 100);
    fanfare.Line(0, "G4:2 C5:2 E5:2 G5:6 E5:2 G5:2 C6:12 r:4 A5:2 G5:2 F5:2 E5:2 D5:4 G5:4 C5+E5+G5:14 r:2", 0, 0,
                 0.95);
    // Plays once: the loop mark at the very end keeps it resting there.
    Finish(conductor, 4 * kBar, false, 0);
    return song.Serialize();
}

Bytes GameOver() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "GameOver", 66);
    MidiTrack& piano = Instrument(song, "Piano", 0, kPiano, 100, 64, 70);
    MidiTrack& strings = Instrument(song, "Strings", 1, kSlowStrings, 80, 50, 80);
    const char* chords[] = {"Am", "E", "F", "Am"};
    PadChords(strings, 1, 0, chords, 4, 64);
    Voice melody(piano, 0, 84);
    melody.Line(0, "A4:8 C5:8 B4:4 G#4:4 E4:8 F4:4 A4:4 C5:4 B4:4 A3+C4+E4+A4:16", 0, 0, 1.0);
    Finish(conductor, 4 * kBar, false, 0);
    return song.Serialize();
}

Bytes Inn() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Inn", 96);
    MidiTrack& celesta = Instrument(song, "Celesta", 0, kCelesta, 100, 64, 80);
    Voice melody(celesta, 0, 88);
    melody.Line(0, "C5:2 E5:2 G5:2 C6:2 B5:2 G5:2 D5:2 F5:2 E5+G5+C6:16", 0, 0, 1.0);
    Finish(conductor, 2 * kBar, false, 0);
    return song.Serialize();
}

Bytes Boat() {
    MidiSong song(kDivision);
    MidiTrack& conductor = Conductor(song, "Boat", 100);
    MidiTrack& flute = Instrument(song, "Flute", 0, kFlute, 96, 70, 60);
    MidiTrack& guitar = Instrument(song, "Guitar", 1, kNylonGuitar, 84, 50, 50);
    MidiTrack& bass = Instrument(song, "Bass", 2, kFingerBass, 86, 64, 30);
    const char* chords[] = {"G", "Em", "C", "D", "G", "Em", "Am", "D"};
    Arpeggio(guitar, 1, 0, chords, 8, 70);
    const BassStep sway[] = {{0, 6, 0}, {6, 2, 5}, {8, 6, 0}, {14, 2, 5}};
    BassLine(bass, 2, 0, chords, 8, 76, sway, 4);
    Voice melody(flute, 0, 90);
    uint32_t t = melody.Line(0, "D5:6 B4:2 G4:8 E5:6 D5:2 B4:8 C5:4 E5:4 G5:4 E5:4 D5:12 r:4");
    melody.Line(t, "G5:6 F#5:2 E5:4 D5:4 B4:4 D5:4 G5:8 A5:4 G5:4 E5:4 C5:4 D5:12 r:4");
    Finish(conductor, 8 * kBar, true, 0);
    return song.Serialize();
}

struct Piece {
    const char* name;
    Bytes (*compose)();
};

const Piece kPieces[] = {
    {music::kTitle, Title},     {music::kTown, Town},         {music::kField, Field},
    {music::kDungeon, Dungeon}, {music::kBattle, Battle},     {music::kVictory, Victory},
    {music::kGameOver, GameOver}, {music::kInn, Inn},         {music::kBoat, Boat},
};

}  // namespace

Bytes ComposeMusic(const char* name) {
    for (const Piece& piece : kPieces)
        if (std::strcmp(piece.name, name) == 0) return piece.compose();
    return {};
}

void WriteMusic(OutputFolder& out) {
    for (const Piece& piece : kPieces) out.Write(std::string("Music/") + piece.name + ".mid", piece.compose());
}

}  // namespace mkdemo
