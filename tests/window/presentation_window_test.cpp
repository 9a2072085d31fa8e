// Frames in a real X11 window: a host Flips a buffer of known colours and draws a sprite, and the X
// server's own screen must show them at the right places, windowed and full screen at every depth.
// Exits 77 (skipped) where there is no X display to talk to.
#include "../integration/sdl_window_fixture.h"

// Last: Xlib's macros (None, Bool, ...) would break GoogleTest's headers.
#include "x_screen.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kBlack = 0;

class PresentationWindow : public SdlWindowTest {
protected:
    // Lets the X server and SDL settle after a change of the window.
    static void Settle() {
        for (int i = 0; i < 20; ++i) {
            DoEvents();
            SDL_Delay(5);
        }
    }

    static uint32_t Pack(uint32_t rgb) { return RGB(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)); }

    // A buffer of the display's size: left half red, right half blue.
    static int32_t Halves() {
        const int32_t b = SetupBuffer(VexelSizeX(), VexelSizeY(), 0);
        Fill(b, Pack(kRed));
        const int32_t right = SetupBuffer(VexelSizeX() / 2, VexelSizeY(), 0);
        Fill(right, Pack(kBlue));
        CopyBuffer(right, b, VexelSizeX() / 2, 0);
        return b;
    }

    // A 32 x 32 green square inside a magenta key border of 8 pixels.
    static int32_t Sprite() {
        const int32_t s = SetupBuffer(48, 48, 0), inner = SetupBuffer(32, 32, 0);
        Fill(s, Pack(0xFF00FF));
        Fill(inner, Pack(kGreen));
        CopyBuffer(inner, s, 8, 8);
        return s;
    }
};

TEST_F(PresentationWindow, WindowedFlipThenSprite) {
    InitVexel(id_, 320, 240, 0, 0);
    Settle();
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(window_, &wx, &wy);
    Flip(Halves(), 1);
    Settle();
    EXPECT_EQ(XScreenPixel(wx + 80, wy + 120), kRed) << "window at " << wx << "," << wy;
    EXPECT_EQ(XScreenPixel(wx + 240, wy + 120), kBlue);
    EXPECT_EQ(SurfacePixel(window_, 240, 120), kBlue);
    // Drawing shows the back surface, which Flip left black.
    DrawSprite(Sprite(), 100, 100, Pack(0xFF00FF));
    Settle();
    EXPECT_EQ(XScreenPixel(wx + 124, wy + 124), kGreen);
    EXPECT_EQ(XScreenPixel(wx + 103, wy + 103), kBlack);  // key border
    EXPECT_EQ(XScreenPixel(wx + 240, wy + 120), kBlack);
}

class PresentationFullScreen : public PresentationWindow, public ::testing::WithParamInterface<int> {};

// 640 x 480 shown on the 4:3 screen: scaled to fill it, so a display pixel p lands near p * screen / 640.
TEST_P(PresentationFullScreen, FlipThenSpriteFillTheScreen) {
    InitVexel(id_, 640, 480, GetParam(), 1);
    ASSERT_EQ(GlobalBpp(), GetParam());
    Settle();
    int sw = 0, sh = 0;
    SDL_GetWindowSize(window_, &sw, &sh);
    auto at = [&](int x, int y) { return XScreenPixel(x * sw / 640, y * sh / 480); };
    Flip(Halves(), 0);
    Settle();
    EXPECT_EQ(at(160, 240), kRed) << "screen " << sw << "x" << sh;
    EXPECT_EQ(at(480, 240), kBlue);
    // Flipping exchanges the chain's buffers: after a second flip the back buffer holds the halves
    // again, and the sprite lands on top of them.
    const int32_t green = SetupBuffer(64, 48, 0);
    Fill(green, Pack(kGreen));
    Flip(green, 0);
    DrawSprite(Sprite(), 0, 0, Pack(0xFF00FF));
    Settle();
    EXPECT_EQ(at(24, 24), kGreen);
    EXPECT_EQ(at(4, 4), kRed);
    EXPECT_EQ(at(480, 240), kBlue);
}

INSTANTIATE_TEST_SUITE_P(Depths, PresentationFullScreen, ::testing::Values(15, 16, 24, 32));

}  // namespace
