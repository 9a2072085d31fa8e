#include "platform/gdi/device_context.h"

#include <array>
#include <bit>

namespace vxl::platform {
namespace {

struct Field {
    uint32_t shift = 0;
    uint32_t bits = 0;
    std::array<uint8_t, 256> widen{};  // field value -> 8-bit channel, for fields of up to 8 bits

    explicit Field(uint32_t mask) {
        if (mask == 0) return;
        shift = uint32_t(std::countr_zero(mask));
        bits = std::min(uint32_t(std::popcount(mask)), 8u);
        const uint32_t max = (1u << bits) - 1;
        for (uint32_t v = 0; v <= max; ++v) widen[v] = uint8_t(v * 255 / max);
    }
    uint32_t Narrow(uint8_t c) const { return bits == 0 ? 0 : uint32_t(c >> (8 - bits)) << shift; }
    uint8_t Widen(uint32_t pixel) const { return bits == 0 ? 0 : widen[(pixel >> shift) & ((1u << bits) - 1)]; }
};

struct Conversion {
    Field r, g, b;
    explicit Conversion(const PixelFormat& f) : r(f.r_mask), g(f.g_mask), b(f.b_mask) {}
    uint32_t Pack(const uint8_t* rgb) const { return r.Narrow(rgb[0]) | g.Narrow(rgb[1]) | b.Narrow(rgb[2]); }
};

template <uint32_t kBytes>
uint32_t LoadPixel(const uint8_t* p) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < kBytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}
template <uint32_t kBytes>
void StorePixel(uint8_t* p, uint32_t v) {
    for (uint32_t i = 0; i < kBytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Calls fn with the pixel size as a constant, once per operation.
template <typename Fn>
bool WithPixelBytes(uint32_t bytes, Fn&& fn) {
    switch (bytes) {
        case 2:
            fn(std::integral_constant<uint32_t, 2>{});
            return true;
        case 3:
            fn(std::integral_constant<uint32_t, 3>{});
            return true;
        case 4:
            fn(std::integral_constant<uint32_t, 4>{});
            return true;
        default:
            return false;
    }
}

bool Inside(const Rect& r, int32_t width, int32_t height) {
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height && !r.Empty();
}

}  // namespace

HResult GetDC(Surface& surface, DeviceContext* dc) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::GetDC)) {
        return hr;
    }
    SurfaceDesc desc;
    if (HResult hr = surface.Lock(nullptr, &desc, DDLOCK_WAIT)) {
        return hr;
    }
    dc->surface = &surface;
    dc->format = desc.pixel_format;
    dc->memory = PixelMemory{static_cast<uint8_t*>(desc.surface), desc.width, desc.height, desc.pitch,
                             desc.pixel_format.BytesPerPixel()};
    return DD_OK;
}

HResult ReleaseDC(DeviceContext* dc) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::ReleaseDC)) {
        return hr;
    }
    if (dc->surface == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    const HResult hr = dc->surface->Unlock(nullptr);
    *dc = DeviceContext{};
    return hr;
}

uint32_t PixelOfColourRef(const PixelFormat& format, ColourRef colour) {
    const uint8_t rgb[3] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)};
    return Conversion(format).Pack(rgb);
}

bool StretchPicture(const DeviceContext& dc, const Rect& dst, const Picture& picture, const Rect& src) {
    if (!Inside(src, picture.width, picture.height) || dst.Empty() || dst.left != 0 || dst.top != 0) {
        return false;
    }
    const Rect visible = Intersect(dst, Rect{0, 0, dc.memory.width, dc.memory.height});
    const Conversion conv(dc.format);
    const int64_t dw = dst.Width(), dh = dst.Height(), sw = src.Width(), sh = src.Height();
    return WithPixelBytes(dc.memory.bytes_per_pixel, [&](auto bytes) {
        constexpr uint32_t kBytes = decltype(bytes)::value;
        for (int32_t y = visible.top; y < visible.bottom; ++y) {
            const int64_t sy = src.top + (int64_t(y) * sh) / dh;
            const uint8_t* rgb = &picture.rgb[size_t(sy) * size_t(picture.width) * 3];
            uint8_t* out = dc.memory.pixels + int64_t(y) * dc.memory.pitch;
            if (dw == sw) {
                rgb += size_t(src.left) * 3;
                for (int32_t x = visible.left; x < visible.right; ++x, rgb += 3, out += kBytes) {
                    StorePixel<kBytes>(out, conv.Pack(rgb));
                }
            } else {
                for (int32_t x = visible.left; x < visible.right; ++x, out += kBytes) {
                    const int64_t sx = src.left + (int64_t(x) * sw) / dw;
                    StorePixel<kBytes>(out, conv.Pack(rgb + sx * 3));
                }
            }
        }
    });
}

bool CopyToPicture(const DeviceContext& dc, const Rect& src, Picture* picture) {
    if (src.Empty() || int64_t(src.Width()) * src.Height() > kMaxPicturePixels * 4) {
        return false;
    }
    *picture = Picture{};
    picture->width = src.Width();
    picture->height = src.Height();
    picture->bit_count = 24;
    picture->rgb.assign(size_t(picture->width) * size_t(picture->height) * 3, 0);
    const Rect visible = Intersect(src, Rect{0, 0, dc.memory.width, dc.memory.height});
    const Conversion conv(dc.format);
    return WithPixelBytes(dc.memory.bytes_per_pixel, [&](auto bytes) {
        constexpr uint32_t kBytes = decltype(bytes)::value;
        for (int32_t y = visible.top; y < visible.bottom; ++y) {
            const uint8_t* in = dc.memory.pixels + int64_t(y) * dc.memory.pitch + int64_t(visible.left) * kBytes;
            uint8_t* rgb =
                &picture->rgb[(size_t(y - src.top) * size_t(picture->width) + size_t(visible.left - src.left)) * 3];
            for (int32_t x = visible.left; x < visible.right; ++x, in += kBytes, rgb += 3) {
                const uint32_t p = LoadPixel<kBytes>(in);
                rgb[0] = conv.r.Widen(p);
                rgb[1] = conv.g.Widen(p);
                rgb[2] = conv.b.Widen(p);
            }
        }
    });
}

}  // namespace vxl::platform
