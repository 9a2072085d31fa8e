// Displays on the fake backend. Windowed: depth and size, clearing onto the screen, moving, closing,
// the message pump, and sizes at the ends of the 32-bit range (the stress run checks that nothing
// crashes there; this checks what is reported). Full screen: the mode test against the platform's
// mode list, the popup window, and the fatal error that ends the process. The library's own windows:
// placement, the window procedure, classes. Every set-up failure, and what still works afterwards.
#include <cctype>

#include "display/blit_completion.h"
#include "display/mode_table.h"
#include "fake_fixture.h"
#include "platform/surfaces/surface.h"
#include "platform/windows/window_classes.h"
#include "platform/windows/window_system.h"

namespace vxl::testing {
namespace {

using namespace platform;
using DisplayTest = FakeTest;

TEST_F(DisplayTest, TakesDesktopDepthButEightBitsAndClearsTheClientAreaOnly) {
    // Desktop depth, then the display's size and the depth asked for, which means nothing in a window.
    for (auto [desktop, w, h, bpp] : {std::tuple{15u, 320, 200, 32}, {24u, 100, 50, 16}, {32u, 321, 199, 0}}) {
        SCOPED_TRACE(desktop);
        SetDesktopDepth(desktop);
        const WindowId win = fake_->AddWindow(100, 80, 50, 50);
        InitVexel(win, w, h, bpp, 0);
        EXPECT_EQ(std::tuple(GlobalBpp(), VexelSizeX(), VexelSizeY()), std::tuple(int32_t(desktop), w, h));
        EXPECT_EQ(Geometry(fake_->window(win)), std::vector<int32_t>({100, 80, w, h}));  // sized, not moved

        const uint32_t colour = RGB(10, 200, 30);
        ClearVexel(colour);
        const FakeBackend::Frame& f = fake_->frames().back();
        EXPECT_EQ(std::tuple(f.window, f.width, f.height, f.scaled), std::tuple(win, w, h, false));
        const uint32_t bytes = f.format.BytesPerPixel();

        // The screen around the window keeps what it had.
        SurfaceDesc d;
        TheLibrary().display->primary()->GetSurfaceDesc(&d);
        for (auto [x, y, inside] : {std::tuple{100, 80, true}, {99 + w, 79 + h, true}, {99, 80, false},
                                    {100 + w, 80, false}, {100, 79, false}, {100, 80 + h, false}}) {
            EXPECT_EQ(LoadPixel(static_cast<const uint8_t*>(d.surface) + y * d.pitch + x * bytes, bytes),
                      inside ? colour : 0u) << x << "," << y;
        }
    }
    CloseVexel();
    SetDesktopDepth(8);
    ExpectFatal("[TVexel]Create -> Desktop color depth not supported (only 15,16,24,32bit)", [&] { OpenWindowed(); });
    EXPECT_EQ(VexelSizeX() | GlobalBpp(), 0);
}

// The outer size becomes the display's size, so the frame eats into the client area; a hidden window
// shows. (That a closed display answers 0 everywhere is the stress run's to check.)
TEST_F(DisplayTest, MovingSizesTheOuterWindowAndShowsIt) {
    const WindowId w = OpenWindowed(320, 240);
    fake_->window(w).shown = false;
    SetVexelWindowPos(10, 20);
    EXPECT_EQ(std::pair(Geometry(fake_->window(w)), fake_->window(w).shown),
              std::pair(std::vector<int32_t>({14, 44, 312, 212}), true));
}

// Queued messages, one letter each: m, q and c a mouse move, quit and close for the host window, Q and
// C a quit and close for another window, T a quit for the thread; then what successive calls return,
// negated: 1 while running, 0 once the quit arrived.
TEST_F(DisplayTest, DoEventsTakesOneMessagePerCall) {
    EXPECT_EQ(DoEvents(), 0);  // no display
    const std::pair<std::string, std::string> cases[] = {
        {"mmmmm", "111111"}, {"mmmmmq", "1111101"}, {"QC", "11"}, {"c", "101"}, {"T", "01"}};
    for (const auto& [queue, expected] : cases) {
        SCOPED_TRACE(queue);
        ResetLibrary();
        const WindowId host = OpenWindowed(), other = fake_->AddWindow(0, 0, 10, 10);
        for (char m : queue) {
            const WindowId to = std::islower(m) ? host : m == 'T' ? 0 : other;
            const char kind = char(std::tolower(m));
            fake_->QueueEvent(Message{to, kind == 'm' ? WM_MOUSEMOVE : kind == 'c' ? WM_CLOSE : WM_QUIT, 0, 0});
        }
        std::string results;
        for (size_t i = 0; i < expected.size(); ++i) results += char('0' - DoEvents());
        EXPECT_EQ(results, expected);
        Message m;
        EXPECT_EQ(PeekMessage(&m, other, PM_REMOVE), queue[0] == 'Q');  // left for its owner
    }
}

// Sizes too big to allocate are out of memory, sizes of zero or below invalid.
TEST_F(DisplayTest, HugeAndNegativeSizesAreRefused) {
    OpenWindowed();
    const WindowId win = fake_->AddWindow(0, 0, 100, 100);
    // a buffer or else a display, its size, the result reported
    const std::tuple<bool, int32_t, int32_t, HResult> cases[] = {
        {true, INT32_MAX, INT32_MAX, DDERR_OUTOFMEMORY},  {true, 1, INT32_MAX, DDERR_OUTOFMEMORY},
        {true, 65536, 65536, DDERR_OUTOFMEMORY},      {false, INT32_MAX, INT32_MAX, DDERR_OUTOFMEMORY},
        {false, INT32_MIN, 5, DDERR_INVALIDPARAMS},     {false, 5, INT32_MIN, DDERR_INVALIDPARAMS},
        {false, 0, 0, DDERR_INVALIDPARAMS},           {false, -1, 240, DDERR_INVALIDPARAMS},
    };
    for (const auto& [buffer, w, h, code] : cases) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        if (buffer) ExpectFatal(Failed("[TBufferVx]", "CreateSurface", code), [&] { SetupBuffer(w, h, 0); });
        if (!buffer) ExpectFatal(Failed("[TVexel]", "CreateSurface", code), [&] { InitVexel(win, w, h, 32, 0); });
        EXPECT_EQ(VexelSizeX(), buffer ? 320 : 0);
    }
}

const std::string kModeRefused = "[TFullVexel]Create -> Selected display mode not supported...";

TEST_F(DisplayTest, FullScreenOpensAPopupWithoutCursorThatDoesNotMoveAndCloses) {
    const WindowId w = OpenFullScreen(640, 480, 16);
    EXPECT_EQ(std::tuple(GlobalBpp(), VexelSizeX(), VexelSizeY(), fake_->window(w).style, fake_->window(w).full_screen,
                         fake_->cursor_visible()),
              std::tuple(16, 640, 480, WS_POPUP, true, false));
    const std::vector<int32_t> placed = Geometry(fake_->window(w));
    SetVexelWindowPos(10, 20);  // nothing to move in full screen
    EXPECT_EQ(Geometry(fake_->window(w)), placed);
    for (int i = 0; i < 2; ++i) {
        CloseVexel();
        EXPECT_FALSE(fake_->window(window_).full_screen);
        EXPECT_TRUE(fake_->cursor_visible());  // shown again every time, however often it was hidden
        OpenFullScreen(640, 480, 32);
    }
    EXPECT_EQ(fake_->Calls(PlatformCall::EnumDisplayModes), 1);  // the mode table outlives each display
}

TEST_F(DisplayTest, FullScreenModeTest) {
    // The modes listed (none: every common size at every depth), the mode asked for, whether it opens.
    const std::tuple<std::vector<DisplayMode>, int32_t, int32_t, int32_t, bool> cases[] = {
        {{}, 800, 601, 32, false},  {{}, 640, 480, 8, false},  {{}, 640, 480, 24, true},  // unlisted; 8 bits
        {{{640, 480, 16, 60}}, 640, 480, 15, false},  // 15 needs a 15-bit entry
        {{{640, 480, 16, 60}}, 640, 480, 16, true},
        {{{640, 480, 15, 60}}, 640, 480, 15, true},
        {{{640, 480, 32, 60}, {640, 480, 32, 75}}, 640, 480, 32, true},  // two refresh rates
    };
    for (const auto& [modes, w, h, bpp, opens] : cases) {
        SCOPED_TRACE(::testing::Message() << w << "x" << h << "x" << bpp << " among " << modes.size() << " modes");
        ResetLibrary();
        fake_->modes = modes;
        EXPECT_EQ(FatalMessage([&] { OpenFullScreen(w, h, bpp); }), opens ? "" : kModeRefused);
        EXPECT_EQ(GlobalBpp(), opens ? bpp : 0);
        // Refused before the window was touched.
        const FakeBackend::Window& win = fake_->window(window_);
        if (!opens) {
            EXPECT_EQ(std::tuple(win.style, win.full_screen, Geometry(win)),
                      std::tuple(WS_OVERLAPPEDWINDOW, false, std::vector<int32_t>({100, 80, 200, 150})));
        }
    }
    EXPECT_EQ(TModeTable::Get().entries().size(), 2u);  // each refresh rate is an entry
}

TEST_F(DisplayTest, FullScreenWithoutADisplayServiceHasNoModes) {
    fake_->Fail(PlatformCall::DirectDrawCreate, DDERR_GENERIC);
    EXPECT_EQ(FatalMessage([&] { OpenFullScreen(640, 480, 32); }), kModeRefused);
    EXPECT_EQ(FatalMessage([&] { OpenFullScreen(640, 480, 32); }), kModeRefused);  // the table is not read again
    EXPECT_TRUE(TModeTable::Get().entries().empty());
}

TEST_F(DisplayTest, FullScreenFatalErrorEndsTheProcess) {
    // The child is forked here, so it writes its log into this test's directory.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            OpenFullScreen(640, 480, 32);
            SetupBuffer(0, 0, 0);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ErrorLog(), Failed("[TBufferVx]", "CreateSurface", DDERR_INVALIDPARAMS) + "\r\n");
}

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

