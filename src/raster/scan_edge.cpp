// The edge scanners: one edge's crossings of the pixel rows, in 16.16 steps from its upper end.
#include <array>
#include <utility>

#include "raster/polygon_walk.h"

namespace vxl {
namespace {

template <size_t N>
struct EdgeEnd {
    float x, y;
    std::array<float, N> a;  // what else the fill interpolates
};

// Rows Ceil(upper y) .. Ceil(lower y) - 1 of the edge that lie inside the tables, each handed to
// `store(side, y, x, values)` with its x in whole pixels and the other values in 16.16.
template <bool kFloatHeight, size_t N, typename Store>
void Scan(int32_t rows, EdgeEnd<N> p, EdgeEnd<N> q, Store&& store) {
    const double dy = kFloatHeight ? double(ToFloat(double(q.y) - double(p.y))) : double(q.y) - double(p.y);
    float slope_x = 0;
    std::array<float, N> slope{};
    if (dy != 0) {
        slope_x = ToFloat((double(q.x) - double(p.x)) / dy);
        for (size_t i = 0; i < N; ++i) slope[i] = ToFloat((double(q.a[i]) - double(p.a[i])) / dy);
    }
    int side = 0;
    if (p.y > q.y) {
        side = 1;
        std::swap(p, q);
    }
    const int32_t ys = Ceil(p.y);
    const int64_t first = std::max<int64_t>(ys, 0);
    const int64_t last = std::min<int64_t>(int64_t(Ceil(q.y)) - 1, int64_t(rows) - 1);
    if (first > last) return;

    const double f = double(ys) - double(p.y);
    const int64_t skipped = first - ys;  // rows above the buffer, stepped over at once
    const int32_t step_x = Trunc(double(slope_x) * 65536.0);
    int32_t x = WrapAdd(Trunc((f * double(slope_x) + double(p.x)) * 65536.0), WrapMul(step_x, skipped));
    std::array<int32_t, N> value, step;
    for (size_t i = 0; i < N; ++i) {
        step[i] = Trunc(double(slope[i]) * 65536.0);
        value[i] = WrapAdd(Trunc((f * double(slope[i]) + double(p.a[i])) * 65536.0), WrapMul(step[i], skipped));
    }
    for (int64_t y = first; y <= last; ++y) {
        store(side, size_t(y), IntPart(x), value);
        x = WrapAdd(x, step_x);
        for (size_t i = 0; i < N; ++i) value[i] = WrapAdd(value[i], step[i]);
    }
}

}  // namespace

void ScanEdgeFlat(TEdgeTables& t, const TPolyVertex& a, const TPolyVertex& b) {
    Scan<false>(t.rows(), EdgeEnd<0>{a.x, a.y, {}}, EdgeEnd<0>{b.x, b.y, {}},
                [&](int side, size_t y, int32_t x, const std::array<int32_t, 0>&) { t.X[side][y] = x; });
}

void ScanEdgeGouraud(TEdgeTables& t, const TPolyVertex& a, const std::array<int32_t, 3>& ca, const TPolyVertex& b,
                     const std::array<int32_t, 3>& cb) {
    Scan<true>(t.rows(), EdgeEnd<3>{a.x, a.y, {float(ca[0]), float(ca[1]), float(ca[2])}},
               EdgeEnd<3>{b.x, b.y, {float(cb[0]), float(cb[1]), float(cb[2])}},
               [&](int side, size_t y, int32_t x, const std::array<int32_t, 3>& c) {
                   t.X[side][y] = x;
                   t.C[side][y] = c;
               });
}

void ScanEdgeTexture(TEdgeTables& t, const TPolyVertex& a, const TPolyVertex& b) {
    Scan<true>(t.rows(), EdgeEnd<2>{a.x, a.y, {a.u, a.v}}, EdgeEnd<2>{b.x, b.y, {b.u, b.v}},
               [&](int side, size_t y, int32_t x, const std::array<int32_t, 2>& uv) {
                   t.X[side][y] = x;
                   t.T[side][y] = uv;
               });
}

}  // namespace vxl
