#include "platform/gdi/metafile_sizes.h"

namespace vxl::platform {
namespace {

constexpr int64_t kPixelsPerInch = 96;
constexpr int64_t kHundredthMillimetresPerInch = 2540;

uint32_t U16(Bytes b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}
uint32_t U32(Bytes b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

// value * multiplier / divisor, rounded half away from zero, for sizes that fit a picture.
bool Scale(int64_t value, int64_t multiplier, int64_t divisor, int32_t* out) {
    if (divisor <= 0) return false;
    const int64_t product = value * multiplier;
    const int64_t result = (product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor;
    if (result < 0 || result > INT32_MAX) return false;
    *out = int32_t(result);
    return true;
}

}  // namespace

bool ReadIcoSize(Bytes file, PictureSize* out) {
    // Reserved 0, type 1 (icon) or 2 (cursor), image count, then 16-byte entries whose first two
    // bytes are width and height, 0 meaning 256.
    if (file.size() < 6 + 16 || U16(file, 0) != 0 || (U16(file, 2) != 1 && U16(file, 2) != 2) || U16(file, 4) == 0) {
        return false;
    }
    out->width = file[6] == 0 ? 256 : file[6];
    out->height = file[7] == 0 ? 256 : file[7];
    return true;
}

bool ReadWmfSize(Bytes file, PictureSize* out) {
    if (file.size() < 22 || U32(file, 0) != 0x9AC6CDD7u) {
        return false;
    }
    const auto coordinate = [&](size_t at) { return int64_t(int16_t(U16(file, at))); };
    const int64_t units_per_inch = U16(file, 14);
    return Scale(coordinate(10) - coordinate(6), kPixelsPerInch, units_per_inch, &out->width) &&
           Scale(coordinate(12) - coordinate(8), kPixelsPerInch, units_per_inch, &out->height);
}

bool ReadEmfSize(Bytes file, PictureSize* out) {
    // Record type 1, the " EMF" signature at byte 40; the frame rectangle at byte 24 is inclusive.
    if (file.size() < 88 || U32(file, 0) != 1 || U32(file, 40) != 0x464D4520u) {
        return false;
    }
    const auto coordinate = [&](size_t at) { return int64_t(int32_t(U32(file, at))); };
    return Scale(coordinate(32) - coordinate(24), kPixelsPerInch, kHundredthMillimetresPerInch, &out->width) &&
           Scale(coordinate(36) - coordinate(28), kPixelsPerInch, kHundredthMillimetresPerInch, &out->height);
}

}  // namespace vxl::platform
