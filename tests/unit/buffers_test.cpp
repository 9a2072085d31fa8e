#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "display/blit_completion.h"
#include "fake_fixture.h"
#include "interface/result_texts.h"

namespace vxl::testing {
namespace {

using platform::PlatformCall;

std::string CreateFailure(platform::HResult code) {
    return std::string("[TBufferVx]CreateSurface -> ") + DirectDrawResultText(code);
}

class BufferTest : public FakeTest {
protected:
    void Open(uint32_t depth) {
        SetDesktopDepth(depth);
        OpenWindowed();
        bpp_ = depth == 15 ? 2 : depth / 8;
    }

    // The whole picture; rows are packed.
    std::vector<uint8_t> Bytes(int32_t h) const {
        const auto* p = static_cast<const uint8_t*>(BufferPointer(h));
        return {p, p + size_t(BufferSizeX(h)) * size_t(BufferSizeY(h)) * bpp_};
    }

    std::vector<uint8_t> PixelBytes(int32_t h, int32_t x, int32_t y) const {
        const auto all = Bytes(h);
        const auto at = all.begin() + (ptrdiff_t(y) * BufferSizeX(h) + x) * bpp_;
        return {at, at + bpp_};
    }

    static TBufferVx& Object(int32_t h) { return *TheLibrary().handles.Find(h); }

