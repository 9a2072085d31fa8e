// Rotated copies: a whole buffer turned and zoomed about its centre onto another.
#include "exports/lookup.h"
#include "raster/rotate.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;

extern "C" {

void CopyRotate(int32_t source, int32_t destination, int32_t x, int32_t y, float zoom, float angle) {
    if (const TBufferVx* s = Buffer(source)) vxl::CopyRotate(*s, Buffer(destination), x, y, zoom, angle);
}

void CopyRotateSprite(int32_t source, int32_t destination, int32_t x, int32_t y, float zoom, float angle,
                      uint32_t key) {
    if (const TBufferVx* s = Buffer(source)) vxl::CopyRotateSprite(*s, Buffer(destination), x, y, zoom, angle, key);
}

}  // extern "C"