TEST_F(OwnWindow, FullScreenCoversTheScreenAndLeavesNoQuitBehind) {
    ListCommonModes();
    const uint32_t id = InitVexelWindow(640, 480, 16, 1, "Full");
    const auto& w = fake_->window(id);
    EXPECT_EQ(std::pair(Geometry(w), w.style), std::pair(std::vector<int32_t>{0, 0, 1024, 768}, WS_POPUP));
    fake_->QueueEvent(Message{id, WM_CLOSE, 0, 0});
    EXPECT_EQ(Pump(3), "-0-");  // the thread's quit message, not the window's
    CloseVexel();
    EXPECT_FALSE(fake_->IsWindow(id) || GetClassInfo("TSelfFullVexel"));
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
    const std::string creating = "CreateWindowEx -> Error creating window...";
    const std::string depth = "Create -> Desktop color depth not supported (only 15,16,24,32bit)";
    const std::string registering = "RegisterClass -> Error registering window class...";
    // desktop depth, the display asked for (full screen where a depth is), the call made to fail (Count:
    // none), the message
    const std::tuple<uint32_t, int32_t, int32_t, int32_t, PlatformCall, std::string> cases[] = {
        {32, 320, 240, 0, PlatformCall::RegisterClass, windowed + registering},
        {32, 0, 240, 0, PlatformCall::Count, windowed + creating},
        {8, 320, 240, 0, PlatformCall::Count, windowed + depth},
        {16, 320, 240, 0, PlatformCall::CreateSurface, Failed(kTagVexel, "CreateSurface", DDERR_GENERIC)},
        {32, 800, 601, 16, PlatformCall::Count, full + "Create -> Selected display mode not supported..."},
        {32, 640, 480, 12, PlatformCall::Count, full + depth},
        {32, 640, 480, 16, PlatformCall::CreateWindowEx, full + creating},
        {32, 640, 480, 16, PlatformCall::SetDisplayMode, Failed(kTagVexel, "SetDisplayMode", DDERR_GENERIC)},
    };
    for (const auto& [desktop, w, h, bpp, fail, message] : cases) {
        SCOPED_TRACE(message);
        SetDesktopDepth(desktop);
        if (fail != PlatformCall::Count) fake_->Fail(fail, DDERR_GENERIC);
        ExpectFatal(message, [&] { InitVexelWindow(w, h, bpp, bpp != 0, "t"); });
        EXPECT_FALSE(GetClassInfo(bpp ? "TSelfFullVexel" : "TSelfVexel") || fake_->IsWindow(1) || fake_->IsWindow(2));
        EXPECT_TRUE(fake_->screen_saver_allowed() && fake_->cursor_visible());
        EXPECT_EQ(VexelSizeX(), 0);
    }
    ASSERT_TRUE(RegisterClass(WindowClass{0, nullptr, "TSelfFullVexel"}));
    ExpectFatal(full + registering, [] { InitVexelWindow(640, 480, 16, 1, "t"); });
}

