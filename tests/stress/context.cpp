// The run's knowledge of the library and the generators of hostile arguments.
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <limits>

#include "run.h"

namespace vxl::stress {

Context::Context(const RunOptions& opts, const ExportTable& exports, SharedRecord* rec, FileNames names)
    : options(opts), rng(opts.seed), record(rec), files(std::move(names)), exports_(exports) {
    texts_ = {"",
              "A",
              "Hello, VXL!",
              std::string(4096, 'W'),
              "\xff\xfe\x80\x81 high bytes",
              "%s%n%x%d%p",
              "tab\tand\nnew line"};
}

void Context::Record(Id id, const std::string& text) {
    const uint64_t n = call_index++;
    char* line = record->trace[n % kTraceLines];
    std::snprintf(line, kTraceWidth, "#%llu %s", static_cast<unsigned long long>(n), text.c_str());
    record->last_export = int32_t(id);
    record->per_export[int(id)]++;
    record->calls_started.store(n + 1, std::memory_order_release);
}

void Context::Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(record->failure, sizeof record->failure, format, args);
    va_end(args);
    std::fflush(nullptr);
    _exit(kExitChildDetected);
}

// ---- the model ----

void Context::Issued(int32_t handle) {
    dead.erase(std::remove(dead.begin(), dead.end(), handle), dead.end());
    limbo.erase(std::remove(limbo.begin(), limbo.end(), handle), limbo.end());
    live.erase(std::remove_if(live.begin(), live.end(), [&](const BufferInfo& b) { return b.handle == handle; }),
               live.end());
    highest_issued = std::max(highest_issued, handle);
    const int32_t w = Call<sig::BufferSizeX>(Id::BufferSizeX, handle);
    const int32_t h = Call<sig::BufferSizeY>(Id::BufferSizeY, handle);
    const int32_t depth = Has(Id::GlobalBpp) ? Call<sig::GlobalBpp>(Id::GlobalBpp) : 0;
    const int32_t bytes = depth == 15 ? 2 : depth / 8;
    if (w <= 0 || h <= 0) {
        Fail("a new buffer, handle %d, has the size %d x %d", handle, w, h);
    }
    live.push_back(BufferInfo{handle, w, h, bytes});
}

void Context::Closed(int32_t handle) {
    if (Live(handle)) {
        live.erase(std::remove_if(live.begin(), live.end(), [&](const BufferInfo& b) { return b.handle == handle; }),
                   live.end());
        dead.push_back(handle);
    }
}

void Context::Created(int32_t handle) {
    if (handle == -1 && error_mode == 1) {  // a failure: the run checks its log line after the call
        if (Has(Id::VxlLastError) && *Call<sig::VxlLastError>(Id::VxlLastError) == '\0') {
            Fail("a creation call answered -1 in error mode 1, but VxlLastError is empty");
        }
        return;
    }
    Issued(handle);
}

void Context::Forget(int32_t handle) {
    if (Live(handle)) {
        Closed(handle);
        dead.pop_back();
        limbo.push_back(handle);
    }
}

bool Context::Live(int32_t handle) const {
    return std::any_of(live.begin(), live.end(), [&](const BufferInfo& b) { return b.handle == handle; });
}

bool Context::Unknown(int32_t handle) const {
    return std::find(limbo.begin(), limbo.end(), handle) != limbo.end();
}

BufferInfo* Context::Find(int32_t handle) {
    for (BufferInfo& b : live) {
        if (b.handle == handle) return &b;
    }
    return nullptr;
}

void Context::ExpectDeadAnswer(const char* query, int32_t handle, uint64_t answer) {
    if (!Live(handle) && !Unknown(handle) && answer != 0) {
        Fail("dead handle %d answered %s with 0x%llx instead of 0", handle, query,
             static_cast<unsigned long long>(answer));
    }
}

void Context::MaybeTouch(int32_t handle, const void* pointer, bool alpha) {
    const BufferInfo* b = Find(handle);
    if (!b || !pointer) return;
    const int64_t bytes = int64_t(b->width) * b->height * (alpha ? 1 : b->bytes_per_pixel);
    if (bytes <= 0) return;
    // The whole block the host may address must be there: the first and last bytes are read and
    // written back.
    volatile uint8_t* p = static_cast<volatile uint8_t*>(const_cast<void*>(pointer));
    p[0] = p[0];
    p[bytes - 1] = p[bytes - 1];
}

