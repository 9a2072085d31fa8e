// Displays in the library's own windows on the fake backend: placement, the window procedure and the
// quit message, classes across displays, and every creation failure.
#include "fake_fixture.h"
#include "platform/windows/window_classes.h"

namespace vxl::testing {
namespace {

using namespace platform;

class OwnWindow : public FakeTest {
protected:
    // DoEvents over `calls` calls, as a string of '-' (running) and '0' (quit).
    static std::string Pump(int calls) {
        std::string s;
        for (int i = 0; i < calls; ++i) s += DoEvents() ? '-' : '0';
        return s;
    }
};

// Captions, sizes, the screen saver and one quit per close box are the integration tests'; here the
// placement, the classes and the messages the window procedure handles.
TEST_F(OwnWindow, WindowedIsCentredByItsClientSizeAndItsClassGoesWithIt) {
    const uint32_t id = InitVexelWindow(640, 480, 8, 0, "Game");
    // The outer window starts where the centred client area would: (1024-640)/2, (768-480)/2.
    EXPECT_EQ(Geometry(fake_->window(id)), (std::vector<int32_t>{192 + 4, 144 + 24, 640, 480}));
    CloseVexel();
    EXPECT_FALSE(fake_->IsWindow(id) || GetClassInfo("TSelfVexel"));
    // A window wider than the screen starts at its left edge; a null title is an empty one.
    const auto& wide = fake_->window(InitVexelWindow(2000, 100, 0, 0, nullptr));
    EXPECT_EQ(std::pair(Geometry(wide), wide.title),
              std::pair(std::vector<int32_t>{0 + 4, 334 + 24, 2000, 100}, std::string()));
}

TEST_F(OwnWindow, SystemCommandsAndDestructionBecomeQuits) {
    const uint32_t id = InitVexelWindow(320, 240, 0, 0, "t");
    // The close box's system command is passed on and ends the same way; the screen saver and
    // monitor power-down requests are refused and change nothing.
    for (uint32_t command : {SC_SCREENSAVE, SC_MONITORPOWER, SC_CLOSE})
        fake_->QueueEvent(Message{id, WM_SYSCOMMAND, command, 0});
    EXPECT_EQ(Pump(5), "---0-");
    EXPECT_EQ(DispatchMessage(Message{id, WM_SYSCOMMAND, SC_SCREENSAVE, 0}), 0);
    // The window's destruction from outside asks to quit as well.
    DispatchMessage(Message{id, WM_DESTROY, 0, 0});
    EXPECT_EQ(Pump(2), "0-");
}

TEST_F(OwnWindow, FullScreenIsAPopupWithoutCursorAndLeavesNoQuitBehind) {
    ListCommonModes();
    const uint32_t id = InitVexelWindow(640, 480, 16, 1, "Full");
    const auto& w = fake_->window(id);
    EXPECT_EQ(std::tuple(Geometry(w), w.style & WS_POPUP, fake_->cursor_visible()),
              std::tuple(std::vector<int32_t>{0, 0, 1024, 768}, uint32_t(WS_POPUP), false));
    fake_->QueueEvent(Message{id, WM_CLOSE, 0, 0});
    EXPECT_EQ(Pump(3), "-0-");  // the thread's quit message, not the window's
    CloseVexel();
    EXPECT_FALSE(fake_->IsWindow(id) || GetClassInfo("TSelfFullVexel"));
    EXPECT_TRUE(fake_->cursor_visible());
    InitVexelWindow(320, 240, 0, 0, "windowed");
    EXPECT_EQ(Pump(3), "---");
}

TEST_F(OwnWindow, ClassesAreRegisteredPerDisplayAndAnExistingOneIsUsed) {
    InitVexelWindow(320, 240, 0, 0, "one");
    CloseVexel();
    EXPECT_TRUE(fake_->IsWindow(InitVexelWindow(320, 240, 0, 0, "two")));  // registered again
    CloseVexel();
    // A class already there is used as it is; unregistering fails while a window of it lives.
    ASSERT_TRUE(RegisterClass(WindowClass{0, nullptr, "TSelfVexel"}));
    const uint32_t third = InitVexelWindow(320, 240, 0, 0, "three");
    EXPECT_TRUE(fake_->IsWindow(third));
    EXPECT_FALSE(UnregisterClass("TSelfVexel"));
    InitVexel(fake_->AddWindow(0, 0, 10, 10), 100, 100, 0, 0);  // closes the own window first
    EXPECT_FALSE(fake_->IsWindow(third) || GetClassInfo("TSelfVexel"));
}

// Nothing of a failed display stays behind: no window, no class, the screen saver and cursor back.
TEST_F(OwnWindow, CreationFailuresLeaveNothingBehind) {
    ListCommonModes();
    fake_->modes.push_back({640, 480, 12, 60});
    const std::string windowed = "[TSelfVexel]", full = "[TSelfFullVexel]";
    const std::string depth = "Create -> Desktop color depth not supported (only 15,16,24,32bit)";
    const std::string mode = "Create -> Selected display mode not supported...";
    const std::string registering = "RegisterClass -> Error registering window class...";
    // desktop depth, the display asked for, the call made to fail (Count: none), the message
    const struct {
        uint32_t desktop;
        int32_t w, h, bpp, full_screen;
        PlatformCall fail;
        std::string message;
    } cases[] = {
        {32, 320, 240, 0, 0, PlatformCall::RegisterClass, windowed + registering},
        {32, 320, 240, 0, 0, PlatformCall::CreateWindowEx, windowed + "CreateWindowEx -> Error creating window..."},
        {32, 0, 240, 0, 0, PlatformCall::Count, windowed + "CreateWindowEx -> Error creating window..."},
        {8, 320, 240, 0, 0, PlatformCall::Count, windowed + depth},
        {16, 320, 240, 0, 0, PlatformCall::CreateSurface, Failed(kTagVexel, "CreateSurface", DDERR_GENERIC)},
        {32, 800, 601, 16, 1, PlatformCall::Count, full + mode},
        {32, 640, 480, 12, 1, PlatformCall::Count, full + depth},
        {32, 640, 480, 16, 1, PlatformCall::CreateWindowEx, full + "CreateWindowEx -> Error creating window..."},
        {32, 640, 480, 16, 1, PlatformCall::SetDisplayMode, Failed(kTagVexel, "SetDisplayMode", DDERR_GENERIC)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        SetDesktopDepth(c.desktop);
        if (c.fail != PlatformCall::Count) fake_->Fail(c.fail, DDERR_GENERIC);
        ExpectFatal(c.message, [&] { InitVexelWindow(c.w, c.h, c.bpp, c.full_screen, "t"); });
        EXPECT_FALSE(GetClassInfo(c.full_screen ? "TSelfFullVexel" : "TSelfVexel"));
        EXPECT_FALSE(fake_->IsWindow(1) || fake_->IsWindow(2));
        EXPECT_TRUE(fake_->screen_saver_allowed() && fake_->cursor_visible());
        EXPECT_EQ(VexelSizeX(), 0);
    }
    ASSERT_TRUE(RegisterClass(WindowClass{0, nullptr, "TSelfFullVexel"}));
    ExpectFatal(full + registering, [] { InitVexelWindow(640, 480, 16, 1, "t"); });
}

}  // namespace
}  // namespace vxl::testing
