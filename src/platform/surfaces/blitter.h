// The software blitter behind the surface service: colour fills, plain, keyed and stretched copies on
// raw surface memory of 1 to 4 bytes per pixel. Callers pass rectangles already clipped to both
// surfaces.
#pragma once

#include <cstdint>

#include "platform/surfaces/codes.h"

namespace vxl::platform {

struct PixelMemory {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    uint32_t bytes_per_pixel = 0;
};

// Writes `count` pixels of `colour` (its low bytes_per_pixel bytes) from `dst` on.
void FillSpan(uint8_t* dst, int64_t count, uint32_t bytes_per_pixel, uint32_t colour);
// The plain per-pixel version of FillSpan that the fast one is tested against.
void FillSpanReference(uint8_t* dst, int64_t count, uint32_t bytes_per_pixel, uint32_t colour);

void FillRect(const PixelMemory& dst, const Rect& r, uint32_t colour);

// Source and destination rectangles of equal size; the two may overlap on the same memory.
void CopyRect(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s);

// As CopyRect, leaving destination pixels where the source pixel, masked by `key_mask`, lies in
// [key_low, key_high].
void CopyRectKeyed(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s, uint32_t key_low,
                   uint32_t key_high, uint32_t key_mask);
// The plain per-pixel version that the fast one is tested against.
void CopyRectKeyedReference(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s,
                            uint32_t key_low, uint32_t key_high, uint32_t key_mask);

// Nearest-pixel stretch of `full_src` onto `full_dst` (sizes below 2^31), drawing only the part of the destination
// inside `clip`. Destination pixel centres are mapped to the source: x' = sx + floor((2(x-dx)+1) * sw / (2 dw)).
void StretchRect(const PixelMemory& dst, const Rect& full_dst, const Rect& clip, const PixelMemory& src,
                 const Rect& full_src, bool keyed, uint32_t key_low, uint32_t key_high, uint32_t key_mask);
// The plain per-pixel version that the fast one is tested against.
void StretchRectReference(const PixelMemory& dst, const Rect& full_dst, const Rect& clip, const PixelMemory& src,
                          const Rect& full_src, bool keyed, uint32_t key_low, uint32_t key_high, uint32_t key_mask);

}  // namespace vxl::platform