void Context::OpenDisplay() {
    const bool full = options.full_screen_depth != 0;
    Call<sig::InitVexel>(Id::InitVexel, host_id, full ? 640 : 320, full ? 480 : 240, options.full_screen_depth,
                         full ? 1 : 0);
}

void Context::HostAction() {
    char text[96];
    const uint32_t old = host_id;
    SDL_DestroyWindow(host);
    host = SDL_CreateWindow("stress host", 0, 0, 320, 240, 0);
    host_id = host ? SDL_GetWindowID(host) : 0;
    dead_windows.push_back(old);
    std::snprintf(text, sizeof text, "host: destroyed window %u, made window %u", old, host_id);
    const uint64_t n = call_index++;
    std::snprintf(record->trace[n % kTraceLines], kTraceWidth, "#%llu %s", static_cast<unsigned long long>(n), text);
    record->calls_started.store(n + 1, std::memory_order_release);
}

// ---- generators ----

int32_t Context::Handle() {
    const uint32_t r = rng.Below(100);
    if (r < 72 && !live.empty()) return live[rng.Below(uint32_t(live.size()))].handle;
    if (r < 82 && !dead.empty()) return dead[rng.Below(uint32_t(dead.size()))];
    const int32_t made_up[] = {highest_issued + 1 + int32_t(rng.Below(3)), -1, INT32_MIN, INT32_MAX, 0, 65536};
    const uint32_t pick = rng.Below(7);
    return pick < 6 ? made_up[pick] : rng.Between(0, 64);
}

int32_t Context::Coordinate(int32_t extent) {
    extent = std::max(extent, 1);
    if (!hostile) {
        return rng.Chance(10) ? (rng.Chance(50) ? 0 : extent - 1) : rng.Between(-extent / 4, extent + extent / 4);
    }
    const int32_t edges[] = {0,         -1,        extent - 1,    extent,        extent + 1, 65536,   -65536,
                             INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1, 1,          -extent, 1 << 30};
    const uint32_t pick = rng.Below(24);
    return pick < 14 ? edges[pick] : rng.Between(-extent / 4, extent + extent / 4);
}

int32_t Context::X(int32_t handle) {
    const BufferInfo* b = Find(handle);
    return Coordinate(b ? b->width : 320);
}

int32_t Context::Y(int32_t handle) {
    const BufferInfo* b = Find(handle);
    return Coordinate(b ? b->height : 240);
}

int32_t Context::Size(bool careful_size) {
    if (careful_size || !hostile) {
        const uint32_t r = rng.Below(100);
        return r < 25 ? 64 : r < 30 ? 1 : rng.Between(1, 200);
    }
    const int32_t edges[] = {0, -1, INT32_MAX, INT32_MIN, 65536, 1, 2};
    const uint32_t pick = rng.Below(12);
    return pick < 7 ? edges[pick] : rng.Between(1, 400);
}

void Context::SizePair(bool careful_size, int32_t* w, int32_t* h) {
    *w = Size(careful_size);
    *h = Size(careful_size);
    // A huge side with a large other side would be a valid picture of hundreds of megabytes: keep
    // the other side tiny or absurd.
    if (*w == 65536 && *h > 4 && *h != 65536 && *h != INT32_MAX) *h = int32_t(rng.Below(4)) + 1;
    if (*h == 65536 && *w > 4 && *w != 65536 && *w != INT32_MAX) *w = int32_t(rng.Below(4)) + 1;
}

uint32_t Context::Colour() {
    const uint32_t pick = rng.Below(8);
    return pick == 0 ? 0 : pick == 1 ? 0xFFFFFFFFu : uint32_t(rng.Next());
}

int32_t Context::Opacity() {
    if (!hostile) return rng.Between(0, 255);
    const int32_t values[] = {-1, 0, 255, 256, INT32_MAX, INT32_MIN, 128, 1000};
    return rng.Chance(50) ? values[rng.Below(8)] : rng.Between(0, 255);
}

int32_t Context::Flag() {
    const int32_t values[] = {0, 1, -1, 2, INT32_MIN, INT32_MAX};
    return hostile ? values[rng.Below(6)] : int32_t(rng.Below(2));
}

