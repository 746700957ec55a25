#include "render/Frustum.h"

#include <algorithm>
#include <cmath>

namespace qw {

namespace {

double At(const std::array<double, 16>& m, int row, int column) { return m[static_cast<size_t>(column * 4 + row)]; }

}  // namespace

TFrustum::TFrustum(const std::array<double, 16>& projection, const std::array<double, 16>& modelview) {
    std::array<double, 16>& clip = clip_;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += At(projection, r, k) * At(modelview, k, c);
            clip[static_cast<size_t>(c * 4 + r)] = sum;
        }
    // A point is inside when w +- x, w +- y and w +- z are all non-negative.
    for (int axis = 0; axis < 3; ++axis)
        for (int sign = 0; sign < 2; ++sign) {
            auto& plane = planes_[static_cast<size_t>(axis * 2 + sign)];
            for (int c = 0; c < 4; ++c)
                plane[static_cast<size_t>(c)] = At(clip, 3, c) + (sign == 0 ? 1 : -1) * At(clip, axis, c);
        }
}

bool TFrustum::Excludes(const TBox& box) const {
    for (const auto& p : planes_) {
        // The box corner farthest along the plane's normal.
        double d = p[3];
        for (size_t a = 0; a < 3; ++a) d += p[a] * (p[a] >= 0 ? box.max[a] : box.min[a]);
        // A little slack, so rounding can only keep a box, never drop one.
        const double slack = 1e-4 * (std::fabs(p[0]) + std::fabs(p[1]) + std::fabs(p[2]) + std::fabs(p[3]));
        if (d < -slack) return true;
    }
    return false;
}

TScreenRect TFrustum::ScreenBounds(const TVec3* points, int count) const {
    TScreenRect r{1e300, 1e300, -1e300, -1e300};
    for (int i = 0; i < count; ++i) {
        const TVec3& p = points[i];
        double v[4];
        for (int row = 0; row < 4; ++row)
            v[row] = At(clip_, row, 0) * p[0] + At(clip_, row, 1) * p[1] + At(clip_, row, 2) * p[2] + At(clip_, row, 3);
        if (v[3] <= 1e-6) return {-1e300, -1e300, 1e300, 1e300};
        r.minX = std::min(r.minX, v[0] / v[3]);
        r.maxX = std::max(r.maxX, v[0] / v[3]);
        r.minY = std::min(r.minY, v[1] / v[3]);
        r.maxY = std::max(r.maxY, v[1] / v[3]);
    }
    return r;
}

TVec3 EyePoint(const std::array<double, 16>& m) {
    // Solve R e + t = 0 for the 3 x 3 part R and the translation t.
    const double a = At(m, 0, 0), b = At(m, 0, 1), c = At(m, 0, 2);
    const double d = At(m, 1, 0), e = At(m, 1, 1), f = At(m, 1, 2);
    const double g = At(m, 2, 0), h = At(m, 2, 1), i = At(m, 2, 2);
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (det == 0) return {0, 0, 0};
    const double tx = -At(m, 0, 3), ty = -At(m, 1, 3), tz = -At(m, 2, 3);
    return {((e * i - f * h) * tx - (b * i - c * h) * ty + (b * f - c * e) * tz) / det,
            (-(d * i - f * g) * tx + (a * i - c * g) * ty - (a * f - c * d) * tz) / det,
            ((d * h - e * g) * tx - (a * h - b * g) * ty + (a * e - b * d) * tz) / det};
}

double NearPlaneReach(const std::array<double, 16>& p) {
    // glFrustum: p0 = 2n/(r-l), p8 = (r+l)/(r-l), p5 = 2n/(t-b), p9 = (t+b)/(t-b),
    // p10 = -(f+n)/(f-n), p14 = -2fn/(f-n).
    if (p[11] != -1.0) return 0;  // not a perspective frustum
    const double n = p[14] / (p[10] - 1.0);
    if (!std::isfinite(n) || n <= 0 || p[0] == 0 || p[5] == 0) return 0;
    const double halfWidth = n * (1.0 + std::fabs(p[8])) / std::fabs(p[0]);
    const double halfHeight = n * (1.0 + std::fabs(p[9])) / std::fabs(p[5]);
    return std::sqrt(n * n + halfWidth * halfWidth + halfHeight * halfHeight);
}

double SquaredDistance(const TBox& box, const TVec3& point) {
    double sum = 0;
    for (size_t a = 0; a < 3; ++a) {
        const double d = std::max({box.min[a] - point[a], 0.0, point[a] - box.max[a]});
        sum += d * d;
    }
    return sum;
}

}  // namespace qw
