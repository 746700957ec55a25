#include "Music.h"

#include <array>

namespace qw::tools {

namespace {

constexpr double kBeat = 0.6;  // 100 beats per minute
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 32;

// Chord roots and triads (MIDI notes) of the four-bar progression.
struct Chord {
    int root;
    std::array<int, 3> triad;
};
constexpr std::array<Chord, 4> kProgression{{
    {45, {57, 60, 64}},  // A minor
    {41, {53, 57, 60}},  // F major
    {48, {55, 60, 64}},  // C major
    {43, {55, 59, 62}},  // G major
}};

struct Note {
    int bar;  // within an eight-bar phrase
    double beat, length;
    int pitch;
};

// The tune: two four-bar phrases.
constexpr Note kTune[] = {
    {0, 0, 1.5, 76}, {0, 1.5, 0.5, 74}, {0, 2, 1, 72}, {0, 3, 1, 69},  //
    {1, 0, 1, 72},   {1, 1, 1, 74},     {1, 2, 2, 76},                 //
    {2, 0, 1.5, 79}, {2, 1.5, 0.5, 76}, {2, 2, 1, 74}, {2, 3, 1, 72},  //
    {3, 0, 3, 74},                                                     //
    {4, 0, 1, 81},   {4, 1, 0.5, 79},   {4, 1.5, 1.5, 76}, {4, 3, 1, 74},  //
    {5, 0, 1.5, 72}, {5, 1.5, 0.5, 74}, {5, 2, 1, 76}, {5, 3, 1, 79},      //
    {6, 0, 2, 76},   {6, 2, 1, 74},     {6, 3, 1, 72},                     //
    {7, 0, 1, 74},   {7, 1, 1, 71},     {7, 2, 2, 67},                     //
};

void AddTone(Samples& out, double start, double length, double freq, double gain, double decay, double attack,
             double brightness) {
    const size_t first = SampleCount(start);
    const size_t count = SampleCount(length + 1.0);  // ring on after release
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double release = t < length ? 1.0 : std::exp(-(t - length) * 12);
        const double env = std::min(1.0, t / attack) * std::exp(-t * decay) * release;
        const double p = 2 * kPi * freq * t;
        out[first + i] += gain * env * (std::sin(p) + brightness * std::sin(2 * p) + brightness * 0.4 * std::sin(3 * p));
    }
}

void AddPad(Samples& out, double start, const Chord& chord) {
    for (int note : chord.triad)
        for (double detune : {-0.08, 0.08}) AddTone(out, start, kBar, MidiToHz(note + detune), 0.035, 0.1, 0.35, 0.1);
}

void AddArpeggio(Samples& out, double start, const Chord& chord, double gain) {
    const int order[] = {0, 1, 2, 1, 0, 1, 2, 1};
    for (int i = 0; i < 8; ++i) {
        const int pitch = chord.triad[size_t(order[i])] + 12 + (i == 2 || i == 6 ? 12 : 0);
        AddTone(out, start + i * kBeat / 2, kBeat / 2, MidiToHz(pitch), gain, 5, 0.005, 0.35);
    }
}

void AddBass(Samples& out, double start, const Chord& chord) {
    for (double beat : {0.0, 2.0, 3.5}) AddTone(out, start + beat * kBeat, kBeat, MidiToHz(chord.root), 0.2, 2.2, 0.01, 0.5);
}

void AddDrums(Samples& out, double start, bool kick, NoiseSource& noise) {
    LowPass low;
    for (int half = 0; half < 8; ++half) {
        // Soft hat on the off-beats.
        if (half % 2 == 1) {
            const size_t first = SampleCount(start + half * kBeat / 2);
            for (size_t i = 0; i < SampleCount(0.06) && first + i < out.size(); ++i) {
                const double n = noise.Next();
                out[first + i] += (n - low.Run(n, 5000)) * 0.05 * std::exp(-double(i) / kSampleRate * 60);
            }
        }
        if (kick && half % 4 == 0) {
            const size_t first = SampleCount(start + half * kBeat / 2);
            double phase = 0;
            for (size_t i = 0; i < SampleCount(0.3) && first + i < out.size(); ++i) {
                const double t = double(i) / kSampleRate;
                phase += 2 * kPi * (50 + 90 * std::exp(-t * 30)) / kSampleRate;
                out[first + i] += std::sin(phase) * 0.3 * std::exp(-t * 12);
            }
        }
    }
}

}  // namespace

Samples MakeMusic() {
    const size_t loopLength = SampleCount(kBars * kBar);
    Samples out(loopLength + SampleCount(2.0));
    NoiseSource noise(97);
    for (int bar = 0; bar < kBars; ++bar) {
        const double start = bar * kBar;
        const Chord& chord = kProgression[size_t(bar % 4)];
        const int section = bar / 8;  // 0 calm, 1 tune, 2 tune low with beat, 3 everything
        AddPad(out, start, chord);
        AddArpeggio(out, start, chord, section == 0 ? 0.05 : 0.035);
        if (bar >= 4) AddBass(out, start, chord);
        if (section >= 1) AddDrums(out, start, section >= 2, noise);
        if (section == 0) continue;
        const int transpose = section == 2 ? -12 : 0;
        for (const Note& n : kTune)
            if (n.bar == bar % 8)
                AddTone(out, start + n.beat * kBeat, n.length * kBeat * 0.95, MidiToHz(n.pitch + transpose),
                        section == 2 ? 0.14 : 0.11, 0.6, 0.02, 0.2);
    }
    // Notes still ringing at the end are folded onto the start, so the piece
    // sounds continuous when it is played again from the top.
    for (size_t i = loopLength; i < out.size(); ++i) out[i - loopLength] += out[i];
    out.resize(loopLength);
    Normalise(out, 0.8);
    return out;
}

}  // namespace qw::tools
