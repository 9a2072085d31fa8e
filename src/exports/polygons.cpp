// Polygon exports: flat, Gouraud-shaded and texture-mapped polygons, and the shaded rectangle.
#include "raster/polygons.h"

#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;
using exports::Guarded;

extern "C" {

void FlatPoly(int32_t handle, const TPolyVertex* vertices, int32_t high, int32_t count, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::FlatPoly(*b, vertices, high, count, colour);
    });
}

void GouraudPoly(int32_t handle, const TPolyVertex* vertices, int32_t high, int32_t count) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::GouraudPoly(*b, vertices, high, count);
    });
}

void ShadedRect(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t c1, uint32_t c2, uint32_t c3,
                uint32_t c4) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) vxl::ShadedRect(*b, x1, y1, x2, y2, c1, c2, c3, c4);
    });
}

void TexturePoly(int32_t destination, int32_t texture, const TPolyVertex* vertices, int32_t high, int32_t count) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(destination)) vxl::TexturePoly(*b, Buffer(texture), vertices, high, count);
    });
}

void KeyTexturePoly(int32_t destination, int32_t texture, const TPolyVertex* vertices, int32_t high, int32_t count,
                    uint32_t key) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(destination)) vxl::KeyTexturePoly(*b, Buffer(texture), vertices, high, count, key);
    });
}

}  // extern "C"
