// Displays in the library's own windows on the fake backend: placement, the window procedure and the
// quit message, classes across displays, and every creation failure.
#include "fake_fixture.h"
#include "platform/windows/window_classes.h"

namespace vxl::testing {
namespace {

using platform::Message;

class OwnWindow : public FakeTest {
protected:
    // DoEvents over `calls` calls, as a string of '-' (running) and '0' (quit).
    static std::string Pump(int calls) {
        std::string s;
        for (int i = 0; i < calls; ++i) s += DoEvents() ? '-' : '0';
        return s;
    }

    // Nothing of a failed display stays behind: no window, no class, the screen saver and cursor back.
    void ExpectNothingLeft(const char* class_name) {
        EXPECT_FALSE(platform::GetClassInfo(class_name));
        EXPECT_FALSE(fake_->IsWindow(1) || fake_->IsWindow(2));
        EXPECT_TRUE(fake_->screen_saver_allowed());
        EXPECT_TRUE(fake_->cursor_visible());
        EXPECT_EQ(VexelSizeX(), 0);
    }
};

TEST_F(OwnWindow, WindowedIsCaptionedCentredByItsClientSizeAndIgnoresBpp) {
    const uint32_t id = InitVexelWindow(640, 480, 8, 0, "Game");
    ASSERT_TRUE(fake_->IsWindow(id));
    const auto& w = fake_->window(id);
    // The outer window starts where the centred client area would: (1024-640)/2, (768-480)/2.
    EXPECT_EQ(Geometry(w), (std::vector<int32_t>{192 + 4, 144 + 24, 640, 480}));
    EXPECT_EQ(w.title, "Game");
    EXPECT_TRUE(w.shown);
    EXPECT_FALSE(w.style & platform::WS_POPUP);
    EXPECT_EQ(GlobalBpp(), 32);
    EXPECT_FALSE(fake_->screen_saver_allowed());
    EXPECT_TRUE(TheLibrary().input);

    CloseVexel();
    EXPECT_FALSE(fake_->IsWindow(id));
    EXPECT_FALSE(platform::GetClassInfo("TSelfVexel"));
    EXPECT_TRUE(fake_->screen_saver_allowed());

    // A window wider than the screen starts at its left edge; a null title is an empty one.
    const uint32_t wide = InitVexelWindow(2000, 100, 0, 0, nullptr);
    EXPECT_EQ(Geometry(fake_->window(wide)), (std::vector<int32_t>{0 + 4, 334 + 24, 2000, 100}));
    EXPECT_EQ(fake_->window(wide).title, "");
}

TEST_F(OwnWindow, CloseRequestBecomesOneQuitWhileTheWindowStays) {
    const uint32_t id = InitVexelWindow(320, 240, 0, 0, "t");
    EXPECT_EQ(Pump(3), "---");
    fake_->QueueEvent(Message{id, platform::WM_CLOSE, 0, 0});
    EXPECT_EQ(Pump(3), "-0-");
    EXPECT_TRUE(fake_->IsWindow(id));
    EXPECT_EQ(VexelSizeX(), 320);

    // The close box's system command is passed on and ends the same way; the screen saver and
    // monitor power-down requests are refused and change nothing.
    fake_->QueueEvent(Message{id, platform::WM_SYSCOMMAND, platform::SC_SCREENSAVE, 0});
    fake_->QueueEvent(Message{id, platform::WM_SYSCOMMAND, platform::SC_MONITORPOWER, 0});
    fake_->QueueEvent(Message{id, platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0});
    EXPECT_EQ(Pump(5), "---0-");
    EXPECT_EQ(platform::DispatchMessage(Message{id, platform::WM_SYSCOMMAND, platform::SC_SCREENSAVE, 0}), 0);
    EXPECT_EQ(Pump(2), "--");

    // The window's destruction from outside asks to quit as well.
    platform::DispatchMessage(Message{id, platform::WM_DESTROY, 0, 0});
    EXPECT_EQ(Pump(2), "0-");
}

TEST_F(OwnWindow, FullScreenCoversTheScreenAndItsQuitReachesDoEvents) {
    ListCommonModes();
    const uint32_t id = InitVexelWindow(640, 480, 16, 1, "Full");
    const auto& w = fake_->window(id);
    EXPECT_TRUE(w.full_screen);
    EXPECT_TRUE(w.style & platform::WS_POPUP);
    EXPECT_EQ(Geometry(w), (std::vector<int32_t>{0, 0, 1024, 768}));
    EXPECT_EQ(GlobalBpp(), 16);
    EXPECT_FALSE(fake_->cursor_visible());
    EXPECT_FALSE(fake_->screen_saver_allowed());
    fake_->QueueEvent(Message{id, platform::WM_CLOSE, 0, 0});
    EXPECT_EQ(Pump(3), "-0-");  // the thread's quit message, not the window's

    CloseVexel();
    EXPECT_FALSE(fake_->IsWindow(id));
    EXPECT_TRUE(fake_->cursor_visible());
    EXPECT_TRUE(fake_->screen_saver_allowed());
    EXPECT_FALSE(platform::GetClassInfo("TSelfFullVexel"));

    // Closing it left no quit message behind for the next display, of either kind.
    InitVexelWindow(640, 480, 32, 1, "again");
    EXPECT_EQ(Pump(3), "---");
    InitVexelWindow(320, 240, 0, 0, "windowed");
    EXPECT_EQ(Pump(3), "---");
}

TEST_F(OwnWindow, ASecondWindowAfterCloseRegistersItsClassAgainAndAnExistingClassIsUsed) {
    InitVexelWindow(320, 240, 0, 0, "one");
    CloseVexel();
    const uint32_t second = InitVexelWindow(320, 240, 0, 0, "two");
    EXPECT_TRUE(fake_->IsWindow(second));
    CloseVexel();

    // A class already there is used as it is; unregistering fails while a window of it lives.
    ASSERT_TRUE(platform::RegisterClass(platform::WindowClass{0, nullptr, "TSelfVexel"}));
    const uint32_t third = InitVexelWindow(320, 240, 0, 0, "three");
    EXPECT_TRUE(fake_->IsWindow(third));
    EXPECT_FALSE(platform::UnregisterClass("TSelfVexel"));
    InitVexel(fake_->AddWindow(0, 0, 10, 10), 100, 100, 0, 0);  // closes the own window first
    EXPECT_FALSE(fake_->IsWindow(third));
    EXPECT_FALSE(platform::GetClassInfo("TSelfVexel"));
}

TEST_F(OwnWindow, WindowedCreationFailures) {
    fake_->Fail(platform::PlatformCall::RegisterClass, 0x80004005);
    ExpectFatal("[TSelfVexel]RegisterClass -> Error registering window class...",
                [] { InitVexelWindow(320, 240, 0, 0, "t"); });
    ExpectNothingLeft("TSelfVexel");

    fake_->Fail(platform::PlatformCall::CreateWindowEx, 0x80004005);
    ExpectFatal("[TSelfVexel]CreateWindowEx -> Error creating window...", [] { InitVexelWindow(320, 240, 0, 0, "t"); });
    ExpectNothingLeft("TSelfVexel");
    ExpectFatal("[TSelfVexel]CreateWindowEx -> Error creating window...", [] { InitVexelWindow(0, 240, 0, 0, "t"); });

    SetDesktopDepth(8);
    ExpectFatal("[TSelfVexel]Create -> Desktop color depth not supported (only 15,16,24,32bit)",
                [] { InitVexelWindow(320, 240, 0, 0, "t"); });
    ExpectNothingLeft("TSelfVexel");

    SetDesktopDepth(16);
    fake_->Fail(platform::PlatformCall::CreateSurface, platform::DDERR_OUTOFMEMORY);
    ExpectFatal(Failed(kTagVexel, "CreateSurface", platform::DDERR_OUTOFMEMORY),
                [] { InitVexelWindow(320, 240, 0, 0, "t"); });
    ExpectNothingLeft("TSelfVexel");
}

TEST_F(OwnWindow, FullScreenCreationFailures) {
    ListCommonModes();
    fake_->modes.push_back({640, 480, 12, 60});
    ExpectFatal("[TSelfFullVexel]Create -> Selected display mode not supported...",
                [] { InitVexelWindow(800, 601, 16, 1, "t"); });
    ExpectFatal("[TSelfFullVexel]Create -> Selected display mode not supported...",
                [] { InitVexelWindow(640, 480, 8, 1, "t"); });
    ExpectNothingLeft("TSelfFullVexel");
    ExpectFatal("[TSelfFullVexel]Create -> Desktop color depth not supported (only 15,16,24,32bit)",
                [] { InitVexelWindow(640, 480, 12, 1, "t"); });
    ExpectNothingLeft("TSelfFullVexel");

    ASSERT_TRUE(platform::RegisterClass(platform::WindowClass{0, nullptr, "TSelfFullVexel"}));
    ExpectFatal("[TSelfFullVexel]RegisterClass -> Error registering window class...",
                [] { InitVexelWindow(640, 480, 16, 1, "t"); });

    fake_->Fail(platform::PlatformCall::CreateWindowEx, 0x80004005);
    ExpectFatal("[TSelfFullVexel]CreateWindowEx -> Error creating window...",
                [] { InitVexelWindow(640, 480, 16, 1, "t"); });
    ExpectNothingLeft("TSelfFullVexel");

    fake_->Fail(platform::PlatformCall::SetDisplayMode, platform::DDERR_INVALIDMODE);
    ExpectFatal(Failed(kTagVexel, "SetDisplayMode", platform::DDERR_INVALIDMODE),
                [] { InitVexelWindow(640, 480, 16, 1, "t"); });
    ExpectNothingLeft("TSelfFullVexel");
}

}  // namespace
}  // namespace vxl::testing
