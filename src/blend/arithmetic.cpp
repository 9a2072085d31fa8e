#include "blend/arithmetic.h"

#include "blend/blend_rows.h"
#include "blend/pixel_math.h"

namespace vxl::blend {
namespace {

// 24 and 32 bits are a plain run of bytes, byte 3 of a 32-bit pixel included.
template <uint8_t (*kOp)(uint8_t, uint8_t)>
void ByteRunRow(const RowJob& job, uint32_t bytes_per_pixel) {
    const size_t count = job.n * bytes_per_pixel;
    for (size_t i = 0; i < count; ++i) job.dst[i] = kOp(job.dst[i], job.src[i]);
}

template <uint32_t (*kOp)(const Fields16&, uint32_t, uint32_t), const Fields16& kFields>
void FieldRow(const RowJob& job) {
    for (size_t i = 0; i < job.n; ++i) {
        Pixel565::Store(job.dst + 2 * i,
                        kOp(kFields, Pixel565::Load(job.dst + 2 * i), Pixel565::Load(job.src + 2 * i)));
    }
}

template <uint8_t (*kOp)(uint8_t, uint8_t), uint32_t kBytes>
void BytesRow(const RowJob& job) {
    ByteRunRow<kOp>(job, kBytes);
}

uint8_t XorByte(uint8_t d, uint8_t s) {
    return uint8_t(d ^ s);
}

}  // namespace

RowFn ArithmeticReference(RowKind kind, TPixelLayout layout) {
    switch (kind) {
        case RowKind::Add:
            switch (layout) {
                case TPixelLayout::Rgb555:
                    return FieldRow<AddFields, kFields555>;
                case TPixelLayout::Rgb565:
                    return FieldRow<AddFields, kFields565>;
                case TPixelLayout::Bgr24:
                    return BytesRow<AddByte, 3>;
                case TPixelLayout::Xrgb32:
                    return BytesRow<AddByte, 4>;
                default:
                    return nullptr;
            }
        case RowKind::Sub:
            switch (layout) {
                case TPixelLayout::Rgb555:
                    return FieldRow<SubFields, kFields555>;
                case TPixelLayout::Rgb565:
                    return FieldRow<SubFields, kFields565>;
                case TPixelLayout::Bgr24:
                    return BytesRow<SubByte, 3>;
                case TPixelLayout::Xrgb32:
                    return BytesRow<SubByte, 4>;
                default:
                    return nullptr;
            }
        case RowKind::Xor:
            switch (layout) {
                case TPixelLayout::Rgb555:
                case TPixelLayout::Rgb565:
                    return BytesRow<XorByte, 2>;
                case TPixelLayout::Bgr24:
                    return BytesRow<XorByte, 3>;
                case TPixelLayout::Xrgb32:
                    return BytesRow<XorByte, 4>;
                default:
                    return nullptr;
            }
        default:
            return nullptr;
    }
}

void CopyAdd(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::Add);
}

void CopySub(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::Sub);
}

void CopyXor(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::Xor);
}

}  // namespace vxl::blend
