#pragma once
// Writes an RGB picture as a PNG file.
#include <string>

#include "TopDownMap.h"

namespace qw::tool {

// Replaces path atomically; throws std::runtime_error with libpng's or the
// file system's message.
void SavePng(const RgbImage& image, const std::string& path);

}  // namespace qw::tool
