#pragma once
// A few building blocks for synthesising sounds: mono float buffers at a
// fixed rate, repeatable noise, and 16-bit WAV output.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace qw::tools {

inline constexpr int kSampleRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

inline size_t SampleCount(double seconds) { return size_t(std::lround(seconds * kSampleRate)); }

// Repeatable white noise in [-1, 1].
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state_(seed ? seed : 1) {}
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ / 2147483647.5 - 1.0;
    }

private:
    uint32_t state_;
};

// One-pole low-pass; cutoff in Hz may change per sample.
class LowPass {
public:
    double Run(double in, double cutoff) {
        const double a = 1.0 - std::exp(-2.0 * kPi * cutoff / kSampleRate);
        value_ += a * (in - value_);
        return value_;
    }

private:
    double value_ = 0;
};

inline double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Scales so the loudest sample reaches `peak`.
void Normalise(Samples& s, double peak);

// 16-bit PCM mono WAV. Throws std::runtime_error.
void WriteWav(const std::string& path, const Samples& s);

}  // namespace qw::tools
