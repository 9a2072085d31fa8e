// One run, in a forked child: a host window under SDL's dummy driver, the run's display, a few
// buffers, then seeded calls with arguments drawn by the kinds of each export's row. The run keeps a
// model of the library's state (live, dead and made-up handles, windows) to aim arguments at, and
// checks the rules every answer keeps.
#include "run.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace vxl::stress {
namespace {

template <typename Sig>
struct Arity;
template <typename R, typename... P>
struct Arity<R(P...)> : std::integral_constant<size_t, sizeof...(P)> {};
#define VXL_STRESS_ARITY(name, weight, flags, kinds) \
    static_assert(sizeof(kinds) - 1 == Arity<sig::name>::value, #name ": one kind per parameter");
VXL_STRESS_EXPORTS(VXL_STRESS_ARITY)
#undef VXL_STRESS_ARITY

bool MayFailLoudly(Id id) {
    return std::strchr(kExports[int(id)].flags, 'L') != nullptr;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Rng {
public:
    // The seed is mixed first, or seed n + 1 would replay seed n's numbers shifted by one.
    explicit Rng(uint64_t seed) : state_(Mix(seed + 0x632BE59BD9B4E019ull)) {}
    uint64_t Next() { return Mix(state_ += 0x9E3779B97F4A7C15ull); }  // splitmix64: the same everywhere
    uint32_t Below(uint32_t n) { return n ? uint32_t(Next() % n) : 0; }
    int32_t Between(int32_t lo, int32_t hi) { return int32_t(lo + int64_t(Next() % uint64_t(int64_t(hi) - lo + 1))); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }

private:
    static uint64_t Mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t state_;
};

// An argument as the trace shows it.
std::string Show(const char* s) {
    if (!s) return "NULL";
    std::string t = "\"";
    for (size_t i = 0; s[i] && i < 40; ++i) {
        char b[8];
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::snprintf(b, sizeof b, c >= 32 && c < 127 && c != '"' ? "%c" : "\\x%02x", c);
        t += b;
    }
    return t + (std::strlen(s) > 40 ? "...\"" : "\"");
}
template <typename T>
std::string Show(T v) {
    char b[32];
    if constexpr (std::is_pointer_v<T>) {
        std::snprintf(b, sizeof b, v ? "&out" : "NULL");
    } else if constexpr (std::is_floating_point_v<T>) {
        std::snprintf(b, sizeof b, "%gf", double(v));
    } else {
        std::snprintf(b, sizeof b, std::is_same_v<T, uint32_t> ? "0x%llx" : "%lld", static_cast<long long>(v));
    }
    return b;
}

template <typename T>
int64_t Bits(T v) {
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
// can read: missing, empty, a folder. Sorted, so that a seed draws the same names on every replay.
Files ListFiles(const std::string& folder) {
    Files f;
    f.saves = {"out.bmp", "out.jpg", "out.JPEG", "out.png"};
    f.all = {"missing.bmp", "missing", "", "empty.png", "dir.bmp", "out.raw", "out.tga", "noext", ".png",
             "missing_dir/out.png", "dir.bmp/out.bmp", std::string(300, 'n') + ".bmp"};
    f.all.insert(f.all.end(), f.saves.begin(), f.saves.end());
    std::ofstream("empty.png");
    std::filesystem::create_directory("dir.bmp");
    std::error_code ignored;
    if (!folder.empty()) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
            const std::string reader = entry.path().parent_path().filename();
            f.all.push_back(entry.path());
            if (reader == "alpha") f.alphas.push_back(entry.path());
            if (reader == "bmp" || reader == "png" || reader == "jpeg") f.pictures.push_back(entry.path());
        }
    }
    for (auto* names : {&f.all, &f.pictures, &f.alphas}) std::sort(names->begin(), names->end());
    return f;
}

class Context {
public:
    Context(const RunOptions& o, const ExportTable& exports, SharedRecord* shared)
        : options(o), rng(o.seed), record(shared), files(ListFiles(o.pictures)), exports_(exports) {}

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
    void Drop(std::vector<int32_t>& list, int32_t handle) { list.erase(std::remove(list.begin(), list.end(), handle), list.end()); }
    void Issued(int32_t handle) {  // a creation call answered with this handle
        Drop(dead, handle);
        Drop(limbo, handle);
        if (Buffer* b = Find(handle)) live.erase(live.begin() + (b - live.data()));
        highest_issued = std::max(highest_issued, handle);
        const int32_t w = Call<sig::BufferSizeX>(Id::BufferSizeX, handle);
        const int32_t h = Call<sig::BufferSizeY>(Id::BufferSizeY, handle);
        const int32_t depth = Has(Id::GlobalBpp) ? Call<sig::GlobalBpp>(Id::GlobalBpp) : 0;
        if (w <= 0 || h <= 0) Fail("a new buffer, handle %d, has the size %d x %d", handle, w, h);
        live.push_back(Buffer{handle, w, h, depth == 15 ? 2 : depth / 8});
    }
    void Closed(int32_t handle, bool known_dead = true) {
        if (Buffer* b = Find(handle)) {
            live.erase(live.begin() + (b - live.data()));
            (known_dead ? dead : limbo).push_back(handle);  // a failed call may or may not have destroyed it
        }
    }
    void Created(int32_t handle) {
        if (handle == -1 && error_mode == 1) {  // a failure: its text is checked after the call
            if (Has(Id::VxlLastError) && !*Call<sig::VxlLastError>(Id::VxlLastError)) {
                Fail("a creation call answered -1 in error mode 1, but VxlLastError is empty");
            }
            return;
        }
        Issued(handle);
    }
    void ExpectDeadAnswer(const char* query, int32_t handle, int64_t answer) {
        if (!Find(handle) && std::count(limbo.begin(), limbo.end(), handle) == 0 && answer != 0) {
            Fail("dead handle %d answered %s with 0x%llx instead of 0", handle, query,
                 static_cast<unsigned long long>(answer));
        }
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
        const float odd[] = {F::quiet_NaN(), -F::quiet_NaN(), F::infinity(), -F::infinity(), 0.0f, -0.0f, 1e-40f,
                             F::max(), -F::max(), 1e10f, -1e10f, 65536.0f, 2147483648.0f, -2147483904.0f, 1e-6f};
        if (hostile && rng.Chance(35)) return odd[rng.Below(std::size(odd))];
        return lo + (hi - lo) * float(rng.Below(1 << 20)) / float(1 << 20);
    }
    const char* File() { return rng.Chance(4) ? nullptr : files.all[rng.Below(uint32_t(files.all.size()))].c_str(); }
    // A name from `fitting` `percent` times in a hundred, else any file name or null.
    const char* Named(const std::vector<std::string>& fitting, uint32_t percent) {
        return rng.Chance(percent) && !fitting.empty() ? fitting[rng.Below(uint32_t(fitting.size()))].c_str() : File();
    }
    const char* Text() {
        static const std::string texts[] = {"", "A", "Hello, VXL!", std::string(4096, 'W'), "\xff\xfe\x80\x81 high bytes",
                                            "%s%n%x%d%p", "tab\tand\nnew line"};
        return rng.Chance(8) ? nullptr : texts[rng.Below(std::size(texts))].c_str();
    }
    uint32_t Window() {
        const uint32_t r = rng.Below(100);
        if (r < 70 || !hostile) return host_id;
        if (r < 78 && !library_windows.empty()) return library_windows[rng.Below(uint32_t(library_windows.size()))];
        if (r < 86 && !dead_windows.empty()) return dead_windows[rng.Below(uint32_t(dead_windows.size()))];
        return uint32_t(Pick({0, 0xFFFFFFFF, INT32_MAX, host_id + 1000}));
    }
    // A vertex array of the real length (null when empty) for a polygon on `target`: the count and the
    // top vertex passed with it never claim more than it holds, as reading past it would be the host's fault.
    const TPolyVertex* Vertices(int32_t target, int32_t texture) {
        const uint32_t r = rng.Below(1000);
        const size_t n = r < 50 ? 0 : r < 100 ? 1 : r < 150 ? 2 : r < 600 ? 3 : r < 800 ? 4
                       : r < 960 ? rng.Between(5, 16) : r < 997 ? rng.Between(17, 256) : 4096;
        const Buffer *b = Find(target), *t = Find(texture);
        auto coordinate = [&](int32_t extent) {
            return hostile && rng.Chance(10) ? Float(0, 1)
                                             : float(rng.Between(-extent / 4, extent + extent / 4)) + float(rng.Below(256)) / 256.0f;
        };
        vertices_.assign(n, TPolyVertex{});
        for (TPolyVertex& v : vertices_) {
            v.x = coordinate(b ? b->width : 320);
            v.y = coordinate(b ? b->height : 240);
            v.u = hostile && rng.Chance(10) ? Float(0, 1) : float(rng.Between(-2, (t ? t->width : 64) + 2));
            v.v = hostile && rng.Chance(10) ? Float(0, 1) : float(rng.Between(-2, (t ? t->height : 64) + 2));
            v.colour = Colour();
            v.reserved0 = uint32_t(rng.Next());
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

    int64_t Number(char kind) {  // an integer argument of this kind (abi.h lists them)
        switch (kind) {
            // clang-format off
            case 'h': return h_;
            case 'd': return dst_;
            case 'x': return Side(h_, true);
            case 'y': return Side(h_, false);
            case 'X': return Side(dst_, true);
            case 'Y': return Side(dst_, false);
            case 'r': return Side(h_, true) / 2;
            case 'R': return Side(h_, false) / 2;
            case 's': return Coordinate(320);
            case 't': return Coordinate(240);
            case 'm': return Coordinate(1024);
            case 'M': return Coordinate(768);
            case 'c': return Colour();
            case 'k': return high_;
            case 'n': return count_;
            case 'u': return request_[0];
            case 'v': return request_[1];
            case 'D': return request_[2];
            case 'l': return request_[3];
            case 'W': return request_[4];
            case 'q': return text_size_;
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
    const char* Name(char kind) {  // a text or file name argument of this kind
        const bool careful = options.full_screen_depth != 0;  // a failure ends a full-screen run
        switch (kind) {
            case 'T': return Text();
            case 'P': return Named(files.pictures, careful ? 90 : 35);
            case 'S': return Named(files.saves, careful ? 95 : 50);
            case 'A': return Named(files.alphas, careful ? 90 : 50);
            case 'N': {
                const char* fonts[] = {nullptr, "DejaVu Sans", "monospace", "DejaVu Serif:bold",
                                       "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", "No Such Font", "", File()};
                return fonts[rng.Below(hostile ? 8 : 5)];
            }
        }
        return File();
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
            request_[2] = int32_t(hostile ? Pick({0, 8, 15, 16, 24, 32, -1, 33, INT32_MAX, INT32_MIN}) : Pick({0, 16, 32}));
            request_[3] = 0;
            request_[4] = int32_t(Window());
            if (careful ? rng.Chance(80) : rng.Below(1000) < 5) {
                request_ = {640, 480, careful ? options.full_screen_depth : 16 + 8 * int32_t(rng.Below(3)), 1, int32_t(host_id)};
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
    // Calls export `id` with arguments drawn by `kinds` (kept in `args_`); answers the result's bits.
    template <typename R, typename... P, size_t... I>
    int64_t CallWith(Id id, const char* kinds, R (*)(P...), std::index_sequence<I...>) {
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
#define VXL_STRESS_CASE(name, ...)                                                  \
    case Id::name:                                                                  \
        answer = CallWith(id, row.kinds, static_cast<sig::name*>(nullptr),          \
                          std::make_index_sequence<Arity<sig::name>::value>());     \
        break;
            VXL_STRESS_EXPORTS(VXL_STRESS_CASE)
#undef VXL_STRESS_CASE
            case Id::kCount:
                break;
        }
        if (std::strchr(row.flags, 'Q')) ExpectDeadAnswer(row.name, h_, answer);
        Check(id, answer);
    }

    // The rules every answer keeps, whatever the arguments (the input extensions' answers to arguments
    // out of range have their own tests).
    void Check(Id id, int64_t answer) {
        const int32_t n = int32_t(answer);
        switch (id) {
            case Id::AlphaPointer:
            case Id::BufferPointer:
                Touch(h_, answer, id == Id::AlphaPointer);
                break;
            case Id::BufferSizeY:
            case Id::BufferSizeX:
                if (const Buffer* buffer = Find(h_)) {
                    const int32_t want = id == Id::BufferSizeX ? buffer->width : buffer->height;
                    if (n != want) Fail("%s(%d) answered %d, the buffer was made %d", ExportName(id), h_, n, want);
                }
                break;
            case Id::CloseBuffer:
                Closed(h_);
                break;
            case Id::SetupImageBuffer:
            case Id::SetupBuffer:
                Created(n);
                break;
            case Id::InitVexelWindow:
                if (n) library_windows.push_back(uint32_t(n));
                break;
            case Id::CloseVexel:  // a closed display answers 0 to every question about it
                for (Id query : {Id::VexelSizeX, Id::VexelSizeY, Id::GlobalBpp, Id::DoEvents}) {
                    if (Has(query) && Call<sig::GlobalBpp>(query) != 0) Fail("after CloseVexel, %s did not answer 0", ExportName(query));
                }
                break;
            case Id::VxlSetErrorMode:
                if (args_[0] == 0 || args_[0] == 1) error_mode = int32_t(args_[0]);
                break;
            case Id::VxlLastError:
                if (!answer || std::strlen(reinterpret_cast<const char*>(answer)) > 8192) Fail("VxlLastError gave no readable text");
                break;
            case Id::VxlClearError:
                if (Has(Id::VxlLastError) && *Call<sig::VxlLastError>(Id::VxlLastError)) Fail("VxlLastError is not empty after VxlClearError");
                break;
            default:
                break;
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
        if (log.empty() || log.find("\r\n") != log.size() - 2) Fail("the process ended without a fresh one-line VXL_ERR.txt");
        if (!MayFailLoudly(last)) Fail("the process ended (fatal error \"%s\") in %s, which never fails loudly", log.c_str(), ExportName(last));
        std::fflush(nullptr);
        _exit(kExitFatal);
    }

    void Go() {
        std::vector<Id> present;
        std::vector<int> cumulative;
        for (int i = 0; i < kExportCount; ++i) {
            if (!exports_[i]) continue;
            present.push_back(Id(i));
            cumulative.push_back((cumulative.empty() ? 0 : cumulative.back()) + kExports[i].weight);
        }
        try {
            if (Has(Id::InitVexel)) OpenDisplay();
            if (Has(Id::SetupBuffer) && Has(Id::BufferSizeX) && Has(Id::BufferSizeY)) {
                for (auto [w, h] : {std::pair{64, 64}, {320, 240}, {37, 19}, {6, 4}}) Issued(Call<sig::SetupBuffer>(Id::SetupBuffer, w, h, 0));
            }
        } catch (const std::exception& e) {
            Fail("setting up the run's display and buffers failed: %s", e.what());
        }
        while (call_index < options.calls && !present.empty()) {
            if (rng.Below(1000) < 2) {
                HostAction();
                continue;
            }
            const int pick = int(rng.Below(uint32_t(cumulative.back())));
            const Id id = present[size_t(std::upper_bound(cumulative.begin(), cumulative.end(), pick) - cumulative.begin())];
            // Creation calls are checked with the two size queries.
            if ((id == Id::SetupBuffer || id == Id::SetupImageBuffer) && !(Has(Id::BufferSizeX) && Has(Id::BufferSizeY))) continue;
            hostile = rng.Chance(40);
            pending_handle = -1;
            try {
                Generate(id);
                // In error mode 1 a call that failed has returned: its text is the last error.
                const char* what = error_mode == 1 && Has(Id::VxlLastError) && Has(Id::VxlClearError)
                                       ? Call<sig::VxlLastError>(Id::VxlLastError) : "";
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

private:
    const ExportTable& exports_;
    int32_t h_ = -1, dst_ = -1, high_ = 0, count_ = 0, text_size_ = 0;
    std::array<int32_t, 5> request_{};  // width, height, depth, full screen, window
    std::array<int64_t, 12> args_{};
    std::vector<std::unique_ptr<uint8_t[]>> outs_;
    std::vector<TPolyVertex> vertices_;
};

Context* g_run = nullptr;

}  // namespace

void Run(const RunOptions& options, const ExportTable& exports, SharedRecord* record) {
    std::error_code ignored;
    std::filesystem::remove_all(options.scratch, ignored);
    std::filesystem::create_directories(options.scratch, ignored);
    if (::chdir(options.scratch.c_str()) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::snprintf(record->failure, sizeof record->failure, "cannot enter %s or start SDL's video", options.scratch.c_str());
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

}  // namespace vxl::stress
