// Sizes and positions at the ends of the 32-bit range: creation fails with the fatal message, drawing
// finds nothing to draw, and no sum of host values wraps around on the way (the sanitizer build turns
// any such wrap into a failure of these tests).
#include <climits>
#include <string>
#include <vector>

#include "fake_fixture.h"
#include "platform/surfaces/codes.h"

namespace vxl::testing {
namespace {

using namespace platform;
using HostileArgumentsTest = FakeTest;

TEST_F(HostileArgumentsTest, SurfacesOfHugeSizesAreRefusedAsOutOfMemory) {
    OpenWindowed();
    for (auto [w, h] : {std::pair{INT_MAX, INT_MAX}, {INT_MAX, 1}, {1, INT_MAX}, {65536, 65536}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        ExpectFatal(Failed("[TBufferVx]", "CreateSurface", DDERR_OUTOFMEMORY), [&] { SetupBuffer(w, h, 0); });
    }
    const WindowId win = fake_->AddWindow(0, 0, 100, 100);
    ExpectFatal(Failed("[TVexel]", "CreateSurface", DDERR_OUTOFMEMORY),
                [&] { InitVexel(win, INT_MAX, INT_MAX, 32, 0); });
    EXPECT_EQ(VexelSizeX(), 0);
    // The library goes on: a sensible display and buffer afterwards work.
    OpenWindowed(64, 48);
    const int32_t b = SetupBuffer(3, 2, 0);
    EXPECT_EQ(BufferSizeX(b) * BufferSizeY(b), 6);
}

TEST_F(HostileArgumentsTest, WindowAtTheEndOfTheRangeShowsNothingAndReopens) {
    const WindowId win = OpenWindowed(320, 240);
    const size_t frames = fake_->frames().size();
    for (auto [x, y] : {std::pair{0, INT_MAX}, {INT_MAX, 0}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MIN, 0}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        SetVexelWindowPos(x, y);
        ClearVexel(0x1234);  // the client area lies off the screen: nothing drawn, nothing shown
        EXPECT_EQ(fake_->frames().size(), frames);
    }
    // A new display on the far-away window opens as usual and is put back on screen by a move.
    SetVexelWindowPos(0, INT_MAX);
    InitVexel(win, 320, 240, 0, 0);
    EXPECT_EQ(VexelSizeX(), 320);
    SetVexelWindowPos(0, 0);
    ClearVexel(0x1234);
    ASSERT_GT(fake_->frames().size(), frames);
    EXPECT_EQ(fake_->frames().back().width, fake_->window(win).width);  // the whole client area
}

TEST_F(HostileArgumentsTest, NegativeAndZeroDisplaySizesAreRefused) {
    const WindowId win = fake_->AddWindow(100, 80, 200, 150);
    for (auto [w, h] : {std::pair{INT_MIN, 5}, {5, INT_MIN}, {INT_MIN, INT_MIN}, {0, 0}, {-1, 240}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        ExpectFatal(Failed("[TVexel]", "CreateSurface", DDERR_INVALIDPARAMS), [&] { InitVexel(win, w, h, 32, 0); });
        EXPECT_EQ(VexelSizeX(), 0);
    }
    // Full screen, such sizes are no display mode and are refused before anything is touched.
    ListCommonModes();
    ExpectFatal("[TFullVexel]Create -> Selected display mode not supported...",
                [&] { InitVexel(win, INT_MIN, 5, 32, 1); });
}

}  // namespace
}  // namespace vxl::testing
