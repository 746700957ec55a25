#pragma once
// What the current camera sees, from the GL matrices: the view frustum as six
// planes, the eye point and how close geometry may come before the near plane
// cuts into it.
#include <array>

namespace qw {

using TVec3 = std::array<double, 3>;

struct TBox {
    TVec3 min, max;
};

// A rectangle in normalised device coordinates (-1 ... 1 across the view).
struct TScreenRect {
    double minX, minY, maxX, maxY;
    bool Overlaps(const TScreenRect& o) const {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
};

class TFrustum {
public:
    // Column-major 4 x 4 matrices as GL returns them.
    TFrustum(const std::array<double, 16>& projection, const std::array<double, 16>& modelview);
    // True when no point of the box can reach the picture.
    bool Excludes(const TBox& box) const;
    // Where the points land on the screen. Points at or behind the eye have no
    // place there, so the whole screen is returned for them.
    TScreenRect ScreenBounds(const TVec3* points, int count) const;

private:
    std::array<double, 16> clip_{};
    std::array<std::array<double, 4>, 6> planes_{};
};

// The eye in the coordinates the modelview matrix maps to eye space.
TVec3 EyePoint(const std::array<double, 16>& modelview);

// The largest distance from the eye to a point of the near plane's visible
// rectangle: geometry closer than this may be cut open by the near plane.
double NearPlaneReach(const std::array<double, 16>& projection);

double SquaredDistance(const TBox& box, const TVec3& point);

}  // namespace qw
