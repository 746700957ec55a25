#include "SkinArt.h"

#include <string>

namespace qw::tools {

namespace {

// Where the six faces of one box lie in the skin: the box's corner (u, v) and
// its width, height and depth in skin pixels.
struct BoxLayout {
    int u, v, w, h, d;
    int topX() const { return u + d; }
    int bottomX() const { return u + d + w; }
    int rightX() const { return u; }  // the figure's own right, seen at -x
    int frontX() const { return u + d; }
    int leftX() const { return u + d + w; }
    int backX() const { return u + 2 * d + w; }
    int capY() const { return v; }
    int sideY() const { return v + d; }
};

constexpr BoxLayout kHead{0, 0, 8, 8, 8};
constexpr BoxLayout kHat{32, 0, 8, 8, 8};
constexpr BoxLayout kBody{16, 16, 8, 12, 4};
constexpr BoxLayout kLeg{0, 16, 4, 12, 4};
constexpr BoxLayout kArm{40, 16, 4, 12, 4};

struct Look {
    Rgba skin, skinShade, hair, hairLight, eyeWhite, iris, brow, mouth;
    Rgba shirt, shirtShade, shirtLight, trim;
    Rgba trousers, trousersShade, belt, shoes, shoesLight;
    int sleeveRows;  // rows of the arm covered by the sleeve
};

// Fills a rectangle with a colour and a whisper of noise so large areas look like cloth.
void Cloth(Canvas& c, int x, int y, int w, int h, Rgba col, uint32_t seed) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) c.at(i, j) = Shade(col, 0.95 + 0.08 * Noise(i, j, seed));
}

// Draws a picture given as rows of characters, each mapped through `colours`;
// '.' leaves the pixel as it is.
void Stamp(Canvas& c, int x, int y, std::initializer_list<const char*> rows, auto colours) {
    int j = 0;
    for (const char* row : rows) {
        for (int i = 0; row[i]; ++i)
            if (row[i] != '.') c.at(x + i, y + j) = colours(row[i]);
        ++j;
    }
}

void PaintHead(Canvas& c, const Look& k, std::initializer_list<const char*> face) {
    const auto colours = [&](char ch) {
        switch (ch) {
        case 'H': return k.hair;
        case 'h': return k.hairLight;
        case 'W': return k.eyeWhite;
        case 'I': return k.iris;
        case 'B': return k.brow;
        case 'M': return k.mouth;
        case 's': return k.skinShade;
        default: return k.skin;
        }
    };
    Cloth(c, kHead.u, kHead.v, 32, 16, k.skin, 201);
    c.Rect(kHead.u, kHead.v, kHead.d, kHead.d, kClear);       // unused corners of the layout
    c.Rect(kHead.u + 24, kHead.v, kHead.d, kHead.d, kClear);
    Cloth(c, kHead.topX(), kHead.capY(), 8, 8, k.hair, 202);  // top of the head: all hair
    Cloth(c, kHead.backX(), kHead.sideY(), 8, 6, k.hair, 203);
    // Sides: hair on top and towards the back, an ear in the middle. The
    // right side meets the front at its right edge, the left side at its left.
    for (int x : {kHead.rightX(), kHead.leftX()}) {
        const int back = x == kHead.rightX() ? x : x + 4;
        Cloth(c, x, kHead.sideY(), 8, 3, k.hair, 204);
        Cloth(c, back, kHead.sideY() + 3, 4, 2, k.hair, 205);
        c.at(x + 3, kHead.sideY() + 4) = k.skinShade;
        c.at(x + 4, kHead.sideY() + 4) = k.skinShade;
        c.at(x + 3, kHead.sideY() + 5) = k.skinShade;
        c.at(x + 4, kHead.sideY() + 5) = k.skinShade;
    }
    Stamp(c, kHead.frontX(), kHead.sideY(), face, colours);
    c.Rect(kHead.bottomX(), kHead.capY(), 8, 8, k.skinShade);  // under the chin
    for (int i = 0; i < 8; i += 3) c.at(kHead.topX() + i, kHead.capY() + (i * 5) % 8) = k.hairLight;
}

