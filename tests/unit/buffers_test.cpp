#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "display/blit_completion.h"
#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using platform::PlatformCall;

// The whole picture; rows are packed.
std::vector<uint8_t> Bytes(int32_t h, uint32_t bpp) {
    const auto* p = static_cast<const uint8_t*>(BufferPointer(h));
    return {p, p + size_t(BufferSizeX(h)) * size_t(BufferSizeY(h)) * bpp};
}

// What each layout stores for a colour: `put` as written by PutPixel and read back as `got`, and
// a fill colour with its bytes in memory.
struct Layout {
    uint32_t put, got, fill;
    std::vector<uint8_t> put_bytes, fill_bytes;
};

const std::map<uint32_t, Layout> kLayouts = {
    {15, {0x7E08, 0x7E08, 0x7C1F, {0x08, 0x7E}, {0x1F, 0x7C}}},
    {16, {0xFC08, 0xFC08, 0xF81F, {0x08, 0xFC}, {0x1F, 0xF8}}},
    {24, {0x12345678, 0x345678, 0xFF8040, {0x78, 0x56, 0x34}, {0x40, 0x80, 0xFF}}},  // B, G, R
    {32, {0xFF123456, 0xFF123456, 0xFF8040, {0x56, 0x34, 0x12, 0xFF}, {0x40, 0x80, 0xFF, 0x00}}},
};

using BufferTest = FakeTest;
using BufferDepthTest = DepthTest;

TEST_P(BufferDepthTest, PixelsStayInsideTheBufferAndFillSetsThemAll) {
    const Layout& layout = kLayouts.at(depth_);
    const int32_t w = 5, ht = 4, h = SetupBuffer(w, ht, 0), other = SetupBuffer(w, ht, 0);
    EXPECT_EQ(BufferSizeX(h), w);
    EXPECT_EQ(BufferSizeY(h), ht);
    EXPECT_EQ(TheLibrary().handles.Find(h)->pitch(), int32_t(w * bpp_));
    std::vector<uint8_t> expected(w * ht * bpp_, 0);
    EXPECT_EQ(Bytes(h, bpp_), expected);  // a new buffer is black
    EXPECT_EQ(AlphaPointer(h), nullptr);

    for (auto [x, y] : {std::pair{1, 1}, {w - 1, ht - 1}}) {
        PutPixel(h, x, y, layout.put);
        EXPECT_EQ(GetPixel(h, x, y), layout.got);
        std::copy(layout.put_bytes.begin(), layout.put_bytes.end(), expected.begin() + (y * w + x) * bpp_);
    }
    for (auto [x, y] : {std::pair{w, 1}, {1, ht}, {-1, 0}, {-1, 1}, {0, -1}, {w, ht - 1}, {w - 1, ht}}) {
        PutPixel(h, x, y, layout.put);
        EXPECT_EQ(GetPixel(h, x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(Bytes(h, bpp_), expected);  // the layout's bytes where written, nothing elsewhere
    EXPECT_EQ(Bytes(other, bpp_), std::vector<uint8_t>(w * ht * bpp_, 0));

    Fill(h, layout.fill);
    expected.clear();
    for (int32_t i = 0; i < w * ht; ++i) {
        expected.insert(expected.end(), layout.fill_bytes.begin(), layout.fill_bytes.end());
        EXPECT_EQ(GetPixel(h, i % w, i / w), layout.fill) << i;
    }
    EXPECT_EQ(Bytes(h, bpp_), expected);
}

INSTANTIATE_TEST_SUITE_P(Depths, BufferDepthTest, AllDepths(false), DepthName);

// Video memory is asked for first; without it the buffer still works from system memory, and
// only buffers that truly got video memory keep the scratch row for the software loops.
TEST_F(BufferTest, SurfaceCreationFallsBackToSystemMemory) {
    // Hardware, failing attempts; then attempts made, video surface, counted as video memory, scratch row.
    const std::tuple<bool, int, int, bool, bool, bool> cases[] = {
        {false, 0, 1, false, true, true}, {true, 0, 1, true, true, true}, {true, 1, 2, false, false, false}};
    for (auto [hardware, failures, attempts, video_surface, in_video, scratch] : cases) {
        SCOPED_TRACE(::testing::Message() << "hardware " << hardware << " failures " << failures);
        fake_->hardware = hardware;
        OpenWindowed();
        const int before = fake_->Calls(PlatformCall::CreateSurface);
        if (failures) fake_->Fail(PlatformCall::CreateSurface, platform::DDERR_OUTOFVIDEOMEMORY, failures);
        const int32_t h = SetupBuffer(8, 8, 1);
        TBufferVx& b = *TheLibrary().handles.Find(h);
        EXPECT_EQ(fake_->Calls(PlatformCall::CreateSurface) - before, attempts);
        EXPECT_EQ((b.surface()->caps() & platform::DDSCAPS_VIDEOMEMORY) != 0, video_surface);
        EXPECT_EQ(b.in_video_memory(), in_video);
        EXPECT_EQ(b.row_scratch() != nullptr, scratch);
        PutPixel(h, 7, 7, 0x123456);
        EXPECT_EQ(GetPixel(h, 7, 7), 0x123456u);
        CloseVexel();
    }
}

// Waits on the blitter are bounded: a blitter busy for good drops the fill rather than hang the host.
TEST_F(BufferTest, FillSurvivesBlitterFaults) {
    using platform::DDERR_WASSTILLDRAWING;
    const uint32_t first = 0x112233, second = 0x445566;
    // The failing call, its result and how often; whether the fill lands and the surfaces are restored.
    const std::tuple<PlatformCall, platform::HResult, int, bool, bool> cases[] = {
        {PlatformCall::Blt, platform::DDERR_SURFACELOST, 1, false, true},
        {PlatformCall::Blt, DDERR_WASSTILLDRAWING, 3, true, false},
        {PlatformCall::Blt, DDERR_WASSTILLDRAWING, kMaxBlitterRetries, false, false},
        {PlatformCall::GetBltStatus, DDERR_WASSTILLDRAWING, kMaxBlitterRetries, true, false},  // never done
    };
    OpenWindowed();
    for (auto [call, code, times, filled, restored] : cases) {
        SCOPED_TRACE(::testing::Message() << "call " << int(call) << " failing " << times << " times");
        const int32_t h = SetupBuffer(5, 3, 0);
        Fill(h, first);
        const int restores = fake_->Calls(PlatformCall::Restore);
        fake_->Fail(call, code, times);
        Fill(h, second);
        EXPECT_EQ(fake_->Calls(PlatformCall::Restore) > restores, restored);
        for (int32_t i = 0; i < 15; ++i) ASSERT_EQ(GetPixel(h, i % 5, i / 5), filled ? second : first) << i;
        Fill(h, second);  // the blitter works again afterwards
        EXPECT_EQ(GetPixel(h, 4, 2), second);
    }
}

TEST_F(BufferTest, AlphaPlaneIsOptionalAndBounded) {
    OpenWindowed();
    const int32_t w = 5, ht = 3, h = SetupBuffer(w, ht, 0);
    PutAlphaPixel(h, 1, 1, 77);  // no plane: nothing to write to or read
    EXPECT_EQ(GetAlphaPixel(h, 1, 1), 0);

    TheLibrary().handles.Find(h)->CreateAlphaPlane();
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
