#include "draw/circles.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "draw/spans.h"

namespace vxl::draw {
namespace {

// Steps x of the walk worth taking, inclusive.
struct Stretch {
    int64_t lo, hi;
};

// Up to four stretches, sorted and merged.
class Stretches {
public:
    void Add(int64_t lo, int64_t hi) {
        lo = std::max<int64_t>(lo, 0);
        if (lo <= hi) list_[count_++] = {lo, hi};
    }
    const Stretch* begin() {
        // Insertion sort: four entries at most, and GCC 12 warns falsely about std::sort on them.
        for (size_t i = 1; i < count_; ++i) {
            const Stretch s = list_[i];
            size_t j = i;
            for (; j > 0 && list_[j - 1].lo > s.lo; --j) list_[j] = list_[j - 1];
            list_[j] = s;
        }
        size_t merged = 0;
        for (size_t i = 0; i < count_; ++i) {
            if (merged > 0 && list_[i].lo <= list_[merged - 1].hi + 1) {
                list_[merged - 1].hi = std::max(list_[merged - 1].hi, list_[i].hi);
            } else {
                list_[merged++] = list_[i];
            }
        }
        count_ = merged;
        return list_.data();
    }
    const Stretch* end() const { return list_.data() + count_; }

private:
    std::array<Stretch, 4> list_{};
    size_t count_ = 0;
};

// The walk's decision value at (x, y) in closed form: 2(x+1)^2 + y^2 + (y-1)^2 - 2r^2. It starts at
// 3 - 2r and each step adds 4x + 6, or 4(x - y) + 10 when y falls.
int64_t Decision(int64_t r, int64_t x, int64_t y) {
    const __int128 v =
        2 * __int128(x + 1) * (x + 1) + __int128(y) * y + __int128(y - 1) * (y - 1) - 2 * __int128(r) * r;
    return int64_t(v);
}

// Where y falls by at most one per step, the walk reaches column x with the largest y whose
// decision one step earlier was negative: 2x^2 + y^2 + (y-1)^2 < 2r^2.
int64_t YAt(int64_t r, int64_t x) {
    const __int128 t = 2 * __int128(r) * r - 2 * __int128(x) * x;
    const auto g = [](int64_t y) { return __int128(y) * y + __int128(y - 1) * (y - 1); };
    int64_t y = int64_t((1.0L + std::sqrt(std::max(0.0L, 2.0L * static_cast<long double>(t) - 1.0L))) / 2.0L);
    while (g(y + 1) < t) ++y;
    while (y > 0 && g(y) >= t) --y;
    return y;
}

// The last column the walk may jump to: up to there the circle's slope stays below one.
int64_t LastJump(int64_t r) {
    if (r < 8) return 0;
    int64_t x = int64_t(static_cast<long double>(r) / std::sqrt(2.0L)) - 3;
    while (x > 0 && 2 * __int128(x + 3) * (x + 3) > __int128(r) * r) --x;
    return std::max<int64_t>(x, 0);
}

// Steps x from 0 toward the 45-degree point, calling emit(x, y, widest) for every step inside
// `stretches` and jumping over the steps between them where it can. `widest` is false when the next
// step is emitted with the same y, so a run on row y reaches further there.
template <typename Emit>
void Walk(int64_t r, Stretches& stretches, Emit&& emit) {
    int64_t x = 0, y = r, d = 3 - 2 * r;
    const int64_t last_jump = LastJump(r);
    for (const Stretch& s : stretches) {
        if (s.hi < x) continue;
        const int64_t to = std::min(s.lo, last_jump);
        if (to > x) {
            x = to;
            y = YAt(r, x);
            d = Decision(r, x, y);
        }
        for (; y >= x && x <= s.hi; ++x) {
            emit(x, y, d >= 0 || x == s.hi || y < x + 1);
            if (d < 0) {
                d += 4 * x + 6;
            } else {
                d += 4 * (x - y) + 10;
                --y;
            }
        }
        if (y < x) return;
    }
}

bool OutsideBuffer(const TBufferVx& b, int64_t cx, int64_t cy, int64_t r) {
    return cx + r < 0 || cx - r >= b.width() || cy + r < 0 || cy - r >= b.height();
}

// Columns x near which cx +/- x, and rows near which cy +/- x, fall inside the buffer.
void AddAxisStretches(Stretches& s, int64_t c, int64_t size) {
    s.Add(-c, size - 1 - c);
    s.Add(c - size + 1, c);
}

}  // namespace

void Circle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour, int64_t plain_radius) {
    if (!b.has_surface() || r < 0 || OutsideBuffer(b, cx, cy, r)) {
        return;
    }
    Stretches stretches;
    if (r <= plain_radius) {
        stretches.Add(0, INT64_MAX);
    } else {
        // The pixels (cx +/- x, ...) and (..., cy +/- x) need x near the buffer's columns or rows.
        AddAxisStretches(stretches, cx, b.width());
        AddAxisStretches(stretches, cy, b.height());
    }
    DispatchLayout(StoreLayout(b), 0, [&]<typename P>(P) {
        const uint64_t w = uint64_t(b.width()), h = uint64_t(b.height());
        const auto put = [&](int64_t x, int64_t y) {
            if (uint64_t(x) < w && uint64_t(y) < h) P::Store(b.row(int32_t(y)) + x * P::kBytes, colour);
        };
        Walk(r, stretches, [&](int64_t x, int64_t y, bool) {
            put(cx + y, cy + x);
            put(cx + x, cy + y);
            put(cx + y, cy - x);
            put(cx + x, cy - y);
            put(cx - y, cy + x);
            put(cx - x, cy + y);
            put(cx - y, cy - x);
            put(cx - x, cy - y);
        });
        return 0;
    });
}

