// A stand-in for libvxl.so with a few exports and faults planted on request, to prove that the stress
// program reports each kind of failure with its seed. VXL_STANDIN_FAULT chooses the fault:
//   oob   PutPixel's clipping lets y == height through, to a write that faults
//   hang  FillRect never returns when its first corner is at the far left of the range
//   dead  a closed buffer still answers its width
// Without one, the stand-in behaves and the stress run must pass.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#define STANDIN_API extern "C" __attribute__((visibility("default")))

namespace {

const std::string kFault = std::getenv("VXL_STANDIN_FAULT") ? std::getenv("VXL_STANDIN_FAULT") : "";

struct Buffer {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
bool display = false, full = false;
std::map<int32_t, Buffer> buffers;  // closed ones stay, without pixels
int32_t next_handle = 0;

[[noreturn]] void Fatal(const char* message) {
    if (std::FILE* f = std::fopen("VXL_ERR.txt", "wb")) {
        std::fprintf(f, "%s\r\n", message);
        std::fclose(f);
    }
    if (full) std::exit(1);
    throw std::runtime_error(message);
}

Buffer* Live(int32_t h) {
    auto it = buffers.find(h);
    return it != buffers.end() && !it->second.pixels.empty() ? &it->second : nullptr;
}

uint32_t* Pixel(int32_t h, int32_t x, int32_t y, int32_t last_row_past = 0) {
    Buffer* b = Live(h);
    if (!b || x < 0 || y < 0 || x >= b->width || y >= b->height + last_row_past) return nullptr;
    if (y == b->height) return reinterpret_cast<uint32_t*>(uintptr_t(16));  // past the end, where nothing is mapped
    return &b->pixels[size_t(y) * size_t(b->width) + size_t(x)];
}

}  // namespace

STANDIN_API void InitVexel(uint32_t, int32_t w, int32_t h, int32_t, int32_t full_screen) {
    display = false;
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192) Fatal("[TVexel]CreateSurface -> bad size");
    display = true;
    full = full_screen != 0;
}
STANDIN_API void CloseVexel(void) {
    display = full = false;
}
STANDIN_API int32_t GlobalBpp(void) {
    return display ? 32 : 0;
}

STANDIN_API int32_t SetupBuffer(int32_t w, int32_t h, int32_t) {
    if (!display) Fatal("[TBufferVx]Create -> No display open...");
    if (w <= 0 || h <= 0 || int64_t(w) * h > (1 << 22)) Fatal("[TBufferVx]CreateSurface -> bad size");
    buffers[next_handle] = Buffer{w, h, std::vector<uint32_t>(size_t(w) * size_t(h))};
    return next_handle++;
}
STANDIN_API void CloseBuffer(int32_t h) {
    if (Buffer* b = Live(h)) *b = Buffer{kFault == "dead" ? b->width : 0, 0, {}};
}
STANDIN_API int32_t BufferSizeX(int32_t h) {
    auto it = buffers.find(h);
    return it == buffers.end() ? 0 : it->second.width;  // the planted fault shows here
}
STANDIN_API int32_t BufferSizeY(int32_t h) {
    return Live(h) ? Live(h)->height : 0;
}

STANDIN_API void PutPixel(int32_t h, int32_t x, int32_t y, uint32_t colour) {
    if (uint32_t* p = Pixel(h, x, y, kFault == "oob")) *static_cast<volatile uint32_t*>(p) = colour;
}
STANDIN_API uint32_t GetPixel(int32_t h, int32_t x, int32_t y) {
    const uint32_t* p = Pixel(h, x, y);
    return p ? *p : 0;
}
STANDIN_API void FillRect(int32_t h, int32_t x1, int32_t y1, int32_t, int32_t, uint32_t colour) {
    for (volatile bool spin = kFault == "hang" && x1 <= INT32_MIN + 1; spin;) {
    }
    if (uint32_t* p = Pixel(h, x1, y1)) *p = colour;
}
