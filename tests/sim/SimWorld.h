#pragma once
// A game state with a small floor and the scripted services, for driving
// whole update phases without a display.
#include <gtest/gtest.h>

#include <memory>

#include "sim/FrameUpdate.h"
#include "sim/Movement.h"
#include "support/FakeServices.h"
#include "world/GameState.h"

namespace qw::test {

class SimWorld : public ::testing::Test {
protected:
    std::unique_ptr<TGameState> owner_ = std::make_unique<TGameState>();
    TGameState& s = *owner_;
    FakeServices svc;
    UpdateHooks hooks;

    SimWorld() {
        // The music check would otherwise restart the track in the first frame.
        svc.statusReply = "playing";
        s.mold = "playing";
        // Park the second figure standing on its own pillar, out of the way.
        s.level.at(-50, 0, -50) = kGranite;
        Place(SecondFigure(s), -50 * 4 + 2, 2.05, -50 * 4 + 2);
    }

    void Frame(int n = 1) {
        for (int i = 0; i < n; ++i) UpdatePhase(s, svc, hooks);
    }
    void Hold(int key) { svc.keysHeld.insert(key); }
    void Release(int key) { svc.keysHeld.erase(key); }

    // Puts a figure's world point at (wx, wy, wz).
    static void Place(const TFigure& f, double wx, double wy, double wz) {
        f.posx = -wx;
        f.posy = -wy;
        f.posz = -wz;
    }
    static double WorldX(const TFigure& f) { return -f.posx; }
    static double WorldY(const TFigure& f) { return -f.posy; }
    static double WorldZ(const TFigure& f) { return -f.posz; }

    // Cells y = 0 for x, z in -10 ... 10: a figure stands on it at world y just above 2.
    void Floor() {
        for (int x = -10; x <= 10; ++x)
            for (int z = -10; z <= 10; ++z) s.level.at(x, 0, z) = kDirt;
    }
    static constexpr double kStandY = 2.05;
};

}  // namespace qw::test
