#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using SmokeTest = FakeTest;

TEST_F(SmokeTest, OpensWindowedDisplayAndBuffer) {
    OpenWindowed(320, 240);
    EXPECT_EQ(VexelSizeX(), 320);
    EXPECT_EQ(GlobalBpp(), 32);
    const int32_t h = SetupBuffer(16, 8, 0);
    PutPixel(h, 3, 4, 0x123456);
    EXPECT_EQ(GetPixel(h, 3, 4), 0x123456u);
}

}  // namespace
}  // namespace vxl::testing
