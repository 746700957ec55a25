#pragma once
// The ten figure values a world file stores after the grid, in file order.
#include <array>
#include <cstddef>

#include "world/GameState.h"

namespace qw {

struct FigureField {
    const char* name;
    double TGameState::*field;
    // What a new round starts with; also what replaces a value from a file
    // that is not a finite number.
    double start;
};

// gangle2 is not reset by a new round; 0 is the value it has when the game
// starts, a pitch looking straight ahead.
inline constexpr std::array<FigureField, 10> kFigureFields{{
    {"posx", &TGameState::posx, 0},
    {"posy", &TGameState::posy, -20},
    {"posz", &TGameState::posz, 0},
    {"angle", &TGameState::angle, 0},
    {"angle2", &TGameState::angle2, 0},
    {"gposx", &TGameState::gposx, 0},
    {"gposy", &TGameState::gposy, -20},
    {"gposz", &TGameState::gposz, 20},
    {"gangle", &TGameState::gangle, 180},
    {"gangle2", &TGameState::gangle2, 0},
}};

inline constexpr std::size_t kFigureBlockBytes = 80;

// The figure block as stored: ten little-endian binary64 values.
std::array<unsigned char, kFigureBlockBytes> EncodeFigureBlock(const TGameState& state);

}  // namespace qw
