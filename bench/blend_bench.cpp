// Blends, channel copies, filters and transfer effects through the exports, in megapixels per second,
// at 16 and 32 bits: 256x256 sources onto a 640x480 destination, in-place filters on 640x480. The
// memcpy rows give the bandwidth of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "exports/library.h"
#include "platform/cpu.h"
#include "platform/fake/fake_backend.h"
#include "vxl.h"

namespace {

constexpr int32_t kW = 640, kH = 480, kSrc = 256;

struct Scene {
    int32_t source, destination;
};

// A windowed display on a fake desktop of `depth` bits, a patterned source with an alpha plane and
// a patterned destination.
Scene Open(uint32_t depth) {
    auto fake = std::make_unique<vxl::platform::FakeBackend>();
    fake->desktop = vxl::platform::FormatForDepth(depth);
    const auto window = fake->AddWindow(0, 0, kW, kH);
    vxl::platform::InstallBackend(std::move(fake));
    vxl::ResetLibrary();
    InitVexel(window, kW, kH, 0, 0);
    Scene s{SetupBuffer(kSrc, kSrc, 0), SetupBuffer(kW, kH, 0)};
    vxl::TheLibrary().handles.Find(s.source)->CreateAlphaPlane();
    for (int32_t y = 0; y < kSrc; ++y)
        for (int32_t x = 0; x < kSrc; ++x) {
            PutPixel(s.source, x, y, RGB(x, y, x ^ y));
            PutAlphaPixel(s.source, x, y, (x + y) & 0xFF);
        }
    for (int32_t y = 0; y < kH; ++y)
        for (int32_t x = 0; x < kW; ++x) PutPixel(s.destination, x, y, RGB(y, x, 128));
    return s;
}

void Report(benchmark::State& state, int64_t pixels) {
    state.counters["Mpix/s"] =
        benchmark::Counter(double(pixels) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// A two-buffer operation placed at (100, 100).
template <typename Op>
void TwoBuffers(benchmark::State& state, Op op) {
    const Scene s = Open(uint32_t(state.range(0)));
    for (auto _ : state) {
        op(s.source, s.destination);
        benchmark::ClobberMemory();
    }
    Report(state, int64_t(kSrc) * kSrc);
    vxl::ResetLibrary();
}

template <typename Op>
void InPlace(benchmark::State& state, Op op) {
    const Scene s = Open(uint32_t(state.range(0)));
    for (auto _ : state) {
        op(s.destination);
        benchmark::ClobberMemory();
    }
    Report(state, int64_t(kW) * kH);
    vxl::ResetLibrary();
}

void BM_CopyAdd(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyAdd(s, d, 100, 100); });
}
void BM_CopySub(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopySub(s, d, 100, 100); });
}
void BM_CopyXor(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyXor(s, d, 100, 100); });
}
void BM_CopyAlpha128(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyAlpha(s, d, 100, 100, 128); });
}
void BM_CopyAlphaMap(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyAlphaMap(s, d, 100, 100); });
}
void BM_CopyAlphaSprite(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyAlphaSprite(s, d, 100, 100, 160, 0); });
}
void BM_CopyRedChannel(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyRedChannel(s, d, 100, 100); });
}
void BM_CopyAlphaChannel(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyAlphaChannel(s, d, 100, 100); });
}
void BM_CopyBlur(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyBlur(s, d, 100, 100); });
}
void BM_CopyDissolve(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyDissolve(s, d, 100, 100); });
}
void BM_CopyNegative(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyNegative(s, d, 100, 100); });
}
void BM_CopyGreyscale(benchmark::State& st) {
    TwoBuffers(st, [](int32_t s, int32_t d) { CopyGreyscale(s, d, 100, 100); });
}
void BM_Negative(benchmark::State& st) {
    InPlace(st, [](int32_t b) { Negative(b); });
}
void BM_Greyscale(benchmark::State& st) {
    InPlace(st, [](int32_t b) { Greyscale(b); });
}
void BM_Blur2x(benchmark::State& st) {
    InPlace(st, [](int32_t b) { Blur2x(b); });
}
// The filters on each processor path: second argument 0 the plain per-pixel loops, 1 SSE2, 2 AVX2.
template <void (*kFilter)(int32_t)>
void OnPath(benchmark::State& st) {
    const int64_t path = st.range(1);
    vxl::platform::ForceCpuFeatures({path >= 1, path >= 2});
    InPlace(st, kFilter);
    vxl::platform::ResetCpuFeatures();
}
void BM_Blur2xPath(benchmark::State& st) {
    OnPath<Blur2x>(st);
}
void BM_GreyscalePath(benchmark::State& st) {
    OnPath<Greyscale>(st);
}

// The bandwidth of the same bytes: a 256x256 source copied into a 640x480 destination row by row, and
// the whole 640x480 moved within one buffer.
void BM_MemcpySourceRows(benchmark::State& state) {
    const size_t bpp = size_t(state.range(0)) / 8;
    std::vector<uint8_t> src(size_t(kSrc) * kSrc * bpp, 1), dst(size_t(kW) * kH * bpp, 2);
    for (auto _ : state) {
        for (int32_t y = 0; y < kSrc; ++y)
            std::memcpy(dst.data() + (size_t(y + 100) * kW + 100) * bpp, src.data() + size_t(y) * kSrc * bpp,
                        kSrc * bpp);
        benchmark::ClobberMemory();
    }
    Report(state, int64_t(kSrc) * kSrc);
}
void BM_MemmoveWholeBuffer(benchmark::State& state) {
    const size_t bytes = size_t(kW) * kH * size_t(state.range(0)) / 8;
    std::vector<uint8_t> block(bytes + 64, 3);
    for (auto _ : state) {
        std::memmove(block.data(), block.data() + 64, bytes);
        benchmark::ClobberMemory();
    }
    Report(state, int64_t(kW) * kH);
}

}  // namespace

BENCHMARK(BM_CopyAdd)->Arg(16)->Arg(32);
BENCHMARK(BM_CopySub)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyXor)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyAlpha128)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyAlphaMap)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyAlphaSprite)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyRedChannel)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyAlphaChannel)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyBlur)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyDissolve)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyNegative)->Arg(16)->Arg(32);
BENCHMARK(BM_CopyGreyscale)->Arg(16)->Arg(32);
BENCHMARK(BM_Negative)->Arg(16)->Arg(32);
BENCHMARK(BM_Greyscale)->Arg(16)->Arg(32);
BENCHMARK(BM_Blur2x)->Arg(16)->Arg(32);
BENCHMARK(BM_Blur2xPath)->ArgsProduct({{16, 32}, {0, 1, 2}});
BENCHMARK(BM_GreyscalePath)->ArgsProduct({{16, 32}, {0, 1, 2}});
BENCHMARK(BM_MemcpySourceRows)->Arg(16)->Arg(32);
BENCHMARK(BM_MemmoveWholeBuffer)->Arg(16)->Arg(32);
