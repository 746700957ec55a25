#pragma once
// Writes 8-bit RGBA PNG files with no time stamp, so a regenerated file is
// byte for byte the same.
#include <cstdint>
#include <string>
#include <vector>

namespace qw::tools {

// rgba: width * height * 4 bytes, top row first. Throws std::runtime_error.
void WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

}  // namespace qw::tools