void FillCircle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour, int64_t plain_radius) {
    if (!b.has_surface() || r < 0 || OutsideBuffer(b, cx, cy, r)) {
        return;
    }
    Stretches stretches;
    if (r <= plain_radius) {
        stretches.Add(0, INT64_MAX);
    } else {
        // Runs on rows cy +/- x, and runs on rows cy +/- y: y is within one of sqrt(r^2 - x^2), so
        // rows lo..hi of y come from x between sqrt(r^2 - (hi+2)^2) and sqrt(r^2 - (lo-2)^2).
        AddAxisStretches(stretches, cy, b.height());
        const auto x_for = [r](int64_t y) {
            const long double rest = static_cast<long double>(r) * r - static_cast<long double>(y) * y;
            return rest <= 0 ? 0 : int64_t(std::sqrt(rest));
        };
        const int64_t h = b.height();
        for (auto [lo, hi] : {std::pair{int64_t(-cy), h - 1 - cy}, std::pair{cy - h + 1, int64_t(cy)}}) {
            lo = std::max<int64_t>(lo, 0);
            if (lo > hi || lo > r) continue;
            stretches.Add(x_for(std::min<int64_t>(hi + 2, r)) - 2, x_for(std::max<int64_t>(lo - 2, 0)) + 2);
        }
    }
    // The union of the four runs of every step; a run that a wider one on the same row covers later is
    // left out.
    Walk(r, stretches, [&](int64_t x, int64_t y, bool widest) {
        HLineWide(b, cx + y, cx - y, cy + x, colour);
        HLineWide(b, cx + y, cx - y, cy - x, colour);
        if (widest) {
            HLineWide(b, cx + x, cx - x, cy + y, colour);
            HLineWide(b, cx + x, cx - x, cy - y, colour);
        }
    });
}

void Circle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour) {
    Circle(b, cx, cy, r, colour, kCirclePlainRadius);
}

void FillCircle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour) {
    FillCircle(b, cx, cy, r, colour, kCirclePlainRadius);
}

}  // namespace vxl::draw
