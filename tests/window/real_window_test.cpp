// A windowed display in a real X11 window: the cleared picture must reach the window surface and the
// X server's screen. Exits 77 (skipped) where there is no X display to talk to.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "vxl.h"

// Last: Xlib's macros (None, Bool, ...) would break GoogleTest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// A masked channel of an X pixel scaled to 8 bits.
uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return uint32_t(((pixel & mask) >> shift) * 255 / max);
}

// The screen's pixel at root coordinates (x, y) as 0xRRGGBB, read from the X server itself.
uint32_t ScreenPixel(int x, int y) {
    Display* x11 = XOpenDisplay(nullptr);
    if (!x11) return 0xFFFFFFFFu;
    XImage* image = XGetImage(x11, DefaultRootWindow(x11), x, y, 1, 1, AllPlanes, ZPixmap);
    uint32_t rgb = 0xFFFFFFFFu;
    if (image) {
        const unsigned long p = XGetPixel(image, 0, 0);
        rgb = Channel(p, image->red_mask) << 16 | Channel(p, image->green_mask) << 8 | Channel(p, image->blue_mask);
        XDestroyImage(image);
    }
    XCloseDisplay(x11);
    return rgb;
}

uint32_t SurfacePixel(SDL_Window* window, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(window);
    if (!s) return 0xFFFFFFFFu;
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    uint32_t raw = 0;
    for (int i = 0; i < s->format->BytesPerPixel; ++i) raw |= uint32_t(p[i]) << (8 * i);
    uint8_t r, g, b;
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

TEST(RealWindow, ClearReachesTheScreen) {
    SDL_Window* window = SDL_CreateWindow("vxl real window", 64, 48, 100, 100, SDL_WINDOW_SHOWN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    InitVexel(SDL_GetWindowID(window), 320, 240, 0, 0);
    EXPECT_EQ(VexelSizeX(), 320);
    EXPECT_EQ(VexelSizeY(), 240);

    ClearVexel(RGB(0, 255, 0));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(DoEvents(), -1);

    int w = 0, h = 0, x = 0, y = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_GetWindowPosition(window, &x, &y);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(SurfacePixel(window, w / 2, h / 2), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(x + w / 2, y + h / 2), 0x00FF00u) << "window at " << x << "," << y;

    CloseVexel();
    SDL_DestroyWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::puts("no DISPLAY: skipped");
        return 77;
    }
    // Through the subsystem rather than SDL_VideoInit alone, so that the library sees video as
    // already started and keeps our windows; the override beats an SDL_VIDEODRIVER left in the environment.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("no X11 video (%s): skipped\n", SDL_GetError());
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return result;
}
