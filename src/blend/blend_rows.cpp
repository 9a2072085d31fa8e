#include "blend/blend_rows.h"

#include <algorithm>
#include <cstring>

namespace vxl::blend {

bool PlaceSource(int32_t ws, int32_t hs, int32_t wd, int32_t hd, int32_t x, int32_t y, Placement* out) {
    // 64-bit, so that placements near the ends of the integer range cannot wrap.
    const int64_t x0 = x, y0 = y;
    if (x0 > int64_t(wd) - 1 || y0 > int64_t(hd) - 1) return false;
    if (x0 + ws < 0 || y0 + hs < 0) return false;
    int64_t right = x0 + ws, bottom = y0 + hs, left = x0, top = y0, sx = 0, sy = 0;
    if (left < 0) {
        sx = -left;
        left = 0;
    }
    if (top < 0) {
        sy = -top;
        top = 0;
    }
    right = std::min<int64_t>(right, wd);
    bottom = std::min<int64_t>(bottom, hd);
    const int64_t w = right - left, h = bottom - top;
    if (w < 1 || h < 1) return false;
    *out = {int32_t(sx), int32_t(sy), int32_t(left), int32_t(top), int32_t(w), int32_t(h)};
    return true;
}

bool Compatible(const TBufferVx& a, const TBufferVx& b) {
    return a.has_surface() && b.has_surface() && a.display_depth() == b.display_depth() &&
           a.bytes_per_pixel() == b.bytes_per_pixel();
}

void BlendRows(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, RowKind kind, uint32_t opacity,
               uint32_t key) {
    if (source == nullptr || destination == nullptr || !Compatible(*source, *destination)) return;
    Placement p;
    if (!PlaceSource(source->width(), source->height(), destination->width(), destination->height(), x, y, &p)) {
        return;
    }
    const RowOp op = ChooseRow(kind, LayoutOfDepth(source->display_depth()));
    if (!op) return;
    // The alpha-map blend reads the source's alpha plane beside its pixels, the alpha channel copy
    // reads the plane alone.
    const bool reads_alpha = kind == RowKind::AlphaMap || kind == RowKind::AlphaChannel;
    const bool reads_pixels = kind != RowKind::AlphaChannel;
    if (reads_alpha && source->alpha() == nullptr) return;

    const size_t bytes = size_t(p.w) * op.bytes;
    const size_t dst_offset = size_t(p.dx) * op.bytes;
    // A buffer blended onto itself is worked on in place: its one scratch row cannot hold both the
    // source and the destination row, and in place gives what a system-memory buffer gives.
    const bool self = source == destination;
    uint8_t* src_scratch = source->in_video_memory() && !self && reads_pixels ? source->row_scratch() : nullptr;
    uint8_t* dst_scratch = destination->in_video_memory() && !self ? destination->row_scratch() : nullptr;

    RowJob job;
    job.n = size_t(p.w);
    job.opacity = opacity & 0xFF;
    job.key = key;
    for (int32_t i = 0; i < p.h; ++i) {
        const uint8_t* src = reads_pixels ? source->row(p.sy + i) + size_t(p.sx) * op.bytes : nullptr;
        if (src_scratch != nullptr) {
            std::memcpy(src_scratch, src, bytes);
            src = src_scratch;
        }
        uint8_t* dst = destination->row(p.dy + i) + dst_offset;
        job.src = src;
        job.alpha = reads_alpha ? source->alpha() + size_t(p.sy + i) * size_t(source->width()) + size_t(p.sx) : nullptr;
        if (dst_scratch != nullptr) {
            job.dst = dst_scratch + dst_offset;
            std::memcpy(job.dst, dst, bytes);
            op.Run(job);
            std::memcpy(dst, job.dst, bytes);
        } else {
            job.dst = dst;
            op.Run(job);
        }
    }
}

}  // namespace vxl::blend
