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

// Buffers too big to allocate are out of memory; displays of such sizes too, and of sizes of zero or
// below invalid; full screen such sizes are no display mode. The library goes on afterwards.
TEST_F(HostileArgumentsTest, HugeAndNegativeSizesAreRefused) {
    OpenWindowed();
    for (auto [w, h] : {std::pair{INT_MAX, INT_MAX}, {INT_MAX, 1}, {1, INT_MAX}, {65536, 65536}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        ExpectFatal(Failed("[TBufferVx]", "CreateSurface", DDERR_OUTOFMEMORY), [&] { SetupBuffer(w, h, 0); });
    }
    const WindowId win = fake_->AddWindow(0, 0, 100, 100);
    const std::tuple<int32_t, int32_t, HResult> displays[] = {
        {INT_MAX, INT_MAX, DDERR_OUTOFMEMORY}, {INT_MIN, 5, DDERR_INVALIDPARAMS},   {5, INT_MIN, DDERR_INVALIDPARAMS},
        {0, 0, DDERR_INVALIDPARAMS},           {-1, 240, DDERR_INVALIDPARAMS},
    };
    for (const auto& [w, h, code] : displays) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        ExpectFatal(Failed("[TVexel]", "CreateSurface", code), [&] { InitVexel(win, w, h, 32, 0); });
        EXPECT_EQ(VexelSizeX(), 0);
    }
    ListCommonModes();
    ExpectFatal("[TFullVexel]Create -> Selected display mode not supported...",
                [&] { InitVexel(win, INT_MIN, 5, 32, 1); });
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

}  // namespace
}  // namespace vxl::testing
