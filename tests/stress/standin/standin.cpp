// A stand-in for libvxl.so with a few exports and faults planted on request, to prove that the stress
// program reports each kind of failure with its seed. VXL_STANDIN_FAULT chooses the fault:
//   oob   PutPixel's clipping lets y == height through: a write past the end of the pixels
//   hang  FillRect never returns when its first corner is at the far left of the range
//   dead  a closed buffer still answers its width
// Without it, the stand-in behaves and the stress run must pass.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#define STANDIN_API extern "C" __attribute__((visibility("default")))

namespace {

const std::string kFault = std::getenv("VXL_STANDIN_FAULT") ? std::getenv("VXL_STANDIN_FAULT") : "";

// Pixels end right before an inaccessible page, so a stray write faults at once, with a sanitizer or
// without.
class Pixels {
public:
    explicit Pixels(size_t bytes) {
        const size_t page = size_t(sysconf(_SC_PAGESIZE)), guard = 16 * page;
        span_ = (bytes + page - 1) / page * page + guard;
        base_ = static_cast<uint8_t*>(mmap(nullptr, span_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(base_ + span_ - guard, guard, PROT_NONE);
        data_ = base_ + (span_ - guard - bytes);
    }
    ~Pixels() { munmap(base_, span_); }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;
    uint8_t* data() { return data_; }

private:
    uint8_t *base_ = nullptr, *data_ = nullptr;
    size_t span_ = 0;
};

struct Buffer {
    int32_t width = 0, height = 0;
    std::unique_ptr<Pixels> pixels;  // none once closed
};

struct State {
    bool display = false, full = false;
    int32_t display_w = 0, display_h = 0;
    std::map<int32_t, Buffer> buffers;
    int32_t next = 0;
};

State& S() {
    static State s;
    return s;
}

[[noreturn]] void Fatal(const std::string& message) {
    if (std::FILE* f = std::fopen("VXL_ERR.txt", "wb")) {
        std::fprintf(f, "%s\r\n", message.c_str());
        std::fclose(f);
    }
    if (S().full) std::exit(1);
    throw std::runtime_error(message);
}

Buffer* Live(int32_t h) {
    auto it = S().buffers.find(h);
    return it != S().buffers.end() && it->second.pixels ? &it->second : nullptr;
}

}  // namespace

STANDIN_API int32_t GetDLLVersion(void) {
    return 1;
}

STANDIN_API void InitVexel(uint32_t, int32_t w, int32_t h, int32_t, int32_t full) {
    S().display = false;
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192) Fatal("[TVexel]CreateSurface -> bad size");
    S().display = true;
    S().full = full != 0;
    S().display_w = w;
    S().display_h = h;
}

STANDIN_API void CloseVexel(void) {
    S().display = false;
    S().full = false;
}

STANDIN_API int32_t VexelSizeX(void) {
    return S().display ? S().display_w : 0;
}
STANDIN_API int32_t VexelSizeY(void) {
    return S().display ? S().display_h : 0;
}
STANDIN_API int32_t GlobalBpp(void) {
    return S().display ? 32 : 0;
}
STANDIN_API int32_t DoEvents(void) {
    return S().display ? -1 : 0;
}

STANDIN_API int32_t SetupBuffer(int32_t w, int32_t h, int32_t) {
    if (!S().display) Fatal("[TBufferVx]Create -> No display open...");
    if (w <= 0 || h <= 0 || int64_t(w) * h > (1 << 22)) Fatal("[TBufferVx]CreateSurface -> bad size");
    const int32_t handle = S().next++;
    Buffer& b = S().buffers[handle];
    b.width = w;
    b.height = h;
    b.pixels = std::make_unique<Pixels>(size_t(w) * size_t(h) * 4);
    return handle;
}

STANDIN_API void CloseBuffer(int32_t h) {
    if (Buffer* b = Live(h)) {
        b->pixels.reset();
        if (kFault != "dead") b->width = b->height = 0;
    }
}

STANDIN_API int32_t BufferSizeX(int32_t h) {
    auto it = S().buffers.find(h);
    return it == S().buffers.end() ? 0 : it->second.width;  // the planted fault shows here
}
STANDIN_API int32_t BufferSizeY(int32_t h) {
    Buffer* b = Live(h);
    return b ? b->height : 0;
}
STANDIN_API void* BufferPointer(int32_t h) {
    Buffer* b = Live(h);
    return b ? b->pixels->data() : nullptr;
}

STANDIN_API void PutPixel(int32_t h, int32_t x, int32_t y, uint32_t colour) {
    Buffer* b = Live(h);
    const int32_t last_row = kFault == "oob" ? b ? b->height : 0 : b ? b->height - 1 : 0;
    if (!b || x < 0 || y < 0 || x >= b->width || y > last_row) return;
    std::memcpy(b->pixels->data() + (size_t(y) * size_t(b->width) + size_t(x)) * 4, &colour, 4);
}

STANDIN_API uint32_t GetPixel(int32_t h, int32_t x, int32_t y) {
    Buffer* b = Live(h);
    if (!b || x < 0 || y < 0 || x >= b->width || y >= b->height) return 0;
    uint32_t c;
    std::memcpy(&c, b->pixels->data() + (size_t(y) * size_t(b->width) + size_t(x)) * 4, 4);
    return c;
}

STANDIN_API void FillRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    if (kFault == "hang" && x1 <= INT_MIN + 1) {
        volatile uint64_t spin = 0;
        for (;;) spin = spin + 1;
    }
    Buffer* b = Live(h);
    if (!b) return;
    const int32_t left = std::max(0, std::min(x1, x2)), right = std::min(b->width - 1, std::max(x1, x2));
    const int32_t top = std::max(0, std::min(y1, y2)), bottom = std::min(b->height - 1, std::max(y1, y2));
    for (int32_t y = top; y <= bottom; ++y) {
        for (int32_t x = left; x <= right; ++x) {
            std::memcpy(b->pixels->data() + (size_t(y) * size_t(b->width) + size_t(x)) * 4, &colour, 4);
        }
    }
}
