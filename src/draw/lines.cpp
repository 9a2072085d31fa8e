#include "draw/lines.h"

#include <cstdlib>

#include "draw/spans.h"

namespace vxl::draw {
namespace {

constexpr uint32_t kBelow = 1, kAbove = 2, kLeft = 4, kRight = 8;

uint32_t RegionCode(int64_t max_x, int64_t max_y, int64_t x, int64_t y) {
    uint32_t code = y > max_y ? kBelow : y < 0 ? kAbove : 0;
    if (x > max_x) {
        code += kRight;
    } else if (x < 0) {
        code += kLeft;
    }
    return code;
}

// a + (b - a) * (to - from) / (end - from), truncated toward zero. The point lies between a and b, so
// the result fits whatever the inputs; the product needs up to 70 bits.
int64_t Intersect(int64_t a, int64_t b, int64_t from, int64_t to, int64_t end) {
    const __int128 num = __int128(b - a) * (to - from);
    return a + int64_t(num / (end - from));
}

}  // namespace

bool ClipLine(int64_t max_x, int64_t max_y, int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2) {
    uint32_t c1 = RegionCode(max_x, max_y, x1, y1), c2 = RegionCode(max_x, max_y, x2, y2);
    // Each pass puts one endpoint on an edge; a handful suffice, the bound only guards the loop.
    for (int pass = 0; pass < 16; ++pass) {
        if (c1 == 0 && c2 == 0) {
            return true;
        }
        if (c1 & c2) {
            return false;
        }
        const uint32_t e = c1 ? c1 : c2;
        int64_t x, y;
        if (e & kBelow) {
            y = max_y;
            x = Intersect(x1, x2, y1, max_y, y2);
        } else if (e & kAbove) {
            y = 0;
            x = Intersect(x1, x2, y1, 0, y2);
        } else if (e & kRight) {
            x = max_x;
            y = Intersect(y1, y2, x1, max_x, x2);
        } else {
            x = 0;
            y = Intersect(y1, y2, x1, 0, x2);
        }
        if (e == c1) {
            x1 = x;
            y1 = y;
            c1 = RegionCode(max_x, max_y, x1, y1);
        } else {
            x2 = x;
            y2 = y;
            c2 = RegionCode(max_x, max_y, x2, y2);
        }
    }
    return false;
}

void Line(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineWide(b, x1, y1, x2, y2, colour);
}

void LineWide(TBufferVx& b, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour) {
    if (!b.has_surface() || !ClipLine(b.width() - 1, b.height() - 1, x1, y1, x2, y2)) {
        return;
    }
    if (x1 == x2 && y1 == y2) {
        b.PutPixel(int32_t(x1), int32_t(y1), colour);
        return;
    }
    // Both endpoints are inside now and every step stays between them: no per-pixel test.
    const int32_t dx = int32_t(x2 - x1), dy = int32_t(y2 - y1);
    const int32_t sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
    const int32_t ax = std::abs(dx), ay = std::abs(dy);
    DispatchLayout(StoreLayout(b), 0, [&]<typename P>(P) {
        const int64_t pitch = b.pitch();
        const int64_t diagonal = sy * pitch + sx * int64_t(P::kBytes);
        const int64_t straight = ax > ay ? sx * int64_t(P::kBytes) : sy * pitch;
        const int32_t longest = ax > ay ? ax : ay, shortest = ax > ay ? ay : ax;
        uint8_t* const origin = b.row(int32_t(y1));
        int64_t at = x1 * P::kBytes;
        int32_t acc = longest / 2;
        for (int32_t i = 0; i <= longest; ++i) {
            P::Store(origin + at, colour);
            acc += shortest;
            if (acc >= longest) {
                acc -= longest;
                at += diagonal;
            } else {
                at += straight;
            }
        }
        return 0;
    });
}

}  // namespace vxl::draw
