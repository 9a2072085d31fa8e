// A windowed display in a real X11 window: the cleared picture must reach the window surface and the
// X server's screen. Exits 77 (skipped) where there is no X display to talk to.
#include <cstdio>
#include <cstdlib>

#include "../integration/sdl_window_fixture.h"

// Last: Xlib's macros (None, Bool, ...) would break GoogleTest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// A masked channel of an X pixel scaled to 8 bits.
uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctzl(mask);
    return uint32_t(((pixel & mask) >> shift) * 255 / (mask >> shift));
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

using RealWindow = SdlWindowTest;

TEST_F(RealWindow, ClearReachesTheScreen) {
    InitVexel(id_, 320, 240, 0, 0);
    ClearVexel(RGB(0, 255, 0));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(DoEvents(), -1);

    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    const auto [w, h] = WindowSize();
    EXPECT_EQ(WindowSize(), std::pair(320, 240));
    EXPECT_EQ(SurfacePixel(window_, w / 2, h / 2), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(x + w / 2, y + h / 2), 0x00FF00u) << "window at " << x << "," << y;
}

}  // namespace

int main(int argc, char** argv) {
    if (const char* display = std::getenv("DISPLAY"); !display || !*display) {
        std::puts("no DISPLAY: skipped");
        return 77;
    }
    // Video stays started around every test, so that the library sees it as the host's and keeps our
    // windows; the override beats an SDL_VIDEODRIVER left in the environment.
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
