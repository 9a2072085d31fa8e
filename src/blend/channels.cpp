#include "blend/channels.h"

#include "blend/blend_rows.h"

namespace vxl::blend {
namespace {

// The channel masks per layout: 24 bits keeps one of its three bytes, 32 bits clears byte 3.
struct ChannelMasks {
    uint32_t red, green, blue;
};
constexpr ChannelMasks kMasks555 = {0x7C00, 0x03E0, 0x001F};
constexpr ChannelMasks kMasks565 = {0xF800, 0x07E0, 0x001F};
constexpr ChannelMasks kMasks888 = {0xFF0000, 0x00FF00, 0x0000FF};

template <typename P, uint32_t kMask>
void MaskRow(const RowJob& job) {
    for (size_t i = 0; i < job.n; ++i) {
        P::Store(job.dst + i * P::kBytes, P::Load(job.src + i * P::kBytes) & kMask);
    }
}

// The alpha byte as grey: 5-bit channels take its top five bits, 16-bit green twice that.
template <typename P>
uint32_t GreyOfAlpha(uint32_t a, uint32_t old) {
    if constexpr (P::kDepth == 15) {
        const uint32_t v = a >> 3;
        return v << 10 | v << 5 | v;
    } else if constexpr (P::kDepth == 16) {
        const uint32_t v = a >> 3;
        return v << 11 | (v << 1) << 5 | v;
    } else if constexpr (P::kDepth == 24) {
        return a * 0x010101u;
    } else {
        return (old & 0xFF000000u) | a * 0x010101u;
    }
}

template <typename P>
void AlphaChannelRow(const RowJob& job) {
    for (size_t i = 0; i < job.n; ++i) {
        uint8_t* d = job.dst + i * P::kBytes;
        P::Store(d, GreyOfAlpha<P>(job.alpha[i], P::kDepth == 32 ? P::Load(d) : 0));
    }
}

template <typename P, const ChannelMasks& kM>
RowFn ForLayout(RowKind kind) {
    switch (kind) {
        case RowKind::RedChannel:
            return MaskRow<P, kM.red>;
        case RowKind::GreenChannel:
            return MaskRow<P, kM.green>;
        case RowKind::BlueChannel:
            return MaskRow<P, kM.blue>;
        case RowKind::AlphaChannel:
            return AlphaChannelRow<P>;
        default:
            return nullptr;
    }
}

}  // namespace

RowFn ChannelReference(RowKind kind, TPixelLayout layout) {
    switch (layout) {
        case TPixelLayout::Rgb555:
            return ForLayout<Pixel555, kMasks555>(kind);
        case TPixelLayout::Rgb565:
            return ForLayout<Pixel565, kMasks565>(kind);
        case TPixelLayout::Bgr24:
            return ForLayout<Pixel24, kMasks888>(kind);
        case TPixelLayout::Xrgb32:
            return ForLayout<Pixel32, kMasks888>(kind);
        default:
            return nullptr;
    }
}

void CopyRedChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::RedChannel);
}

void CopyGreenChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::GreenChannel);
}

void CopyBlueChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::BlueChannel);
}

void CopyAlphaChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    BlendRows(source, destination, x, y, RowKind::AlphaChannel);
}

}  // namespace vxl::blend
