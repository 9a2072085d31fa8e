#include "blend/filters.h"

#include <cstring>

#include "blend/blur_wave.h"
#include "blend/pixel_math.h"
#include "blend/row_op.h"

namespace vxl::blend {
namespace {

template <typename P>
void NegativeRow(const RowJob& job) {
    // Every stored bit flips: bit 15 at 15 bits and byte 3 at 32 bits too.
    const uint32_t all = P::kBytes == 4 ? 0xFFFFFFFFu : P::kBytes == 3 ? 0xFFFFFFu : 0xFFFFu;
    for (size_t i = 0; i < job.n; ++i) {
        const size_t at = i * P::kBytes;
        P::Store(job.dst + at, P::Load(job.src + at) ^ all);
    }
}

template <typename P>
uint32_t GreyOf(uint32_t p) {
    if constexpr (P::kDepth == 15) {
        const uint32_t g = Third(((p >> 10) & 31) + ((p >> 5) & 31) + (p & 31));
        return g << 10 | g << 5 | g;
    } else if constexpr (P::kDepth == 16) {
        const uint32_t g = Third((p >> 11) + ((p >> 6) & 31) + (p & 31));
        return g << 11 | (2 * g) << 5 | g;
    } else {
        const uint32_t g = Third((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF));
        return (p & 0xFF000000u) | g * 0x010101u;  // byte 3 kept; a 24-bit store drops it anyway
    }
}

template <typename P>
void GreyscaleRow(const RowJob& job) {
    for (size_t i = 0; i < job.n; ++i) {
        const size_t at = i * P::kBytes;
        P::Store(job.dst + at, GreyOf<P>(P::Load(job.src + at)));
    }
}

template <typename P>
RowFn ForLayout(RowKind kind) {
    switch (kind) {
        case RowKind::Negative:
            return NegativeRow<P>;
        case RowKind::Greyscale:
            return GreyscaleRow<P>;
        default:
            return nullptr;
    }
}

// The frame of Negative and Greyscale. Video-memory rows go through the scratch row; packed
// system-memory rows are one run.
void FilterRows(TBufferVx* buffer, RowKind kind) {
    if (buffer == nullptr || !buffer->has_surface() || buffer->pixels() == nullptr) return;
    const RowOp op = ChooseRow(kind, LayoutOfDepth(buffer->display_depth()));
    if (!op || op.bytes != buffer->bytes_per_pixel()) return;
    const size_t w = size_t(buffer->width()), h = size_t(buffer->height()), row_bytes = w * op.bytes;
    RowJob job;
    if (buffer->in_video_memory() && buffer->row_scratch() != nullptr) {
        uint8_t* scratch = buffer->row_scratch();
        job.src = job.dst = scratch;
        job.n = w;
        for (size_t y = 0; y < h; ++y) {
            uint8_t* row = buffer->row(int32_t(y));
            std::memcpy(scratch, row, row_bytes);
            op.Run(job);
            std::memcpy(row, scratch, row_bytes);
        }
    } else if (size_t(buffer->pitch()) == row_bytes) {
        job.src = job.dst = buffer->pixels();
        job.n = w * h;
        op.Run(job);
    } else {
        job.n = w;
        for (size_t y = 0; y < h; ++y) {
            job.src = job.dst = buffer->row(int32_t(y));
            op.Run(job);
        }
    }
}

// One pass in place, top to bottom and left to right: the left and upper neighbours are already
// blurred. Each neighbour is masked so the four quarters add up without carrying into the next
// field. A pixel stands in for its missing neighbours at the edges of the buffer.
template <typename P, uint32_t kMask>
void BlurBuffer(TBufferVx& b) {
    const int32_t w = b.width(), h = b.height();
    constexpr size_t B = P::kBytes;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = b.row(y);
        const uint8_t* up = y > 0 ? b.row(y - 1) : row;
        const uint8_t* down = y + 1 < h ? b.row(y + 1) : row;
        uint32_t left = P::Load(row) & kMask;
        for (int32_t x = 0; x < w; ++x) {
            const size_t at = size_t(x) * B;
            const size_t right_at = x + 1 < w ? at + B : at;
            const uint32_t sum =
                left + (P::Load(row + right_at) & kMask) + (P::Load(up + at) & kMask) + (P::Load(down + at) & kMask);
            const uint32_t v = sum >> 2;
            P::Store(row + at, v);
            left = v & kMask;
        }
    }
}

template <typename P>
void Blur(TBufferVx& b) {
    if (b.width() < 1 || b.height() < 1) return;
    const BlurFn fast = b.width() <= kBlurMaxWidth ? ChooseBlur(LayoutOfDepth(b.display_depth())) : nullptr;
    if (fast != nullptr) {
        fast(b);
    } else {
        BlurBuffer<P, kBlurMask<P>>(b);
    }
}

}  // namespace

RowFn FilterReference(RowKind kind, TPixelLayout layout) {
    return DispatchLayout(layout, RowFn{nullptr}, [&](auto px) { return ForLayout<decltype(px)>(kind); });
}

void Negative(TBufferVx* buffer) {
    FilterRows(buffer, RowKind::Negative);
}

void Greyscale(TBufferVx* buffer) {
    FilterRows(buffer, RowKind::Greyscale);
}

void Blur2x(TBufferVx* buffer) {
    if (buffer == nullptr || !buffer->has_surface() || buffer->pixels() == nullptr) return;
    switch (LayoutOfDepth(buffer->display_depth())) {
        case TPixelLayout::Rgb555:
            if (buffer->bytes_per_pixel() == 2) Blur<Pixel555>(*buffer);
            break;
        case TPixelLayout::Rgb565:
            if (buffer->bytes_per_pixel() == 2) Blur<Pixel565>(*buffer);
            break;
        case TPixelLayout::Bgr24:
            if (buffer->bytes_per_pixel() == 3) Blur<Pixel24>(*buffer);
            break;
        case TPixelLayout::Xrgb32:
            if (buffer->bytes_per_pixel() == 4) Blur<Pixel32>(*buffer);
            break;
        default:
            break;
    }
}

}  // namespace vxl::blend
