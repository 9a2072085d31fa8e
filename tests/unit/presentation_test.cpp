// Buffers drawn onto the display and flipped, at every depth, windowed and full screen: clipping to
// the display, the crop rounding of the display's stretches, Flip's two paths and what each leaves
// in the back surface, vertical-blank waits, lost surfaces, and buffers that outlive their display.
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
    uint32_t At(const SurfaceDesc& d, int64_t x, int64_t y) const {
        return LoadPixel(static_cast<uint8_t*>(d.surface) + y * d.pitch + x * bpp_, bpp_) & Mask();
    }
    uint32_t Back(int32_t x, int32_t y) const {
        SurfaceDesc d;
        TheLibrary().display->back()->GetSurfaceDesc(&d);
        return At(d, x, y);
    }
    // The first pixel of the shown picture that differs from `want`, or "".
    template <typename Want>
    std::string FirstWrongShown(Want&& want) const {
        for (int32_t y = 0; y < DH(); ++y)
            for (int32_t x = 0; x < DW(); ++x)
                if (Shown(x, y) != want(x, y)) return std::to_string(x) + "," + std::to_string(y);
        return "";
    }
};

TEST_P(PresentTest, DrawBufferClipsToTheDisplayAndPresents) {
    const int32_t big = CodedBuffer(DW() + 20, DH() + 20);
    const int before = fake_->presentations();
    DrawBuffer(big, DW(), 0);
    DrawBuffer(big, -(DW() + 20), 0);
    DrawBuffer(big, 0, INT32_MIN);
    DrawBuffer(big, -10, -10);
    EXPECT_EQ(fake_->presentations(), before + 1);  // only the last one showed anything
    EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return Code(x + 10, y + 10); }), "");
}

TEST_P(PresentTest, DrawBitAndSpritesComposeInTheBackSurface) {
    const int32_t b = CodedBuffer(4, 4);
    DrawBit(b, 0, 0, 0, 0, 5, 7);
    DrawSprite(b, 10, 10, Code(1, 1));
    DrawBitSprite(b, 3, 3, 1, 1, 20, 20, Code(2, 2));
    DrawScaleSprite(b, 30, 30, 38, 38, Code(0, 0));
    // x, y, the pixel there: where the key is, what was there shows
    for (auto [x, y, want] : {std::tuple{5, 7, Code(0, 0)}, {6, 7, 0u}, {5, 8, 0u}, {11, 11, 0u}, {12, 12, Code(2, 2)},
                              {20, 20, Code(1, 1)}, {21, 21, 0u}, {31, 31, 0u}, {32, 33, Code(1, 1)}}) {
        EXPECT_EQ(Back(x, y), want) << x << "," << y;
    }
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

// Flip stretches the buffer over the whole client area, waiting for the vertical blank only when
// asked; full screen it flips the chain, windowed it copies (what each leaves in the back surface is
// the window tests' to check).
TEST_P(PresentTest, FlipStretchesOverTheWholeClientArea) {
    const int flips = fake_->Calls(PlatformCall::Flip);
    Flip(CodedBuffer(DW() / 2, DH() / 2), 0);
    EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return Code(x / 2, y / 2); }), "");
    EXPECT_EQ(fake_->vertical_blank_waits(), 0);
    Flip(CodedBuffer(8, 8), 1);
    EXPECT_EQ(std::pair(fake_->vertical_blank_waits(), fake_->Calls(PlatformCall::Flip) - flips),
              std::pair(1, full_ ? 2 : 0));
}

