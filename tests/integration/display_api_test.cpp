// Displays through the C API, shown in an SDL window under the dummy video driver (desktop 1024x768x32).
#include "sdl_window_fixture.h"

namespace {

bool IsFullScreen(SDL_Window* w) { return (SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; }

using DisplayApi = SdlWindowTest;

TEST_F(DisplayApi, WindowedDisplayOwnsTheWindowUntilClosed) {
    InitVexel(id_, 320, 240, 16, 0);  // windowed displays take the desktop's depth, whatever is asked
    EXPECT_EQ(VexelSizeX(), 320);
    EXPECT_EQ(VexelSizeY(), 240);
    EXPECT_EQ(GlobalBpp(), 32);
    EXPECT_FALSE(IsFullScreen(window_));
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);

    ClearVexel(RGB(10, 200, 30));
    EXPECT_EQ(WindowPixel(160, 120), 0x0AC81Eu);
    EXPECT_EQ(PixelsOtherThan(0x0AC81E), 0);

    CloseVexel();
    EXPECT_EQ(VexelSizeX(), 0);
    EXPECT_EQ(VexelSizeY(), 0);
    EXPECT_EQ(GlobalBpp(), 0);
    EXPECT_EQ(DoEvents(), 0);
    ClearVexel(0);  // nothing open: ignored
}

class FullScreenDisplay : public SdlWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(FullScreenDisplay, TakesTheDesktopAndGivesItBack) {
    const int bpp = GetParam();
    InitVexel(id_, 640, 480, bpp, 1);
    EXPECT_EQ(GlobalBpp(), bpp);
    EXPECT_EQ(VexelSizeX(), 640);
    EXPECT_EQ(VexelSizeY(), 480);
    EXPECT_TRUE(IsFullScreen(window_));

    // 640x480 scaled onto the 4:3 desktop leaves no letterbox bars.
    ClearVexel(RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(512, 384), 0xFF0000u);
    EXPECT_EQ(PixelsOtherThan(0xFF0000), 0);

    CloseVexel();
    EXPECT_FALSE(IsFullScreen(window_));
    EXPECT_EQ(GlobalBpp(), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, FullScreenDisplay, ::testing::Values(15, 16, 24, 32));

// A display opened while another is open replaces it, window state included.
class SecondDisplay : public SdlWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SecondDisplay, ReplacesTheFirst) {
    const bool full_second = GetParam();
    InitVexel(id_, 640, 480, 16, full_second ? 0 : 1);
    InitVexel(id_, 640, 480, 16, full_second ? 1 : 0);
    EXPECT_EQ(IsFullScreen(window_), full_second);
    EXPECT_EQ(GlobalBpp(), full_second ? 16 : 32);
    EXPECT_EQ(VexelSizeX(), 640);
    EXPECT_EQ(VexelSizeY(), 480);
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    EXPECT_EQ(w, full_second ? 1024 : 640);
    EXPECT_EQ(h, full_second ? 768 : 480);

    ClearVexel(RGB(0, 0, 255));
    EXPECT_EQ(PixelsOtherThan(0x0000FF), 0);
    CloseVexel();
    EXPECT_FALSE(IsFullScreen(window_));
}

INSTANTIATE_TEST_SUITE_P(Order, SecondDisplay, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "WindowedThenFull" : "FullThenWindowed"; });

TEST_F(DisplayApi, UnsupportedModeThrowsLogsAndLeavesTheLibraryUsable) {
    const std::string message = "[TFullVexel]Create -> Selected display mode not supported...";
    EXPECT_EQ(Failure([&] { InitVexel(id_, 800, 601, 32, 1); }), message);
    EXPECT_EQ(ErrorLog(), message + "\r\n");
    EXPECT_EQ(VexelSizeX(), 0);
    EXPECT_FALSE(IsFullScreen(window_));

    InitVexel(id_, 320, 200, 32, 1);
    EXPECT_EQ(VexelSizeX(), 320);
}

TEST_F(DisplayApi, ClosingTheWindowEndsTheLoop) {
    InitVexel(id_, 320, 240, 0, 0);
    DrainMessages();
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = id_;
    ASSERT_EQ(SDL_PushEvent(&close), 1) << SDL_GetError();
    EXPECT_EQ(DoEvents(), -1);  // the close request itself, which asks to quit
    EXPECT_EQ(DoEvents(), 0);
}

TEST_F(DisplayApi, QuitEventEndsTheLoopOnce) {
    InitVexel(id_, 320, 240, 0, 0);
    DrainMessages();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1) << SDL_GetError();
    EXPECT_EQ(DoEvents(), 0);
    EXPECT_EQ(DoEvents(), -1);
}

TEST_F(DisplayApi, MessagesForOtherWindowsAreLeftAlone) {
    InitVexel(id_, 320, 240, 0, 0);
    DrainMessages();
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = id_ + 1000;
    ASSERT_EQ(SDL_PushEvent(&close), 1) << SDL_GetError();
    DrainMessages();
}

}  // namespace
