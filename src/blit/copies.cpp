#include "blit/copies.h"

#include "buffers/buffer.h"
#include "display/blit_completion.h"

namespace vxl {

using namespace platform;

namespace {

bool Usable(const TBufferVx& src, const TBufferVx& dst) {
    return src.has_surface() && dst.has_surface();
}

// An unscaled copy onto the destination's surface; a lost surface is restored through the source.
void BlitPlaced(TBufferVx& src, TBufferVx& dst, const Placement& p, uint32_t flags) {
    Surface& target = *dst.surface();
    Surface* from = src.surface().get();
    BlitAndWait(
        target, [&] { return target.BltFast(p.x, p.y, from, &p.source, flags); }, [&] { src.RestoreSurfaces(); });
}

void BlitStretched(TBufferVx& src, TBufferVx& dst, const StretchPlacement& p, uint32_t flags) {
    Surface& target = *dst.surface();
    Surface* from = src.surface().get();
    BlitAndWait(
        target, [&] { return target.Blt(&p.dest, from, &p.source, flags, nullptr); }, [&] { src.RestoreSurfaces(); });
}

}  // namespace

void SetSourceKey(TBufferVx& buffer, uint32_t key) {
    if (buffer.has_surface()) {
        const ColourKey k{key, key};
        buffer.surface()->SetColorKey(DDCKEY_SRCBLT, &k);
    }
}

void CopyBuffer(TBufferVx& src, TBufferVx& dst, int32_t x, int32_t y) {
    if (!Usable(src, dst)) {
        return;
    }
    if (auto p = ClipPlacement(src.width(), src.height(), x, y, dst.width(), dst.height())) {
        BlitPlaced(src, dst, *p, DDBLTFAST_NOCOLORKEY);
    }
}

void CopySprite(TBufferVx& src, TBufferVx& dst, int32_t x, int32_t y, uint32_t key) {
    if (!Usable(src, dst)) {
        return;
    }
    if (auto p = ClipPlacement(src.width(), src.height(), x, y, dst.width(), dst.height())) {
        SetSourceKey(src, key);
        BlitPlaced(src, dst, *p, DDBLTFAST_SRCCOLORKEY);
    }
}

void CopyBit(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy) {
    if (!Usable(src, dst)) {
        return;
    }
    if (auto p = ClipSubRect(src.width(), src.height(), x1, y1, x2, y2, dx, dy, dst.width(), dst.height())) {
        BlitPlaced(src, dst, *p, DDBLTFAST_NOCOLORKEY);
    }
}

void CopyBitSprite(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx,
                   int32_t dy, uint32_t key) {
    if (!Usable(src, dst)) {
        return;
    }
    if (auto p = ClipSubRect(src.width(), src.height(), x1, y1, x2, y2, dx, dy, dst.width(), dst.height())) {
        SetSourceKey(src, key);
        BlitPlaced(src, dst, *p, DDBLTFAST_SRCCOLORKEY);
    }
}

void CopyScale(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!Usable(src, dst)) {
        return;
    }
    if (auto p = ClipStretch(src.width(), src.height(), x1, y1, x2, y2, dst.width(), dst.height(),
                             CropRounding::kTruncate)) {
        BlitStretched(src, dst, *p, 0);
    }
}

void CopyScaleSprite(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key) {
    if (!Usable(src, dst)) {
        return;
    }
    if (auto p = ClipStretch(src.width(), src.height(), x1, y1, x2, y2, dst.width(), dst.height(),
                             CropRounding::kTruncate)) {
        SetSourceKey(src, key);
        BlitStretched(src, dst, *p, DDBLT_KEYSRC);
    }
}

}  // namespace vxl
