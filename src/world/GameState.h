#pragma once
// The one record that holds every piece of game state. Owned by the game
// window, created once, never copied; rounds reset it in place.
#include <array>
#include <cstdint>
#include <string>

#include "korland/DynaArray.h"
#include "world/Grid.h"
#include "world/JoystickRecord.h"
#include "world/Point.h"
#include "world/WorldOrigin.h"

namespace qw {

struct TGameState {
    TGameState() = default;
    TGameState(const TGameState&) = delete;
    TGameState& operator=(const TGameState&) = delete;

    // First figure's missile: velocity per sub-step and position (world point).
    double missledirx = 0, misslediry = 0, missledirz = 0;
    double misslex = 0, missley = 0, misslez = 0;
    // Second figure's missile.
    double gmissledirx = 0, gmisslediry = 0, gmissledirz = 0;
    double gmisslex = 0, gmissley = 0, gmisslez = 0;
    double gangle2 = 0;  // second figure's pitch, positive looks down
    double gangle = 0;   // second figure's heading
    // First figure's stored position: the figure stands at (-posx, -posy, -posz).
    double posx = 0, posy = 0, posz = 0;
    double angle2 = 0;  // first figure's pitch
    double angle = 0;   // first figure's heading

    std::array<uint32_t, 1000> texName{};  // GL texture names, all generated at start-up
    TLevel level;                          // the world grid
    uint32_t listIndex = 0;                // block of cell code c is list listIndex + c - 1

    int32_t screenshot = 0;  // overlay passes left showing the screenshot notice
    int32_t tjump = 0, gtjump = 0;  // knock-back frames left
    int32_t leben = 0, gleben = 0;  // lives
    int32_t viewmode = 0;           // first figure's camera: 0 eyes, 1 behind, 2 in front
    int32_t grotmode = 0, rotmode = 0;  // limb swing direction: 0 increasing, 1 decreasing
    int32_t gdistanzmode = 0;       // search opponent: probe direction 0-3
    int32_t gegnermodus = 0;        // search opponent: state 0-6
    int32_t playerwin = 0;          // who ended the round: 0 first figure, else second
    int32_t gmaterial = 0;
    int32_t gjump = 0;
    int32_t gcounteinschlag = 0;
    int32_t breit = 0, hoch = 0;    // size of the skin part chosen last
    int32_t ofx = 0, ofy = 0;       // top-left pixel of that skin part
    int32_t emeraldz = 0, emeraldy = 0, emeraldx = 0;  // emeraldy -101: no emerald
    int64_t statustime = 0;         // tick of the last music (re)start; 64-bit so it never wraps
    int32_t counteinschlag = 0;
    int32_t material = 0;           // 0-7 place code material + 1, 8 is the weapon
    int32_t jump = 0;

    double garmlinksrot = 0, sparmlinksrot = 0;  // walking swing angles, -45 ... 45
    // Limb angles of the figure being drawn now.
    double armlinksrot = 0, armrechtsrot = 0, beinlinksrot = 0, beinrechtsrot = 0;
    double gtdirx = 0, gtdiry = 0, gtdirz = 0;  // second figure's knock-back direction
    double tdirx = 0, tdiry = 0, tdirz = 0;     // first figure's knock-back direction
    double zieldistanz = 0;
    double gdistanz1 = 0, gdistanz2 = 0, gdistanz3 = 0, gdistanz4 = 0;
    double zielwinkel = 0;
    double gposx = 0, gposy = 0, gposz = 0;  // second figure's stored position
    double glastdist = 0, lastdist = 0;      // emerald distance at the last explosion

    bool grmousepressed = false, glmousepressed = false;
    bool wasfound = false;
    bool f2pressed = false;
    bool ggetroffen2 = false, getroffen2 = false;  // touched the second figure's fire (103)
    bool ggetroffen = false, getroffen = false;    // touched the first figure's fire (101)
    bool modusformFightCheckchecked = false;
    bool f5down = false;
    bool gelaufe = false, splaufe = false;  // walked this frame
    bool gegnersiehtemerald = false;
    bool multiplayer = false;
    bool modusformKreativCheckchecked = false;
    bool gshowdist = false;
    bool matldown = false, matrdown = false;
    bool gstecktefest = false;
    bool geinschlag = false;
    bool gmissle = false;
    bool emeraldfound = false;
    bool showdist = false;
    bool setstatus = false;
    bool escdown = false;
    bool quitmode = false;
    bool einschlag = false;
    bool missle = false;
    bool lmousepressed = false, rmousepressed = false;
    bool first = false;

    std::string levelname;  // full path of the current world file
    TWorldOrigin levelorigin;  // whether the world in memory may be saved over levelname
    std::string ProgPath;   // program folder, ending in "/"
    TPoint mpoi;            // last mouse-down position while the menu is shown
    std::string mold, mbuf; // recorded and current status text of the music
    joystick joy1;          // state of joystick 0

    // Vector font: glyph i holds the 104-byte stroke records of character
    // code 32 + i; aseg is the record its arrays made current last.
    void* aseg = nullptr;
    std::array<TDynaArray, 224> buchstaben = MakeDynaArrays<224>(104, &aseg);
    std::array<double, 224> buchstabenbreitea{}, buchstabenbreitebc{};  // advance terms, font units

    // Work bitmap of the skin accepted last: 64 x 32 pixels, row 0 on top,
    // bytes blue, green, red, alpha.
    std::array<uint8_t, 64 * 32 * 4> bit{};
};

}  // namespace qw
