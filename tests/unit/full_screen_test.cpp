// The full-screen display: the mode test against the platform's mode list, the popup window and the
// scaled presentation, and the fatal error that ends the process.
#include <cstdlib>

#include "display/mode_table.h"
#include "fake_fixture.h"
#include "interface/result_texts.h"

namespace vxl::testing {
namespace {

using namespace platform;
using FullScreenTest = FakeTest;

const std::string kModeRefused = "[TFullVexel]Create -> Selected display mode not supported...";

TEST_F(FullScreenTest, OpensAtEveryDepth) {
    for (int32_t bpp : {15, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        const WindowId w = OpenFullScreen(640, 480, bpp);
        EXPECT_EQ(GlobalBpp(), bpp);
        EXPECT_EQ(VexelSizeX(), 640);
        EXPECT_EQ(VexelSizeY(), 480);
        EXPECT_EQ(fake_->window(w).style, WS_POPUP);
        EXPECT_TRUE(fake_->window(w).full_screen);
        ClearVexel(RGB(1, 2, 3));
        ASSERT_FALSE(fake_->frames().empty());
        const FakeBackend::Frame& f = fake_->frames().back();
        EXPECT_TRUE(f.scaled);
        EXPECT_EQ(f.width, 640);
        EXPECT_EQ(f.format, FormatForDepth(uint32_t(bpp)));
        CloseVexel();
        EXPECT_FALSE(fake_->window(w).full_screen);
    }
}

TEST_F(FullScreenTest, ModeTest) {
    using Modes = std::vector<DisplayMode>;
    struct Case {
        const char* name;
        Modes modes;  // empty: every common size at every depth
        int32_t w, h, bpp;
        bool opens;
    };
    const Case cases[] = {
        {"size not listed", {}, 800, 601, 32, false},
        {"8 bits though listed", {}, 640, 480, 8, false},
        {"15 needs a 15-bit entry", {{640, 480, 16, 60}}, 640, 480, 15, false},
        {"16 listed", {{640, 480, 16, 60}}, 640, 480, 16, true},
        {"15 listed", {{640, 480, 15, 60}}, 640, 480, 15, true},
        {"two refresh rates", {{640, 480, 32, 60}, {640, 480, 32, 75}}, 640, 480, 32, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        fake_->modes = c.modes;
        std::string message = FatalMessage([&] { OpenFullScreen(c.w, c.h, c.bpp); });
        const FakeBackend::Window& win = fake_->window(window_);
        if (c.opens) {
            EXPECT_EQ(message, "");
            EXPECT_EQ(GlobalBpp(), c.bpp);
            continue;
        }
        EXPECT_EQ(message, kModeRefused);
        EXPECT_EQ(VexelSizeX(), 0);
        // Refused before the window was touched.
        EXPECT_EQ(win.style, WS_OVERLAPPEDWINDOW);
        EXPECT_FALSE(win.full_screen);
        EXPECT_EQ(std::vector<int32_t>({win.x, win.y, win.width, win.height}),
                  std::vector<int32_t>({100, 80, 200, 150}));
    }
    EXPECT_EQ(TModeTable::Get().entries().size(), 2u);  // each refresh rate is an entry
}

TEST_F(FullScreenTest, NoDisplayServiceMeansNoModes) {
    fake_->Fail(PlatformCall::DirectDrawCreate, DDERR_GENERIC);
    EXPECT_EQ(FatalMessage([&] { OpenFullScreen(640, 480, 32); }), kModeRefused);
    EXPECT_EQ(FatalMessage([&] { OpenFullScreen(640, 480, 32); }), kModeRefused);  // the table is not read again
    EXPECT_TRUE(TModeTable::Get().entries().empty());
    OpenWindowed();
    EXPECT_EQ(VexelSizeX(), 320);
}

TEST_F(FullScreenTest, ModeTableOutlivesTheDisplay) {
    OpenFullScreen(640, 480, 32);
    CloseVexel();
    OpenFullScreen(320, 240, 16);
    EXPECT_EQ(GlobalBpp(), 16);
    EXPECT_EQ(fake_->Calls(PlatformCall::EnumDisplayModes), 1);
}

TEST_F(FullScreenTest, WindowStaysPut) {
    const WindowId w = OpenFullScreen(640, 480, 32);
    const FakeBackend::Window before = fake_->window(w);
    SetVexelWindowPos(10, 20);
    EXPECT_EQ(fake_->window(w).x, before.x);
    EXPECT_EQ(fake_->window(w).width, before.width);
    EXPECT_TRUE(fake_->window(w).full_screen);
}

TEST_F(FullScreenTest, FatalErrorEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child runs the test again in a scratch directory of its own; it moves into ours so that
    // its log can be read here. Only the parent's setting counts, so it is not overwritten.
    ::setenv("VXL_PARENT_TEST_DIR", dir_.c_str(), 0);
    EXPECT_EXIT(
        {
            const std::filesystem::path parent = std::getenv("VXL_PARENT_TEST_DIR");
            if (parent != dir_) {
                std::filesystem::current_path(parent);
                std::filesystem::remove_all(dir_);
            }
            OpenFullScreen(640, 480, 32);
            SetupBuffer(0, 0, 0);
        },
        ::testing::ExitedWithCode(1), "");
    ::unsetenv("VXL_PARENT_TEST_DIR");
    EXPECT_EQ(ErrorLog(), std::string("[TBufferVx]CreateSurface -> ") + DirectDrawResultText(DDERR_INVALIDPARAMS) +
                              "\r\n");
}

}  // namespace
}  // namespace vxl::testing
