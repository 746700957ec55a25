#include "SoundEffects.h"

namespace qw::tools {

Samples MakeFigureHit() {
    Samples s(SampleCount(0.35));
    NoiseSource noise(7);
    LowPass body;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        // A pitch that drops from 190 Hz to 70 Hz gives the "oof".
        const double freq = 70 + 120 * std::exp(-t * 14);
        phase += 2 * kPi * freq / kSampleRate;
        const double tone = (std::sin(phase) + 0.3 * std::sin(2 * phase)) * std::exp(-t * 11);
        const double thump = body.Run(noise.Next(), 900) * std::exp(-t * 40) * 2.5;
        s[i] = tone + thump;
    }
    Normalise(s, 0.85);
    return s;
}

Samples MakeBlockHit() {
    Samples s(SampleCount(0.25));
    NoiseSource noise(11);
    LowPass low, band;
    const double modes[] = {620, 1130, 1770, 2460};  // an inharmonic, stony ring
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        double ring = 0;
        for (int m = 0; m < 4; ++m) ring += std::sin(2 * kPi * modes[m] * t) * std::exp(-t * (30 + 12 * m)) / (m + 1);
        const double n = noise.Next();
        const double crack = (band.Run(n, 4000) - low.Run(n, 800)) * std::exp(-t * 60) * 3;
        s[i] = ring + crack;
    }
    Normalise(s, 0.8);
    return s;
}

Samples MakeLaunch() {
    const double length = 0.7;
    Samples s(SampleCount(length));
    NoiseSource noise(23);
    LowPass a, b;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double x = t / length;
        // Band of noise sweeping up while it swells and fades.
        const double centre = 300 + 3200 * x * x;
        const double n = noise.Next();
        const double whoosh = a.Run(n, centre * 1.6) - b.Run(n, centre * 0.6);
        const double envelope = std::sin(kPi * std::pow(x, 0.6));
        phase += 2 * kPi * (120 + 500 * x) / kSampleRate;
        s[i] = whoosh * envelope * 2 + 0.15 * std::sin(phase) * envelope;
    }
    Normalise(s, 0.8);
    return s;
}

Samples MakeWinJingle() {
    const double notes[] = {72, 76, 79, 84};  // C, E, G, C an octave up
    const double step = 0.12;
    Samples s(SampleCount(1.4));
    for (int k = 0; k < 4; ++k) {
        const double f = MidiToHz(notes[k]);
        const double start = k * step;
        const double decay = k == 3 ? 2.5 : 6;
        for (size_t i = SampleCount(start); i < s.size(); ++i) {
            const double t = double(i) / kSampleRate - start;
            const double bell = std::sin(2 * kPi * f * t) + 0.35 * std::sin(2 * kPi * 2 * f * t) * std::exp(-t * 4) +
                                0.15 * std::sin(2 * kPi * 3.01 * f * t) * std::exp(-t * 8);
            s[i] += bell * std::exp(-t * decay) * std::min(1.0, t * 400);
        }
    }
    Normalise(s, 0.7);
    return s;
}

Samples MakeExplosion() {
    const double length = 2.2;
    Samples s(SampleCount(length));
    NoiseSource noise(31);
    LowPass blast, rumble, rumble2;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double n = noise.Next();
        // A bright crack first, then a muffled roar whose cutoff falls.
        const double crack = blast.Run(n, 3500) * std::exp(-t * 18);
        const double roar = rumble2.Run(rumble.Run(n, 900 * std::exp(-t * 1.5) + 60), 400) * std::exp(-t * 1.8) * 4;
        const double boom = std::sin(2 * kPi * (45 + 30 * std::exp(-t * 6)) * t) * std::exp(-t * 3) * 0.8;
        s[i] = (crack + roar + boom) * std::min(1.0, t * 300);
    }
    Normalise(s, 0.9);
    return s;
}

}  // namespace qw::tools