void PaintBody(Canvas& c, const Look& k) {
    Cloth(c, kBody.u, kBody.sideY(), 24, 12, k.shirt, 211);
    Cloth(c, kBody.topX(), kBody.capY(), 8, 4, k.shirtLight, 212);
    Cloth(c, kBody.bottomX(), kBody.capY(), 8, 4, k.trousersShade, 213);
    for (int x : {kBody.rightX(), kBody.leftX()}) Cloth(c, x, kBody.sideY(), 4, 12, k.shirtShade, 214);
    // Belt round the waist.
    c.Rect(kBody.u, kBody.sideY() + 10, 24, 1, k.belt);
    c.Rect(kBody.u, kBody.sideY() + 11, 24, 1, k.trousers);
    c.at(kBody.frontX() + 3, kBody.sideY() + 10) = k.shoesLight;
    c.at(kBody.frontX() + 4, kBody.sideY() + 10) = k.shoesLight;
}

void PaintLimbs(Canvas& c, const Look& k) {
    // Leg: trousers, shoes at the bottom.
    Cloth(c, kLeg.u, kLeg.sideY(), 16, 12, k.trousers, 221);
    Cloth(c, kLeg.topX(), kLeg.capY(), 4, 4, k.trousers, 222);
    Cloth(c, kLeg.bottomX(), kLeg.capY(), 4, 4, k.shoes, 223);
    c.Rect(kLeg.rightX(), kLeg.sideY(), 4, 12, k.trousersShade);
    c.Rect(kLeg.u, kLeg.sideY() + 10, 16, 2, k.shoes);
    c.Rect(kLeg.frontX(), kLeg.sideY() + 10, 4, 1, k.shoesLight);
    // Arm: sleeve, then bare arm and hand.
    Cloth(c, kArm.u, kArm.sideY(), 16, 12, k.skin, 231);
    Cloth(c, kArm.u, kArm.sideY(), 16, k.sleeveRows, k.shirt, 232);
    c.Rect(kArm.u, kArm.sideY() + k.sleeveRows, 16, 1, k.trim);
    Cloth(c, kArm.topX(), kArm.capY(), 4, 4, k.shirt, 233);
    Cloth(c, kArm.bottomX(), kArm.capY(), 4, 4, k.skinShade, 234);
    c.Rect(kArm.u, kArm.sideY() + 11, 16, 1, k.skinShade);
}

}  // namespace

Canvas PaintPlayerSkin() {
    const Look k{.skin = Hex(0xE3AE8A),
                 .skinShade = Hex(0xC8906C),
                 .hair = Hex(0x5B3A1F),
                 .hairLight = Hex(0x7A5029),
                 .eyeWhite = Hex(0xF4F4F4),
                 .iris = Hex(0x2E63B8),
                 .brow = Hex(0x4A2E17),
                 .mouth = Hex(0x9C4E42),
                 .shirt = Hex(0x2F6EB7),
                 .shirtShade = Hex(0x265B98),
                 .shirtLight = Hex(0x3E82CF),
                 .trim = Hex(0x1F4C80),
                 .trousers = Hex(0x34405F),
                 .trousersShade = Hex(0x293350),
                 .belt = Hex(0x4A3320),
                 .shoes = Hex(0x3E3A38),
                 .shoesLight = Hex(0x8A8682),
                 .sleeveRows = 4};
    Canvas c(64, 32);
    PaintHead(c, k,
              {"HHHHHHHH",  //
               "HHHhHHHH",  //
               "HHH.HHHH",  //
               "H.BB..BB",  //
               "..WI..IW",  //
               "...ss...",  //
               "..sMMs..",  //
               "........"});
    PaintBody(c, k);
    // A white stripe across the chest of the T-shirt and a round neck.
    c.Rect(kBody.frontX(), kBody.sideY() + 4, 8, 1, Hex(0xE8EEF4));
    c.Rect(kBody.frontX() + 3, kBody.sideY(), 2, 1, k.skin);
    PaintLimbs(c, k);

    // The overlay holds a red cap with a peak over the eyes.
    const Rgba cap = Hex(0xC42B2B), capShade = Hex(0x9A1F20), peak = Hex(0x7E1819);
    Cloth(c, kHat.topX(), kHat.capY(), 8, 8, cap, 241);
    c.at(kHat.topX() + 3, kHat.capY() + 3) = Hex(0xF0F0F0);  // button
    c.at(kHat.topX() + 4, kHat.capY() + 4) = Hex(0xF0F0F0);
    Cloth(c, kHat.frontX(), kHat.sideY(), 8, 2, cap, 242);
    c.Rect(kHat.frontX(), kHat.sideY() + 2, 8, 1, peak);
    c.Rect(kHat.frontX() + 2, kHat.sideY() + 1, 4, 1, Hex(0xF0F0F0));  // badge
    for (int x : {kHat.rightX(), kHat.leftX(), kHat.backX()}) Cloth(c, x, kHat.sideY(), 8, 2, capShade, 243);
    c.Rect(kHat.backX() + 3, kHat.sideY() + 2, 2, 1, capShade);  // strap
    return c;
}

