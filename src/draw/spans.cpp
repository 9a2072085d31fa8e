#include "draw/spans.h"

#include <algorithm>

#include "display/blit_completion.h"

namespace vxl::draw {

void FillSpan(uint8_t* p, int64_t n, uint32_t bits_per_pixel, uint32_t colour) {
    switch (bits_per_pixel) {
        case 16:
            FillSpanOf<Pixel565>(p, n, colour);
            break;
        case 24:
            FillSpanOf<Pixel24>(p, n, colour);
            break;
        case 32:
            FillSpanOf<Pixel32>(p, n, colour);
            break;
        default:
            break;
    }
}

void ColourFillBlit(TBufferVx& b, const platform::Rect& r, uint32_t colour) {
    if (!b.has_surface()) {
        return;
    }
    FillAndWait(*b.surface(), &r, colour, [&b] { b.RestoreSurfaces(); });
}

void HLine(TBufferVx& b, int32_t x1, int32_t x2, int32_t y, uint32_t colour) {
    HLineWide(b, x1, x2, y, colour);
}

void HLineWide(TBufferVx& b, int64_t x1, int64_t x2, int64_t y, uint32_t colour) {
    if (!b.has_surface() || y < 0 || y >= b.height()) {
        return;
    }
    int64_t a = std::min(x1, x2), e = std::max(x1, x2) + 1;
    if (e < 0 || a > b.width()) {
        return;
    }
    a = std::max<int64_t>(a, 0);
    e = std::min<int64_t>(e, b.width());
    if (b.in_video_memory()) {
        ColourFillBlit(b, platform::Rect{int32_t(a), int32_t(y), int32_t(e), int32_t(y) + 1}, colour);
        return;
    }
    FillSpan(b.row(int32_t(y)) + a * b.bytes_per_pixel(), e - a, b.bits_per_pixel(), colour);
}

void VLine(TBufferVx& b, int32_t y1, int32_t y2, int32_t x, uint32_t colour) {
    if (!b.has_surface() || x < 0 || x >= b.width()) {
        return;
    }
    int32_t a = std::min(y1, y2), e = std::max(y1, y2);
    if (e < 0 || a >= b.height()) {
        return;
    }
    a = std::max(a, 0);
    e = std::min(e, b.height() - 1);
    DispatchLayout(StoreLayout(b), 0, [&]<typename P>(P) {
        uint8_t* p = b.row(a) + int64_t(x) * P::kBytes;
        for (int32_t y = a; y <= e; ++y, p += b.pitch()) {
            P::Store(p, colour);
        }
        return 0;
    });
}

void Rect(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    HLine(b, x1, x2, y1, colour);
    HLine(b, x1, x2, y2, colour);
    VLine(b, y1, y2, x1, colour);
    VLine(b, y1, y2, x2, colour);
}

void FillRect(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    int32_t xa = std::min(x1, x2), xb = std::max(x1, x2), ya = std::min(y1, y2), yb = std::max(y1, y2);
    if (xb < 0 || yb < 0 || xa > b.width() || ya > b.height()) {
        return;
    }
    xa = std::max(xa, 0);
    ya = std::max(ya, 0);
    xb = std::min(xb, b.width());
    yb = std::min(yb, b.height());
    ColourFillBlit(b, platform::Rect{xa, ya, xb, yb}, colour);
}

}  // namespace vxl::draw
