#include "Synth.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace qw::tools {

void Normalise(Samples& s, double peak) {
    double loudest = 0;
    for (double v : s) loudest = std::max(loudest, std::abs(v));
    if (loudest > 0)
        for (double& v : s) v *= peak / loudest;
}

namespace {

void Put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    out.write(b, 2);
}

void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, uint16_t(v & 0xFFFF));
    Put16(out, uint16_t(v >> 16));
}

}  // namespace

void WriteWav(const std::string& path, const Samples& s) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error(path + ": cannot create");
    const uint32_t dataBytes = uint32_t(s.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (double v : s) Put16(out, uint16_t(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767))));
    if (!out.flush()) throw std::runtime_error(path + ": write failed");
}

}  // namespace qw::tools
