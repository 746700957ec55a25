#pragma once
// The vector font file (".mlf"): per character code 32 ... 255 a count and
// that many 104-byte stroke records, then two tables of 224 advance terms.
// Everything little-endian, no header.
#include <cstdint>
#include <functional>
#include <string>

#include "world/GameState.h"

namespace qw {

enum TStrokeKind : int32_t { kStrokeLine = 0, kStrokeCurve = 1, kStrokeArc = 2 };

// One stroke as kept in a glyph array. Coordinates in font units, y down.
struct TStrokeRecord {
    double x1, y1;  // start
    double x2, y2;  // end
    double x3, y3;  // curve control point, or the point an arc bends towards
    int32_t kind;   // TStrokeKind; other values are not drawn
    uint8_t reserved[52];
};
static_assert(sizeof(TStrokeRecord) == 104, "stroke records are 104 bytes in the file and in the glyph arrays");

// Reads the font into buchstaben, buchstabenbreitea and buchstabenbreitebc.
// A file that cannot be opened leaves the table as it was and passes the
// user's message to reportError. A file that ends early keeps what was read.
// Throws EDynaArrayMemory when the heap refuses a glyph's block.
void OpenMLFontFile(TGameState& gs, const std::string& fname,
                    const std::function<void(const std::string&)>& reportError);

}  // namespace qw
