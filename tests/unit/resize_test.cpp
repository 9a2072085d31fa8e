#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using ResizeTest = FakeTest;

TEST_F(ResizeTest, NewSizeGetsFreshPixelsSameSizeKeepsThem) {
    OpenWindowed();
    const int32_t h = SetupBuffer(4, 4, 0);
    TBufferVx* b = TheLibrary().handles.Find(h);
    b->CreateAlphaPlane();
    PutPixel(h, 1, 1, 0x123456);

    EXPECT_EQ(b->Resize(4, 4, false), 0);
    EXPECT_EQ(GetPixel(h, 1, 1), 0x123456u);  // nothing changed

    EXPECT_EQ(b->Resize(9, 2, false), 0);
    EXPECT_EQ(BufferSizeX(h), 9);
    EXPECT_EQ(BufferSizeY(h), 2);
    EXPECT_EQ(GetPixel(h, 1, 1), 0u);
    PutPixel(h, 8, 1, 0xABCDEF);
    EXPECT_EQ(GetPixel(h, 8, 1), 0xABCDEFu);
    PutAlphaPixel(h, 8, 1, 7);  // the alpha plane follows the new size
    EXPECT_EQ(GetAlphaPixel(h, 8, 1), 7);
}

TEST_F(ResizeTest, FailingBothAttemptsLeavesAnEmptyBuffer) {
    OpenWindowed();
    const int32_t h = SetupBuffer(4, 4, 0);
    TBufferVx* b = TheLibrary().handles.Find(h);
    fake_->Fail(platform::PlatformCall::CreateSurface, platform::DDERR_OUTOFMEMORY, 2);
    EXPECT_EQ(b->Resize(8, 8, true), -1);
    EXPECT_FALSE(b->has_surface());
    EXPECT_EQ(BufferPointer(h), nullptr);
    PutPixel(h, 0, 0, 1);  // harmless on a buffer without pixels
    Fill(h, 1);
    EXPECT_EQ(GetPixel(h, 0, 0), 0u);
    EXPECT_EQ(b->Resize(2, 2, false), 0);  // and it can get a surface again
    EXPECT_EQ(BufferSizeX(h), 2);
}

}  // namespace
}  // namespace vxl::testing
