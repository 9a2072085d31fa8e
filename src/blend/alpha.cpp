#include "blend/alpha.h"

#include "blend/blend_rows.h"
#include "blend/pixel_math.h"
#include "blit/copies.h"

namespace vxl::blend {
namespace {

// How each layout mixes one pixel and when a source pixel equals the key.
struct Mix15 {
    using P = Pixel555;
    static uint32_t Weight(uint32_t a) { return a >> 3; }
    static uint32_t Mix(uint32_t s, uint32_t d, uint32_t w) { return Mix555(s, d, w); }
    // The whole 16-bit value against the whole key: a key above 16 bits matches nothing.
    static bool IsKey(uint32_t s, uint32_t key) { return s == key; }
};
struct Mix16 {
    using P = Pixel565;
    static uint32_t Weight(uint32_t a) { return a >> 3; }
    static uint32_t Mix(uint32_t s, uint32_t d, uint32_t w) { return Mix565(s, d, w); }
    static bool IsKey(uint32_t s, uint32_t key) { return s == key; }
};
struct Mix24 {
    using P = Pixel24;
    static uint32_t Weight(uint32_t a) { return a; }
    static uint32_t Mix(uint32_t s, uint32_t d, uint32_t w) { return Mix888(s, d, w); }
    static bool IsKey(uint32_t s, uint32_t key) { return s == (key & 0xFFFFFF); }
};
struct Mix32 {
    using P = Pixel32;
    static uint32_t Weight(uint32_t a) { return a; }
    static uint32_t Mix(uint32_t s, uint32_t d, uint32_t w) { return Mix888(s, d, w); }
    static bool IsKey(uint32_t s, uint32_t key) { return ((s ^ key) & 0xFFFFFF) == 0; }
};

template <typename M>
void AlphaRow(const RowJob& job) {
    using P = typename M::P;
    const uint32_t w = M::Weight(job.opacity);
    for (size_t i = 0; i < job.n; ++i) {
        const size_t at = i * P::kBytes;
        P::Store(job.dst + at, M::Mix(P::Load(job.src + at), P::Load(job.dst + at), w));
    }
}

template <typename M>
void AlphaMapRow(const RowJob& job) {
    using P = typename M::P;
    for (size_t i = 0; i < job.n; ++i) {
        const size_t at = i * P::kBytes;
        P::Store(job.dst + at, M::Mix(P::Load(job.src + at), P::Load(job.dst + at), M::Weight(job.alpha[i])));
    }
}

template <typename M>
void AlphaSpriteRow(const RowJob& job) {
    using P = typename M::P;
    const uint32_t w = M::Weight(job.opacity);
    for (size_t i = 0; i < job.n; ++i) {
        const size_t at = i * P::kBytes;
        const uint32_t s = P::Load(job.src + at);
        if (!M::IsKey(s, job.key)) P::Store(job.dst + at, M::Mix(s, P::Load(job.dst + at), w));
    }
}

template <template <typename> class Row>
RowFn ByLayout(TPixelLayout layout) {
    switch (layout) {
        case TPixelLayout::Rgb555:
            return Row<Mix15>::Fn;
        case TPixelLayout::Rgb565:
            return Row<Mix16>::Fn;
        case TPixelLayout::Bgr24:
            return Row<Mix24>::Fn;
        case TPixelLayout::Xrgb32:
            return Row<Mix32>::Fn;
        default:
            return nullptr;
    }
}
template <typename M>
struct Constant {
    static constexpr RowFn Fn = AlphaRow<M>;
};
template <typename M>
struct PerPixel {
    static constexpr RowFn Fn = AlphaMapRow<M>;
};
template <typename M>
struct Keyed {
    static constexpr RowFn Fn = AlphaSpriteRow<M>;
};

}  // namespace

RowFn AlphaReference(RowKind kind, TPixelLayout layout) {
    switch (kind) {
        case RowKind::Alpha:
            return ByLayout<Constant>(layout);
        case RowKind::AlphaMap:
            return ByLayout<PerPixel>(layout);
        case RowKind::AlphaSprite:
            return ByLayout<Keyed>(layout);
        default:
            return nullptr;
    }
}

void CopyAlpha(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, uint8_t opacity) {
    BlendRows(source, destination, x, y, RowKind::Alpha, opacity);
}

void CopyAlphaSprite(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, uint8_t opacity, uint32_t key) {
    BlendRows(source, destination, x, y, RowKind::AlphaSprite, opacity, key);
}

void CopyAlphaMap(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y) {
    if (source == nullptr) return;
    if (source->alpha() == nullptr) {
        if (destination != nullptr) CopyBuffer(*source, *destination, x, y);
        return;
    }
    BlendRows(source, destination, x, y, RowKind::AlphaMap);
}

}  // namespace vxl::blend
