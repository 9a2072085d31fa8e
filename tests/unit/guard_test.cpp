// Every drawing family given hostile coordinates, polygon vertex counts and arrays, into a buffer
// whose rows sit between guard bytes: every write must land inside the picture. (The stress program
// drives the same calls through the library's interface under the sanitizers.)
#include <cfloat>
#include <cmath>
#include <functional>
#include <random>

#include "draw/circles.h"
#include "draw/curves.h"
#include "draw/ellipses.h"
#include "draw/lines.h"
#include "draw/spans.h"
#include "picture.h"
#include "raster/polygons.h"
#include "raster/rotate.h"

namespace vxl::testing {
namespace {

constexpr uint8_t kGuard = 0xEE;
constexpr int32_t kGuardBytes = 64, kGuardRows = 3;

// A buffer whose rows lie in memory of its own, with guard bytes beside each row and guard rows
// above and below.
class GuardedBuffer : public TBufferVx {
public:
    GuardedBuffer(const TVexel* display, int32_t width, int32_t height) {
        Construct(display, width, height, false);
        pitch_ = width_ * int32_t(bytes_per_pixel_) + 2 * kGuardBytes;
        memory_.assign(size_t(pitch_) * size_t(height_ + 2 * kGuardRows), kGuard);
        pixels_ = memory_.data() + size_t(kGuardRows) * size_t(pitch_) + kGuardBytes;
        for (int32_t y = 0; y < height_; ++y) std::memset(row(y), 0, size_t(width_) * bytes_per_pixel_);
    }

    // Guard bytes written, and whether any pixel was.
    std::pair<size_t, bool> Touched() const {
        size_t guards = 0;
        bool pixels = false;
        const size_t row_bytes = size_t(width_) * bytes_per_pixel_;
        for (size_t i = 0; i < memory_.size(); ++i) {
            const size_t row = i / size_t(pitch_), col = i % size_t(pitch_);
            const bool inside = row >= size_t(kGuardRows) && row < size_t(kGuardRows + height_) &&
                                col >= size_t(kGuardBytes) && col < size_t(kGuardBytes) + row_bytes;
            inside ? pixels |= memory_[i] != 0 : guards += memory_[i] != kGuard;
        }
        return {guards, pixels};
    }

private:
    std::vector<uint8_t> memory_;
};

using GuardTest = DepthTest;

TEST_P(GuardTest, EveryFamilyWritesOnlyInsideTheBufferWhateverTheCoordinates) {
    GuardedBuffer b(TheLibrary().display.get(), 37, 23);
    const int32_t tex = NumberedBuffer(9, 7);
    const TBufferVx& texture = *TheLibrary().handles.Find(tex);
    std::mt19937 rng(6000 + depth_);
    // Near the buffer, a little further, anywhere in 32 bits, or at its ends.
    const int32_t kEnds[] = {INT32_MIN, INT32_MIN + 2, INT32_MAX - 2, INT32_MAX};
    const auto coord = [&] {
        const uint32_t kind = rng() % 4, r = rng();
        return kind == 0   ? int32_t(r % 80) - 20
               : kind == 1 ? int32_t(r % 20000) - 10000
               : kind == 2 ? int32_t(r)
                           : kEnds[r % 4];
    };
    const float kExtremes[] = {-0.0f, 1e-40f, 0.5f, 32767.5f, -32768.0f, 1e9f, -3e38f, FLT_MAX, INFINITY, NAN};
    const auto real = [&] {
        return rng() % 4 ? float(coord() % 200) + 0.25f * float(rng() % 4) : kExtremes[rng() % std::size(kExtremes)];
    };
    int32_t a, c, d, e, f, g, high, count;
    uint32_t colour;
    TPolyVertex v[6];
    // Curve step counts stay modest: a huge count is only a long walk.
    const std::function<void()> families[] = {
        [&] { draw::Line(b, a, c, d, e, colour); },
        [&] { draw::HLine(b, a, c, d, colour); },
        [&] { draw::VLine(b, a, c, d, colour); },
        [&] { draw::Rect(b, a, c, d, e, colour); },
        [&] { draw::Circle(b, a, c, d, colour); },
        [&] { draw::FillCircle(b, a, c, d, colour); },
        [&] { draw::Ellipse(b, a, c, d, e, colour); },
        [&] { draw::FillEllipse(b, a, c, d, e, colour); },
        [&] { draw::CubicBezierLine(b, a, c, d, e, f, g, coord(), coord(), int32_t(rng() % 300) - 20, colour); },
        [&] { FlatPoly(b, v, high, count, colour); },
        [&] { GouraudPoly(b, v, high, count); },
        [&] { TexturePoly(b, &texture, v, high, count); },
        [&] { KeyTexturePoly(b, &texture, v, high, count, Numbered(2, 2)); },
        [&] { CopyRotate(texture, &b, a % 100, c % 100, real() / 8, real()); },
    };
    for (int i = 0; i < 6000; ++i) {
        colour = rng() | 0x01010101u;
        a = coord(), c = coord(), d = coord(), e = coord(), f = coord(), g = coord();
        high = int32_t(rng() % 8) - 2, count = int32_t(rng() % 10) - 3;
        for (auto& p : v) p = V(real(), real(), uint32_t(rng()), real(), real());
        const TPolyVertex before[6] = {v[0], v[1], v[2], v[3], v[4], v[5]};
        families[size_t(i) % std::size(families)]();
        ASSERT_EQ(std::memcmp(before, v, sizeof v), 0) << "the host's vertices were written";
    }
    const auto [guards, pixels] = b.Touched();
    EXPECT_TRUE(pixels);  // the mix reaches the buffer as well
    EXPECT_EQ(guards, 0u);
}
INSTANTIATE_TEST_SUITE_P(Depths, GuardTest,
                         ::testing::Combine(::testing::Values(16u, 24u, 32u), ::testing::Values(false)), DepthName);

// The polygon fills' edge tables follow the buffer's height: past a 16-bit row index, grown with the
// buffer, and still safe once it shrinks.
using PolygonTablesTest = FakeTest;

TEST_F(PolygonTablesTest, PolygonEdgeTablesFollowTheBufferHeight) {
    SetDesktopDepth(32);
    OpenWindowed();
    const int32_t tall = SetupBuffer(2, 70000, 0);
    const TPolyVertex strip[4] = {V(0, 69990, 0xFF), V(1, 69990, 0xFF), V(1, 80000, 0xFF), V(0, 80000, 0xFF)};
    ::GouraudPoly(tall, strip, 3, 4);
    EXPECT_EQ(GetPixel(tall, 0, 69999), 0xFFu);
    EXPECT_EQ(GetPixel(tall, 0, 69989), 0u);
    const int32_t h = SetupBuffer(4, 4, 0);
    TBufferVx* b = TheLibrary().handles.Find(h);
    const TPolyVertex all[4] = {V(0, 0, 0xFF), V(3, 0, 0xFF), V(3, 200, 0xFF), V(0, 200, 0xFF)};
    for (int32_t rows : {100, 3}) {
        ASSERT_EQ(b->Resize(4, rows, false), 0);
        ::GouraudPoly(h, all, 3, 4);
        EXPECT_EQ(GetPixel(h, 1, rows - 1), 0xFFu);
    }
}

}  // namespace
}  // namespace vxl::testing
