// Buffers drawn onto the display and flipped, at every depth, windowed and full screen: clipping to
// the display, the crop rounding of the display's stretches, Flip's two paths and what each leaves
// in the back surface, vertical-blank waits, lost surfaces, and buffers that outlive their display.
#include <cstring>
#include <functional>

#include "fake_fixture.h"
#include "platform/windows/window_system.h"

namespace vxl::testing {
namespace {

using namespace platform;

class PresentTest : public DepthTest {
protected:
    int32_t DW() const { return VexelSizeX(); }
    int32_t DH() const { return VexelSizeY(); }

    // The last picture shown: the client area windowed, the whole mode's picture full screen.
    uint32_t Shown(int32_t x, int32_t y) const {
        const FakeBackend::Frame& f = fake_->frames().back();
        return LoadPixel(f.pixels.data() + (size_t(y) * size_t(f.width) + size_t(x)) * bpp_, bpp_) & Mask();
    }
    uint32_t Back(int32_t x, int32_t y) const {
        SurfaceDesc d;
        TheLibrary().display->back()->GetSurfaceDesc(&d);
        return LoadPixel(static_cast<uint8_t*>(d.surface) + int64_t(y) * d.pitch + int64_t(x) * bpp_, bpp_) & Mask();
    }
    // The primary surface under the window's client area: what the window must show.
    uint32_t Primary(int32_t x, int32_t y) const {
        const Rect client = ClientRectOnScreen(window_);
        SurfaceDesc d;
        TheLibrary().display->primary()->GetSurfaceDesc(&d);
        return LoadPixel(static_cast<uint8_t*>(d.surface) + int64_t(client.top + y) * d.pitch +
                             int64_t(client.left + x) * bpp_,
                         bpp_) &
               Mask();
    }
    // The first pixel of the shown picture that differs from `want`, or "".
    template <typename Want>
    std::string FirstWrongShown(Want&& want) const {
        for (int32_t y = 0; y < DH(); ++y)
            for (int32_t x = 0; x < DW(); ++x)
                if (Shown(x, y) != want(x, y))
                    return std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(Shown(x, y)) + " want " +
                           std::to_string(want(x, y));
        return "";
    }
};

TEST_P(PresentTest, DrawBufferClipsToTheDisplayAndPresents) {
    const int32_t big = CodedBuffer(DW() + 20, DH() + 20);
    const int before = fake_->presentations();
    DrawBuffer(big, DW(), 0);
    DrawBuffer(big, -(DW() + 20), 0);
    DrawBuffer(big, 0, INT32_MIN);
    EXPECT_EQ(fake_->presentations(), before);
    DrawBuffer(big, -10, -10);
    EXPECT_EQ(fake_->presentations(), before + 1);
    EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return Code(x + 10, y + 10); }), "");
}

TEST_P(PresentTest, DrawBitAndSpritesComposeInTheBackSurface) {
    const int32_t b = CodedBuffer(4, 4);
    DrawBit(b, 0, 0, 0, 0, 5, 7);
    EXPECT_EQ(Back(5, 7), Code(0, 0));
    EXPECT_EQ(Back(6, 7), 0u);
    EXPECT_EQ(Back(5, 8), 0u);
    DrawSprite(b, 10, 10, Code(1, 1));
    DrawBitSprite(b, 3, 3, 1, 1, 20, 20, Code(2, 2));
    DrawScaleSprite(b, 30, 30, 38, 38, Code(0, 0));
    EXPECT_EQ(Back(11, 11), 0u);  // the key shows what was there
    EXPECT_EQ(Back(12, 12), Code(2, 2));
    EXPECT_EQ(Back(20, 20), Code(1, 1));
    EXPECT_EQ(Back(21, 21), 0u);
    EXPECT_EQ(Back(31, 31), 0u);
    EXPECT_EQ(Back(32, 33), Code(1, 1));
    EXPECT_EQ(Shown(32, 33), Code(1, 1));  // every draw shows the whole back surface
    EXPECT_EQ(Shown(5, 7), Code(0, 0));
}

