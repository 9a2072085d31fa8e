// What every fuzz target shares: a picture limit small enough that crafted sizes cost little time,
// and a check that stops the run where an invariant breaks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/gdi/picture.h"

namespace vxl::fuzz {

constexpr int64_t kMaxPixels = int64_t(1) << 20;

inline void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A decoded picture holds exactly its pixels.
inline void CheckPicture(const platform::Picture& p) {
    const size_t pixels = size_t(p.width) * size_t(p.height);
    Require(p.width >= 0 && p.height >= 0 && int64_t(pixels) <= kMaxPixels, "size within the limit");
    Require(p.rgb.size() == pixels * 3 || (pixels == 0 && p.rgb.empty()), "three bytes per pixel");
    Require(p.indices.empty() || p.indices.size() == pixels, "one index per pixel");
}

}  // namespace vxl::fuzz
