// The windowed display: depth and size, clearing onto the screen, moving, closing, the message pump.
#include <cstring>
#include <vector>

#include "fake_fixture.h"
#include "platform/surfaces/surface.h"
#include "platform/windows/window_system.h"

namespace vxl::testing {
namespace {

using namespace platform;
using DisplayTest = FakeTest;

uint32_t PixelAt(const uint8_t* p, uint32_t bytes) {
    uint32_t v = 0;
    std::memcpy(&v, p, bytes);
    return v;
}

bool FrameIsAll(const FakeBackend::Frame& f, uint32_t colour) {
    const uint32_t bytes = f.format.BytesPerPixel();
    for (size_t i = 0; i < f.pixels.size(); i += bytes) {
        if (PixelAt(&f.pixels[i], bytes) != colour) return false;
    }
    return !f.pixels.empty();
}

TEST_F(DisplayTest, TakesDesktopDepthAndSizesClientArea) {
    struct Case {
        uint32_t desktop;
        int32_t w, h, bpp;
    };
    for (const Case& c : {Case{15, 320, 200, 32}, Case{16, 640, 480, 8}, Case{24, 100, 50, 16}, Case{32, 321, 199, 0}}) {
        SCOPED_TRACE(c.desktop);
        SetDesktopDepth(c.desktop);
        const WindowId w = fake_->AddWindow(10, 10, 50, 50);
        InitVexel(w, c.w, c.h, c.bpp, 0);  // bpp means nothing in a window
        EXPECT_EQ(GlobalBpp(), int32_t(c.desktop));
        EXPECT_EQ(VexelSizeX(), c.w);
        EXPECT_EQ(VexelSizeY(), c.h);
        EXPECT_EQ(fake_->window(w).width, c.w);
        EXPECT_EQ(fake_->window(w).height, c.h);
        EXPECT_EQ(fake_->window(w).x, 10);  // sized, not moved
    }
}

TEST_F(DisplayTest, EightBitDesktopIsRefused) {
    SetDesktopDepth(8);
    EXPECT_EQ(FatalMessage([&] { OpenWindowed(); }),
              "[TVexel]Create -> Desktop color depth not supported (only 15,16,24,32bit)");
    EXPECT_EQ(VexelSizeX(), 0);
    EXPECT_EQ(GlobalBpp(), 0);
}

TEST_F(DisplayTest, ClearPaintsTheClientAreaOnly) {
    for (uint32_t depth : {16u, 24u, 32u}) {
        SCOPED_TRACE(depth);
        SetDesktopDepth(depth);
        const WindowId w = OpenWindowed(320, 240);  // client area at (100, 80)
        const uint32_t colour = RGB(10, 200, 30);
        ClearVexel(colour);
        ASSERT_FALSE(fake_->frames().empty());
        const FakeBackend::Frame& f = fake_->frames().back();
        EXPECT_EQ(f.window, w);
        EXPECT_EQ(f.width, 320);
        EXPECT_EQ(f.height, 240);
        EXPECT_FALSE(f.scaled);
        EXPECT_TRUE(FrameIsAll(f, colour));

        // The screen around the window keeps what it had.
        SurfaceDesc d;
        TheLibrary().display->primary()->GetSurfaceDesc(&d);
        const auto* screen = static_cast<const uint8_t*>(d.surface);
        const uint32_t bytes = d.pixel_format.BytesPerPixel();
        auto at = [&](int32_t x, int32_t y) { return PixelAt(screen + y * d.pitch + x * bytes, bytes); };
        EXPECT_EQ(at(100, 80), colour);
        EXPECT_EQ(at(419, 319), colour);
        for (auto [x, y] : {std::pair{99, 80}, {420, 80}, {100, 79}, {100, 320}, {0, 0}}) {
            EXPECT_EQ(at(x, y), 0u) << x << "," << y;
        }
    }
}

TEST_F(DisplayTest, MovePlacesTheOuterRectangle) {
    const WindowId w = OpenWindowed(320, 240);
    SetVexelWindowPos(10, 20);
    // The outer size becomes the display's size, so the frame eats into the client area.
    EXPECT_EQ(fake_->window(w).x, 14);
    EXPECT_EQ(fake_->window(w).y, 44);
    EXPECT_EQ(fake_->window(w).width, 312);
    EXPECT_EQ(fake_->window(w).height, 212);
}

TEST_F(DisplayTest, CloseLeavesNoCurrentDisplay) {
    const WindowId w = OpenWindowed(320, 240);
    CloseVexel();
    EXPECT_EQ(VexelSizeX(), 0);
    EXPECT_EQ(VexelSizeY(), 0);
    EXPECT_EQ(GlobalBpp(), 0);
    fake_->QueueEvent(Message{w, WM_MOUSEMOVE, 0, 0});
    EXPECT_EQ(DoEvents(), 0);
    const size_t frames = fake_->frames().size();
    const FakeBackend::Window before = fake_->window(w);
    ClearVexel(0xFFFFFF);
    SetVexelWindowPos(0, 0);
    CloseVexel();
    EXPECT_EQ(fake_->frames().size(), frames);
    EXPECT_EQ(fake_->window(w).x, before.x);
    EXPECT_EQ(fake_->window(w).width, before.width);

    OpenWindowed(640, 480);
    EXPECT_EQ(VexelSizeX(), 640);
    EXPECT_EQ(GlobalBpp(), 32);
}

TEST_F(DisplayTest, FullScreenHidesTheCursorUntilClosed) {
    // Neither a windowed display nor a full-screen one that failed may unbalance the cursor count.
    OpenWindowed();
    EXPECT_TRUE(fake_->cursor_visible());
    CloseVexel();
    fake_->Fail(PlatformCall::SetDisplayMode, DDERR_GENERIC);
    EXPECT_THROW(OpenFullScreen(640, 480, 32), std::exception);
    EXPECT_TRUE(fake_->cursor_visible());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        OpenFullScreen(640, 480, 32);
        EXPECT_FALSE(fake_->cursor_visible());
        CloseVexel();
        EXPECT_TRUE(fake_->cursor_visible());
    }
}

TEST_F(DisplayTest, DoEventsTakesOneMessagePerCall) {
    EXPECT_EQ(DoEvents(), 0);  // no display

    enum Target { kHost, kOther, kThread };
    struct Queued {
        Target to;
        uint32_t message;
    };
    struct Case {
        const char* name;
        std::vector<Queued> queue;
        std::vector<int32_t> results;
    };
    const std::vector<Queued> five_moves(5, Queued{kHost, WM_MOUSEMOVE});
    std::vector<Queued> moves_then_quit = five_moves;
    moves_then_quit.push_back({kHost, WM_QUIT});
    const Case cases[] = {
        {"moves", five_moves, {-1, -1, -1, -1, -1, -1}},
        {"moves then quit", moves_then_quit, {-1, -1, -1, -1, -1, 0, -1}},
        {"other window", {{kOther, WM_QUIT}, {kOther, WM_CLOSE}}, {-1, -1}},
        {"close", {{kHost, WM_CLOSE}}, {-1, 0, -1}},
        {"thread quit", {{kThread, WM_QUIT}}, {0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        const WindowId host = OpenWindowed();
        const WindowId other = fake_->AddWindow(0, 0, 10, 10);
        for (const Queued& q : c.queue) {
            const WindowId to = q.to == kHost ? host : q.to == kOther ? other : 0;
            fake_->QueueEvent(Message{to, q.message, 0, 0});
        }
        std::vector<int32_t> results;
        for (size_t i = 0; i < c.results.size(); ++i) results.push_back(DoEvents());
        EXPECT_EQ(results, c.results);
        Message m;
        EXPECT_EQ(PeekMessage(&m, other, PM_REMOVE), c.queue.front().to == kOther);  // left for its owner
    }
}

}  // namespace
}  // namespace vxl::testing