Canvas PaintOpponentSkin() {
    const Look k{.skin = Hex(0x8E5B3C),
                 .skinShade = Hex(0x74482E),
                 .hair = Hex(0x1F1B19),
                 .hairLight = Hex(0x3A3431),
                 .eyeWhite = Hex(0xEDE6DF),
                 .iris = Hex(0x3A2418),
                 .brow = Hex(0x1F1B19),
                 .mouth = Hex(0x5A2E22),
                 .shirt = Hex(0x2B2B31),
                 .shirtShade = Hex(0x202025),
                 .shirtLight = Hex(0x3A3A42),
                 .trim = Hex(0xB8232C),
                 .trousers = Hex(0x55602F),
                 .trousersShade = Hex(0x454F25),
                 .belt = Hex(0x1A1A1A),
                 .shoes = Hex(0x3D2A1C),
                 .shoesLight = Hex(0x6B4B33),
                 .sleeveRows = 11};
    Canvas c(64, 32);
    PaintHead(c, k,
              {"HHHHHHHH",  //
               "HHhHHhHH",  //
               "H......H",  //
               ".BB..BB.",  //
               ".WI..IW.",  //
               "...ss...",  //
               "..MMMM..",  //
               ".sssss.."});
    PaintBody(c, k);
    // A black jacket with a red stripe down the zip and on the shoulders.
    c.Rect(kBody.frontX() + 3, kBody.sideY(), 2, 10, Hex(0xB8232C));
    c.Rect(kBody.frontX() + 4, kBody.sideY(), 1, 10, Hex(0x8A1820));
    c.Rect(kBody.topX(), kBody.capY() + 1, 8, 1, Hex(0xB8232C));
    c.Rect(kBody.backX(), kBody.sideY() + 2, 8, 1, Hex(0xB8232C));
    PaintLimbs(c, k);
    // Gloves.
    c.Rect(kArm.u, kArm.sideY() + 11, 16, 1, Hex(0x151515));
    c.Rect(kArm.bottomX(), kArm.capY(), 4, 4, Hex(0x151515));

    // The overlay holds dark sunglasses with a glint.
    const Rgba lens = Hex(0x121417), frame = Hex(0x2C2F33), glint = Hex(0x7C8B99);
    Stamp(c, kHat.frontX(), kHat.sideY() + 3,
          {".FFFFFF.",  //
           "FLGFFLGF",  //
           ".LL..LL."},
          [&](char ch) { return ch == 'F' ? frame : ch == 'G' ? glint : lens; });
    // Temples from the front edge back to the ears.
    c.Rect(kHat.rightX() + 4, kHat.sideY() + 4, 4, 1, frame);
    c.Rect(kHat.leftX(), kHat.sideY() + 4, 4, 1, frame);
    return c;
}

}  // namespace qw::tools
