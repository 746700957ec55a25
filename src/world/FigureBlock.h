#pragma once
// The ten figure values a world file stores after the grid, in file order.
#include <array>
#include <cstddef>

#include "world/GameState.h"

namespace qw {

struct FigureField {
    const char* name;
    double TGameState::*field;
};

inline constexpr std::array<FigureField, 10> kFigureFields{{
    {"posx", &TGameState::posx},
    {"posy", &TGameState::posy},
    {"posz", &TGameState::posz},
    {"angle", &TGameState::angle},
    {"angle2", &TGameState::angle2},
    {"gposx", &TGameState::gposx},
    {"gposy", &TGameState::gposy},
    {"gposz", &TGameState::gposz},
    {"gangle", &TGameState::gangle},
    {"gangle2", &TGameState::gangle2},
}};

inline constexpr std::size_t kFigureBlockBytes = 80;

// The figure block as stored: ten little-endian binary64 values.
std::array<unsigned char, kFigureBlockBytes> EncodeFigureBlock(const TGameState& state);

}  // namespace qw
