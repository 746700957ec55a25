#include "render/Figures.h"

#include <GL/gl.h>

#include "assets/CharacterModel.h"
#include "assets/Skin.h"

namespace qw {

namespace {

constexpr double kJumpArmAngle = 45.0;
// The head centre sits one unit above the eye, which is 8 above the feet.
constexpr float kHeadAboveFeet = 9.0f;

// posx ... are the negated world point of the figure.
void DrawFigureAt(TGameState& g, double posx, double posy, double posz, double heading, double armAngle,
                  int32_t texBase) {
    SetLimbAngles(g, armAngle);
    glPushMatrix();
    glTranslatef(0, kHeadAboveFeet, 0);
    glTranslatef(static_cast<float>(-posx), static_cast<float>(-posy), static_cast<float>(-posz));
    glRotatef(static_cast<float>(180.0 - heading), 0, 1, 0);
    DrawCharacterModel(g, texBase);
    glPopMatrix();
}

}  // namespace

double FigureArmAngle(int32_t jump, bool walking, double swing) {
    if (jump > 0) return kJumpArmAngle;
    return walking ? swing : 0.0;
}

void SetLimbAngles(TGameState& g, double a) {
    g.armlinksrot = a;
    g.armrechtsrot = -a;
    g.beinlinksrot = -a;
    g.beinrechtsrot = a;
}

bool DrawsFirstFigure(const TGameState& g, int view) { return view == 1 || g.viewmode > 0; }

bool DrawsSecondFigure(const TGameState& g, int view) {
    return view == 0 && (!g.modusformKreativCheckchecked || g.multiplayer);
}

void DrawFigures(TGameState& g, int view) {
    if (DrawsFirstFigure(g, view)) {
        DrawFigureAt(g, g.posx, g.posy, g.posz, g.angle, FigureArmAngle(g.jump, g.splaufe, g.sparmlinksrot),
                     kPlayerSkinBase);
    }
    if (DrawsSecondFigure(g, view)) {
        DrawFigureAt(g, g.gposx, g.gposy, g.gposz, g.gangle, FigureArmAngle(g.gjump, g.gelaufe, g.garmlinksrot),
                     kOpponentSkinBase);
    }
}

}  // namespace qw
