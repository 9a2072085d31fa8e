// One run: a seeded sequence of calls into the library, made in a forked child. The context holds
// what the run knows of the library's state (open handles, the display, windows) so that arguments
// can be aimed at live objects as well as at dead and made-up ones.
#pragma once

#include <SDL.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "abi.h"
#include "picture_files.h"
#include "shared_record.h"

namespace vxl::stress {

struct RunOptions {
    uint64_t seed = 1;
    uint64_t calls = 2000;
    int full_screen_depth = 0;  // 0: windowed run
};

// The seed decides the kind of run: one in four is a full-screen phase at one of the four depths.
RunOptions RunForSeed(uint64_t seed, uint64_t calls);

// The library's exports as found by name; null where the library has none yet.
using ExportTable = void* [kExportCount];

std::string ReadFile(const std::string& path);  // empty when missing

bool MayFailLoudly(Id id);  // the export may end in a fatal error
int Weight(Id id);          // how often the export is picked

// Runs in the child; exits the process.
[[noreturn]] void RunChild(const RunOptions& options, const ExportTable& exports, SharedRecord* record,
                           const std::string& scratch);

struct BufferInfo {
    int32_t handle;
    int32_t width, height;
    int32_t bytes_per_pixel;  // 0 when unknown
};

class Rng {
public:
    // The seed is mixed first: a state of seed times the step would make seed n + 1 replay seed n's
    // numbers shifted by one, and a timed run of consecutive seeds would try one sequence over again.
    explicit Rng(uint64_t seed) : state_(Mix(seed + 0x632BE59BD9B4E019ull)) {}
    uint64_t Next() {  // splitmix64: the same numbers on every machine and compiler
        return Mix(state_ += 0x9E3779B97F4A7C15ull);
    }
    uint32_t Below(uint32_t n) { return n ? uint32_t(Next() % n) : 0; }
    int32_t Between(int32_t lo, int32_t hi) {
        return int32_t(int64_t(lo) + int64_t(Next() % uint64_t(int64_t(hi) - lo + 1)));
    }
    bool Chance(uint32_t percent) { return Below(100) < percent; }

private:
    static uint64_t Mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t state_;
};

class Context {
public:
    Context(const RunOptions& options, const ExportTable& exports, SharedRecord* record, FileNames files);

    // ---- argument generators ----
    int32_t Handle();           // live, dead, never issued, negative, huge
    int32_t X(int32_t handle);  // coordinates around a buffer, and the ends of the range
    int32_t Y(int32_t handle);
    int32_t Coordinate(int32_t extent);
    int32_t Size(bool careful_size);  // a buffer or display side
    void SizePair(bool careful_size, int32_t* w, int32_t* h);
    uint32_t Colour();
    int32_t Opacity();
    int32_t Flag();  // boolean arguments
    float Float(float lo, float hi);
    const char* File();  // any file name, or null
    // A name from `fitting` `percent` times in a hundred, else any file name or null.
    const char* Named(const std::vector<std::string>& fitting, uint32_t percent);
    const char* Text();
    uint32_t Window();
    int32_t Key();
    int32_t Steps();
    int32_t Depth();
    float VertexCoordinate(int32_t extent);
    // A vertex array of the real length (null when empty) for a polygon on `target`; the count and
    // the top vertex passed with it never claim more than the array holds.
    const TPolyVertex* Vertices(int32_t target, int32_t texture, int32_t* count, int32_t* high);
    char* OutText(int32_t size) {  // null or exactly `size` bytes on the heap
        if (rng.Chance(15) || size <= 0) return nullptr;
        outs_.emplace_back(std::make_unique<uint8_t[]>(size_t(size)));
        return reinterpret_cast<char*>(outs_.back().get());
    }
    template <typename T>
    T* Out() {  // null or an exactly sized heap object, so a write past it is caught
        if (rng.Chance(15)) return nullptr;
        outs_.emplace_back(std::make_unique<uint8_t[]>(sizeof(T)));
        return reinterpret_cast<T*>(outs_.back().get());
    }
    bool careful() const { return options.full_screen_depth != 0; }

