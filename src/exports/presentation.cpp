// Presentation exports: buffers drawn onto the display (each draw shows the display at once) and Flip.
#include "blit/display_blits.h"
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;
using exports::Guarded;

extern "C" {

void DrawBuffer(int32_t handle, int32_t x, int32_t y) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::DrawBuffer(*b, x, y);
    });
}

void DrawSprite(int32_t handle, int32_t x, int32_t y, uint32_t key) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::DrawSprite(*b, x, y, key);
    });
}

void DrawBit(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::DrawBit(*b, x1, y1, x2, y2, dx, dy);
    });
}

void DrawBitSprite(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy,
                   uint32_t key) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::DrawBitSprite(*b, x1, y1, x2, y2, dx, dy, key);
    });
}

void DrawScale(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::DrawScale(*b, x1, y1, x2, y2);
    });
}

void DrawScaleSprite(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::DrawScaleSprite(*b, x1, y1, x2, y2, key);
    });
}

void Flip(int32_t handle, int32_t wait) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::Flip(*b, wait != 0);
    });
}

}  // extern "C"
