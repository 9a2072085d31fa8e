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
    std::vector<uint32_t> pixels;  // none once closed
};
bool display = false, full = false;
std::map<int32_t, Buffer> buffers;

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
STANDIN_API int32_t SetupBuffer(int32_t w, int32_t h, int32_t) {
    if (!display) Fatal("[TBufferVx]Create -> No display open...");
    if (w <= 0 || h <= 0 || int64_t(w) * h > (1 << 22)) Fatal("[TBufferVx]CreateSurface -> bad size");
    const int32_t handle = int32_t(buffers.size());
    buffers[handle] = Buffer{w, h, std::vector<uint32_t>(size_t(w) * size_t(h))};
    return handle;
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
    Buffer* b = Live(h);
    if (!b || x < 0 || y < 0 || x >= b->width || y > (kFault == "oob" ? b->height : b->height - 1)) return;
    // Row `height` stands for the memory past the pixels, where nothing is mapped.
    uint32_t* row = y < b->height ? &b->pixels[size_t(y) * size_t(b->width)] : reinterpret_cast<uint32_t*>(16);
    static_cast<volatile uint32_t*>(row)[x] = colour;
}
STANDIN_API void FillRect(int32_t h, int32_t x1, int32_t y1, int32_t, int32_t, uint32_t colour) {
    for (volatile bool spin = kFault == "hang" && x1 <= INT32_MIN + 1; spin;) {
    }
    PutPixel(h, x1, y1, colour);
}
