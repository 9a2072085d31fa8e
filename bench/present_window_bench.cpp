// Presentation in a real X11 window, next to plain SDL2 doing the same in a window of its own beside
// it: frames per second of Flip against a whole-surface update, and of frames of 1, 3 and 10
// DrawSprite calls of a 64x64 sprite against blitting the same sprites and updating their rectangles.
// Plain SDL2 is the limit. Needs an X display twice the widest window's width (`make bench` starts an
// Xvfb of 3840x1080 where none is set).
// SDL_FRAMEBUFFER_ACCELERATION=1 in the environment runs both through SDL's GL texture path instead.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "vxl.h"

namespace {

constexpr int kSprite = 64;

int Width(const benchmark::State& state) {
    return state.range(0) == 1080 ? 1920 : 640;
}
int Height(const benchmark::State& state) {
    return state.range(0) == 1080 ? 1080 : 480;
}

struct Window {
    SDL_Window* window;
    Window(int x, int w, int h) { window = SDL_CreateWindow("present bench", x, 0, w, h, 0); }
    ~Window() { SDL_DestroyWindow(window); }
};

// Lets the windows map and settle before timing.
void Settle() {
    for (int i = 0; i < 10; ++i) {
        SDL_PumpEvents();
        SDL_Delay(5);
    }
}

// The sprite's place in frame `frame`: every sprite moves, as in a game.
SDL_Rect Place(int i, int64_t frame, int w, int h) {
    return SDL_Rect{int((i * 173 + frame * 7) % (w - kSprite)), int((i * 97 + frame * 5) % (h - kSprite)), kSprite,
                    kSprite};
}

// The library and plain SDL2 take turns of kTurn frames each, in two windows side by side, so that a
// change in the machine's load (the X server shares its cores) falls on both alike. One iteration is
// one turn of each; the counters give each side's frames per second and their ratio.
constexpr int kTurn = 20;

template <typename VxlFrame, typename SdlFrame>
void Turns(benchmark::State& state, VxlFrame vxl_frame, SdlFrame sdl_frame) {
    using Clock = std::chrono::steady_clock;
    double vxl_seconds = 0, sdl_seconds = 0;
    int64_t frame = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 0; i < kTurn; ++i) vxl_frame(frame + i);
        const auto t1 = Clock::now();
        for (int i = 0; i < kTurn; ++i) sdl_frame(frame + i);
        const auto t2 = Clock::now();
        frame += kTurn;
        vxl_seconds += std::chrono::duration<double>(t1 - t0).count();
        sdl_seconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
    }
    const double frames = double(state.iterations()) * kTurn;
    state.counters["vxl_fps"] = frames / vxl_seconds;
    state.counters["sdl_fps"] = frames / sdl_seconds;
    state.counters["vxl/sdl"] = sdl_seconds / vxl_seconds;
}

// Flip of a whole picture against blitting it into the window surface and updating all of it.
void BM_Flip(benchmark::State& state) {
    const int w = Width(state), h = Height(state);
    Window vxl_window(0, w, h), sdl_window(w, w, h);
    InitVexel(SDL_GetWindowID(vxl_window.window), w, h, 0, 0);
    Settle();
    const int32_t vxl_picture = SetupBuffer(w, h, 0);
    Fill(vxl_picture, RGB(30, 90, 150));
    SDL_Surface* target = SDL_GetWindowSurface(sdl_window.window);
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, target->format->format);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 30, 90, 150));
    Turns(
        state, [&](int64_t) { Flip(vxl_picture, 0); },
        [&](int64_t) {
            SDL_BlitSurface(picture, nullptr, target, nullptr);
            SDL_UpdateWindowSurface(sdl_window.window);
        });
    SDL_FreeSurface(picture);
    CloseBuffer(vxl_picture);
    CloseVexel();
}

// Frames of DrawSprite calls of a keyed 64x64 sprite against blitting the same sprite with SDL's key
// and updating its rectangle, one update per sprite.
void BM_Sprites(benchmark::State& state) {
    const int w = Width(state), h = Height(state), n = int(state.range(1));
    Window vxl_window(0, w, h), sdl_window(w, w, h);
    InitVexel(SDL_GetWindowID(vxl_window.window), w, h, 0, 0);
    Settle();
    const int32_t vxl_sprite = SetupBuffer(kSprite, kSprite, 0), inner = SetupBuffer(48, 48, 0);
    Fill(vxl_sprite, RGB(255, 0, 255));
    Fill(inner, RGB(250, 200, 40));
    CopyBuffer(inner, vxl_sprite, 8, 8);

    SDL_Surface* target = SDL_GetWindowSurface(sdl_window.window);
    SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, kSprite, kSprite, 32, target->format->format);
    const uint32_t key = SDL_MapRGB(sprite->format, 255, 0, 255);
    SDL_FillRect(sprite, nullptr, key);
    SDL_Rect middle{8, 8, 48, 48};
    SDL_FillRect(sprite, &middle, SDL_MapRGB(sprite->format, 250, 200, 40));
    SDL_SetColorKey(sprite, SDL_TRUE, key);
    Turns(
        state,
        [&](int64_t frame) {
            for (int i = 0; i < n; ++i) {
                const SDL_Rect r = Place(i, frame, w, h);
                DrawSprite(vxl_sprite, r.x, r.y, RGB(255, 0, 255));
            }
        },
        [&](int64_t frame) {
            for (int i = 0; i < n; ++i) {
                SDL_Rect r = Place(i, frame, w, h);
                SDL_BlitSurface(sprite, nullptr, target, &r);
                SDL_UpdateWindowSurfaceRects(sdl_window.window, &r, 1);
            }
        });
    SDL_FreeSurface(sprite);
    CloseBuffer(inner);
    CloseBuffer(vxl_sprite);
    CloseVexel();
}

BENCHMARK(BM_Flip)->ArgName("rows")->Arg(480)->Arg(1080)->UseManualTime();
BENCHMARK(BM_Sprites)->ArgNames({"rows", "sprites"})->ArgsProduct({{480, 1080}, {1, 3, 10}})->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::puts("no DISPLAY: the window presentation benchmark needs an X server");
        return 0;
    }
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    // Plain SDL2 configured as the library configures its windows: surfaces straight to X11, not
    // through a GL texture (SDL decides once, at the first window surface of the process).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Video stays started, so that the library presents into our windows as a host's.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("no X11 video: %s\n", SDL_GetError());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
}
