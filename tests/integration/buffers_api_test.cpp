// Buffers through the C API at every pixel depth: 32 bits on a windowed display (the dummy desktop's
// depth), 15, 16 and 24 bits on a full-screen 640x480 display.
#include <cstring>
#include <tuple>
#include <vector>

#include "sdl_window_fixture.h"

namespace {

// Handle numbers depend on what the process allocated before; only a fresh library has a known sequence.
bool handles_used = false;

int32_t NewBuffer(int32_t w, int32_t h) {
    handles_used = true;
    return SetupBuffer(w, h, 0);
}

void OpenDisplay(uint32_t window, int bpp) {
    if (bpp == 32) {
        InitVexel(window, 640, 480, 0, 0);
    } else {
        InitVexel(window, 640, 480, bpp, 1);
    }
    ASSERT_EQ(GlobalBpp(), bpp);
}

class Buffers : public SdlWindowTest {
protected:
    void SetUp() override {
        SdlWindowTest::SetUp();
        if (!HasFatalFailure()) OpenDisplay(id_, 32);
    }
};

// Declared first so that a whole-binary run still meets a fresh handle table here.
TEST_F(Buffers, HandlesAreNumberedAndReusedHighestFirst) {
    if (handles_used) GTEST_SKIP() << "needs a fresh library; run this test on its own";
    int32_t h[4];
    for (int32_t& handle : h) handle = NewBuffer(2, 2);
    EXPECT_EQ(h[0], 0);
    EXPECT_EQ(h[1], 1);
    EXPECT_EQ(h[2], 2);
    EXPECT_EQ(h[3], 3);
    CloseBuffer(1);
    CloseBuffer(3);
    EXPECT_EQ(BufferPointer(1), nullptr);
    EXPECT_EQ(BufferSizeX(3), 0);
    EXPECT_EQ(NewBuffer(2, 2), 3);
    EXPECT_EQ(NewBuffer(2, 2), 1);
    EXPECT_EQ(NewBuffer(2, 2), 4);
    for (int32_t handle = 0; handle <= 4; ++handle) CloseBuffer(handle);
}

TEST_F(Buffers, UnknownHandlesAnswerNothing) {
    EXPECT_EQ(GetPixel(999, 0, 0), 0u);
    EXPECT_EQ(BufferPointer(-1), nullptr);
    EXPECT_EQ(BufferSizeX(999), 0);
    EXPECT_EQ(BufferSizeY(-1), 0);
    PutPixel(999, 0, 0, 1);
    Fill(-1, 1);
    CloseBuffer(-1);
    CloseBuffer(999);
}

TEST_F(Buffers, BadSizeThrowsLogsAndLeavesTheLibraryUsable) {
    const std::string message =
        "[TBufferVx]CreateSurface -> One or more of the parameters passed to the function are incorrect.";
    EXPECT_EQ(Failure([] { NewBuffer(0, 0); }), message);
    EXPECT_EQ(ErrorLog(), message + "\r\n");

    EXPECT_EQ(VexelSizeX(), 640);
    const int32_t h = NewBuffer(3, 3);
    PutPixel(h, 2, 2, 0x123456);
    EXPECT_EQ(GetPixel(h, 2, 2), 0x123456u);
    CloseBuffer(h);
}

// Every depth, each with a pixel-perfect size, a ragged one, a screenful and a single long row.
class BufferPixels : public SdlWindowTest, public ::testing::WithParamInterface<std::tuple<int, std::tuple<int, int>>> {
protected:
    void SetUp() override {
        SdlWindowTest::SetUp();
        if (!HasFatalFailure()) OpenDisplay(id_, bpp_);
    }
    // A colour that differs between neighbours and between rows.
    static uint32_t Pattern(int x, int y, int salt) {
        return RGB((x * 7 + salt) & 255, (y * 13 + x) & 255, (x ^ (y * 3) ^ salt) & 255);
    }
    // The pixel (x, y) as the bytes of the buffer memory.
    uint32_t Stored(int32_t handle, int x, int y) const {
        const auto* p = static_cast<const uint8_t*>(BufferPointer(handle)) + (size_t(y) * w_ + x) * bytes_;
        uint32_t v = 0;
        for (int i = 0; i < bytes_; ++i) v |= uint32_t(p[i]) << (8 * i);
        return v;
    }
    // Counts the pixels for which `check(x, y)` is false.
    template <typename Check>
    int Mismatches(Check check) const {
        int bad = 0;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) bad += !check(x, y);
        return bad;
    }

