// Buffer fills and single-pixel access through the exports, against memset on the same bytes.
// Runs on the fake backend so that figures do not depend on a display.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "exports/library.h"
#include "platform/cpu.h"
#include "platform/fake/fake_backend.h"
#include "platform/surfaces/blitter.h"
#include "vxl.h"

namespace {

constexpr int32_t kW = 640, kH = 480;

// A windowed display on a fake desktop of `depth` bits and one 640x480 buffer.
int32_t OpenBuffer(uint32_t depth) {
    auto fake = std::make_unique<vxl::platform::FakeBackend>();
    fake->desktop = vxl::platform::FormatForDepth(depth);
    const auto window = fake->AddWindow(0, 0, kW, kH);
    vxl::platform::InstallBackend(std::move(fake));
    vxl::ResetLibrary();
    InitVexel(window, kW, kH, 0, 0);
    return SetupBuffer(kW, kH, 0);
}

void SetPixelCounters(benchmark::State& state, int64_t pixels, int64_t bytes) {
    state.counters["Mpix/s"] =
        benchmark::Counter(double(pixels) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    state.SetBytesProcessed(bytes * state.iterations());
}

void BM_Fill(benchmark::State& state) {
    const uint32_t depth = uint32_t(state.range(0));
    const int32_t h = OpenBuffer(depth);
    uint32_t colour = 0x1234;
    for (auto _ : state) {
        Fill(h, colour);
        colour ^= 0x00F0F0;  // a colour whose bytes differ, so no memset shortcut
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, int64_t(kW) * kH, int64_t(kW) * kH * (depth == 32 ? 4 : depth == 24 ? 3 : 2));
    vxl::ResetLibrary();
}
BENCHMARK(BM_Fill)->Arg(16)->Arg(32)->Arg(24);

// The bandwidth a fill could reach: memset of the same number of bytes.
void BM_MemsetSameBytes(benchmark::State& state) {
    const size_t bytes = size_t(kW) * kH * size_t(state.range(0)) / 8;
    std::vector<uint8_t> block(bytes, 1);
    int value = 0;
    for (auto _ : state) {
        std::memset(block.data(), value++ & 0xFF, bytes);
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, int64_t(kW) * kH, int64_t(bytes));
}
BENCHMARK(BM_MemsetSameBytes)->Arg(16)->Arg(32)->Arg(24);

// The fill routine alone with each instruction set.
void BM_FillSpan(benchmark::State& state) {
    const uint32_t bpp = uint32_t(state.range(0));
    vxl::platform::ForceCpuFeatures({true, state.range(1) != 0});
    std::vector<uint8_t> block(size_t(kW) * kH * bpp);
    for (auto _ : state) {
        vxl::platform::FillSpan(block.data(), int64_t(kW) * kH, bpp, 0x123456);
        benchmark::ClobberMemory();
    }
    vxl::platform::ResetCpuFeatures();
    SetPixelCounters(state, int64_t(kW) * kH, int64_t(block.size()));
}
BENCHMARK(BM_FillSpan)->ArgNames({"bpp", "avx2"})->Args({2, 0})->Args({2, 1})->Args({4, 0})->Args({4, 1});

void BM_PutPixel(benchmark::State& state) {
    const int32_t h = OpenBuffer(uint32_t(state.range(0)));
    for (auto _ : state) {
        for (int32_t y = 0; y < kH; y += 8) {
            for (int32_t x = 0; x < kW; ++x) {
                PutPixel(h, x, y, uint32_t(x ^ y));
            }
        }
    }
    state.counters["ns/call"] = benchmark::Counter(double(state.iterations()) * kW * (kH / 8),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    vxl::ResetLibrary();
}
BENCHMARK(BM_PutPixel)->Arg(16)->Arg(32);

void BM_GetPixel(benchmark::State& state) {
    const int32_t h = OpenBuffer(uint32_t(state.range(0)));
    uint32_t sum = 0;
    for (auto _ : state) {
        for (int32_t y = 0; y < kH; y += 8) {
            for (int32_t x = 0; x < kW; ++x) {
                sum += GetPixel(h, x, y);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["ns/call"] = benchmark::Counter(double(state.iterations()) * kW * (kH / 8),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    vxl::ResetLibrary();
}
BENCHMARK(BM_GetPixel)->Arg(16)->Arg(32);

}  // namespace
