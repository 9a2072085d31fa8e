#include "draw/curves.h"

#include <cmath>

#include "draw/lines.h"

namespace vxl::draw {
namespace {

struct Point {
    int64_t x, y;
    bool operator==(const Point&) const = default;
};

// One coordinate of the curve at t. Every intermediate is a float, as the sum is written; the
// build has no fused multiply-add to merge the products.
float Bezier(float t, float p0, float p1, float p2, float p3) {
    const float s = 1.0f - t;
    const float s2 = s * s, s3 = s2 * s, t2 = t * t, t3 = t2 * t;
    return s3 * p0 + 3.0f * t * s2 * p1 + 3.0f * t2 * s * p2 + t3 * p3;
}

// Nearest integer, a half going to the even one (the default rounding mode).
int64_t Round(float v) {
    return int64_t(std::nearbyint(v));
}

}  // namespace

void CubicBezierLine(TBufferVx& b, int32_t x0, int32_t y0, int32_t x3, int32_t y3, int32_t x1, int32_t y1, int32_t x2,
                     int32_t y2, int32_t steps, uint32_t colour) {
    if (steps <= 0 || !b.has_surface()) {
        return;
    }
    const float px[4] = {float(x0), float(x1), float(x2), float(x3)};
    const float py[4] = {float(y0), float(y1), float(y2), float(y3)};
    const auto at = [&](float t) {
        return Point{Round(Bezier(t, px[0], px[1], px[2], px[3])), Round(Bezier(t, py[0], py[1], py[2], py[3]))};
    };
    const float dt = 1.0f / float(steps);
    float t = 0.0f;
    Point prev = at(0.0f);
    for (int64_t pass = 0; pass <= int64_t(steps); ++pass) {
        const Point p = at(t);
        const float next = t + dt;
        // A sample equal to the one before repeats a pixel that is already drawn.
        if (pass == 0 || p != prev) {
            LineWide(b, p.x, p.y, prev.x, prev.y, colour);
        }
        prev = p;
        // Once t stops growing every later sample is this one again.
        if (next == t) {
            return;
        }
        t = next;
    }
}

}  // namespace vxl::draw