    // ---- calls ----
    bool Has(Id id) const { return exports_[int(id)] != nullptr; }
    // Calls export `id` with `args`, after writing it to the trace. An exception leaves this call.
    template <typename Sig, typename... A>
    auto Call(Id id, A... args);
    void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // ---- the model ----
    void Issued(int32_t handle);   // a creation call answered with this handle
    void Created(int32_t handle);  // the same, except for a failure value in error mode 1
    void Closed(int32_t handle);
    void Forget(int32_t handle);  // a failed operation may have destroyed the buffer
    bool Live(int32_t handle) const;
    bool Unknown(int32_t handle) const;
    BufferInfo* Find(int32_t handle);
    void ExpectDeadAnswer(const char* query, int32_t handle, uint64_t answer);
    void OpenDisplay();  // the run's own display kind, at a sensible size
    void MaybeTouch(int32_t handle, const void* pointer, bool alpha);
    void HostAction();  // the host destroys and re-creates its window
    void ClearOuts() { outs_.clear(); }

    void Generate(Id id);  // one call of `id` with generated arguments, checks included

    static constexpr size_t kMaxLiveBuffers = 24;
    const RunOptions options;
    Rng rng;
    SharedRecord* const record;
    FileNames files;
    SDL_Window* host = nullptr;
    uint32_t host_id = 0;
    std::vector<uint32_t> dead_windows, library_windows;
    std::vector<BufferInfo> live;
    std::vector<int32_t> dead, limbo;
    int32_t pending_handle = -1;  // the buffer a call that may fail loudly works on
    int32_t error_mode = 0;       // as last set: 1 turns failures into values
    bool hostile = false;         // this call's arguments come from the hostile ranges
    int32_t highest_issued = -1;
    uint64_t call_index = 0;

private:
    void Record(Id id, const std::string& text);
    const ExportTable& exports_;
    std::vector<std::unique_ptr<uint8_t[]>> outs_;
    std::vector<TPolyVertex> vertices_;
    std::vector<std::string> texts_;
    friend struct Formatter;
};

// ---- formatting of arguments for the trace ----
struct Formatter {
    static void Add(std::string& s, int32_t v) { s += std::to_string(v); }
    static void Add(std::string& s, uint32_t v) {
        char b[16];
        std::snprintf(b, sizeof b, "0x%x", v);
        s += b;
    }
    static void Add(std::string& s, float v) {
        char b[32];
        std::snprintf(b, sizeof b, "%g", double(v));
        s += b;
        s += 'f';
    }
    static void Add(std::string& s, const char* v) {
        if (!v) {
            s += "NULL";
            return;
        }
        const size_t n = std::strlen(v);
        s += '"';
        for (size_t i = 0; i < n && i < 40; ++i) {
            const unsigned char c = static_cast<unsigned char>(v[i]);
            if (c >= 32 && c < 127 && c != '"' && c != '\\') {
                s += char(c);
            } else {
                char b[8];
                std::snprintf(b, sizeof b, "\\x%02x", c);
                s += b;
            }
        }
        s += '"';
        if (n > 40) s += "...(" + std::to_string(n) + " chars)";
    }
    static void Add(std::string& s, const TPolyVertex* v) { s += v ? "vertices" : "NULL"; }
    template <typename T>
    static void Add(std::string& s, T* p) {
        s += p ? "&out" : "NULL";
    }
};

template <typename Sig>
struct Caller;
template <typename R, typename... P>
struct Caller<R(P...)> {
    using Result = R;
    template <typename... A>
    static R Invoke(void* fn, A... args) {
        return reinterpret_cast<R (*)(P...)>(fn)(static_cast<P>(args)...);
    }
    template <typename... A>
    static std::string Text(const char* name, A... args) {
        std::string s = name;
        s += '(';
        bool first = true;
        ((s += first ? "" : ", ", first = false, Formatter::Add(s, static_cast<P>(args))), ...);
        s += ')';
        return s;
    }
};

template <typename Sig, typename... A>
auto Context::Call(Id id, A... args) {
    Record(id, Caller<Sig>::Text(ExportName(id), args...));
    return Caller<Sig>::Invoke(exports_[int(id)], args...);
}

}  // namespace vxl::stress
