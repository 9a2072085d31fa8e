// Blending exports: arithmetic and alpha blends and channel copies of one buffer onto another.
#include "blend/alpha.h"
#include "blend/arithmetic.h"
#include "blend/channels.h"
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;
using exports::Byte;
using exports::Guarded;

extern "C" {

void CopyAdd(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyAdd(Buffer(src), Buffer(dst), x, y); });
}
void CopySub(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopySub(Buffer(src), Buffer(dst), x, y); });
}
void CopyXor(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyXor(Buffer(src), Buffer(dst), x, y); });
}

void CopyAlpha(int32_t src, int32_t dst, int32_t x, int32_t y, int32_t opacity) {
    Guarded([&] { blend::CopyAlpha(Buffer(src), Buffer(dst), x, y, Byte(opacity)); });
}
void CopyAlphaSprite(int32_t src, int32_t dst, int32_t x, int32_t y, int32_t opacity, uint32_t key) {
    Guarded([&] { blend::CopyAlphaSprite(Buffer(src), Buffer(dst), x, y, Byte(opacity), key); });
}

void CopyAlphaMap(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyAlphaMap(Buffer(src), Buffer(dst), x, y); });
}

void CopyRedChannel(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyRedChannel(Buffer(src), Buffer(dst), x, y); });
}
void CopyGreenChannel(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyGreenChannel(Buffer(src), Buffer(dst), x, y); });
}
void CopyBlueChannel(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyBlueChannel(Buffer(src), Buffer(dst), x, y); });
}
void CopyAlphaChannel(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyAlphaChannel(Buffer(src), Buffer(dst), x, y); });
}

}  // extern "C"
