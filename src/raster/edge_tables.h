// The polygon fills' working store: per buffer row, where the polygon's edges cross it. Side 0 holds the
// edges that run downward in vertex order, side 1 those that run upward. The tables grow with the
// lowest row a fill has reached, so a buffer pays for them only once polygons are drawn into it, and
// only as far down as they reach.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vxl {

struct TEdgeTables {
    std::array<std::vector<int32_t>, 2> X;                 // x, whole pixels
    std::array<std::vector<std::array<int32_t, 3>>, 2> C;  // red, green, blue in 16.16
    std::array<std::vector<std::array<int32_t, 2>>, 2> T;  // u, v in 16.16

    // At least `rows` rows; rows already there keep their entries, new ones are zero.
    void Grow(int32_t rows) {
        if (rows <= this->rows()) return;
        for (int side = 0; side < 2; ++side) {
            X[side].resize(size_t(rows));
            C[side].resize(size_t(rows));
            T[side].resize(size_t(rows));
        }
    }
    int32_t rows() const { return int32_t(X[0].size()); }
};

}  // namespace vxl
