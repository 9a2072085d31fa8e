// Flip and DrawBuffer of a 640x480 buffer through the public API under SDL's dummy video driver,
// windowed (the dummy desktop's 32 bits) and full screen at 32 and 16 bits: the cost of presenting,
// from the buffer to the window's SDL surface.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "vxl.h"

namespace {

constexpr int32_t kW = 640, kH = 480;

struct Display {
    SDL_Window* window = nullptr;
    int32_t buffer = -1;

    // full: 0 windowed, else the full-screen depth.
    explicit Display(int full) {
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        window = SDL_CreateWindow("bench", 0, 0, kW, kH, 0);
        InitVexel(SDL_GetWindowID(window), kW, kH, full, full != 0);
        buffer = SetupBuffer(kW, kH, 0);
        for (int y = 0; y < kH; y += 8) PutPixel(buffer, y, y, RGB(y, 255 - y / 2, 77));
    }
    ~Display() {
        CloseBuffer(buffer);
        CloseVexel();
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
};

void SetPixelRate(benchmark::State& state) {
    state.counters["Mpix/s"] =
        benchmark::Counter(double(kW) * kH * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_Flip(benchmark::State& state) {
    Display d(int(state.range(0)));
    for (auto _ : state) Flip(d.buffer, 0);
    SetPixelRate(state);
}
BENCHMARK(BM_Flip)->ArgName("full")->Arg(0)->Arg(32)->Arg(16);

void BM_DrawBuffer(benchmark::State& state) {
    Display d(int(state.range(0)));
    for (auto _ : state) DrawBuffer(d.buffer, 0, 0);
    SetPixelRate(state);
}
BENCHMARK(BM_DrawBuffer)->ArgName("full")->Arg(0)->Arg(32)->Arg(16);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