// 3.5 source columns cut at the left: the display rounds to 4, a copy truncates to 3.
TEST_P(PresentTest, DisplayStretchRoundsWhereCopyTruncates) {
    const int32_t b = CodedBuffer(10, 10), canvas = SetupBuffer(DW(), DH(), 0);
    DrawScale(b, -7, 0, 13, 20);
    CopyScale(b, canvas, -7, 0, 13, 20);
    for (int32_t x = 0; x < 13; ++x) {
        EXPECT_EQ(Back(x, 0), Code(4 + (2 * x + 1) * 6 / 26, 0)) << x;
        EXPECT_EQ(GetPixel(canvas, x, 0) & Mask(), Code(3 + (2 * x + 1) * 7 / 26, 0)) << x;
    }
    EXPECT_NE(Back(0, 0), GetPixel(canvas, 0, 0) & Mask());
    // 2.5 columns: both give 2.
    DrawScale(b, -5, 0, 15, 20);
    CopyScale(b, canvas, -5, 0, 15, 20);
    for (int32_t x = 0; x < 15; ++x) EXPECT_EQ(Back(x, 0), GetPixel(canvas, x, 0) & Mask()) << x;
}

TEST_P(PresentTest, FlipStretchesTheBufferOverTheWholeClientArea) {
    const int32_t half = CodedBuffer(DW() / 2, DH() / 2);
    Flip(half, 0);
    EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return Code(x / 2, y / 2); }), "");
}

// Windowed, Flip leaves the back surface alone, so a following draw shows what the draws composed;
// full screen, Flip exchanges the chain's buffers, so a draw composes on the picture shown before.
TEST_P(PresentTest, WhatFlipLeavesInTheBackSurface) {
    const int32_t first = CodedBuffer(DW(), DH()), second = SetupBuffer(DW(), DH(), 0), dot = SetupBuffer(1, 1, 0);
    Fill(second, Code(2, 0));
    Fill(dot, Code(1, 0));
    DrawBuffer(dot, 3, 3);
    Flip(first, 0);
    Flip(second, 0);
    EXPECT_EQ(Shown(5, 5), Code(2, 0));
    DrawBuffer(dot, 4, 4);
    EXPECT_EQ(Shown(4, 4), Code(1, 0));
    EXPECT_EQ(Shown(3, 3), full_ ? Code(3, 3) : Code(1, 0));
    EXPECT_EQ(Shown(5, 5), full_ ? Code(5, 5) : 0u);
}

// A Draw sends only the part it drew, and only while the window shows the rest of the back surface
// already; anything else that changed the picture makes the next presentation whole. Either way the
// window ends up showing exactly the primary surface (a flip: the buffer flipped, which windowed goes
// to the window without the primary), and after a Draw that is the back surface.
TEST_P(PresentTest, DrawsSendOnlyWhatChanged) {
    const int32_t dot = CodedBuffer(2, 2), sprite = CodedBuffer(8, 8), screen = CodedBuffer(DW(), DH());
    const Rect whole{0, 0, DW(), DH()};
    struct Step {
        const char* what;
        std::function<void()> act;
        Rect sent;
        bool draw = true;
    };
    const Step steps[] = {
        {"first draw", [&] { DrawBuffer(dot, 3, 3); }, whole},
        {"sprite", [&] { DrawSprite(sprite, 10, 20, Code(0, 0)); }, Rect{10, 20, 18, 28}},
        {"scaled over the edge", [&] { DrawScale(dot, DW() - 4, 5, DW() + 4, 13); }, Rect{DW() - 4, 5, DW(), 13}},
        {"flip", [&] { Flip(screen, 0); }, whole, false},
        {"after a flip", [&] { DrawBitSprite(sprite, 0, 0, 1, 1, 1, 1, 0); }, whole},
        {"bit", [&] { DrawBit(sprite, 0, 0, 1, 1, 30, 30); }, Rect{30, 30, 32, 32}},
        {"clear", [&] { ClearVexel(Code(3, 3)); }, whole, false},
        {"after a clear", [&] { DrawScaleSprite(dot, 5, 5, 9, 9, 0); }, whole},
        {"moved", [&] { fake_->window(window_).x += 9, DrawBuffer(dot, 7, 7); }, full_ ? Rect{7, 7, 9, 9} : whole},
        {"lost and restored",
         [&] {
             TheLibrary().display->primary()->MarkLost();
             DrawBuffer(dot, 9, 9);  // dropped; the primary comes back blank
             DrawBuffer(dot, 11, 11);
         },
         whole},
        {"last", [&] { DrawSprite(dot, 0, 0, Code(1, 1)); }, Rect{0, 0, 2, 2}},
    };
    for (const Step& step : steps) {
        step.act();
        const FakeBackend::Frame& f = fake_->frames().back();
        EXPECT_EQ(f.partial ? f.changed : whole, step.sent) << step.what;
        const bool flipped = std::string(step.what) == "flip";
        EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return flipped ? Code(x, y) : Primary(x, y); }), "")
            << step.what;
        if (step.draw) {
            EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return Back(x, y); }), "") << step.what;
        }
    }
}

