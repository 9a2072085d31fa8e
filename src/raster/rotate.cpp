#include "raster/rotate.h"

#include <cmath>

#include "raster/fixed_point.h"
#include "raster/polygons.h"

namespace vxl {

std::array<TPolyVertex, 4> RotatedCorners(int32_t w, int32_t h, int32_t x, int32_t y, float zoom, float angle) {
    constexpr long double kPi = 3.141592653589793238462643383279502884L;
    const long double r = (long double)angle / 180.0L * kPi;
    // Rounded to float once, so angle 0 and zoom 1 give exactly 1 and 0.
    const float kc = ToFloat(double(std::cos(r) * (long double)zoom));
    const float ks = ToFloat(double(std::sin(r) * (long double)zoom));
    const int32_t hw = w / 2, hh = h / 2;
    const int32_t px[4] = {0, w, w, 0}, py[4] = {0, 0, h, h};
    std::array<TPolyVertex, 4> corners{};
    for (int i = 0; i < 4; ++i) {
        const double dx = double(px[i]) - hw, dy = double(py[i]) - hh;
        corners[size_t(i)].x = ToFloat(double(x) + (dx * kc - dy * ks));
        corners[size_t(i)].y = ToFloat(double(y) + (dx * ks + dy * kc));
        corners[size_t(i)].u = float(px[i]);
        corners[size_t(i)].v = float(py[i]);
    }
    return corners;
}

void CopyRotate(const TBufferVx& source, TBufferVx* destination, int32_t x, int32_t y, float zoom, float angle) {
    if (destination && source.has_surface()) {
        FillTexture(*destination, source, RotatedCorners(source.width(), source.height(), x, y, zoom, angle));
    }
}

void CopyRotateSprite(const TBufferVx& source, TBufferVx* destination, int32_t x, int32_t y, float zoom, float angle,
                      uint32_t key) {
    if (destination && source.has_surface()) {
        FillKeyTexture(*destination, source, RotatedCorners(source.width(), source.height(), x, y, zoom, angle), key);
    }
}

}  // namespace vxl
