#include "blend/transfer_effects.h"

#include "blend/blend_rows.h"
#include "buffers/pixel_format.h"
#include "core/library_state.h"

namespace vxl::blend {
namespace {

struct Rgb {
    uint32_t r = 0, g = 0, b = 0;
};

// The output colour of the blur from the centre and its four neighbours (black outside the source).
Rgb BlurOf(const Rgb& c, const Rgb& right, const Rgb& left, const Rgb& below, const Rgb& above) {
    return {(4 * c.r + right.r + left.r + below.r + above.r) >> 3,
            (4 * c.g + right.g + left.g + below.g + above.g) >> 3,
            (4 * c.b + right.b + left.b + below.b + above.b) >> 3};
}

Rgb UnpackAt(const TBufferVx& s, int32_t x, int32_t y) {
    uint8_t r = 0, g = 0, b = 0;
    UnpackColour(s.GetPixel(x, y), &r, &g, &b);
    return {r, g, b};
}

uint32_t PackGrey(uint32_t r, uint32_t g, uint32_t b) {
    const uint8_t v = uint8_t((r + g + b) / 3);
    return PackColour(v, v, v);
}

// The direct path: the covered rectangle only, rows through the row tables, colours in the layout P
// (which is the library's). Reads the source, writes the destination, never the other way round, so
// the walk order no longer matters.
template <typename P>
void TransferDirect(const TBufferVx& s, TBufferVx& d, const Placement& p, TransferKind kind) {
    constexpr size_t B = P::kBytes;
    const int32_t ws = s.width(), hs = s.height();
    auto unpack = [](const uint8_t* at) {
        uint8_t r, g, b;
        P::Unpack(P::Load(at), &r, &g, &b);
        return Rgb{r, g, b};
    };
    for (int32_t i = 0; i < p.h; ++i) {
        const int32_t sy = p.sy + i;
        const uint8_t* row = s.row(sy);
        const uint8_t* above = sy > 0 ? s.row(sy - 1) : nullptr;
        const uint8_t* below = sy + 1 < hs ? s.row(sy + 1) : nullptr;
        uint8_t* out = d.row(p.dy + i) + size_t(p.dx) * B;
        for (int32_t j = 0; j < p.w; ++j, out += B) {
            const int32_t sx = p.sx + j;
            const uint8_t* at = row + size_t(sx) * B;
            switch (kind) {
                case TransferKind::Blur: {
                    const Rgb none;
                    const Rgb c = BlurOf(unpack(at), sx + 1 < ws ? unpack(at + B) : none,
                                         sx > 0 ? unpack(at - B) : none, below ? unpack(below + size_t(sx) * B) : none,
                                         above ? unpack(above + size_t(sx) * B) : none);
                    P::Store(out, P::Pack(uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)));
                    break;
                }
                case TransferKind::Dissolve:
                    if ((sx & 1) && (sy & 1)) P::Store(out, P::Load(at));
                    break;
                case TransferKind::Negative: {
                    const Rgb c = unpack(at);
                    P::Store(out, P::Pack(uint8_t(255 - c.r), uint8_t(255 - c.g), uint8_t(255 - c.b)));
                    break;
                }
                case TransferKind::Greyscale: {
                    const Rgb c = unpack(at);
                    const uint8_t v = uint8_t((c.r + c.g + c.b) / 3);
                    P::Store(out, P::Pack(v, v, v));
                    break;
                }
            }
        }
    }
}

}  // namespace

void CopyTransferReference(const TBufferVx& s, TBufferVx* d, int32_t x, int32_t y, TransferKind kind) {
    if (d == nullptr) return;
    const int32_t ws = s.width(), hs = s.height();
    for (int32_t sx = 0; sx < ws; ++sx) {
        for (int32_t sy = 0; sy < hs; ++sy) {
            // Positions beyond the integer range lie outside any buffer.
            const int64_t dx = int64_t(x) + sx, dy = int64_t(y) + sy;
            if (dx < 0 || dy < 0 || dx >= d->width() || dy >= d->height()) continue;
            uint32_t out = 0;
            switch (kind) {
                case TransferKind::Blur: {
                    const Rgb c = BlurOf(UnpackAt(s, sx, sy), UnpackAt(s, sx + 1, sy), UnpackAt(s, sx - 1, sy),
                                         UnpackAt(s, sx, sy + 1), UnpackAt(s, sx, sy - 1));
                    out = PackColour(uint8_t(c.r), uint8_t(c.g), uint8_t(c.b));
                    break;
                }
                case TransferKind::Dissolve:
                    out = (sx & 1) && (sy & 1) ? s.GetPixel(sx, sy) : d->GetPixel(int32_t(dx), int32_t(dy));
                    break;
                case TransferKind::Negative: {
                    const Rgb c = UnpackAt(s, sx, sy);
                    out = PackColour(uint8_t(255 - c.r), uint8_t(255 - c.g), uint8_t(255 - c.b));
                    break;
                }
                case TransferKind::Greyscale: {
                    const Rgb c = UnpackAt(s, sx, sy);
                    out = PackGrey(c.r, c.g, c.b);
                    break;
                }
            }
            d->PutPixel(int32_t(dx), int32_t(dy), out);
        }
    }
}

void CopyTransfer(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, TransferKind kind) {
    if (source == nullptr || destination == nullptr || !source->has_surface()) return;
    const bool direct =
        source != destination && Compatible(*source, *destination) && source->display_depth() == Globals().bit_depth;
    if (!direct) {
        CopyTransferReference(*source, destination, x, y, kind);
        return;
    }
    Placement p;
    if (!PlaceSource(source->width(), source->height(), destination->width(), destination->height(), x, y, &p)) {
        return;
    }
    DispatchLayout(LayoutOfDepth(source->display_depth()), 0, [&](auto px) {
        TransferDirect<decltype(px)>(*source, *destination, p, kind);
        return 0;
    });
}

}  // namespace vxl::blend
