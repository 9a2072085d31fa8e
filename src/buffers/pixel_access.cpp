// Single-pixel access and fills of TBufferVx.
#include "buffers/buffer.h"
#include "buffers/pixel_format.h"
#include "display/blit_completion.h"

namespace vxl {

void TBufferVx::Fill(uint32_t colour) {
    if (!surface_) {
        return;
    }
    FillAndWait(*surface_, nullptr, colour, [this] { RestoreSurfaces(); });
}

void TBufferVx::PutPixel(int32_t x, int32_t y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    uint8_t* p = row(y) + size_t(x) * bytes_per_pixel_;
    switch (bits_per_pixel_) {
        case 16:
            Pixel565::Store(p, colour);
            break;
        case 24:
            Pixel24::Store(p, colour);
            break;
        case 32:
            Pixel32::Store(p, colour);
            break;
        default:
            break;
    }
}

uint32_t TBufferVx::GetPixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    const uint8_t* p = row(y) + size_t(x) * bytes_per_pixel_;
    switch (bits_per_pixel_) {
        case 16:
            return Pixel565::Load(p);
        case 24:
            return Pixel24::Load(p);
        case 32:
            return Pixel32::Load(p);
        default:
            return 0;
    }
}

void TBufferVx::PutAlphaPixel(int32_t x, int32_t y, uint8_t alpha) {
    if (alpha_.empty() || x < 0 || y < 0 || x > max_x_ || y > max_y_) {
        return;
    }
    alpha_[size_t(y) * size_t(width_) + size_t(x)] = alpha;
}

int32_t TBufferVx::GetAlphaPixel(int32_t x, int32_t y) const {
    if (alpha_.empty() || x < 0 || y < 0 || x > max_x_ || y > max_y_) {
        return 0;
    }
    return alpha_[size_t(y) * size_t(width_) + size_t(x)];
}

}  // namespace vxl
