// Buffer exports: creating and closing buffers, their size and memory, and single pixels.
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;
using exports::Byte;
using exports::Display;
using exports::Guarded;
using exports::kNoHandle;

extern "C" {

int32_t SetupBuffer(int32_t width, int32_t height, int32_t video) {
    return Guarded(kNoHandle, [&] {
        Library& lib = TheLibrary();
        const int32_t handle = lib.handles.AllocHandle();
        lib.handles.Store(handle, TBufferVx::Create(Display(), width, height, video != 0));
        return handle;
    });
}

void CloseBuffer(int32_t handle) {
    Guarded([&] { TheLibrary().handles.Close(handle); });
}

int32_t BufferSizeX(int32_t handle) {
    return Guarded([&] { return Buffer(handle) ? Buffer(handle)->width() : 0; });
}
int32_t BufferSizeY(int32_t handle) {
    return Guarded([&] { return Buffer(handle) ? Buffer(handle)->height() : 0; });
}
void* BufferPointer(int32_t handle) {
    return Guarded([&] { return Buffer(handle) ? Buffer(handle)->pixels() : nullptr; });
}
uint8_t* AlphaPointer(int32_t handle) {
    return Guarded([&] { return Buffer(handle) ? Buffer(handle)->alpha() : nullptr; });
}

void Fill(int32_t handle, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) b->Fill(colour);
    });
}

void PutPixel(int32_t handle, int32_t x, int32_t y, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) b->PutPixel(x, y, colour);
    });
}

uint32_t GetPixel(int32_t handle, int32_t x, int32_t y) {
    return Guarded([&] {
        const TBufferVx* b = Buffer(handle);
        return b ? b->GetPixel(x, y) : 0;
    });
}

void PutAlphaPixel(int32_t handle, int32_t x, int32_t y, int32_t alpha) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) b->PutAlphaPixel(x, y, Byte(alpha));
    });
}

int32_t GetAlphaPixel(int32_t handle, int32_t x, int32_t y) {
    return Guarded([&] {
        const TBufferVx* b = Buffer(handle);
        return b ? b->GetAlphaPixel(x, y) : 0;
    });
}

}  // extern "C"
