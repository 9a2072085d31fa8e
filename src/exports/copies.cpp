// Copy exports: whole buffers, rectangles of them, stretched and rotated buffers onto other buffers, with and
// without a colour key. The source handle comes first.
#include "blit/copies.h"

#include "exports/guard.h"
#include "exports/lookup.h"
#include "raster/rotate.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;
using exports::Guarded;

extern "C" {

void CopyBuffer(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] {
        TBufferVx *s = Buffer(src), *d = Buffer(dst);
        if (s && d) vxl::CopyBuffer(*s, *d, x, y);
    });
}

void CopySprite(int32_t src, int32_t dst, int32_t x, int32_t y, uint32_t key) {
    Guarded([&] {
        TBufferVx *s = Buffer(src), *d = Buffer(dst);
        if (s && d) vxl::CopySprite(*s, *d, x, y, key);
    });
}

void CopyBit(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy) {
    Guarded([&] {
        TBufferVx *s = Buffer(src), *d = Buffer(dst);
        if (s && d) vxl::CopyBit(*s, *d, x1, y1, x2, y2, dx, dy);
    });
}

void CopyBitSprite(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy,
                   uint32_t key) {
    Guarded([&] {
        TBufferVx *s = Buffer(src), *d = Buffer(dst);
        if (s && d) vxl::CopyBitSprite(*s, *d, x1, y1, x2, y2, dx, dy, key);
    });
}

void CopyScale(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Guarded([&] {
        TBufferVx *s = Buffer(src), *d = Buffer(dst);
        if (s && d) vxl::CopyScale(*s, *d, x1, y1, x2, y2);
    });
}

void CopyScaleSprite(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key) {
    Guarded([&] {
        TBufferVx *s = Buffer(src), *d = Buffer(dst);
        if (s && d) vxl::CopyScaleSprite(*s, *d, x1, y1, x2, y2, key);
    });
}

// Rotated copies are painted by the texture fill; a missing destination is the fill's to ignore.
void CopyRotate(int32_t src, int32_t dst, int32_t x, int32_t y, float zoom, float angle) {
    Guarded([&] {
        if (const TBufferVx* s = Buffer(src)) vxl::CopyRotate(*s, Buffer(dst), x, y, zoom, angle);
    });
}

void CopyRotateSprite(int32_t src, int32_t dst, int32_t x, int32_t y, float zoom, float angle, uint32_t key) {
    Guarded([&] {
        if (const TBufferVx* s = Buffer(src)) vxl::CopyRotateSprite(*s, Buffer(dst), x, y, zoom, angle, key);
    });
}

}  // extern "C"