TEST_F(DisplayTest, SetUpFailuresAreReportedAndLeaveTheLibraryUsable) {
    enum Stage { kWindowed, kFull, kBuffer };
    // What is set up, the call that fails and its name in the message, its result and how often, and
    // the results of the calls of it before the failing ones: a sample of each stage's calls.
    const std::tuple<Stage, PlatformCall, const char*, HResult, int, std::vector<HResult>> cases[] = {
        {kWindowed, PlatformCall::DirectDrawCreate, "DirectDrawCreate", DDERR_GENERIC, 1, {}},
        {kWindowed, PlatformCall::CreateSurface, "CreateSurface", DDERR_OUTOFVIDEOMEMORY, 1, {DD_OK}},  // the back
        {kWindowed, PlatformCall::SetHWnd, "SetHWnd", DDERR_NOHWND, 1, {}},
        {kWindowed, PlatformCall::GetPixelFormat, "GetPixelFormat", DDERR_SURFACELOST, 1, {}},
        {kFull, PlatformCall::SetCooperativeLevel, "SetCooperativeLevel", DDERR_EXCLUSIVEMODEALREADYSET, 1, {}},
        {kFull, PlatformCall::SetDisplayMode, "SetDisplayMode", DDERR_INVALIDMODE, 1, {}},
        {kFull, PlatformCall::GetAttachedSurface, "GetAttachedSurface", DDERR_NOTFOUND, 1, {}},
        {kFull, PlatformCall::GetCaps, "GetCaps", DDERR_UNSUPPORTED, 1, {}},
        // Both attempts, video then system memory, failing: the second one's result is reported.
        {kBuffer, PlatformCall::CreateSurface, "CreateSurface", DDERR_GENERIC, 1, {DDERR_OUTOFVIDEOMEMORY}},
        {kBuffer, PlatformCall::Lock, "Lock", DDERR_SURFACEBUSY, kMaxBlitterRetries, {}},  // give up, not hang
        {kBuffer, PlatformCall::Unlock, "UnLock", DDERR_NOTLOCKED, 1, {}},
    };
    for (const auto& [stage, call, op, code, times, earlier] : cases) {
        SCOPED_TRACE(std::string(op) + " at stage " + std::to_string(stage));
        TearDown();  // each row starts afresh, as a test of its own would
        SetUp();
        fake_->hardware = stage == kBuffer;
        if (stage == kFull) {
            ListCommonModes();
            TModeTable::Get().entries();  // read before the failure is armed
        }
        window_ = fake_->AddWindow(100, 80, 200, 150);
        if (stage == kBuffer) InitVexel(window_, 320, 240, 0, 0);
        auto set_up = [&] {
            if (stage == kBuffer) SetupBuffer(16, 16, 1);
            if (stage != kBuffer) InitVexel(window_, 320, 240, 32, stage == kFull);
        };
        for (HResult e : earlier) fake_->Fail(call, e);
        fake_->Fail(call, code, times);
        ExpectFatal(Failed(stage == kBuffer ? "[TBufferVx]" : "[TVexel]", op, code), set_up);
        // A buffer's failure leaves the display open; the desktop and cursor are back.
        EXPECT_EQ(std::tuple(VexelSizeX(), fake_->window(window_).full_screen, fake_->cursor_visible()),
                  std::tuple(stage == kBuffer ? 320 : 0, false, true));

        // The same set-up then succeeds on the same window, the cursor hidden only in full screen, and
        // buffers work even with the lock briefly busy.
        set_up();
        EXPECT_EQ(std::pair(VexelSizeX(), fake_->cursor_visible()), std::pair(320, stage != kFull));
        fake_->Fail(PlatformCall::Lock, DDERR_SURFACEBUSY, 3);
        EXPECT_EQ(BufferSizeX(SetupBuffer(3, 2, 1)), 3);
    }
    TearDown();
    SetUp();
    ExpectFatal("[TBufferVx]Create -> No display open...", [] { SetupBuffer(4, 4, 0); });
}

}  // namespace
}  // namespace vxl::testing
