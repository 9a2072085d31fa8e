// The rectangle rules shared by buffer copies and display blits: where a whole source or a rectangle
// of it lands inside bounds of BW x BH, and which part of a stretched source falls inside them.
// Arithmetic is 64-bit throughout, so host coordinates anywhere in the 32-bit range are safe; every
// rectangle a rule gives lies inside the source and its destination inside the bounds.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/surfaces/codes.h"

namespace vxl {

// A copy without scaling: the source rectangle and where its top-left pixel lands.
struct Placement {
    platform::Rect source;
    int32_t x = 0;
    int32_t y = 0;
};

// A stretched copy: the source rectangle and the destination rectangle it is scaled onto.
struct StretchPlacement {
    platform::Rect source;
    platform::Rect dest;
};

// How a stretched copy crops the source where the destination overhangs the bounds: copies between
// buffers truncate, display blits round to nearest with halves going to the even neighbour.
enum class CropRounding { kTruncate, kHalfEven };

// The whole W x H source with its top-left at (x, y). Nothing when it misses the bounds or clips to
// an empty rectangle.
std::optional<Placement> ClipPlacement(int32_t w, int32_t h, int32_t x, int32_t y, int32_t bw, int32_t bh);

// The source rectangle with inclusive corners (x1, y1), (x2, y2) in either order, its top-left at
// (dx, dy). Clamping the corners to the source does not move the destination point.
std::optional<Placement> ClipSubRect(int32_t w, int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx,
                                     int32_t dy, int32_t bw, int32_t bh);

// Whether two rectangles, each given by two corners in either order, share a point; touching edges count.
bool RectsOverlap(int64_t ax1, int64_t ay1, int64_t ax2, int64_t ay2, int64_t bx1, int64_t by1, int64_t bx2,
                  int64_t by2);

// The whole W x H source stretched onto the destination rectangle (x1, y1)-(x2, y2), corners in
// either order, larger corner exclusive, cut to the bounds with the source cropped to match.
std::optional<StretchPlacement> ClipStretch(int32_t w, int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                            int32_t bw, int32_t bh, CropRounding rounding);

}  // namespace vxl