// A Draw sends only the part it drew, and only while the window shows the rest of the back surface
// already; anything else that changed the picture makes the next presentation whole. (That the
// screen then shows the whole picture is the window tests' to check.)
TEST_P(PresentTest, DrawsSendOnlyWhatChanged) {
    const int32_t dot = CodedBuffer(2, 2), sprite = CodedBuffer(8, 8), screen = CodedBuffer(DW(), DH());
    const Rect whole{0, 0, DW(), DH()};
    const std::pair<std::function<void()>, Rect> steps[] = {
        {[&] { DrawBuffer(dot, 3, 3); }, whole},  // the first draw
        {[&] { DrawSprite(sprite, 10, 20, Code(0, 0)); }, Rect{10, 20, 18, 28}},
        {[&] { DrawScale(dot, DW() - 4, 5, DW() + 4, 13); }, Rect{DW() - 4, 5, DW(), 13}},  // over the edge
        {[&] { Flip(screen, 0); }, whole},
        {[&] { DrawBitSprite(sprite, 0, 0, 1, 1, 1, 1, 0); }, whole},  // after a flip
        {[&] { DrawBit(sprite, 0, 0, 1, 1, 30, 30); }, Rect{30, 30, 32, 32}},
        {[&] { ClearVexel(Code(3, 3)); }, whole},
        {[&] { DrawScaleSprite(dot, 5, 5, 9, 9, 0); }, whole},  // after a clear
        {[&] { fake_->window(window_).x += 9, DrawBuffer(dot, 7, 7); }, full_ ? Rect{7, 7, 9, 9} : whole},
        {[&] {  // the first draw is dropped and the primary comes back blank
             TheLibrary().display->primary()->MarkLost(), DrawBuffer(dot, 9, 9), DrawBuffer(dot, 11, 11);
         },
         whole},
        {[&] { DrawSprite(dot, 0, 0, Code(1, 1)); }, Rect{0, 0, 2, 2}},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].first();
        const FakeBackend::Frame& f = fake_->frames().back();
        EXPECT_EQ(f.partial ? f.changed : whole, steps[i].second) << "step " << i;
    }
    // After a Draw, the window shows the back surface.
    EXPECT_EQ(FirstWrongShown([&](int32_t x, int32_t y) { return Back(x, y); }), "");
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
    EXPECT_EQ(std::pair(fake_->Calls(PlatformCall::Flip), fake_->vertical_blank_waits()), std::pair(0, 1));
    const FakeBackend::Frame& f = fake_->frames().back();
    EXPECT_EQ(LoadPixel(f.pixels.data() + (479 * 640 + 639) * 4, 4), 0x123456u);
}

TEST_F(PresentFailureTest, LostSurfaceIsRestoredAndTheFrameDropped) {
    OpenWindowed();
    const int32_t b = SetupBuffer(4, 4, 0);
    const int before = fake_->presentations();
    TheLibrary().display->back()->MarkLost();
    DrawBuffer(b, 0, 0);
    EXPECT_EQ(std::pair(fake_->presentations(), TheLibrary().display->back()->IsLost()), std::pair(before, DD_OK));
    DrawBuffer(b, 0, 0);  // the next frame draws again
    TheLibrary().display->primary()->MarkLost();
    Flip(b, 0);
    EXPECT_EQ(std::pair(fake_->presentations(), TheLibrary().display->primary()->IsLost()),
              std::pair(before + 1, DD_OK));
}

// A buffer keeps its own references to the display it was made for: drawing it after that display
// closed, or after another of another depth opened, touches nothing freed, and copies between the
// depths are refused.
TEST_F(PresentFailureTest, BufferOutlivesItsDisplay) {
    OpenWindowed();
    const int32_t old = SetupBuffer(64, 64, 0);
    Fill(old, 0x445566);
    CloseVexel();
    for (bool reopened : {false, true}) {
        if (reopened) SetDesktopDepth(16), OpenWindowed();
        DrawScaleSprite(old, -5, -5, 500, 500, 0);
        Flip(old, 1);
    }
    const int32_t fresh = SetupBuffer(64, 64, 0);
    CopyBuffer(old, fresh, 0, 0);
    EXPECT_EQ(std::pair(GetPixel(fresh, 0, 0), GetPixel(old, 3, 3)), std::pair(0u, 0x445566u));
}

}  // namespace
}  // namespace vxl::testing
