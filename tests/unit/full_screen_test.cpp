// The full-screen display: the mode test against the platform's mode list, the popup window, and the
// fatal error that ends the process.
#include "display/mode_table.h"
#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using namespace platform;
using FullScreenTest = FakeTest;

const std::string kModeRefused = "[TFullVexel]Create -> Selected display mode not supported...";

TEST_F(FullScreenTest, OpensAPopupWithoutCursorThatDoesNotMoveAndCloses) {
    const WindowId w = OpenFullScreen(640, 480, 16);
    EXPECT_EQ(std::tuple(GlobalBpp(), VexelSizeX(), VexelSizeY()), std::tuple(16, 640, 480));
    EXPECT_EQ(fake_->window(w).style, WS_POPUP);
    EXPECT_TRUE(fake_->window(w).full_screen);
    EXPECT_FALSE(fake_->cursor_visible());
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

TEST_F(FullScreenTest, ModeTest) {
    // The modes listed (none: every common size at every depth), the mode asked for, whether it opens.
    const std::tuple<std::vector<DisplayMode>, int32_t, int32_t, int32_t, bool> cases[] = {
        {{}, 800, 601, 32, false},                    // size not listed
        {{}, 640, 480, 8, false},                     // 8 bits, though listed
        {{}, 640, 480, 24, true},
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

TEST_F(FullScreenTest, NoDisplayServiceMeansNoModes) {
    fake_->Fail(PlatformCall::DirectDrawCreate, DDERR_GENERIC);
    EXPECT_EQ(FatalMessage([&] { OpenFullScreen(640, 480, 32); }), kModeRefused);
    EXPECT_EQ(FatalMessage([&] { OpenFullScreen(640, 480, 32); }), kModeRefused);  // the table is not read again
    EXPECT_TRUE(TModeTable::Get().entries().empty());
}

TEST_F(FullScreenTest, FatalErrorEndsTheProcess) {
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

}  // namespace
}  // namespace vxl::testing
