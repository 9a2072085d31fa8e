// Input, the library's own windows and the timer through the C API under SDL's dummy video driver,
// with events pushed into SDL as a device would produce them.
#include "sdl_window_fixture.h"

namespace {

class OwnWindowApi : public SdlWindowTest {
protected:
    void TearDown() override {
        CloseVexel();
        SdlWindowTest::TearDown();
    }

    void Motion(int x, int y, int dx, int dy) {
        SDL_Event e{SDL_MOUSEMOTION};
        e.motion.x = x, e.motion.y = y, e.motion.xrel = dx, e.motion.yrel = dy;
        Push(e, own_);
    }
    void CloseBox() {
        SDL_Event e{SDL_WINDOWEVENT};
        e.window.event = SDL_WINDOWEVENT_CLOSE;
        Push(e, own_);
    }
    // DoEvents over `calls` calls: the positions of the calls that answered 0.
    static std::vector<int> Quits(int calls) {
        std::vector<int> at;
        for (int i = 0; i < calls; ++i)
            if (DoEvents() == 0) at.push_back(i);
        return at;
    }

    uint32_t own_ = 0;
};

TEST_F(OwnWindowApi, OwnWindowsAreCaptionedSizedAndClosedByTheirCloseBoxOnce) {
    SDL_EnableScreenSaver();
    own_ = InitVexelWindow(320, 240, 16, 0, "VXL own window");
    SDL_Window* w = SDL_GetWindowFromID(own_);
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(w), "VXL own window");
    int width = 0, height = 0;
    SDL_GetWindowSize(w, &width, &height);
    EXPECT_EQ(std::pair(width, height), std::pair(320, 240));
    EXPECT_EQ(GlobalBpp(), 32);
    EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS);
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());

    Quits(20);  // whatever SDL had queued for the new window
    CloseBox();
    EXPECT_EQ(Quits(20).size(), 1u);
    EXPECT_NE(SDL_GetWindowFromID(own_), nullptr);  // the window stays until the host closes it

    CloseVexel();
    EXPECT_EQ(SDL_GetWindowFromID(own_), nullptr);
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());

    // A full-screen one next: it covers the desktop, and no quit was left behind for it.
    own_ = InitVexelWindow(640, 480, 16, 1, "full");
    w = SDL_GetWindowFromID(own_);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    EXPECT_EQ(GlobalBpp(), 16);
    EXPECT_TRUE(Quits(20).empty());
    CloseBox();
    EXPECT_EQ(Quits(20).size(), 1u);
}

// Keys by their DirectInput codes and the mouse's motion, buttons and cursor, from SDL's events for
// a window of the library's own and for a host window alike.
TEST_F(OwnWindowApi, KeysAndMouseReachTheInputExports) {
    for (bool own : {true, false}) {
        SCOPED_TRACE(own ? "own window" : "host window");
        if (own) {
            own_ = InitVexelWindow(320, 240, 0, 0, "input");
        } else {
            InitVexel(id_, 320, 240, 0, 0);
            own_ = id_;
        }
        Key(SDL_SCANCODE_ESCAPE, true, own_);
        Key(SDL_SCANCODE_KP_ENTER, true, own_);
        EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), -1);
        EXPECT_EQ(Inkey(VXL_KEY_NUMPADENTER), -1);
        EXPECT_EQ(Inkey(VXL_KEY_RETURN), 0);
        Key(SDL_SCANCODE_ESCAPE, false, own_);
        Key(SDL_SCANCODE_KP_ENTER, false, own_);
        EXPECT_EQ(Inkey(VXL_KEY_ESCAPE), 0);

        MouseAX();
        MouseAY();
        Motion(10, 10, 3, -2);  // both axes: an X event, then a Y event
        EXPECT_EQ(std::pair(MouseAX(), MouseAY()), std::pair(3, -2));
        Button(SDL_BUTTON_RIGHT, true, own_);
        Button(SDL_BUTTON_MIDDLE, true, own_);
        int32_t l = 1, m = 1, r = 1;
        GetMouseButtons(&l, &m, &r);
        EXPECT_EQ(std::tuple(l, m, r), std::tuple(0, -1, -1));
        Button(SDL_BUTTON_RIGHT, false, own_);
        Button(SDL_BUTTON_MIDDLE, false, own_);

        SetMousePos(-25, 7);
        EXPECT_EQ(std::pair(MouseX(), MouseY()), std::pair(-25, 7));
        CloseVexel();
    }
}

TEST_F(OwnWindowApi, TimerCountsMilliseconds) {
    StartTimer();
    SDL_Delay(50);
    const float elapsed = Timer();
    EXPECT_GE(elapsed, 50.0f);
    EXPECT_LT(elapsed, 60000.0f);
    StopTimer();
    const float stopped = Timer();
    SDL_Delay(5);
    EXPECT_EQ(Timer(), stopped);
}

}  // namespace
