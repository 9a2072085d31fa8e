#include "fake_fixture.h"
#include "platform/surfaces/direct_draw.h"

namespace vxl::testing {
namespace {

using namespace platform;

class SurfaceTest : public FakeTest {
protected:
    std::shared_ptr<Surface> Plain(int32_t w, int32_t h) {
        SurfaceDesc d;
        d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.width = w;
        d.height = h;
        d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        std::shared_ptr<Surface> s;
        EXPECT_EQ(dd_->CreateSurface(d, &s), DD_OK);
        return s;
    }
    static uint32_t At(Surface& s, int32_t x, int32_t y) {
        SurfaceDesc d;
        s.GetSurfaceDesc(&d);
        uint32_t v;
        std::memcpy(&v, static_cast<uint8_t*>(d.surface) + y * d.pitch + x * 4, 4);
        return v;
    }
    void SetUp() override {
        FakeTest::SetUp();
        DirectDrawCreateEx(&dd_);
    }
    std::shared_ptr<DirectDraw> dd_;
};

TEST_F(SurfaceTest, KeyedFastBlitSkipsKeyPixelsAndRefusesRectanglesOutside) {
    auto src = Plain(2, 1), dst = Plain(4, 1);
    BltFx fx{0x00FF00FF};  // the key colour
    src->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    fx.fill_colour = 0x123;
    Rect right{1, 0, 2, 1};
    src->Blt(&right, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    const ColourKey key{0x00FF00FF, 0x00FF00FF};
    src->SetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(dst->BltFast(2, 0, src.get(), nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(At(*dst, 2, 0), 0u);
    EXPECT_EQ(At(*dst, 3, 0), 0x123u);
    EXPECT_EQ(dst->BltFast(3, 0, src.get(), nullptr, 0), DDERR_INVALIDRECT);
}

}  // namespace
}  // namespace vxl::testing
