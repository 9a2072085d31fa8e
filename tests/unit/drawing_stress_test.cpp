// Thousands of primitives with coordinates far outside a buffer whose rows sit between guard bytes:
// every write must land inside the picture.
#include <random>

#include "draw/circles.h"
#include "draw/curves.h"
#include "draw/ellipses.h"
#include "draw/lines.h"
#include "draw/spans.h"
#include "fake_fixture.h"

namespace vxl::testing {
namespace {

constexpr uint8_t kGuard = 0xEE;
constexpr int32_t kGuardBytes = 64, kGuardRows = 3;

// A buffer whose rows lie in memory of its own: each row has guard bytes on both sides, and guard
// rows lie above and below.
class GuardedBuffer : public TBufferVx {
public:
    GuardedBuffer(const TVexel* display, int32_t width, int32_t height) {
        Construct(display, width, height, false);
        pitch_ = width_ * int32_t(bytes_per_pixel_) + 2 * kGuardBytes;
        memory_.assign(size_t(pitch_) * size_t(height_ + 2 * kGuardRows), kGuard);
        pixels_ = memory_.data() + size_t(kGuardRows) * size_t(pitch_) + kGuardBytes;
        for (int32_t y = 0; y < height_; ++y) std::memset(row(y), 0, size_t(width_) * bytes_per_pixel_);
    }

    // Offsets of guard bytes that changed.
    std::vector<size_t> TouchedGuards() const {
        std::vector<size_t> touched;
        const size_t row_bytes = size_t(width_) * bytes_per_pixel_;
        for (size_t i = 0; i < memory_.size(); ++i) {
            const size_t row = i / size_t(pitch_), col = i % size_t(pitch_);
            const bool inside = row >= size_t(kGuardRows) && row < size_t(kGuardRows + height_) &&
                                col >= size_t(kGuardBytes) && col < size_t(kGuardBytes) + row_bytes;
            if (!inside && memory_[i] != kGuard) touched.push_back(i);
        }
        return touched;
    }

    bool AnyPixelSet() const {
        for (int32_t y = 0; y < height_; ++y) {
            for (size_t i = 0; i < size_t(width_) * bytes_per_pixel_; ++i) {
                if (row(y)[i] != 0) return true;
            }
        }
        return false;
    }

private:
    std::vector<uint8_t> memory_;
};

using DrawingStressTest = DepthTest;

TEST_P(DrawingStressTest, PrimitivesWithHostileCoordinatesWriteOnlyInsideTheBuffer) {
    auto guarded = std::make_unique<GuardedBuffer>(TheLibrary().display.get(), 37, 23);
    GuardedBuffer& b = *guarded;
    std::mt19937 rng(6000 + depth_);
    // Near the buffer, a little further, or anywhere in 32 bits.
    const auto coord = [&] {
        switch (rng() % 4) {
            case 0:
                return int32_t(rng() % 80) - 20;
            case 1:
                return int32_t(rng() % 20000) - 10000;
            case 2:
                return int32_t(rng());
            default:
                return rng() % 2 ? INT32_MAX - int32_t(rng() % 3) : INT32_MIN + int32_t(rng() % 3);
        }
    };
    for (int i = 0; i < 4000; ++i) {
        const uint32_t colour = rng() | 0x01010101u;
        const int32_t a = coord(), c = coord(), d = coord(), e = coord(), f = coord(), g = coord();
        switch (i % 9) {
            case 0:
                draw::Line(b, a, c, d, e, colour);
                break;
            case 1:
                draw::HLine(b, a, c, d, colour);
                break;
            case 2:
                draw::VLine(b, a, c, d, colour);
                break;
            case 3:
                draw::Rect(b, a, c, d, e, colour);
                break;
            case 4:
                draw::Circle(b, a, c, d, colour);
                break;
            case 5:
                draw::FillCircle(b, a, c, d, colour);
                break;
            case 6:
                draw::Ellipse(b, a, c, d, e, colour);
                break;
            case 7:
                draw::FillEllipse(b, a, c, d, e, colour);
                break;
            default: {
                // Step counts stay modest here: a huge count costs a long walk, tested elsewhere.
                const int32_t steps = int32_t(rng() % 300) - 20;
                draw::CubicBezierLine(b, a, c, d, e, f, g, coord(), coord(), steps, colour);
                break;
            }
        }
    }
    EXPECT_TRUE(b.AnyPixelSet());  // the mix reaches the buffer as well
    const std::vector<size_t> touched = b.TouchedGuards();
    EXPECT_TRUE(touched.empty()) << touched.size() << " guard bytes written, the first at " << touched[0];
}
INSTANTIATE_TEST_SUITE_P(Depths, DrawingStressTest,
                         ::testing::Combine(::testing::Values(16u, 24u, 32u), ::testing::Values(false)), DepthName);

}  // namespace
}  // namespace vxl::testing
