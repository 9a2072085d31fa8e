// The windowed display: depth and size, clearing onto the screen, moving, closing, the message pump,
// and sizes at the ends of the 32-bit range (the stress run checks that nothing crashes there; this
// checks what is reported).
#include <cctype>
#include <climits>

#include "fake_fixture.h"
#include "platform/surfaces/surface.h"
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
        ASSERT_EQ(f.pixels.size(), size_t(w * h) * bytes);
        for (size_t i = 0; i < f.pixels.size(); i += bytes) ASSERT_EQ(LoadPixel(&f.pixels[i], bytes), colour) << i;

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

TEST_F(DisplayTest, MoveThenCloseLeavesNoCurrentDisplay) {
    const WindowId w = OpenWindowed(320, 240);
    fake_->window(w).shown = false;
    SetVexelWindowPos(10, 20);
    // The outer size becomes the display's size, so the frame eats into the client area; a hidden
    // window shows.
    EXPECT_EQ(Geometry(fake_->window(w)), std::vector<int32_t>({14, 44, 312, 212}));
    EXPECT_TRUE(fake_->window(w).shown);
    CloseVexel();
    EXPECT_EQ(VexelSizeX() | VexelSizeY() | GlobalBpp(), 0);
    fake_->QueueEvent(Message{w, WM_MOUSEMOVE, 0, 0});
    EXPECT_EQ(DoEvents(), 0);
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

// Sizes too big to allocate are out of memory, sizes of zero or below invalid; full screen, no mode.
TEST_F(DisplayTest, HugeAndNegativeSizesAreRefused) {
    OpenWindowed();
    const WindowId win = fake_->AddWindow(0, 0, 100, 100);
    // a buffer or else a display, its size, the result reported
    const std::tuple<bool, int32_t, int32_t, HResult> cases[] = {
        {true, INT_MAX, INT_MAX, DDERR_OUTOFMEMORY},  {true, 1, INT_MAX, DDERR_OUTOFMEMORY},
        {true, 65536, 65536, DDERR_OUTOFMEMORY},      {false, INT_MAX, INT_MAX, DDERR_OUTOFMEMORY},
        {false, INT_MIN, 5, DDERR_INVALIDPARAMS},     {false, 5, INT_MIN, DDERR_INVALIDPARAMS},
        {false, 0, 0, DDERR_INVALIDPARAMS},           {false, -1, 240, DDERR_INVALIDPARAMS},
    };
    for (const auto& [buffer, w, h, code] : cases) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        if (buffer) ExpectFatal(Failed("[TBufferVx]", "CreateSurface", code), [&] { SetupBuffer(w, h, 0); });
        if (!buffer) ExpectFatal(Failed("[TVexel]", "CreateSurface", code), [&] { InitVexel(win, w, h, 32, 0); });
        EXPECT_EQ(VexelSizeX(), buffer ? 320 : 0);
    }
}

}  // namespace
}  // namespace vxl::testing
