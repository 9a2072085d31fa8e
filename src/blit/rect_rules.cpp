#include "blit/rect_rules.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vxl {

using platform::Rect;

namespace {

Rect MakeRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

// A source overhang in pixels, as the chosen rounding makes it, kept within [0, limit].
int64_t Crop(double pixels, CropRounding rounding, int64_t limit) {
    double whole = std::trunc(pixels);
    if (rounding == CropRounding::kHalfEven) {
        whole = std::floor(pixels);
        const double fraction = pixels - whole;
        if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
            whole += 1.0;
        }
    }
    if (!(whole > 0.0)) {
        return 0;
    }
    return whole >= double(limit) ? limit : int64_t(whole);
}

}  // namespace

std::optional<Placement> ClipPlacement(int32_t w, int32_t h, int32_t x32, int32_t y32, int32_t bw, int32_t bh) {
    int64_t x = x32, y = y32;
    if (x > bw || y > bh) {
        return std::nullopt;
    }
    if (x + w < 0 || y + h < 0) {
        return std::nullopt;
    }
    int64_t left = 0, top = 0, right = w, bottom = h;
    if (x + w > bw) {
        right = bw - x;
    }
    if (y + h > bh) {
        bottom = bh - y;
    }
    if (x < 0) {
        left = -x;
        x = 0;
    }
    if (y < 0) {
        top = -y;
        y = 0;
    }
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    return Placement{MakeRect(left, top, right, bottom), int32_t(x), int32_t(y)};
}

std::optional<Placement> ClipSubRect(int32_t w, int32_t h, int32_t x1_32, int32_t y1_32, int32_t x2_32, int32_t y2_32,
                                     int32_t dx32, int32_t dy32, int32_t bw, int32_t bh) {
    int64_t x1 = x1_32, y1 = y1_32, x2 = x2_32, y2 = y2_32, dx = dx32, dy = dy32;
    // Checked against the whole source, not the rectangle: a cheap early out, refined below.
    if (dx > bw || dy > bh || dx + w < 0 || dy + h < 0) {
        return std::nullopt;
    }
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    if (y2 < y1) {
        std::swap(y1, y2);
    }
    int64_t left = std::max<int64_t>(x1, 0), top = std::max<int64_t>(y1, 0);
    int64_t right = std::min<int64_t>(x2 + 1, w), bottom = std::min<int64_t>(y2 + 1, h);
    if (const int64_t r = (right - left) + dx; r > bw) {
        right -= r - bw;
    }
    if (const int64_t b = (bottom - top) + dy; b > bh) {
        bottom -= b - bh;
    }
    if (dx < 0) {
        left -= dx;
        dx = 0;
    }
    if (dy < 0) {
        top -= dy;
        dy = 0;
    }
    // Corners outside the source leave an inverted rectangle: nothing to copy.
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    return Placement{MakeRect(left, top, right, bottom), int32_t(dx), int32_t(dy)};
}

bool RectsOverlap(int64_t ax1, int64_t ay1, int64_t ax2, int64_t ay2, int64_t bx1, int64_t by1, int64_t bx2,
                  int64_t by2) {
    if (ax2 < ax1) std::swap(ax1, ax2);
    if (ay2 < ay1) std::swap(ay1, ay2);
    if (bx2 < bx1) std::swap(bx1, bx2);
    if (by2 < by1) std::swap(by1, by2);
    return std::min(ax2, bx2) >= std::max(ax1, bx1) && std::min(ay2, by2) >= std::max(ay1, by1);
}

std::optional<StretchPlacement> ClipStretch(int32_t w, int32_t h, int32_t x1_32, int32_t y1_32, int32_t x2_32,
                                            int32_t y2_32, int32_t bw, int32_t bh, CropRounding rounding) {
    int64_t x1 = x1_32, y1 = y1_32, x2 = x2_32, y2 = y2_32;
    if (w <= 0 || h <= 0 || !RectsOverlap(0, 0, bw, bh, x1, y1, x2, y2)) {
        return std::nullopt;
    }
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    // A rectangle without width or height has no scale: nothing to draw (and no division by zero).
    if (x1 == x2 || y1 == y2) {
        return std::nullopt;
    }
    int64_t left = 0, top = 0, right = w, bottom = h;
    const float fx = float(double(x2 - x1) / double(w));
    const float fy = float(double(y2 - y1) / double(h));
    if (x2 > bw) {
        right = w - Crop(double(x2 - bw) / double(fx), rounding, w);
        x2 = bw;
    }
    if (y2 > bh) {
        bottom = h - Crop(double(y2 - bh) / double(fy), rounding, h);
        y2 = bh;
    }
    if (x1 < 0) {
        left = Crop(double(-x1) / double(fx), rounding, w);
        x1 = 0;
    }
    if (y1 < 0) {
        top = Crop(double(-y1) / double(fy), rounding, h);
        y1 = 0;
    }
    if (right <= left || bottom <= top || x2 <= x1 || y2 <= y1) {
        return std::nullopt;
    }
    return StretchPlacement{MakeRect(left, top, right, bottom), MakeRect(x1, y1, x2, y2)};
}

}  // namespace vxl
