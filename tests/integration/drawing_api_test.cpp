// The drawing exports through the C API: every primitive reaches the buffer its handle names, at 32
// bits windowed and 16 bits full screen, and handles without a buffer are ignored.
#include "sdl_window_fixture.h"

namespace {

class DrawingApi : public SdlWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(DrawingApi, EveryPrimitiveDrawsIntoItsBuffer) {
    const int bpp = GetParam();
    InitVexel(id_, 640, 480, bpp == 32 ? 0 : bpp, bpp != 32);
    ASSERT_EQ(GlobalBpp(), bpp);
    const int32_t b = SetupBuffer(200, 100, 0), other = SetupBuffer(200, 100, 0);
    const uint32_t c = RGB(255, 128, 64);
    Line(b, 0, 0, 9, 9, c);
    HLine(b, 20, 29, 5, c);
    VLine(b, 0, 9, 40, c);
    Rect(b, 50, 0, 59, 9, c);
    FillRect(b, 60, 0, 70, 10, c);
    MoveTo(b, 80, 0);
    LineTo(b, 89, 0, c);
    Circle(b, 100, 50, 10, c);
    FillCircle(b, 130, 50, 10, c);
    Ellipse(b, 160, 50, 12, 6, c);
    FillEllipse(b, 185, 50, 12, 6, c);
    CubicBezierLine(b, 10, 90, 60, 90, 20, 60, 50, 60, 16, c);
    for (auto [x, y] : {std::pair{5, 5},
                        {25, 5},
                        {40, 9},
                        {50, 5},
                        {69, 9},
                        {89, 0},
                        {110, 50},
                        {130, 50},
                        {172, 50},
                        {185, 50},
                        {10, 90},
                        {60, 90}}) {
        EXPECT_EQ(GetPixel(b, x, y), c) << x << "," << y;
    }
    EXPECT_EQ(GetPixel(b, 70, 10), 0u);   // FillRect's larger corner is left out
    EXPECT_EQ(GetPixel(b, 100, 50), 0u);  // the inside of an outline
    const auto* p = static_cast<const uint8_t*>(BufferPointer(other));
    for (size_t i = 0; i < size_t(200 * 100 * (bpp / 8)); ++i) ASSERT_EQ(p[i], 0) << i;

    // Closed and never-issued handles draw nothing and do not fail.
    CloseBuffer(other);
    for (int32_t h : {other, -1, 999}) {
        Line(h, 0, 0, 9, 9, c);
        FillRect(h, 0, 0, 10, 10, c);
        FillCircle(h, 5, 5, 5, c);
        FillEllipse(h, 5, 5, 5, 3, c);
        CubicBezierLine(h, 0, 0, 9, 9, 0, 9, 9, 0, 8, c);
    }
}
INSTANTIATE_TEST_SUITE_P(Depths, DrawingApi, ::testing::Values(32, 16));

}  // namespace