    const int bpp_ = std::get<0>(GetParam());
    const int w_ = std::get<0>(std::get<1>(GetParam()));
    const int h_ = std::get<1>(std::get<1>(GetParam()));
    const int bytes_ = bpp_ == 32 ? 4 : bpp_ == 24 ? 3 : 2;
};

TEST_P(BufferPixels, PutGetAndPointerAgree) {
    const int32_t h = NewBuffer(w_, h_);
    ASSERT_NE(BufferPointer(h), nullptr);
    EXPECT_EQ(BufferSizeX(h), w_);
    EXPECT_EQ(BufferSizeY(h), h_);
    EXPECT_EQ(Mismatches([&](int x, int y) { return Stored(h, x, y) == 0; }), 0) << "a new buffer is black";

    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) PutPixel(h, x, y, Pattern(x, y, 1));
    EXPECT_EQ(Mismatches([&](int x, int y) { return Stored(h, x, y) == Pattern(x, y, 1); }), 0);
    EXPECT_EQ(Mismatches([&](int x, int y) { return GetPixel(h, x, y) == Pattern(x, y, 1); }), 0);

    auto* base = static_cast<uint8_t*>(BufferPointer(h));
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            const uint32_t c = Pattern(x, y, 99);
            for (int i = 0; i < bytes_; ++i) base[(size_t(y) * w_ + x) * bytes_ + i] = uint8_t(c >> (8 * i));
        }
    EXPECT_EQ(Mismatches([&](int x, int y) { return GetPixel(h, x, y) == Pattern(x, y, 99); }), 0);

    const uint32_t fill = RGB(200, 100, 50);
    Fill(h, fill);
    EXPECT_EQ(Mismatches([&](int x, int y) { return Stored(h, x, y) == fill; }), 0);

    // Writes outside the buffer go nowhere; reads outside answer 0.
    const std::pair<int, int> outside[] = {{-1, 0}, {w_, 0}, {0, -1}, {0, h_}, {w_, h_ - 1}};
    for (auto [x, y] : outside) {
        PutPixel(h, x, y, RGB(1, 2, 3));
        EXPECT_EQ(GetPixel(h, x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(Mismatches([&](int x, int y) { return Stored(h, x, y) == fill; }), 0);

    CloseBuffer(h);
    EXPECT_EQ(BufferPointer(h), nullptr);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndSizes, BufferPixels,
                         ::testing::Combine(::testing::Values(15, 16, 24, 32),
                                            ::testing::Values(std::tuple{1, 1}, std::tuple{7, 3},
                                                              std::tuple{640, 480}, std::tuple{1000, 1})),
                         [](const auto& p) {
                             const auto& size = std::get<1>(p.param);
                             return std::to_string(std::get<0>(p.param)) + "bit_" +
                                    std::to_string(std::get<0>(size)) + "x" + std::to_string(std::get<1>(size));
                         });

// RGB(255,128,64) packed and unpacked again; narrow fields widen so that the top value becomes 255.
struct ColourCase {
    int bpp;
    uint32_t packed, white;
    uint8_t r, g, b;
};

class Colours : public SdlWindowTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(Colours, PackInTheDisplayLayout) {
    const ColourCase& c = GetParam();
    OpenDisplay(id_, c.bpp);
    EXPECT_EQ(RGB(255, 128, 64), c.packed);
    EXPECT_EQ(RGB(255, 255, 255), c.white);
    EXPECT_EQ(RGB(0, 0, 0), 0u);
    uint8_t r = 0, g = 0, b = 0;
    unRGB(c.packed, &r, &g, &b);
    EXPECT_EQ(r, c.r);
    EXPECT_EQ(g, c.g);
    EXPECT_EQ(b, c.b);
    unRGB(c.white, &r, &g, &b);
    EXPECT_EQ(r & g & b, 255);
}

INSTANTIATE_TEST_SUITE_P(Depths, Colours,
                         ::testing::Values(ColourCase{15, 0x7E08, 0x7FFF, 255, 131, 65},
                                           ColourCase{16, 0xFC08, 0xFFFF, 255, 129, 65},
                                           ColourCase{24, 0xFF8040, 0xFFFFFF, 255, 128, 64},
                                           ColourCase{32, 0xFF8040, 0xFFFFFF, 255, 128, 64}),
                         [](const auto& p) { return std::to_string(p.param.bpp) + "bit"; });

}  // namespace
