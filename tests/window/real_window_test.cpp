// A windowed display in a real X11 window: the cleared picture must reach the window surface and the
// X server's screen; real input devices reach the readers. Exits 77 (skipped) where there is no X display to talk to.
#include <cstdlib>
#include <string>

#include "../integration/sdl_window_fixture.h"

// Last: Xlib's macros (None, Bool, ...) would break GoogleTest's headers.
#include "x_screen.h"

namespace {

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
    EXPECT_EQ(XScreenPixel(x + w / 2, y + h / 2), 0x00FF00u) << "window at " << x << "," << y;
}

// Runs a command line; false when it fails.
bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// Asks `probe` again while the events of the X server come in, for up to two seconds.
template <typename Probe>
bool Eventually(Probe&& probe) {
    for (int i = 0; i < 200; ++i) {
        DoEvents();
        if (probe()) return true;
        SDL_Delay(10);
    }
    return false;
}

// Real key presses and pointer motion, sent through the X server by xdotool, reach the readers of
// the library's own window.
TEST_F(RealWindow, XdotoolKeysAndMouseReachTheReaders) {
    if (!Shell("command -v xdotool >/dev/null 2>&1")) GTEST_SKIP() << "xdotool is not installed";
    const uint32_t own = InitVexelWindow(320, 240, 0, 0, "VXL input");
    SDL_Window* w = SDL_GetWindowFromID(own);
    ASSERT_NE(w, nullptr);
    for (int i = 0; i < 20; ++i) {
        DoEvents();
        SDL_Delay(10);
    }
    int x = 0, y = 0;
    SDL_GetWindowPosition(w, &x, &y);
    const auto move = [&](int cx, int cy) {
        return Shell("xdotool mousemove --sync " + std::to_string(x + cx) + " " + std::to_string(y + cy));
    };

    ASSERT_TRUE(move(100, 50));
    EXPECT_TRUE(Eventually([] { return MouseX() == 100 && MouseY() == 50; }))
        << "cursor read at " << MouseX() << "," << MouseY();
    EXPECT_TRUE(Eventually([] { return MouseAX() == 0 && MouseAY() == 0; }));  // drained
    ASSERT_TRUE(move(130, 70));
    int32_t dx = 0, dy = 0;
    EXPECT_TRUE(Eventually([&] {
        int32_t ax = 0, ay = 0;
        GetMouseAccel(&ax, &ay);
        dx = ax ? ax : dx;
        dy = ay ? ay : dy;
        return dx != 0 && dy != 0;
    }));
    EXPECT_GT(dx, 0);
    EXPECT_GT(dy, 0);

    ASSERT_TRUE(Shell("xdotool mousedown 1"));
    EXPECT_TRUE(Eventually([] { return MouseLeft() == -1; }));
    ASSERT_TRUE(Shell("xdotool mouseup 1"));
    EXPECT_TRUE(Eventually([] { return MouseLeft() == 0; }));

    ASSERT_TRUE(Shell("xdotool keydown Escape"));
    EXPECT_TRUE(Eventually([] { return Inkey(VXL_KEY_ESCAPE) == -1; }));
    ASSERT_TRUE(Shell("xdotool keyup Escape"));
    EXPECT_TRUE(Eventually([] { return Inkey(VXL_KEY_ESCAPE) == 0; }));

    SetMousePos(-20, 30);  // left of the window: negative client x
    EXPECT_TRUE(Eventually([] { return MouseX() == -20 && MouseY() == 30; }))
        << "cursor read at " << MouseX() << "," << MouseY();
    CloseVexel();
}

