// The polygon fills' working store: per buffer row, where the polygon's edges cross it. Side 0 holds the
// edges that run downward in vertex order, side 1 those that run upward. The tables have one entry per
// row of the buffer they belong to, so a fill never allocates and works on buffers of any height.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vxl {

struct TEdgeTables {
    std::array<std::vector<int32_t>, 2> X;                 // x, whole pixels
    std::array<std::vector<std::array<int32_t, 3>>, 2> C;  // red, green, blue in 16.16
    std::array<std::vector<std::array<int32_t, 2>>, 2> T;  // u, v in 16.16

    // Zeroed tables for `rows` rows (none for 0 or less).
    void Resize(int32_t rows) {
        const size_t n = rows > 0 ? size_t(rows) : 0;
        for (int side = 0; side < 2; ++side) {
            X[side].assign(n, 0);
            C[side].assign(n, {});
            T[side].assign(n, {});
        }
    }
    int32_t rows() const { return int32_t(X[0].size()); }
};

}  // namespace vxl