float Context::Float(float lo, float hi) {
    if (hostile && rng.Chance(35)) {
        using F = std::numeric_limits<float>;
        const float values[] = {F::quiet_NaN(), -F::quiet_NaN(), F::infinity(), -F::infinity(), 0.0f,
                                -0.0f,          1e-40f,          F::max(),      -F::max(),      1e10f,
                                -1e10f,         65536.0f,        2147483648.0f, -2147483904.0f, 1e-6f};
        return values[rng.Below(sizeof values / sizeof values[0])];
    }
    return lo + (hi - lo) * float(rng.Below(1 << 20)) / float(1 << 20);
}

const char* Context::File() {
    if (rng.Chance(4)) return nullptr;
    return files.all[rng.Below(uint32_t(files.all.size()))].c_str();
}

const char* Context::Named(const std::vector<std::string>& fitting, uint32_t percent) {
    return rng.Chance(percent) ? fitting[rng.Below(uint32_t(fitting.size()))].c_str() : File();
}

const char* Context::Text() {
    if (rng.Chance(8)) return nullptr;
    return texts_[rng.Below(uint32_t(texts_.size()))].c_str();
}

uint32_t Context::Window() {
    const uint32_t r = rng.Below(100);
    if (r < 70 || !hostile) return host_id;
    if (r < 78 && !library_windows.empty()) return library_windows[rng.Below(uint32_t(library_windows.size()))];
    if (r < 86 && !dead_windows.empty()) return dead_windows[rng.Below(uint32_t(dead_windows.size()))];
    const uint32_t values[] = {0, 0xFFFFFFFFu, uint32_t(INT32_MAX), host_id + 1000};
    return values[rng.Below(4)];
}

int32_t Context::Key() {
    if (!hostile) return rng.Between(0, 255);
    const int32_t values[] = {-1, 256, INT32_MAX, INT32_MIN, 65536, 0, 255};
    return values[rng.Below(7)];
}

int32_t Context::Steps() {
    if (!hostile) return rng.Between(0, 64);
    const int32_t values[] = {0, -1, 1, INT32_MIN, INT32_MAX, 65536, 1 << 20, 2};
    return values[rng.Below(8)];
}

int32_t Context::Depth() {
    const int32_t typical[] = {0, 16, 32};
    if (!hostile) return typical[rng.Below(3)];
    const int32_t values[] = {0, 8, 15, 16, 24, 32, -1, 33, INT32_MAX, INT32_MIN};
    return values[rng.Below(10)];
}

float Context::VertexCoordinate(int32_t extent) {
    if (hostile && rng.Chance(10)) return Float(0, 1);
    return float(rng.Between(-extent / 4, extent + extent / 4)) + float(rng.Below(256)) / 256.0f;
}

const TPolyVertex* Context::Vertices(int32_t target, int32_t texture, int32_t* count, int32_t* high) {
    const uint32_t r = rng.Below(1000);
    size_t n = r < 50    ? 0
               : r < 100 ? 1
               : r < 150 ? 2
               : r < 600 ? 3
               : r < 800 ? 4
               : r < 960 ? rng.Between(5, 16)
               : r < 997 ? rng.Between(17, 256)
                         : 4096;
    const BufferInfo* b = Find(target);
    const BufferInfo* t = Find(texture);
    const int32_t w = b ? b->width : 320, h = b ? b->height : 240;
    const int32_t tw = t ? t->width : 64, th = t ? t->height : 64;
    vertices_.assign(n, TPolyVertex{});
    for (TPolyVertex& v : vertices_) {
        v.x = VertexCoordinate(w);
        v.y = VertexCoordinate(h);
        v.u = hostile && rng.Chance(10) ? Float(0, 1) : float(rng.Between(-2, tw + 2));
        v.v = hostile && rng.Chance(10) ? Float(0, 1) : float(rng.Between(-2, th + 2));
        v.colour = Colour();
        v.reserved0 = uint32_t(rng.Next());
    }
    *count = int32_t(n);
    *high = n ? int32_t(rng.Below(uint32_t(n))) : 0;
    if (hostile) {
        // Never more than the array holds: reading past it would be the host's fault.
        const int32_t counts[] = {0, 1, 2, -1, INT32_MIN, int32_t(n), int32_t(n / 2), -65536};
        *count = counts[rng.Below(8)];
        const int32_t highs[] = {-1, int32_t(n), INT32_MAX, INT32_MIN, *count, 0, *high};
        *high = highs[rng.Below(7)];
        if (rng.Chance(10)) return nullptr;
    }
    return n ? vertices_.data() : nullptr;
}

}  // namespace vxl::stress