// Absolute pointer moves reach the cursor the readers report, in display pixels: in the host's window
// and the library's own, windowed and full screen, where a 640x400 mode is shown letterboxed and a
// point on a bar lies outside the display.
TEST_F(RealWindow, AbsoluteMovesReachTheCursorInDisplayPixels) {
    if (!Shell("command -v xdotool >/dev/null 2>&1")) GTEST_SKIP() << "xdotool is not installed";
    for (const bool own : {false, true})
        for (const bool full : {false, true}) {
            SCOPED_TRACE(std::string(own ? "own" : "host") + (full ? " full screen" : " windowed"));
            uint32_t id = id_;
            if (own) {
                id = InitVexelWindow(640, 400, full ? 32 : 0, full, "VXL cursor");
            } else {
                InitVexel(id_, 640, 400, full ? 32 : 0, full);
            }
            ASSERT_EQ(VexelSizeX(), 640);
            for (int i = 0; i < 20; ++i) {
                DoEvents();
                SDL_Delay(10);
            }
            // Where the display's picture lies on the screen: the client area, or the letterbox.
            int x = 0, y = 0, w = 640, h = 400;
            SDL_Window* window = SDL_GetWindowFromID(id);
            ASSERT_NE(window, nullptr);
            SDL_GetWindowPosition(window, &x, &y);
            if (full) {
                int tw = 0, th = 0;
                SDL_GetWindowSize(window, &tw, &th);
                w = tw, h = tw * 400 / 640;
                if (h > th) h = th, w = th * 640 / 400;
                x += (tw - w) / 2, y += (th - h) / 2;
            }
            for (const auto& [dx, dy] : {std::pair{w / 2 + 3, h / 3}, {w - 1, h - 1}, {7, 5}, {w / 2, h + 5}}) {
                const int want_x = dx * 640 / w, want_y = dy * 400 / h;
                ASSERT_TRUE(Shell("xdotool mousemove --sync " + std::to_string(x + dx) + " " + std::to_string(y + dy)));
                EXPECT_TRUE(Eventually([&] { return MouseX() == want_x && MouseY() == want_y; }))
                    << "moved to " << dx << "," << dy << " of the picture, read " << MouseX() << "," << MouseY()
                    << ", want " << want_x << "," << want_y;
            }
            SetMousePos(100, 50);
            EXPECT_TRUE(Eventually([] { return MouseX() == 100 && MouseY() == 50; }))
                << "read " << MouseX() << "," << MouseY();
            CloseVexel();
        }
}

// Quick taps, clicks, wheel notches and typed text, sent through the X server by xdotool faster than
// a frame: every one reaches the extension readers, the text as UTF-8.
TEST_F(RealWindow, XdotoolTapsWheelAndTypedTextAreAllCounted) {
    if (!Shell("command -v xdotool >/dev/null 2>&1")) GTEST_SKIP() << "xdotool is not installed";
    const uint32_t own = InitVexelWindow(320, 240, 0, 0, "VXL taps");
    SDL_Window* w = SDL_GetWindowFromID(own);
    ASSERT_NE(w, nullptr);
    for (int i = 0; i < 20; ++i) {
        DoEvents();
        SDL_Delay(10);
    }
    int x = 0, y = 0;
    SDL_GetWindowPosition(w, &x, &y);
    // No --sync: it waits for a motion that never comes when the pointer is there already.
    ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(x + 160) + " " + std::to_string(y + 120)));
    VxlKeyHit(VXL_KEY_A), VxlMouseHit(0), VxlMouseWheel();
    char drained[256];
    while (VxlTextInput(drained, sizeof drained) > 0) {
    }

    // Each reader summed until its total arrives; a total that goes past it fails just the same.
    const struct {
        const char* name;
        const char* command;
        int32_t (*reader)();
        int32_t total;
    } cases[] = {
        {"ten taps of A", "xdotool key --delay 15 a a a a a a a a a a", [] { return VxlKeyHit(VXL_KEY_A); }, 10},
        {"ten left clicks", "xdotool click --repeat 10 --delay 15 1", [] { return VxlMouseHit(0); }, 10},
        {"three notches away", "xdotool click --repeat 3 --delay 15 4", [] { return VxlMouseWheel(); }, 3},
        {"one notch back", "xdotool click 5", [] { return VxlMouseWheel(); }, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Shell(c.command));
        int32_t sum = 0;
        Eventually([&] { return (sum += c.reader()) == c.total; });
        SDL_Delay(50);
        DoEvents();
        EXPECT_EQ(sum + c.reader(), c.total);
    }

    while (VxlTextInput(drained, sizeof drained) > 0) {  // the taps of A typed text too
    }
    // Letters the keyboard map lacks are typed by mapping a spare key for a moment: the events must
    // be taken while xdotool is still at work, so it runs in the background.
    ASSERT_TRUE(Shell("xdotool type --delay 80 'Größe €' &"));
    std::string typed;
    Eventually([&] {
        char part[8];  // small, so the text comes out in pieces cut between characters
        while (VxlTextInput(part, sizeof part) > 0) typed += part;
        return typed.size() >= std::string("Größe €").size();
    });
    EXPECT_EQ(typed, "Größe €");
    CloseVexel();
}

}  // namespace
