#pragma once
// Writes a short tone as a 16-bit mono PCM wave file, so the sound tests
// need no shipped data.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace qw::test {

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline bool WriteToneWav(const std::string& path, double seconds, int rate = 22050) {
    const uint32_t samples = static_cast<uint32_t>(seconds * rate);
    const uint32_t dataBytes = samples * 2;
    std::vector<uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, static_cast<uint32_t>(rate), 4);
    PutLe(out, static_cast<uint32_t>(rate) * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, dataBytes, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        const double v = 8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate);
        PutLe(out, static_cast<uint32_t>(static_cast<int32_t>(v)) & 0xFFFF, 2);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace qw::test
