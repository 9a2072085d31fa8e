// Buffers: pixel layouts at every depth, bounds, fills through the blitter, memory kinds, alpha planes.
#include <map>

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
    EXPECT_EQ(std::tuple(BufferSizeX(h), BufferSizeY(h), TheLibrary().handles.Find(h)->pitch(), AlphaPointer(h)),
              std::tuple(w, ht, int32_t(w * bpp_), nullptr));
    std::vector<uint8_t> expected(w * ht * bpp_, 0);
    EXPECT_EQ(Bytes(h, bpp_), expected);  // a new buffer is black
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
    for (int32_t i = 0; i < w * ht; ++i)
        expected.insert(expected.end(), layout.fill_bytes.begin(), layout.fill_bytes.end());
    EXPECT_EQ(Bytes(h, bpp_), expected);
    EXPECT_EQ(GetPixel(h, w - 1, ht - 1), layout.fill);
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
        EXPECT_EQ(std::tuple(fake_->Calls(PlatformCall::CreateSurface) - before,
                             (b.surface()->caps() & platform::DDSCAPS_VIDEOMEMORY) != 0, b.in_video_memory(),
                             b.row_scratch() != nullptr),
                  std::tuple(attempts, video_surface, in_video, scratch));
    }
}

// Waits on the blitter are bounded: a blitter busy for good drops the fill rather than hang the host.
TEST_F(BufferTest, FillSurvivesBlitterFaults) {
    using platform::DDERR_WASSTILLDRAWING;
    const uint32_t first = 0x112233, second = 0x445566;  // the blitter works again for each row
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
    EXPECT_EQ(std::pair(GetAlphaPixel(h, w - 1, ht - 1), alpha[w * ht - 1]), std::pair(0xFF, uint8_t(0xFF)));
    const std::vector<uint8_t> before(alpha, alpha + w * ht);
    for (auto [x, y] : {std::pair{w, 0}, {0, ht}, {-1, 1}, {1, -1}, {w, ht - 1}}) {
        PutAlphaPixel(h, x, y, 0);
        EXPECT_EQ(GetAlphaPixel(h, x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(std::vector<uint8_t>(alpha, alpha + w * ht), before);
}

TEST_F(BufferTest, ResizeGivesANewSizeFreshPixelsKeepsTheSameSizeAndFailureLeavesItEmpty) {
    OpenWindowed();
    const int32_t h = SetupBuffer(4, 4, 0);
    TBufferVx* b = TheLibrary().handles.Find(h);
    b->CreateAlphaPlane();
    PutPixel(h, 1, 1, 0x123456);
    EXPECT_EQ(b->Resize(4, 4, false), 0);
    EXPECT_EQ(GetPixel(h, 1, 1), 0x123456u);  // nothing changed
    EXPECT_EQ(b->Resize(9, 2, false), 0);
    EXPECT_EQ(std::tuple(BufferSizeX(h), BufferSizeY(h), GetPixel(h, 1, 1)), std::tuple(9, 2, 0u));
    PutAlphaPixel(h, 8, 1, 7);  // the alpha plane follows the new size
    EXPECT_EQ(GetAlphaPixel(h, 8, 1), 7);
    // Both attempts, video and system memory, failing: no pixels, harmlessly, until a resize succeeds.
    fake_->Fail(PlatformCall::CreateSurface, platform::DDERR_OUTOFMEMORY, 2);
    EXPECT_EQ(b->Resize(8, 8, true), -1);
    EXPECT_EQ(std::pair(b->has_surface(), BufferPointer(h)), std::pair(false, static_cast<void*>(nullptr)));
    Fill(h, 1);
    EXPECT_EQ(GetPixel(h, 0, 0), 0u);
    EXPECT_EQ(b->Resize(2, 2, false), 0);
    EXPECT_EQ(BufferSizeX(h), 2);
}

TEST_F(BufferTest, HandlesAreNumberedAndReused) {
    // Buffers opened, handles then closed, and the handles the next buffers get.
    const std::tuple<int, std::vector<int32_t>, std::vector<int32_t>> cases[] = {
        {4, {1, 3}, {3, 1, 4}},  // freed slots come back highest first
        {2, {0}, {2}},           // slot 0 is never handed out again
        {1, {0}, {1, 2}},
    };
    for (const auto& [open, close, next] : cases) {
        ResetLibrary();
        OpenWindowed();
        for (int32_t i = 0; i < open; ++i) EXPECT_EQ(SetupBuffer(8 + i, 4, 0), i);
        for (int32_t h : close) CloseBuffer(h);
        for (int32_t want : next) EXPECT_EQ(SetupBuffer(5, 3, 0), want);
        EXPECT_EQ(BufferSizeX(next[0]), 5);  // a reused slot holds the new buffer
    }
    // A failed creation keeps its slot, empty, until it is closed.
    EXPECT_THROW(SetupBuffer(0, 5, 0), std::exception);
    EXPECT_EQ(SetupBuffer(4, 4, 0), 4);
    EXPECT_EQ(BufferPointer(3), nullptr);
    CloseBuffer(3);
    EXPECT_EQ(SetupBuffer(6, 4, 0), 3);
}

TEST_F(BufferTest, VersionExports) {
    EXPECT_EQ(GetDLLVersion(), 331);
    const char *name = nullptr, *notice = nullptr;
    GetDLLInfo(&name, &notice);
    EXPECT_STREQ(name, "VXL.DLL v0.14b [10.03.2001]");
    EXPECT_TRUE(notice && *notice);
}

}  // namespace
}  // namespace vxl::testing
