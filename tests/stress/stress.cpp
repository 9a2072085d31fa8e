// vxl_stress: loads a libvxl.so, finds its exports by name and calls them with hostile arguments in
// seeded runs, each in a forked child, so that every run starts from the freshly loaded library. A run
// keeps a model of the library's state (live, dead and made-up handles, windows) to aim arguments at,
// and checks the rules every answer keeps. A failure (crash, sanitizer report, hang, a process ended
// where it must live, a broken rule) prints the seed, the last calls and the command line that
// replays it, and ends the program with status 1.
//
//   vxl_stress --lib build-asan/src/libvxl.so --pictures DIR --seconds 60   seeds from the clock
//   vxl_stress --lib ... --seed 7 --calls 1234                                replays one run
//
// --seed N alone replays one run; with --seconds, seeds N, N+1, ... run until S seconds have passed.
// --pictures names a folder of picture files by reader (bmp, png, jpeg, alpha), as the fuzz corpus
// writer makes.
#include <SDL.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "abi.h"

// Sanitizer reports end a run with their own exit code, told apart from the library's exit(1).
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "exitcode=66:detect_leaks=0:max_allocation_size_mb=3072:print_summary=1";
}
extern "C" __attribute__((visibility("default"))) const char* __ubsan_default_options() {
    return "exitcode=66:print_stacktrace=1:halt_on_error=1";
}

using namespace vxl::stress;