TEST_P(PresentTest, FlipWaitsForTheBlankOnlyWhenAsked) {
    const int32_t b = CodedBuffer(8, 8);
    const int flips = fake_->Calls(PlatformCall::Flip);
    Flip(b, 0);
    EXPECT_EQ(fake_->vertical_blank_waits(), 0);
    Flip(b, 1);
    EXPECT_EQ(fake_->vertical_blank_waits(), 1);
    EXPECT_EQ(fake_->Calls(PlatformCall::Flip) - flips, full_ ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, PresentTest, AllDepths(), DepthName);

using PresentFailureTest = FakeTest;

TEST_F(PresentFailureTest, FullScreenWindowWithMenuBlitsInsteadOfFlipping) {
    ListCommonModes();
    window_ = fake_->AddWindow(0, 0, 640, 480, WS_OVERLAPPEDWINDOW, true);
    InitVexel(window_, 640, 480, 32, 1);
    const int32_t b = SetupBuffer(320, 240, 0);
    Fill(b, 0x123456);
    Flip(b, 1);
    EXPECT_EQ(fake_->Calls(PlatformCall::Flip), 0);
    EXPECT_EQ(fake_->vertical_blank_waits(), 1);
    const FakeBackend::Frame& f = fake_->frames().back();
    EXPECT_EQ(LoadPixel(f.pixels.data() + (479 * 640 + 639) * 4, 4), 0x123456u);
}

TEST_F(PresentFailureTest, LostSurfaceIsRestoredAndTheFrameDropped) {
    OpenWindowed();
    const int32_t b = SetupBuffer(4, 4, 0);
    Fill(b, 0x00FF00);
    TheLibrary().display->back()->MarkLost();
    const int before = fake_->presentations();
    DrawBuffer(b, 0, 0);
    EXPECT_EQ(fake_->presentations(), before);
    EXPECT_EQ(TheLibrary().display->back()->IsLost(), DD_OK);
    DrawBuffer(b, 0, 0);  // the next frame draws again
    EXPECT_EQ(fake_->presentations(), before + 1);
    TheLibrary().display->primary()->MarkLost();
    Flip(b, 0);
    EXPECT_EQ(fake_->presentations(), before + 1);
    EXPECT_EQ(TheLibrary().display->primary()->IsLost(), DD_OK);
}

// A buffer keeps its own references to the display it was made for: drawing it after that display
// closed, or after another opened, touches nothing freed.
TEST_F(PresentFailureTest, BufferOutlivesItsDisplay) {
    OpenWindowed();
    const int32_t old = SetupBuffer(64, 64, 0);
    Fill(old, 0x445566);
    CloseVexel();
    DrawBuffer(old, 0, 0);
    DrawScaleSprite(old, -5, -5, 500, 500, 0);
    Flip(old, 1);
    CopyBuffer(old, old, 3, 3);
    SetDesktopDepth(16);
    OpenWindowed();
    const int32_t fresh = SetupBuffer(64, 64, 0);
    DrawBuffer(old, 0, 0);
    Flip(old, 0);
    CopyBuffer(old, fresh, 0, 0);  // 32-bit pixels into a 16-bit buffer: refused by the blitter
    EXPECT_EQ(GetPixel(fresh, 0, 0), 0u);
    EXPECT_EQ(GetPixel(old, 3, 3), 0x445566u);
}

}  // namespace
}  // namespace vxl::testing
