// Presentation in a real X11 window, next to plain SDL2 doing the same on the same kind of window:
// frames per second of Flip against a whole-surface update, and of frames of 1, 3 and 10 DrawSprite
// calls of a 64x64 sprite against blitting the same sprites and updating their rectangles. Plain SDL2
// is the limit. Needs an X display (`make bench` starts Xvfb where none is set).
// SDL_FRAMEBUFFER_ACCELERATION=1 in the environment runs both through SDL's GL texture path instead.
#include <SDL.h>
#include <benchmark/benchmark.h>

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
    Window(int w, int h) { window = SDL_CreateWindow("present bench", 0, 0, w, h, 0); }
    ~Window() { SDL_DestroyWindow(window); }
    // Lets the window map and settle before timing.
    void Settle() const {
        for (int i = 0; i < 10; ++i) {
            SDL_PumpEvents();
            SDL_Delay(5);
        }
    }
};

// The sprite's place in frame `frame`: every sprite moves, as in a game.
SDL_Rect Place(int i, int64_t frame, int w, int h) {
    return SDL_Rect{int((i * 173 + frame * 7) % (w - kSprite)), int((i * 97 + frame * 5) % (h - kSprite)), kSprite,
                    kSprite};
}

void Rate(benchmark::State& state) {
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FlipVxl(benchmark::State& state) {
    const int w = Width(state), h = Height(state);
    Window win(w, h);
    InitVexel(SDL_GetWindowID(win.window), w, h, 0, 0);
    win.Settle();
    const int32_t picture = SetupBuffer(w, h, 0);
    Fill(picture, RGB(30, 90, 150));
    for (auto _ : state) Flip(picture, 0);
    Rate(state);
    CloseBuffer(picture);
    CloseVexel();
}

void BM_FlipSdl(benchmark::State& state) {
    const int w = Width(state), h = Height(state);
    Window win(w, h);
    win.Settle();
    SDL_Surface* target = SDL_GetWindowSurface(win.window);
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, target->format->format);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 30, 90, 150));
    for (auto _ : state) {
        SDL_BlitSurface(picture, nullptr, target, nullptr);
        SDL_UpdateWindowSurface(win.window);
    }
    Rate(state);
    SDL_FreeSurface(picture);
}

void BM_SpritesVxl(benchmark::State& state) {
    const int w = Width(state), h = Height(state), n = int(state.range(1));
    Window win(w, h);
    InitVexel(SDL_GetWindowID(win.window), w, h, 0, 0);
    win.Settle();
    const int32_t sprite = SetupBuffer(kSprite, kSprite, 0), inner = SetupBuffer(48, 48, 0);
    Fill(sprite, RGB(255, 0, 255));
    Fill(inner, RGB(250, 200, 40));
    CopyBuffer(inner, sprite, 8, 8);
    int64_t frame = 0;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            const SDL_Rect r = Place(i, frame, w, h);
            DrawSprite(sprite, r.x, r.y, RGB(255, 0, 255));
        }
        ++frame;
    }
    Rate(state);
    CloseBuffer(inner);
    CloseBuffer(sprite);
    CloseVexel();
}

void BM_SpritesSdl(benchmark::State& state) {
    const int w = Width(state), h = Height(state), n = int(state.range(1));
    Window win(w, h);
    win.Settle();
    SDL_Surface* target = SDL_GetWindowSurface(win.window);
    SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, kSprite, kSprite, 32, target->format->format);
    const uint32_t key = SDL_MapRGB(sprite->format, 255, 0, 255);
    SDL_FillRect(sprite, nullptr, key);
    SDL_Rect inner{8, 8, 48, 48};
    SDL_FillRect(sprite, &inner, SDL_MapRGB(sprite->format, 250, 200, 40));
    SDL_SetColorKey(sprite, SDL_TRUE, key);
    int64_t frame = 0;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            SDL_Rect r = Place(i, frame, w, h);
            SDL_BlitSurface(sprite, nullptr, target, &r);
            SDL_UpdateWindowSurfaceRects(win.window, &r, 1);
        }
        ++frame;
    }
    Rate(state);
    SDL_FreeSurface(sprite);
}

BENCHMARK(BM_FlipSdl)->ArgName("rows")->Arg(480)->Arg(1080)->UseRealTime();
BENCHMARK(BM_FlipVxl)->ArgName("rows")->Arg(480)->Arg(1080)->UseRealTime();
BENCHMARK(BM_SpritesSdl)->ArgNames({"rows", "sprites"})->ArgsProduct({{480, 1080}, {1, 3, 10}})->UseRealTime();
BENCHMARK(BM_SpritesVxl)->ArgNames({"rows", "sprites"})->ArgsProduct({{480, 1080}, {1, 3, 10}})->UseRealTime();

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
