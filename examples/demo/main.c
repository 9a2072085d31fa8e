/* The VXL demo host: opens a VXL display in a window of the library's own (or, with --host-window, in
 * an SDL window it makes itself), lets every scene draw into one canvas buffer per frame and shows it
 * with Flip, at about 60 frames a second timed with Timer, and
 * ends on Escape or when the window is closed. Without a display it runs a fixed number of frames on
 * SDL's dummy driver and writes some of them as PNG files to demo-frames/. */
#include <SDL.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "scenes.h"
#include "vxl.h"

/* Scenes register here, in drawing order. */
static const DemoScene* const kScenes[] = {
    &kPolygonsScene,
    &kShapesScene,
    &kSpritesScene,
    &kBlendScene,
    &kTextScene,
    &kInputScene,
    &kExtensionsScene,
    NULL,
};
enum { kSceneCount = sizeof kScenes / sizeof kScenes[0] };

enum { kWidth = 640, kHeight = 480, kHeadlessFrames = 180, kFrameEvery = 45 };
static const float kFrameMs = 1000.0f / 60.0f;

static int HasDisplay(void) {
    const char *x = getenv("DISPLAY"), *wl = getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wl && *wl);
}

/* One step of a slow walk around the colour wheel. */
static void Hue(int step, int* r, int* g, int* b) {
    int phase = (step / 64) % 6, t = (step % 64) * 4;
    int up = t, down = 255 - t;
    int table[6][3] = {{255, up, 0}, {down, 255, 0}, {0, 255, up}, {0, down, 255}, {up, 0, 255}, {255, 0, down}};
    *r = table[phase][0];
    *g = table[phase][1];
    *b = table[phase][2];
}

static int SavePng(SDL_Window* window, const char* path) {
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    SDL_Surface* rgb = shown ? SDL_ConvertSurfaceFormat(shown, SDL_PIXELFORMAT_RGB24, 0) : NULL;
    FILE* f = rgb ? fopen(path, "wb") : NULL;
    png_structp png = f ? png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL) : NULL;
    png_infop info = png ? png_create_info_struct(png) : NULL;
    int ok = 0;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_set_IHDR(png, info, (png_uint_32)rgb->w, (png_uint_32)rgb->h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < rgb->h; ++y) {
            png_write_row(png, (png_const_bytep)rgb->pixels + (size_t)y * (size_t)rgb->pitch);
        }
        png_write_end(png, NULL);
        ok = 1;
    }
    if (png) png_destroy_write_struct(&png, info ? &info : NULL);
    if (f) fclose(f);
    if (rgb) SDL_FreeSurface(rgb);
    return ok;
}

int main(int argc, char** argv) {
    const int headless = !HasDisplay();
    const int host_window = argc > 1 && strcmp(argv[1], "--host-window") == 0;
    if (headless) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "demo: SDL could not start: %s\n", SDL_GetError());
        return 1;
    }
    const char *name = NULL, *notice = NULL;
    GetDLLInfo(&name, &notice);
    printf("%s (version %d)\n", name, GetDLLVersion());

    SDL_Window* window = NULL;
    if (host_window) {
        window = SDL_CreateWindow("VXL demo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight, 0);
        if (!window) {
            fprintf(stderr, "demo: no window: %s\n", SDL_GetError());
            return 1;
        }
        InitVexel(SDL_GetWindowID(window), kWidth, kHeight, 0, 0);
    } else {
        window = SDL_GetWindowFromID(InitVexelWindow(kWidth, kHeight, 0, 0, "VXL demo"));
    }
    printf("display %dx%d at %d bits\n", VexelSizeX(), VexelSizeY(), GlobalBpp());
    if (headless) {
        printf("no display found: running %d frames headless, frames go to demo-frames/\n", kHeadlessFrames);
        mkdir("demo-frames", 0755);
    } else {
        printf("arrows or the mouse move the sprite; space, clicks, the wheel, typing and a game controller\n"
               "show in the counters; Escape or closing the window ends the demo\n");
    }
    const int32_t canvas = SetupBuffer(kWidth, kHeight, 0);
    for (int i = 0; i < kSceneCount; ++i) {
        if (kScenes[i] && kScenes[i]->start) kScenes[i]->start(kWidth, kHeight);
    }

    StartTimer();
    int frame = 0;
    for (; headless ? frame < kHeadlessFrames : 1; ++frame) {
        if (!DoEvents() || Inkey(VXL_KEY_ESCAPE)) {
            break;
        }
        int r, g, b;
        Hue(frame * 3, &r, &g, &b);
        Fill(canvas, RGB(r, g, b));
        for (int i = 0; i < kSceneCount; ++i) {
            if (kScenes[i] && kScenes[i]->frame) kScenes[i]->frame(frame, canvas);
        }
        Flip(canvas, 0);
        if (headless && frame % kFrameEvery == 0) {
            char path[64];
            snprintf(path, sizeof path, "demo-frames/frame-%03d.png", frame);
            if (SavePng(window, path)) {
                printf("wrote %s\n", path);
            }
        }
        /* Each frame starts on its own tick of the frame clock. */
        while (!headless && Timer() < (float)(frame + 1) * kFrameMs) {
            SDL_Delay(1);
        }
    }
    StopTimer();
    const float elapsed = Timer();
    printf("%d frames in %.0f ms (%.1f frames a second)\n", frame, elapsed,
           elapsed > 0.0f ? (double)frame * 1000.0 / elapsed : 0.0);

    for (int i = kSceneCount - 1; i >= 0; --i) {
        if (kScenes[i] && kScenes[i]->stop) kScenes[i]->stop();
    }
    CloseBuffer(canvas);
    CloseVexel();
    if (host_window) {
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
    return 0;
}