namespace {

using ExportTable = void* [kExportCount];  // null where the library has no such export

struct RunOptions {
    unsigned long long seed = 1, calls = 3000;
    int full_screen_depth = 0;      // 0: a windowed run
    unsigned hang_seconds = 5;      // a call that takes longer is a hang
    std::string scratch, pictures;  // the run's working folder (made afresh) and the picture files' folder
};

// Memory a run shares with the parent, written as it goes so that it survives a crash, a sanitizer
// exit or a kill: the calls started, the last ones as text, and the failure the run found itself.
constexpr int kTraceLines = 16;
struct SharedRecord {
    unsigned long long calls;
    char failure[512];
    char trace[kTraceLines][240];
};
constexpr int kExitDetected = 3, kExitFatal = 4, kExitSanitizer = 66;  // how a run ends besides 0

bool MayFailLoudly(Id id) {
    return std::strchr(kExports[int(id)].flags, 'L') != nullptr;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Rng {  // splitmix64: the same numbers on every machine and compiler
    uint64_t state;
    uint64_t Next() {
        uint64_t z = state += 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return n ? uint32_t(Next() % n) : 0; }
    int32_t Between(int32_t lo, int32_t hi) { return int32_t(lo + int64_t(Next() % uint64_t(int64_t(hi) - lo + 1))); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }
};

template <typename T>
std::string Show(T v) {  // an argument as the trace shows it
    if constexpr (std::is_same_v<T, const char*>) {
        return v ? '"' + std::string(v).substr(0, 40) + '"' : "NULL";
    } else if constexpr (std::is_pointer_v<T>) {
        return v ? "&out" : "NULL";
    } else {
        return std::to_string(v);
    }
}

template <typename T>
int64_t Bits(T v) {  // an argument or answer as the checks see it
    if constexpr (std::is_pointer_v<T>) {
        return int64_t(reinterpret_cast<uintptr_t>(v));
    } else {
        return std::is_floating_point_v<T> ? 0 : int64_t(v);
    }
}

struct Buffer {
    int32_t handle, width, height, bytes_per_pixel;  // 0 bytes: the depth is not known
};

struct Files {
    std::vector<std::string> all, pictures, alphas, saves;
};

// The corpus's pictures by the reader they were made for, the names savers take, and names no reader
// can read: missing, empty, a folder. The run works on its own copy of the corpus, which its savers
// may overwrite; sorted, so that a seed draws the same names on every replay.
Files ListFiles(const std::string& folder) {
    Files f;
    f.saves = {"out.bmp", "out.jpg", "out.JPEG", "out.png"};
    f.all = {
        "missing.bmp", "missing", "",     "empty.png",           "dir.bmp",         "out.raw",
        "out.tga",     "noext",   ".png", "missing_dir/out.png", "dir.bmp/out.bmp", std::string(300, 'n') + ".bmp"};
    f.all.insert(f.all.end(), f.saves.begin(), f.saves.end());
    std::ofstream("empty.png");
    std::filesystem::create_directory("dir.bmp");
    std::error_code ignored;
    if (!folder.empty() && std::filesystem::exists(folder)) {
        std::filesystem::copy(folder, "corpus", std::filesystem::copy_options::recursive);
        for (const auto& entry : std::filesystem::recursive_directory_iterator("corpus")) {
            const std::string reader = entry.path().parent_path().filename();
            f.all.push_back(entry.path());
            if (reader == "alpha") f.alphas.push_back(entry.path());
            if (reader == "bmp" || reader == "png" || reader == "jpeg") f.pictures.push_back(entry.path());
        }
    }
    for (auto* names : {&f.all, &f.pictures, &f.alphas}) std::sort(names->begin(), names->end());
    return f;
}

struct Context {
    // The seed is mixed first, or seed n + 1 would draw seed n's numbers shifted by one.
    Context(const RunOptions& o, const ExportTable& exports, SharedRecord* shared)
        : options(o),
          rng{Rng{o.seed * 0x632BE59BD9B4E019ull}.Next()},
          record(shared),
          files(ListFiles(o.pictures)),
          exports_(exports) {}

    [[noreturn]] void Fail(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(record->failure, sizeof record->failure, format, args);
        va_end(args);
        std::fflush(nullptr);
        _exit(kExitDetected);
    }

    bool Has(Id id) const { return exports_[int(id)] != nullptr; }

    // Calls export `id` after writing it to the trace; each call has the hang limit to return.
    template <typename Sig, typename... A>
    auto Call(Id id, A... args) {
        std::string text = ExportName(id);
        text += '(';
        ((text += Show(args) + ", "), ...);
        if (sizeof...(A)) text.resize(text.size() - 2);
        Trace(text + ")");
        last = id;
        alarm(options.hang_seconds);
        return reinterpret_cast<Sig*>(exports_[int(id)])(args...);
    }

    void Trace(const std::string& text) {
        const uint64_t n = call_index++;
        std::snprintf(record->trace[n % kTraceLines], sizeof record->trace[0], "#%llu %s",
                      static_cast<unsigned long long>(n), text.c_str());
        record->calls = n + 1;
    }

    // ---- the model ----
    Buffer* Find(int32_t handle) {
        auto it = std::find_if(live.begin(), live.end(), [&](const Buffer& b) { return b.handle == handle; });
        return it == live.end() ? nullptr : &*it;
    }
    void Issued(int32_t handle) {  // a creation call answered with this handle
        std::erase(dead, handle);
        std::erase(limbo, handle);
        std::erase_if(live, [&](const Buffer& b) { return b.handle == handle; });
        highest_issued = std::max(highest_issued, handle);
        const int32_t w = Call<sig::BufferSizeX>(Id::BufferSizeX, handle);
        const int32_t h = Call<sig::BufferSizeY>(Id::BufferSizeY, handle);
        const int32_t depth = Has(Id::GlobalBpp) ? Call<sig::GlobalBpp>(Id::GlobalBpp) : 0;
        if (w <= 0 || h <= 0) Fail("a new buffer, handle %d, has the size %d x %d", handle, w, h);
        live.push_back(Buffer{handle, w, h, depth == 15 ? 2 : depth / 8});
    }
    void Closed(int32_t handle, bool known_dead = true) {
        // A failed call may or may not have destroyed its buffer: it is then in limbo.
        if (std::erase_if(live, [&](const Buffer& b) { return b.handle == handle; }))
            (known_dead ? dead : limbo).push_back(handle);
    }
    // The whole block the host may address is there: its first and last bytes are read and written back.
    void Touch(int32_t handle, int64_t pointer, bool alpha) {
        const Buffer* b = Find(handle);
        const int64_t bytes = b ? int64_t(b->width) * b->height * (alpha ? 1 : b->bytes_per_pixel) : 0;
        if (!pointer || bytes <= 0) return;
        volatile uint8_t* p = reinterpret_cast<volatile uint8_t*>(pointer);
        p[0] = p[0];
        p[bytes - 1] = p[bytes - 1];
    }
    void OpenDisplay() {  // the run's own kind of display, at a sensible size
        const int32_t depth = options.full_screen_depth;
        Call<sig::InitVexel>(Id::InitVexel, host_id, depth ? 640 : 320, depth ? 480 : 240, depth, depth ? 1 : 0);
    }
    void HostAction() {  // the host destroys its window and makes another
        dead_windows.push_back(host_id);
        SDL_DestroyWindow(host);
        host = SDL_CreateWindow("stress host", 0, 0, 320, 240, 0);
        host_id = host ? SDL_GetWindowID(host) : 0;
        Trace("host: destroyed window " + std::to_string(dead_windows.back()) + ", made " + std::to_string(host_id));
    }

    // ---- argument generators ----
    int64_t Pick(std::initializer_list<int64_t> values, size_t first = 0) {  // one of the first values
        return values.begin()[rng.Below(uint32_t(first ? first : values.size()))];
    }
    int32_t Handle() {  // live, dead, never issued, negative, huge
        const uint32_t r = rng.Below(100);
        if (r < 72 && !live.empty()) return live[rng.Below(uint32_t(live.size()))].handle;
        if (r < 82 && !dead.empty()) return dead[rng.Below(uint32_t(dead.size()))];
        if (rng.Chance(15)) return rng.Between(0, 64);
        return int32_t(Pick({highest_issued + 1 + int64_t(rng.Below(3)), -1, INT32_MIN, INT32_MAX, 0, 65536}));
    }
    int32_t Coordinate(int32_t extent) {  // around a side of `extent`, and the ends of the range
        extent = std::max(extent, 1);
        if (hostile && rng.Chance(58)) {
            return int32_t(Pick({0, -1, extent - 1, extent, extent + 1, 65536, -65536, INT32_MAX, INT32_MIN,
                                 INT32_MAX - 1, INT32_MIN + 1, 1, -extent, 1 << 30}));
        }
        if (!hostile && rng.Chance(10)) return rng.Chance(50) ? 0 : extent - 1;
        return rng.Between(-extent / 4, extent + extent / 4);
    }
    int32_t Side(int32_t handle, bool width) {
        const Buffer* b = Find(handle);
        return Coordinate(b ? (width ? b->width : b->height) : (width ? 320 : 240));
    }
    int32_t Size(bool careful_size) {  // a buffer's or a display's side
        if (careful_size || !hostile) return rng.Chance(25) ? 64 : rng.Chance(7) ? 1 : rng.Between(1, 200);
        return rng.Chance(58) ? int32_t(Pick({0, -1, INT32_MAX, INT32_MIN, 65536, 1, 2})) : rng.Between(1, 400);
    }
    void SizePair(bool careful_size, int32_t* w, int32_t* h) {
        *w = Size(careful_size);
        *h = Size(careful_size);
        // A huge side with a large other one would be a valid picture of hundreds of megabytes.
        if (*w == 65536 && *h > 4 && *h != 65536 && *h != INT32_MAX) *h = int32_t(rng.Below(4)) + 1;
        if (*h == 65536 && *w > 4 && *w != 65536 && *w != INT32_MAX) *w = int32_t(rng.Below(4)) + 1;
    }
    uint32_t Colour() { return rng.Chance(75) ? uint32_t(rng.Next()) : uint32_t(Pick({0, 0xFFFFFFFF})); }
    float Float(float lo, float hi) {
        using F = std::numeric_limits<float>;
        const float odd[] = {F::quiet_NaN(), -F::quiet_NaN(), F::infinity(), -F::infinity(), 0.0f,
                             -0.0f,          1e-40f,          F::max(),      -F::max(),      1e10f,
                             -1e10f,         65536.0f,        2147483648.0f, -2147483904.0f, 1e-6f};
        if (hostile && rng.Chance(35)) return odd[rng.Below(std::size(odd))];
        return lo + (hi - lo) * float(rng.Below(1 << 20)) / float(1 << 20);
    }
    const char* File() { return rng.Chance(4) ? nullptr : files.all[rng.Below(uint32_t(files.all.size()))].c_str(); }
    // A name from `fitting` `percent` times in a hundred, else any file name or null.
    const char* Named(const std::vector<std::string>& fitting, uint32_t percent) {
        return rng.Chance(percent) && !fitting.empty() ? fitting[rng.Below(uint32_t(fitting.size()))].c_str() : File();
    }
    const char* Text() {
        static const std::string kLong(4096, 'W');
        const char* texts[] = {
            "", "A", "Hello, VXL!", kLong.c_str(), "\xff\xfe\x80\x81 high bytes", "%s%n%x%d%p", "tab\tand\nnew line"};
        return rng.Chance(8) ? nullptr : texts[rng.Below(std::size(texts))];
    }
    uint32_t Window() {
        if (!hostile || rng.Chance(70)) return host_id;
        const std::vector<uint32_t>& seen = rng.Chance(50) ? library_windows : dead_windows;
        if (!seen.empty() && rng.Chance(55)) return seen[rng.Below(uint32_t(seen.size()))];
        return uint32_t(Pick({0, 0xFFFFFFFF, INT32_MAX, host_id + 1000}));
    }
    // A vertex array of the real length (null when empty) for a polygon on `target`: the count and the
    // top vertex passed with it never claim more than it holds, as reading past it would be the host's fault.
    const TPolyVertex* Vertices(int32_t target, int32_t texture) {
        const size_t n = rng.Chance(90)   ? (rng.Chance(50) ? 3 : rng.Below(17))
                         : rng.Chance(90) ? 17 + rng.Below(240)
                                          : 4096;
        const Buffer *b = Find(target), *t = Find(texture);
        const int32_t w = b ? b->width : 320, h = b ? b->height : 240, tw = t ? t->width : 64, th = t ? t->height : 64;
        auto coordinate = [&](int32_t lo, int32_t hi) {
            return hostile && rng.Chance(10) ? Float(0, 1) : float(rng.Between(lo, hi)) + float(rng.Below(256)) / 256;
        };
        vertices_.assign(n, TPolyVertex{});
        for (TPolyVertex& v : vertices_) {
            const float x = coordinate(-w / 4, w + w / 4), y = coordinate(-h / 4, h + h / 4);
            v = {x, y, uint32_t(rng.Next()), coordinate(-2, tw + 2), coordinate(-2, th + 2)};
            v.colour = Colour();
        }
        count_ = int32_t(n);
        high_ = int32_t(rng.Below(uint32_t(n)));
        if (hostile) {
            count_ = int32_t(Pick({0, 1, 2, -1, INT32_MIN, int64_t(n), int64_t(n / 2), -65536}));
            high_ = int32_t(Pick({-1, int64_t(n), INT32_MAX, INT32_MIN, count_, 0, high_}));
            if (rng.Chance(10)) return nullptr;
        }
        return n ? vertices_.data() : nullptr;
    }
    template <typename T>
    T* Out(size_t bytes = sizeof(T)) {  // null, or exactly sized on the heap so that a write past it shows
        if (rng.Chance(15) || bytes == 0 || bytes > (1u << 20)) return nullptr;
        outs_.emplace_back(std::make_unique<uint8_t[]>(bytes));
        return reinterpret_cast<T*>(outs_.back().get());
    }

    int64_t Number(char kind) {                     // an integer argument of this kind (abi.h lists them)
        static const char kKnown[] = "hdknuvDlWq";  // decided before: buffers, vertices, a request, out size
        const int64_t known[] = {h_,          dst_,        high_,       count_,      request_[0],
                                 request_[1], request_[2], request_[3], request_[4], text_size_};
        if (const char* at = std::strchr(kKnown, kind)) return known[at - kKnown];
        static const char kSides[] = "xyXYrR", kScreens[] = "stmM";  // h's and d's sides, halves; screens
        if (const char* at = std::strchr(kSides, kind)) {
            const int i = int(at - kSides);
            return Side(i == 2 || i == 3 ? dst_ : h_, i % 2 == 0) / (i < 4 ? 1 : 2);
        }
        const int32_t screens[] = {320, 240, 1024, 768};
        if (const char* at = std::strchr(kScreens, kind)) return Coordinate(screens[at - kScreens]);
        switch (kind) {
            // clang-format off
            case 'c': return Colour();
            case 'o': return hostile && rng.Chance(50) ? Pick({-1, 0, 255, 256, INT32_MAX, INT32_MIN, 128, 1000})
                                                       : rng.Between(0, 255);
            case 'f': return hostile ? Pick({0, 1, -1, 2, INT32_MIN, INT32_MAX}) : rng.Below(2);
            case 'K': return hostile ? Pick({-1, 256, INT32_MAX, INT32_MIN, 65536, 0, 255}) : rng.Between(0, 255);
            case 'b': return hostile ? Pick({0, -1, 1, INT32_MIN, INT32_MAX, 65536, 1 << 20, 2}) : rng.Between(0, 64);
            case 'e': return Pick({0, 1, 2, 3, 5, 20, 21, -1, INT32_MIN, INT32_MAX}, hostile ? 10 : 6);
            case 'g': return Pick({0, 1, 1, -1, 2, INT32_MIN}, hostile ? 6 : 3);  // only 0 and 1 are modes
            case 'p': return Pick({0, 10, 14, 24, 64, -1, 1025, INT32_MIN}, hostile ? 8 : 5);
                // clang-format on
        }
        Fail("no generator for the argument kind '%c'", kind);
    }
    const char* Name(char kind) {                             // a text or file name argument of this kind
        const bool careful = options.full_screen_depth != 0;  // a failure ends a full-screen run
        static const char* const kPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
        const char* fonts[] = {nullptr, "DejaVu Sans", "monospace", "DejaVu Serif:bold", kPath, "No Such Font", ""};
        if (kind == 'T') return Text();
        if (kind == 'N') return rng.Below(hostile ? 8 : 5) < 7 ? fonts[rng.Below(hostile ? 7 : 5)] : File();
        if (kind == 'P') return Named(files.pictures, careful ? 90 : 35);
        if (kind == 'S') return Named(files.saves, careful ? 95 : 50);
        return kind == 'A' ? Named(files.alphas, careful ? 90 : 50) : File();
    }

    // What a call needs decided before its arguments: room for a new buffer, a display's request.
    void Prepare(Id id) {
        const bool careful = options.full_screen_depth != 0;
        if (id == Id::SetupBuffer || id == Id::SetupImageBuffer) {
            if (live.size() >= 24) {
                const int32_t old = live[rng.Below(uint32_t(live.size()))].handle;
                Call<sig::CloseBuffer>(Id::CloseBuffer, old);
                Closed(old);
            }
            SizePair(careful, &request_[0], &request_[1]);
        } else if (id == Id::InitVexel || id == Id::InitVexelWindow) {
            SizePair(true, &request_[0], &request_[1]);
            request_[2] =
                int32_t(hostile ? Pick({0, 8, 15, 16, 24, 32, -1, 33, INT32_MAX, INT32_MIN}) : Pick({0, 16, 32}));
            request_[3] = 0;
            request_[4] = int32_t(Window());
            if (careful ? rng.Chance(80) : rng.Below(1000) < 5) {
                request_ = {640, 480, careful ? options.full_screen_depth : 16 + 8 * int32_t(rng.Below(3)), 1,
                            int32_t(host_id)};
            } else if (hostile) {
                SizePair(false, &request_[0], &request_[1]);
            }
        }
    }

    template <typename P>
    P Arg(char kind) {
        if constexpr (std::is_same_v<P, float>) {
            return kind == 'z' ? Float(0.1f, 3.0f) : Float(-7.0f, 7.0f);
        } else if constexpr (std::is_same_v<P, const char*>) {
            return Name(kind);
        } else if constexpr (std::is_same_v<P, const TPolyVertex*>) {
            return Vertices(dst_, h_);
        } else if constexpr (std::is_same_v<P, char*>) {
            text_size_ = int32_t(Pick({1, 2, 3, 8, 64, 0, -1, INT32_MIN}, hostile ? 8 : 5));
            return Out<char>(size_t(std::max(text_size_, 0)));
        } else if constexpr (std::is_pointer_v<P>) {
            return Out<std::remove_pointer_t<P>>();
        } else {
            return P(Number(kind));
        }
    }
    template <typename R, typename... P>
    static auto ArgumentIndices(R (*)(P...)) {
        return std::index_sequence_for<P...>();
    }
    // Calls export `id` with arguments drawn by `kinds` (kept in `args_`); answers the result's bits.
    template <typename R, typename... P, size_t... I>
    int64_t CallWith(Id id, const char* kinds, R (*)(P...), std::index_sequence<I...>) {
        if (std::strlen(kinds) != sizeof...(P)) Fail("%s: its row needs one kind per parameter", ExportName(id));
        const std::tuple<P...> args{Arg<P>(kinds[I])...};  // braced: drawn left to right
        ((args_[I] = Bits(std::get<I>(args))), ...);
        if constexpr (std::is_void_v<R>) {
            Call<R(P...)>(id, std::get<I>(args)...);
            return 0;
        } else {
            return Bits(Call<R(P...)>(id, std::get<I>(args)...));
        }
    }

    void Generate(Id id) {  // one call of `id` with generated arguments, checks included
        const ExportRow& row = kExports[int(id)];
        h_ = Handle();
        dst_ = rng.Chance(10) ? h_ : Handle();
        if (MayFailLoudly(id) && row.kinds[0] == 'h') pending_handle = h_;
        Prepare(id);
        int64_t answer = 0;
        switch (id) {
#define VXL_STRESS_CASE(name, ...)                                            \
    case Id::name:                                                            \
        answer = CallWith(id, row.kinds, static_cast<sig::name*>(nullptr),    \
                          ArgumentIndices(static_cast<sig::name*>(nullptr))); \
        break;
            VXL_STRESS_EXPORTS(VXL_STRESS_CASE)
#undef VXL_STRESS_CASE
            case Id::kCount:
                break;
        }
        if (std::strchr(row.flags, 'Q') && answer && !Find(h_) && !std::count(limbo.begin(), limbo.end(), h_)) {
            Fail("dead handle %d answered %s with 0x%llx instead of 0", h_, row.name, (unsigned long long)answer);
        }
        Check(id, answer);
    }

    // The rules every answer keeps, whatever the arguments (the input extensions' answers to arguments
    // out of range have their own tests).
    void Check(Id id, int64_t answer) {
        const int32_t n = int32_t(answer);
        const Buffer* buffer = Find(h_);
        if (id == Id::AlphaPointer || id == Id::BufferPointer) Touch(h_, answer, id == Id::AlphaPointer);
        if (buffer && (id == Id::BufferSizeX || id == Id::BufferSizeY)) {
            const int32_t want = id == Id::BufferSizeX ? buffer->width : buffer->height;
            if (n != want) Fail("%s(%d) answered %d, the buffer was made %d", ExportName(id), h_, n, want);
        }
        if (id == Id::CloseBuffer) Closed(h_);
        // A failure in error mode 1 answers -1 and leaves its text (checked after the call); any other
        // answer is a new buffer.
        const bool creation = id == Id::SetupImageBuffer || id == Id::SetupBuffer;
        if (creation &&
            !(n == -1 && error_mode == 1 && Has(Id::VxlLastError) && *Call<sig::VxlLastError>(Id::VxlLastError)))
            Issued(n);
        if (id == Id::InitVexelWindow && n) library_windows.push_back(uint32_t(n));
        for (Id query : {Id::VexelSizeX, Id::VexelSizeY, Id::GlobalBpp, Id::DoEvents}) {
            // A closed display answers 0 to every question about it.
            if (id == Id::CloseVexel && Has(query) && Call<sig::GlobalBpp>(query) != 0) {
                Fail("after CloseVexel, %s did not answer 0", ExportName(query));
            }
        }
        if (id == Id::VxlSetErrorMode && (args_[0] == 0 || args_[0] == 1)) error_mode = int32_t(args_[0]);
        if (id == Id::VxlLastError && (!answer || std::strlen(reinterpret_cast<const char*>(answer)) > 8192)) {
            Fail("VxlLastError gave no readable text");
        }
        if (id == Id::VxlClearError && Has(Id::VxlLastError) && *Call<sig::VxlLastError>(Id::VxlLastError)) {
            Fail("VxlLastError is not empty after VxlClearError");
        }
    }

    // A fatal error leaves its message in the log and, in error mode 0, the call through an exception;
    // in error mode 1 the call returns and VxlLastError holds the message. Failures of the picture and
    // file classes leave no log line. Either way the run goes on with a display.
    void Survive(Id id, const char* what) {
        if (!MayFailLoudly(id)) Fail("%s failed, but it never fails loudly: %s", ExportName(id), what);
        const std::string log = ReadFile("VXL_ERR.txt");
        if (!log.empty() && log != std::string(what) + "\r\n") {
            Fail("%s failed with \"%s\" but VXL_ERR.txt holds \"%s\"", ExportName(id), what, log.c_str());
        }
        std::remove("VXL_ERR.txt");  // the next fatal error must write a fresh line
        if (pending_handle >= 0 && id != Id::SetupBuffer && id != Id::SetupImageBuffer) Closed(pending_handle, false);
        if (Has(Id::VexelSizeX) && Call<sig::VexelSizeX>(Id::VexelSizeX) == 0 && Has(Id::InitVexel)) {
            try {
                OpenDisplay();
            } catch (const std::exception& e) {
                Fail("re-opening the display after a fatal error failed: %s", e.what());
            }
        }
    }

    // The library ended the process: that is designed only for a full-screen fatal error in error
    // mode 0, from a call that may fail loudly, after writing its one log line.
    void Exited() {
        if (error_mode == 1) Fail("the process ended in error mode 1, in %s", ExportName(last));
        const std::string log = ReadFile("VXL_ERR.txt");
        if (log.empty() || log.find("\r\n") != log.size() - 2)
            Fail("the process ended without a fresh one-line VXL_ERR.txt");
        if (!MayFailLoudly(last))
            Fail("the process ended (fatal error \"%s\") in %s, which never fails loudly", log.c_str(),
                 ExportName(last));
        std::fflush(nullptr);
        _exit(kExitFatal);
    }

    void Go() {
        // Each export is picked by its weight; creation calls need the two size queries.
        const bool sized = Has(Id::BufferSizeX) && Has(Id::BufferSizeY);
        std::vector<int> cumulative;
        for (int i = 0; i < kExportCount; ++i) {
            const bool creation = Id(i) == Id::SetupBuffer || Id(i) == Id::SetupImageBuffer;
            cumulative.push_back((i ? cumulative.back() : 0) +
                                 (exports_[i] && (sized || !creation) ? kExports[i].weight : 0));
        }
        try {
            if (Has(Id::InitVexel)) OpenDisplay();
            if (Has(Id::SetupBuffer) && sized) {
                for (auto [w, h] : {std::pair{64, 64}, {320, 240}, {37, 19}, {6, 4}})
                    Issued(Call<sig::SetupBuffer>(Id::SetupBuffer, w, h, 0));
            }
        } catch (const std::exception& e) {
            Fail("setting up the run's display and buffers failed: %s", e.what());
        }
        while (call_index < options.calls && cumulative.back() > 0) {
            if (rng.Below(1000) < 2) {
                HostAction();
                continue;
            }
            const int pick = int(rng.Below(uint32_t(cumulative.back())));
            const Id id = Id(std::upper_bound(cumulative.begin(), cumulative.end(), pick) - cumulative.begin());
            hostile = rng.Chance(40);
            pending_handle = -1;
            try {
                Generate(id);
                // In error mode 1 a call that failed has returned: its text is the last error.
                const char* what = error_mode == 1 && Has(Id::VxlLastError) && Has(Id::VxlClearError)
                                       ? Call<sig::VxlLastError>(Id::VxlLastError)
                                       : "";
                if (*what) {
                    const std::string text = what;
                    Call<sig::VxlClearError>(Id::VxlClearError);
                    Survive(id, text.c_str());
                }
            } catch (const std::exception& e) {
                if (error_mode == 1) Fail("%s raised an exception in error mode 1: %s", ExportName(id), e.what());
                Survive(id, e.what());
                if (Has(Id::VxlClearError)) Call<sig::VxlClearError>(Id::VxlClearError);  // seen; not for later
            } catch (...) {
                Fail("%s raised something that is not a std::exception", ExportName(id));
            }
            outs_.clear();
        }
        finished = true;
    }

    const RunOptions options;
    Rng rng;
    SharedRecord* const record;
    Files files;
    SDL_Window* host = nullptr;
    uint32_t host_id = 0;
    std::vector<uint32_t> dead_windows, library_windows;
    std::vector<Buffer> live;
    std::vector<int32_t> dead, limbo;  // limbo: a failed call may have destroyed these
    int32_t pending_handle = -1;       // the buffer a call that may fail loudly works on
    int32_t error_mode = 0;            // as last set: 1 turns failures into values
    bool hostile = false;              // this call's arguments come from the hostile ranges
    bool finished = false;
    int32_t highest_issued = -1;
    uint64_t call_index = 0;
    Id last = Id::kCount;

    const ExportTable& exports_;
    int32_t h_ = -1, dst_ = -1, high_ = 0, count_ = 0, text_size_ = 0;
    std::array<int32_t, 5> request_{};  // width, height, depth, full screen, window
    std::array<int64_t, 12> args_{};
    std::vector<std::unique_ptr<uint8_t[]>> outs_;
    std::vector<TPolyVertex> vertices_;
};

Context* g_run = nullptr;

[[noreturn]] void Run(const RunOptions& options, const ExportTable& exports, SharedRecord* record) {
    std::error_code ignored;
    std::filesystem::remove_all(options.scratch, ignored);
    std::filesystem::create_directories(options.scratch, ignored);
    if (::chdir(options.scratch.c_str()) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::strcpy(record->failure, "cannot enter the run's folder or start SDL's video");
        _exit(kExitDetected);
    }
    static Context c(options, exports, record);
    g_run = &c;
    std::atexit([] {
        if (!g_run->finished) g_run->Exited();
    });
    c.host = SDL_CreateWindow("stress host", 0, 0, 320, 240, 0);
    c.host_id = c.host ? SDL_GetWindowID(c.host) : 0;
    c.Go();
    alarm(0);
    std::fflush(nullptr);
    _exit(0);
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// What ended a run, or empty where it ended as designed.
std::string Outcome(int status, const SharedRecord& record, unsigned hang_seconds) {
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
        return "hang: the last call did not return within " + std::to_string(hang_seconds) + " s";
    }
    if (WIFSIGNALED(status)) {
        return "crash: killed by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    }
    const int code = WEXITSTATUS(status);
    if (code == kExitDetected) return record.failure;
    if (code == kExitSanitizer) return "sanitizer report (printed above)";
    return code == 0 || code == kExitFatal ? "" : "unexpected exit code " + std::to_string(code);
}

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: vxl_stress --lib PATH [--pictures DIR] [--seed N] [--calls K] [--seconds S]\n"
                 "         [--hang-seconds H] [--all-exports]\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    RunOptions run;
    run.scratch = "/tmp/vxl_stress_" + std::to_string(::getpid());
    run.seed = uint64_t(std::time(nullptr)) * 1000 + uint64_t(::getpid()) % 1000;
    std::string lib;
    bool all_exports = false;
    double seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const std::string kValued = " --lib --pictures --seed --calls --seconds --hang-seconds ";
        if (a == "--all-exports" && (all_exports = true)) continue;
        if (i + 1 >= argc || kValued.find(" " + a + " ") == std::string::npos) Usage();
        const std::string v = argv[++i];
        if (a == "--lib") lib = v;
        if (a == "--pictures") run.pictures = std::filesystem::absolute(v);
        if (a == "--seed") run.seed = std::stoull(v);
        if (a == "--calls") run.calls = std::stoull(v);
        if (a == "--seconds") seconds = std::stod(v);
        if (a == "--hang-seconds") run.hang_seconds = unsigned(std::stoul(v));
    }
    if (lib.empty()) Usage();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    void* library = ::dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "vxl_stress: cannot load %s: %s\n", lib.c_str(), ::dlerror());
        return 2;
    }
    static ExportTable exports = {};
    int present = 0;
    for (int i = 0; i < kExportCount; ++i) {
        exports[i] = ::dlsym(library, ExportName(Id(i)));
        present += exports[i] != nullptr;
        if (!exports[i] && all_exports) std::printf("vxl_stress: %s is not exported\n", ExportName(Id(i)));
    }
    if (all_exports && present < kExportCount) return 1;
    auto* record = static_cast<SharedRecord*>(
        ::mmap(nullptr, sizeof(SharedRecord), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (record == MAP_FAILED) return 2;

    std::printf("vxl_stress: %s, %d of %d exports present, %s%llu, %llu calls per run\n", lib.c_str(), present,
                kExportCount, seconds > 0 ? "first seed " : "seed ", run.seed, run.calls);
    const double start = Now();
    unsigned long long runs = 0, calls = 0;
    std::string failure;
    do {
        static const int kDepths[] = {15, 16, 24, 32};  // one run in four is full screen
        run.full_screen_depth = run.seed % 4 == 3 ? kDepths[(run.seed / 4) % 4] : 0;
        std::memset(static_cast<void*>(record), 0, sizeof *record);
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) Run(run, exports, record);
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return 2;
        failure = Outcome(status, *record, run.hang_seconds);
        ++runs;
        calls += record->calls;
        if (!failure.empty()) {
            std::printf("\nFAILURE seed=%llu (full-screen depth %d): %s\nlast calls (the last is where it happened):\n",
                        run.seed, run.full_screen_depth, failure.c_str());
            for (uint64_t n = record->calls > kTraceLines ? record->calls - kTraceLines : 0; n < record->calls; ++n) {
                std::printf("  %s\n", record->trace[n % kTraceLines]);
            }
            std::printf("replay: %s --lib %s%s%s --seed %llu --calls %llu\n", argv[0], lib.c_str(),
                        run.pictures.empty() ? "" : " --pictures ", run.pictures.c_str(), run.seed, record->calls);
            break;
        }
        ++run.seed;
    } while (seconds > 0 && Now() - start < seconds);

    std::printf("vxl_stress: %llu runs, %llu calls in %.1f s\n", runs, calls, Now() - start);
    std::printf("%llu passed, %d failed\n", runs - !failure.empty(), !failure.empty());
    std::error_code ignored;
    std::filesystem::remove_all(run.scratch, ignored);
    return failure.empty() ? 0 : 1;
}
