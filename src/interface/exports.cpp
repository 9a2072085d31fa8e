// The exported functions: each resolves what it needs and calls one operation.
#include "buffers/pixel_format.h"
#include "display/full_vexel.h"
#include "interface/library.h"
#include "interface/library_state.h"
#include "vxl.h"

using namespace vxl;

namespace {

constexpr int32_t kVersion = 331;
constexpr const char kName[] = "VXL.DLL v0.14b [10.03.2001]";
constexpr const char kNotice[] = "VXL Graphics Library, written by the VXL team.";

TVexel* Display() {
    return TheLibrary().display.get();
}
TBufferVx* Buffer(int32_t handle) {
    return TheLibrary().handles.Find(handle);
}
uint8_t Byte(int32_t value) {
    return uint8_t(value & 0xFF);
}

}  // namespace

extern "C" {

int32_t GetDLLVersion(void) {
    return kVersion;
}

void GetDLLInfo(const char** name, const char** notice) {
    if (name) {
        *name = kName;
    }
    if (notice) {
        *notice = kNotice;
    }
}

uint32_t RGB(int32_t r, int32_t g, int32_t b) {
    return PackColour(Byte(r), Byte(g), Byte(b));
}

void unRGB(uint32_t colour, uint8_t* r, uint8_t* g, uint8_t* b) {
    uint8_t unwanted[3];  // a missing output is simply not written
    UnpackColour(colour, r ? r : &unwanted[0], g ? g : &unwanted[1], b ? b : &unwanted[2]);
}

void InitVexel(uint32_t window, int32_t width, int32_t height, int32_t bpp, int32_t full) {
    Library& lib = TheLibrary();
    // One display at a time: an open one is closed rather than leaked with its screen state.
    if (lib.display) {
        CloseVexel();
    }
    lib.display = full ? TFullVexel::Create(window, width, height, bpp) : TVexel::Create(window, width, height);
}

void CloseVexel(void) {
    TheLibrary().display.reset();
    Globals().full_screen = false;
}

void SetVexelWindowPos(int32_t x, int32_t y) {
    if (TVexel* d = Display()) d->MoveWindow(x, y);
}

void ClearVexel(uint32_t colour) {
    if (TVexel* d = Display()) d->Clear(colour);
}

int32_t VexelSizeX(void) {
    return Display() ? Display()->width() : 0;
}
int32_t VexelSizeY(void) {
    return Display() ? Display()->height() : 0;
}
int32_t GlobalBpp(void) {
    return Display() ? Display()->bit_depth() : 0;
}
int32_t DoEvents(void) {
    return Display() && Display()->PumpMessage() ? -1 : 0;
}

int32_t SetupBuffer(int32_t width, int32_t height, int32_t video) {
    Library& lib = TheLibrary();
    const int32_t handle = lib.handles.AllocHandle();
    lib.handles.Store(handle, TBufferVx::Create(Display(), width, height, video != 0));
    return handle;
}

void CloseBuffer(int32_t handle) {
    TheLibrary().handles.Close(handle);
}

int32_t BufferSizeX(int32_t handle) {
    return Buffer(handle) ? Buffer(handle)->width() : 0;
}
int32_t BufferSizeY(int32_t handle) {
    return Buffer(handle) ? Buffer(handle)->height() : 0;
}
void* BufferPointer(int32_t handle) {
    return Buffer(handle) ? Buffer(handle)->pixels() : nullptr;
}
uint8_t* AlphaPointer(int32_t handle) {
    return Buffer(handle) ? Buffer(handle)->alpha() : nullptr;
}

void Fill(int32_t handle, uint32_t colour) {
    if (TBufferVx* b = Buffer(handle)) b->Fill(colour);
}

void PutPixel(int32_t handle, int32_t x, int32_t y, uint32_t colour) {
    if (TBufferVx* b = Buffer(handle)) b->PutPixel(x, y, colour);
}

uint32_t GetPixel(int32_t handle, int32_t x, int32_t y) {
    const TBufferVx* b = Buffer(handle);
    return b ? b->GetPixel(x, y) : 0;
}

void PutAlphaPixel(int32_t handle, int32_t x, int32_t y, int32_t alpha) {
    if (TBufferVx* b = Buffer(handle)) b->PutAlphaPixel(x, y, Byte(alpha));
}

int32_t GetAlphaPixel(int32_t handle, int32_t x, int32_t y) {
    const TBufferVx* b = Buffer(handle);
    return b ? b->GetAlphaPixel(x, y) : 0;
}

}  // extern "C"
