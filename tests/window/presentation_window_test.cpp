// Frames in a real X11 window: a host Flips a buffer of known colours and draws a sprite, and the X
// server's own screen must show them at the right places, windowed and full screen at every depth
// (the windowed case is the first steps of the sequence test below).
// Exits 77 (skipped) where there is no X display to talk to.
#include "../integration/sdl_window_fixture.h"

// Last: Xlib's macros (None, Bool, ...) would break GoogleTest's headers.
#include "x_screen.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

class PresentationWindow : public SdlWindowTest {
protected:
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

// Draws send only what they changed; the screen must still show exactly what showing everything
// would. A model keeps the front and back pictures in buffers, and after every step the window's
// whole area on the X server must equal the front: through draws, flips, clears, a moved window and
// a covered and exposed one. Full screen takes the screen's own size, so nothing is scaled.
class PresentationSequence : public PresentationWindow, public ::testing::WithParamInterface<std::pair<int, bool>> {
protected:
    int depth_ = GetParam().first;
    bool full_ = GetParam().second;
    int32_t front_ = -1, back_ = -1;

    // The first pixel of the window's area on the screen that differs from the model's front, or "".
    std::string FirstWrongOnScreen() {
        int x = 0, y = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        const int w = VexelSizeX(), h = VexelSizeY();
        const std::vector<uint32_t> shown = XScreenArea(x, y, w, h);
        if (shown.size() != size_t(w) * size_t(h)) return "screen unreadable";
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                uint8_t r = 0, g = 0, b = 0;
                unRGB(GetPixel(front_, i, j), &r, &g, &b);
                const uint32_t want = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
                if (shown[size_t(j) * size_t(w) + size_t(i)] != want)
                    return std::to_string(i) + "," + std::to_string(j) + " shows " +
                           std::to_string(shown[size_t(j) * size_t(w) + size_t(i)]) + ", want " + std::to_string(want);
            }
        return "";
    }
    void Drew(int32_t sprite, int32_t x, int32_t y, uint32_t key) {
        DrawSprite(sprite, x, y, key);
        CopySprite(sprite, back_, x, y, key);
        CopyBuffer(back_, front_, 0, 0);
    }
    void Flipped(int32_t picture) {
        Flip(picture, 0);
        if (full_) CopyBuffer(front_, back_, 0, 0);  // the chain's buffers change places
        CopyBuffer(picture, front_, 0, 0);
    }
};

TEST_P(PresentationSequence, ScreenShowsTheWholePictureAfterEveryStep) {
    int sw = 1024, sh = 768;
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) sw = desktop.w, sh = desktop.h;
    if (full_) {
        InitVexel(id_, sw, sh, depth_, 1);
    } else {
        InitVexel(id_, 320, 240, 0, 0);
    }
    ASSERT_EQ(GlobalBpp(), depth_);
    Settle();
    front_ = SetupBuffer(VexelSizeX(), VexelSizeY(), 0);
    back_ = SetupBuffer(VexelSizeX(), VexelSizeY(), 0);
    const int32_t sprite = Sprite(), halves = Halves(), key = Pack(0xFF00FF);
    const auto check = [&](const char* step) {
        Settle();
        EXPECT_EQ(FirstWrongOnScreen(), "") << step;
    };
    Drew(sprite, 10, 10, key);
    check("first draw");
    Drew(sprite, 40, 30, key);
    Drew(sprite, VexelSizeX() - 20, 60, key);  // cut at the right edge
    check("draws");
    Flipped(halves);
    check("flip");
    Drew(sprite, 100, 50, key);
    check("draw after a flip");
    ClearVexel(Pack(kBlue));
    Fill(front_, Pack(kBlue));
    check("clear");
    Drew(sprite, 5, 100, key);
    check("draw after a clear");
    if (!full_) {
        int x = 0, y = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        SDL_SetWindowPosition(window_, x + 37, y + 21);
        Settle();
        Drew(sprite, 60, 60, key);
        check("draw after a move");
    }
    // Another window over ours, then gone: what it covered must come back with the next draw.
    SDL_Window* cover = SDL_CreateWindow("cover", 0, 0, 200, 150, SDL_WINDOW_BORDERLESS);
    ASSERT_NE(cover, nullptr);
    SDL_RaiseWindow(cover);
    SDL_FillRect(SDL_GetWindowSurface(cover), nullptr, 0xFFFFFFFF);
    SDL_UpdateWindowSurface(cover);
    Settle();
    SDL_DestroyWindow(cover);
    Settle();
    Drew(sprite, 150, 120, key);
    check("draw after an exposure");
}

INSTANTIATE_TEST_SUITE_P(Modes, PresentationSequence,
                         ::testing::Values(std::pair{32, false}, std::pair{16, true}, std::pair{32, true}),
                         [](const auto& mode) {
                             return (mode.param.second ? "FullScreen" : "Windowed") + std::to_string(mode.param.first);
                         });
}  // namespace