    uint32_t bpp_ = 4;
};

// What each layout stores for a colour: `put` as written by PutPixel and read back as `got`, and
// a fill colour with its bytes in memory.
struct Layout {
    uint32_t put;
    std::vector<uint8_t> put_bytes;
    uint32_t got;
    uint32_t fill;
    std::vector<uint8_t> fill_bytes;
};

const Layout& LayoutOf(uint32_t depth) {
    static const std::map<uint32_t, Layout> table = {
        {15, {0x7E08, {0x08, 0x7E}, 0x7E08, 0x7C1F, {0x1F, 0x7C}}},
        {16, {0xFC08, {0x08, 0xFC}, 0xFC08, 0xF81F, {0x1F, 0xF8}}},
        {24, {0x12345678, {0x78, 0x56, 0x34}, 0x345678, 0xFF8040, {0x40, 0x80, 0xFF}}},  // B, G, R
        {32, {0xFF123456, {0x56, 0x34, 0x12, 0xFF}, 0xFF123456, 0xFF8040, {0x40, 0x80, 0xFF, 0x00}}},
    };
    return table.at(depth);
}

class BufferDepthTest : public BufferTest, public ::testing::WithParamInterface<uint32_t> {
protected:
    void SetUp() override {
        BufferTest::SetUp();
        Open(GetParam());
        ASSERT_EQ(GlobalBpp(), int32_t(GetParam()));
    }
    const Layout& layout_ = LayoutOf(GetParam());
};

TEST_P(BufferDepthTest, StartsBlackWithPackedRows) {
    const int32_t h = SetupBuffer(13, 7, 0);
    EXPECT_EQ(BufferSizeX(h), 13);
    EXPECT_EQ(BufferSizeY(h), 7);
    EXPECT_EQ(Object(h).pitch(), int32_t(13 * bpp_));
    EXPECT_EQ(Bytes(h), std::vector<uint8_t>(13 * 7 * bpp_, 0));
    EXPECT_EQ(AlphaPointer(h), nullptr);
}

TEST_P(BufferDepthTest, PixelHasTheLayoutsBytesAndNoMore) {
    const int32_t h = SetupBuffer(3, 3, 0);
    PutPixel(h, 1, 1, layout_.put);
    EXPECT_EQ(GetPixel(h, 1, 1), layout_.got);
    std::vector<uint8_t> expected(9 * bpp_, 0);
    std::copy(layout_.put_bytes.begin(), layout_.put_bytes.end(), expected.begin() + 4 * bpp_);
    EXPECT_EQ(Bytes(h), expected);
}

TEST_P(BufferDepthTest, PixelAccessStopsAtTheEdges) {
    const int32_t w = 5, ht = 4, h = SetupBuffer(w, ht, 0);
    const int32_t other = SetupBuffer(w, ht, 0);
    Fill(h, layout_.fill);
    PutPixel(h, w - 1, ht - 1, layout_.put);
    EXPECT_EQ(GetPixel(h, w - 1, ht - 1), layout_.got);
    const auto before = Bytes(h);
    for (auto [x, y] : {std::pair{w, 1}, {1, ht}, {-1, 0}, {-1, 1}, {0, -1}, {w, ht - 1}, {w - 1, ht}}) {
        PutPixel(h, x, y, 0);
        EXPECT_EQ(GetPixel(h, x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(Bytes(h), before);
    EXPECT_EQ(Bytes(other), std::vector<uint8_t>(w * ht * bpp_, 0));
}

TEST_P(BufferDepthTest, FillSetsEveryPixel) {
    const int32_t w = 7, ht = 5, h = SetupBuffer(w, ht, 0);
    Fill(h, layout_.fill);
    for (int32_t y = 0; y < ht; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            ASSERT_EQ(PixelBytes(h, x, y), layout_.fill_bytes) << x << "," << y;
            ASSERT_EQ(GetPixel(h, x, y), layout_.fill) << x << "," << y;
        }
    }
}

TEST_P(BufferDepthTest, BadSizesAreReportedAndTheLibraryCarriesOn) {
    const int32_t kept = SetupBuffer(4, 4, 0);
    PutPixel(kept, 2, 3, layout_.put);
    const struct {
        int32_t w, h;
        platform::HResult code;
    } cases[] = {{0, 10, platform::DDERR_INVALIDPARAMS},
                 {10, -1, platform::DDERR_INVALIDPARAMS},
                 {100000, 100000, platform::DDERR_OUTOFMEMORY}};
    for (const auto& c : cases) {
        EXPECT_EQ(FatalMessage([&] { SetupBuffer(c.w, c.h, 0); }), CreateFailure(c.code)) << c.w << "x" << c.h;
        const int32_t next = SetupBuffer(2, 2, 0);
        PutPixel(next, 1, 1, layout_.put);
        EXPECT_EQ(GetPixel(next, 1, 1), layout_.got);
    }
    EXPECT_EQ(GetPixel(kept, 2, 3), layout_.got);
}

TEST_P(BufferDepthTest, BuffersOutliveTheDisplay) {
    const int32_t h = SetupBuffer(6, 4, 0);
    CloseVexel();
    PutPixel(h, 5, 3, layout_.put);
    EXPECT_EQ(GetPixel(h, 5, 3), layout_.got);
    Fill(h, layout_.fill);
    EXPECT_EQ(GetPixel(h, 0, 0), layout_.fill);
    EXPECT_EQ(PixelBytes(h, 5, 3), layout_.fill_bytes);
}

std::string DepthName(const ::testing::TestParamInfo<uint32_t>& param) {
    return "Depth" + std::to_string(param.param);
}

INSTANTIATE_TEST_SUITE_P(BufferDepths, BufferDepthTest, ::testing::Values(15u, 16u, 24u, 32u), DepthName);

// Video memory is asked for first; without it the buffer still works from system memory, and
// only buffers that truly got video memory keep the scratch row for the software loops.
TEST_F(BufferTest, SurfaceCreationFallsBackToSystemMemory) {
    const struct {
        const char* name;
        bool hardware;
        int failures;
        int attempts;
        bool video_surface, in_video, scratch;
    } cases[] = {
        {"no hardware", false, 0, 1, false, true, true},
        {"hardware", true, 0, 1, true, true, true},
        {"hardware out of video memory", true, 1, 2, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake_->hardware = c.hardware;
        Open(32);
        const int before = fake_->Calls(PlatformCall::CreateSurface);
        if (c.failures) fake_->Fail(PlatformCall::CreateSurface, platform::DDERR_OUTOFVIDEOMEMORY, c.failures);
        const int32_t h = SetupBuffer(8, 8, 1);
        TBufferVx& b = Object(h);
        EXPECT_EQ(fake_->Calls(PlatformCall::CreateSurface) - before, c.attempts);
        EXPECT_EQ((b.surface()->caps() & platform::DDSCAPS_VIDEOMEMORY) != 0, c.video_surface);
        EXPECT_EQ(b.in_video_memory(), c.in_video);
        EXPECT_EQ(b.row_scratch() != nullptr, c.scratch);
        PutPixel(h, 7, 7, 0x123456);
        EXPECT_EQ(GetPixel(h, 7, 7), 0x123456u);
        CloseVexel();
    }
}

TEST_F(BufferTest, BothCreationAttemptsFailingIsReported) {
    fake_->hardware = true;
    Open(32);
    fake_->Fail(PlatformCall::CreateSurface, platform::DDERR_OUTOFVIDEOMEMORY);
    fake_->Fail(PlatformCall::CreateSurface, platform::DDERR_GENERIC);
    const std::string expected = CreateFailure(platform::DDERR_GENERIC);
    EXPECT_EQ(FatalMessage([] { SetupBuffer(8, 8, 1); }), expected);
    EXPECT_EQ(ErrorLog(), expected + "\r\n");
}

TEST_F(BufferTest, BusyLockIsRetriedWithinBounds) {
    Open(32);
    fake_->Fail(PlatformCall::Lock, platform::DDERR_SURFACEBUSY, 3);
    const int32_t h = SetupBuffer(4, 4, 0);
    ASSERT_NE(BufferPointer(h), nullptr);
    PutPixel(h, 3, 3, 0xABCDEF);
    EXPECT_EQ(GetPixel(h, 3, 3), 0xABCDEFu);

    // A lock that never comes free fails the buffer rather than hanging.
    fake_->Fail(PlatformCall::Lock, platform::DDERR_SURFACEBUSY, kMaxBlitterRetries);
    EXPECT_EQ(FatalMessage([] { SetupBuffer(4, 4, 0); }),
              std::string("[TBufferVx]Lock -> ") + DirectDrawResultText(platform::DDERR_SURFACEBUSY));
}

TEST_F(BufferTest, FillSurvivesBlitterFaults) {
    const uint32_t first = 0x112233, second = 0x445566;
    const struct {
        const char* name;
        platform::HResult code;
        int times;
        bool filled, restored;
    } cases[] = {
        {"surface lost", platform::DDERR_SURFACELOST, 1, false, true},
        {"briefly busy", platform::DDERR_WASSTILLDRAWING, 3, true, false},
        {"busy for good", platform::DDERR_WASSTILLDRAWING, kMaxBlitterRetries, false, false},
    };
    Open(32);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t h = SetupBuffer(5, 3, 0);
        Fill(h, first);
        const int restores = fake_->Calls(PlatformCall::Restore);
        fake_->Fail(PlatformCall::Blt, c.code, c.times);
        Fill(h, second);
        EXPECT_EQ(fake_->Calls(PlatformCall::Restore) > restores, c.restored);
        for (int32_t i = 0; i < 15; ++i) {
            ASSERT_EQ(GetPixel(h, i % 5, i / 5), c.filled ? second : first) << i;
        }
        // The blitter works again afterwards.
        Fill(h, second);
        EXPECT_EQ(GetPixel(h, 4, 2), second);
    }
}

TEST_F(BufferTest, AlphaPlaneIsOptionalAndBounded) {
    Open(32);
    const int32_t w = 5, ht = 3, h = SetupBuffer(w, ht, 0);
    PutAlphaPixel(h, 1, 1, 77);
    EXPECT_EQ(GetAlphaPixel(h, 1, 1), 0);
    EXPECT_EQ(AlphaPointer(h), nullptr);

    Object(h).CreateAlphaPlane();
    uint8_t* alpha = AlphaPointer(h);
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(alpha, alpha + w * ht), std::vector<uint8_t>(w * ht, 0));
    std::memset(alpha, 7, w * ht);
    PutAlphaPixel(h, w - 1, ht - 1, 0x1FF);  // only the low byte counts
    EXPECT_EQ(GetAlphaPixel(h, w - 1, ht - 1), 0xFF);
    EXPECT_EQ(alpha[w * ht - 1], 0xFF);
    const std::vector<uint8_t> before(alpha, alpha + w * ht);
    for (auto [x, y] : {std::pair{w, 0}, {0, ht}, {-1, 1}, {1, -1}, {w, ht - 1}}) {
        PutAlphaPixel(h, x, y, 0);
        EXPECT_EQ(GetAlphaPixel(h, x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(std::vector<uint8_t>(alpha, alpha + w * ht), before);
    EXPECT_EQ(GetAlphaPixel(h, 0, 0), 7);
}

}  // namespace
}  // namespace vxl::testing
