#include "draw/ellipses.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/spans.h"

namespace vxl::draw {
namespace {

bool OutsideBuffer(const TBufferVx& b, int64_t cx, int64_t cy, int64_t rx, int64_t ry) {
    return cx + rx < 0 || cx - rx >= b.width() || cy + ry < 0 || cy - ry >= b.height();
}

// The passes one by one. `at_axis` receives the first run or pixel pair, `pass` the half-width and the
// two rows after every pass. Semi-axes up to the plain limit keep every value well inside 64 bits.
template <typename AtAxis, typename Pass>
void Step(int64_t cx, int64_t cy, int64_t rx, int64_t ry, AtAxis&& at_axis, Pass&& pass) {
    at_axis();
    if (rx <= 0) {
        return;
    }
    int64_t xl = cx - rx, xr = cx + rx, yu = cy, yd = cy;
    const int64_t a2 = 2 * rx * rx, b2 = 2 * ry * ry;
    int64_t d = rx * ry * ry, t_b = 2 * rx * ry * ry, t_a = 0, n = rx;
    do {
        if (d > 0) {
            ++yd;
            --yu;
            t_a += a2;
            d -= t_a;
        }
        if (d <= 0) {
            --n;
            ++xl;
            --xr;
            t_b -= b2;
            d += t_b;
        }
        pass(xl, xr, yu, yd);
    } while (n > 0);
}

// The stepping in closed form. After j outward and rx - x inward moves the decision value is
// rx^2 ry^2 - ry^2 x(x-1) - rx^2 j(j+1): rows climb while it is positive and a column is left as soon
// as it is not. So the walk leaves half-width x at row Leave(x), the first row where the value is not
// positive, and half-width x is drawn on rows Leave(x+1) .. max(Leave(x+1), Leave(x) - 1).
class Shape {
public:
    Shape(int64_t rx, int64_t ry) : rx_(rx), rx2_(__int128(rx) * rx), ry2_(__int128(ry) * ry) {}

    int64_t Leave(int64_t x) const {
        if (x > rx_) return 0;
        const __int128 need = ry2_ * (rx2_ - __int128(x) * (x - 1));
        if (need <= 0) return 0;
        const auto enough = [&](int64_t j) { return __int128(j) * (j + 1) * rx2_ >= need; };
        const long double q = static_cast<long double>(need) / static_cast<long double>(rx2_);
        int64_t j = std::max<int64_t>(0, int64_t(std::sqrt(q + 0.25L) - 0.5L));
        while (j > 0 && enough(j - 1)) --j;
        while (!enough(j)) ++j;
        return j;
    }
    int64_t First(int64_t x) const { return Leave(x + 1); }
    int64_t Last(int64_t x) const { return x == 0 ? Leave(1) : std::max(Leave(x + 1), Leave(x) - 1); }
    // The widest half-width drawn on row j, or -1 when the walk never reaches it.
    int64_t Widest(int64_t j) const {
        if (Last(0) < j) return -1;
        int64_t lo = 0, hi = rx_;  // Last falls as x grows: find the largest x with Last(x) >= j
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (Last(mid) >= j) {
                lo = mid;
            } else {
                hi = mid - 1;
            }
        }
        return lo;
    }

private:
    int64_t rx_;
    __int128 rx2_, ry2_;
};

// The part of 0..limit where c + v or c - v falls in 0..size-1, as at most two ranges of v.
template <typename Fn>
void ForNear(int64_t c, int64_t size, int64_t limit, Fn&& fn) {
    int64_t lo1 = std::max<int64_t>(-c, 0), hi1 = std::min(size - 1 - c, limit);
    int64_t lo2 = std::max<int64_t>(c - size + 1, 0), hi2 = std::min(c, limit);
    if (lo2 < lo1) {
        std::swap(lo1, lo2);
        std::swap(hi1, hi2);
    }
    if (lo1 <= hi1 && lo2 <= hi1 + 1) {  // overlapping: one range
        hi1 = std::max(hi1, hi2);
        lo2 = 1;
        hi2 = 0;
    }
    for (int64_t v = lo1; v <= hi1; ++v) fn(v);
    for (int64_t v = lo2; v <= hi2; ++v) fn(v);
}

}  // namespace

void Ellipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour, int64_t plain_axis) {
    if (!b.has_surface() || OutsideBuffer(b, cx, cy, rx, ry)) {
        return;
    }
    DispatchLayout(StoreLayout(b), 0, [&]<typename P>(P) {
        const int64_t w = b.width(), h = b.height();
        const auto put = [&](int64_t x, int64_t y) {
            if (uint64_t(x) < uint64_t(w) && uint64_t(y) < uint64_t(h)) {
                P::Store(b.row(int32_t(y)) + x * P::kBytes, colour);
            }
        };
        const auto at_axis = [&] {
            put(int64_t(cx) + rx, cy);
            put(int64_t(cx) - rx, cy);
        };
        const int64_t ary = std::abs(int64_t(ry));
        if (rx <= plain_axis && ary <= plain_axis) {
            Step(cx, cy, rx, ry, at_axis, [&](int64_t xl, int64_t xr, int64_t yu, int64_t yd) {
                put(xl, yu);
                put(xr, yu);
                put(xl, yd);
                put(xr, yd);
            });
            return 0;
        }
        at_axis();
        if (rx <= 0) return 0;
        // Only the half-widths that land on the buffer's columns, each a run of rows clipped to it.
        const Shape shape(rx, ary);
        ForNear(cx, w, rx, [&](int64_t x) {
            const int64_t first = shape.First(x), last = shape.Last(x);
            for (int64_t sign : {1, -1}) {
                // Rows cy + sign * j inside the buffer, for j in first..last.
                const int64_t from = std::max(first, sign > 0 ? -int64_t(cy) : cy - (h - 1));
                const int64_t to = std::min(last, sign > 0 ? h - 1 - cy : int64_t(cy));
                for (int64_t j = from; j <= to; ++j) {
                    put(cx - x, cy + sign * j);
                    put(cx + x, cy + sign * j);
                }
            }
        });
        return 0;
    });
}

void FillEllipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour, int64_t plain_axis) {
    if (!b.has_surface() || OutsideBuffer(b, cx, cy, rx, ry)) {
        return;
    }
    const auto at_axis = [&] { HLineWide(b, int64_t(cx) - rx, int64_t(cx) + rx, cy, colour); };
    const int64_t ary = std::abs(int64_t(ry));
    if (rx <= plain_axis && ary <= plain_axis) {
        Step(cx, cy, rx, ry, at_axis, [&](int64_t xl, int64_t xr, int64_t yu, int64_t yd) {
            HLineWide(b, xl, xr, yd, colour);
            HLineWide(b, xl, xr, yu, colour);
        });
        return;
    }
    at_axis();
    if (rx <= 0) return;
    // Each row of the buffer once, at the widest run the passes paint on it.
    const Shape shape(rx, ary);
    ForNear(cy, b.height(), INT64_MAX, [&](int64_t j) {
        const int64_t x = shape.Widest(j);
        if (x < 0) return;
        HLineWide(b, cx - x, cx + x, cy + j, colour);
        HLineWide(b, cx - x, cx + x, cy - j, colour);
    });
}

void Ellipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour) {
    Ellipse(b, cx, cy, rx, ry, colour, kEllipsePlainAxis);
}

void FillEllipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour) {
    FillEllipse(b, cx, cy, rx, ry, colour, kEllipsePlainAxis);
}

}  // namespace vxl::draw
