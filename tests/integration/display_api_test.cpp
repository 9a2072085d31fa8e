// Displays through the C API, shown in an SDL window under the dummy video driver (desktop 1024x768x32).
#include <exception>

#include "sdl_window_fixture.h"

namespace {

class Displays : public SdlWindowTest, public ::testing::WithParamInterface<int> {};

// Windowed, replaced by full screen at the depth asked for, closed, then full screen replaced by a
// window: each display owns the window until the next one or CloseVexel.
TEST_P(Displays, OpenReplaceAndClose) {
    const int bpp = GetParam();
    InitVexel(id_, 320, 240, bpp, 0);  // windowed displays take the desktop's depth, whatever is asked
    EXPECT_EQ(GlobalBpp(), 32);
    EXPECT_EQ(std::pair(VexelSizeX(), VexelSizeY()), std::pair(320, 240));
    EXPECT_FALSE(FullScreen());
    EXPECT_EQ(WindowSize(), std::pair(320, 240));
    ClearVexel(RGB(10, 200, 30));
    EXPECT_EQ(PixelsOtherThan(0x0AC81E), 0);

    InitVexel(id_, 640, 480, bpp, 1);
    EXPECT_EQ(GlobalBpp(), bpp);
    EXPECT_EQ(std::pair(VexelSizeX(), VexelSizeY()), std::pair(640, 480));
    EXPECT_TRUE(FullScreen());
    EXPECT_EQ(WindowSize(), std::pair(1024, 768));
    ClearVexel(RGB(255, 0, 0));
    EXPECT_EQ(PixelsOtherThan(0xFF0000), 0);  // scaled onto the 4:3 desktop without bars

    CloseVexel();
    EXPECT_FALSE(FullScreen());
    EXPECT_EQ(VexelSizeX() | VexelSizeY() | GlobalBpp() | DoEvents(), 0);

    InitVexel(id_, 640, 480, bpp, 1);
    InitVexel(id_, 640, 480, bpp, 0);
    EXPECT_FALSE(FullScreen());
    EXPECT_EQ(GlobalBpp(), 32);
    EXPECT_EQ(WindowSize(), std::pair(640, 480));
    ClearVexel(RGB(0, 0, 255));
    EXPECT_EQ(PixelsOtherThan(0x0000FF), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, Displays, ::testing::Values(15, 16, 24, 32));

using DisplayApi = SdlWindowTest;

TEST_F(DisplayApi, UnsupportedModeThrowsLogsAndLeavesTheLibraryUsable) {
    EXPECT_THROW(InitVexel(id_, 800, 601, 32, 1), std::exception);
    EXPECT_EQ(ErrorLog(), "[TFullVexel]Create -> Selected display mode not supported...\r\n");
    EXPECT_FALSE(FullScreen());
    InitVexel(id_, 320, 200, 32, 1);
    EXPECT_EQ(VexelSizeX(), 320);
}

// A close request for our window asks to quit (answered on the next call); a quit ends the loop once.
TEST_F(DisplayApi, CloseAndQuitEndTheLoop) {
    SDL_Event close{}, quit{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = id_;
    quit.type = SDL_QUIT;
    for (auto [event, results] : {std::pair{&close, std::pair{-1, 0}}, {&quit, {0, -1}}}) {
        InitVexel(id_, 320, 240, 0, 0);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(DoEvents(), -1) << "window message " << i;
        ASSERT_EQ(SDL_PushEvent(event), 1) << SDL_GetError();
        EXPECT_EQ(DoEvents(), results.first);
        EXPECT_EQ(DoEvents(), results.second);
    }
}

// A window moved to the ends of the coordinate range still takes draws and flips: they show nothing and
// no offset between the client area and the screen wraps around (the sanitizer build checks).
TEST_F(DisplayApi, DrawsToAWindowAtTheEndsOfTheRangeShowNothing) {
    InitVexel(id_, 320, 240, 0, 0);
    const int32_t sprite = SetupBuffer(320, 240, 0);
    Fill(sprite, RGB(255, 255, 255));
    for (auto [x, y] : {std::pair{-65536, INT32_MIN}, {INT32_MIN, 0}, {INT32_MAX, INT32_MAX}}) {
        SetVexelWindowPos(x, y);
        DrawBuffer(sprite, 0, 0);
        DrawScaleSprite(sprite, -9, 0, 321, -59, 0);
        Flip(sprite, 0);
    }
    SetVexelWindowPos(0, 0);
    Flip(sprite, 0);
    EXPECT_EQ(PixelsOtherThan(0xFFFFFF), 0);
    CloseBuffer(sprite);
    CloseVexel();
}

}  // namespace
