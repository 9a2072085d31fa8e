// The four pixel layouts and all per-channel arithmetic. Each pixel operation is written once against
// a traits type and chosen once per call with DispatchLayout, never per pixel.
//   15: 5-5-5 in a 16-bit word (bit 15 is 0)   16: 5-6-5 in a 16-bit word
//   24: bytes B, G, R                          32: 0x00RRGGBB as a little-endian word
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace vxl {

// Narrow fields widen to 8 bits as floor(i * 255 / max), so the top value becomes 255.
inline constexpr std::array<uint8_t, 32> kExpand5 = [] {
    std::array<uint8_t, 32> t{};
    for (int i = 0; i < 32; ++i) t[i] = uint8_t(i * 255 / 31);
    return t;
}();
inline constexpr std::array<uint8_t, 64> kExpand6 = [] {
    std::array<uint8_t, 64> t{};
    for (int i = 0; i < 64; ++i) t[i] = uint8_t(i * 255 / 63);
    return t;
}();

// Components are truncated, never rounded.
struct Pixel555 {
    static constexpr uint32_t kDepth = 15, kBytes = 2, kMask = 0x7FFF;
    static uint32_t Load(const uint8_t* p) {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    static void Store(uint8_t* p, uint32_t c) {
        const uint16_t v = uint16_t(c);
        std::memcpy(p, &v, 2);
    }
    static constexpr uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t(r >> 3) << 10 | uint32_t(g >> 3) << 5 | uint32_t(b >> 3);
    }
    static constexpr void Unpack(uint32_t c, uint8_t* r, uint8_t* g, uint8_t* b) {
        *r = kExpand5[(c >> 10) & 31];
        *g = kExpand5[(c >> 5) & 31];
        *b = kExpand5[c & 31];
    }
};

struct Pixel565 {
    static constexpr uint32_t kDepth = 16, kBytes = 2, kMask = 0xFFFF;
    static uint32_t Load(const uint8_t* p) { return Pixel555::Load(p); }
    static void Store(uint8_t* p, uint32_t c) { Pixel555::Store(p, c); }
    static constexpr uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t(r >> 3) << 11 | uint32_t(g >> 2) << 5 | uint32_t(b >> 3);
    }
    static constexpr void Unpack(uint32_t c, uint8_t* r, uint8_t* g, uint8_t* b) {
        *r = kExpand5[(c >> 11) & 31];
        *g = kExpand6[(c >> 5) & 63];
        *b = kExpand5[c & 31];
    }
};

struct Pixel888 {
    static constexpr uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
    }
    static constexpr void Unpack(uint32_t c, uint8_t* r, uint8_t* g, uint8_t* b) {
        *r = uint8_t(c >> 16);
        *g = uint8_t(c >> 8);
        *b = uint8_t(c);
    }
};

struct Pixel24 : Pixel888 {
    static constexpr uint32_t kDepth = 24, kBytes = 3, kMask = 0xFFFFFF;
    static uint32_t Load(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }
    static void Store(uint8_t* p, uint32_t c) {
        p[0] = uint8_t(c);
        p[1] = uint8_t(c >> 8);
        p[2] = uint8_t(c >> 16);
    }
};

struct Pixel32 : Pixel888 {
    static constexpr uint32_t kDepth = 32, kBytes = 4, kMask = 0xFFFFFF;
    static uint32_t Load(const uint8_t* p) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    static void Store(uint8_t* p, uint32_t c) { std::memcpy(p, &c, 4); }
};

// The layout is named by its bit depth; None until a display has chosen one.
enum class TPixelLayout : uint32_t { None = 0, Rgb555 = 15, Rgb565 = 16, Bgr24 = 24, Xrgb32 = 32 };

inline TPixelLayout LayoutOfDepth(uint32_t depth) {
    switch (depth) {
        case 15:
        case 16:
        case 24:
        case 32:
            return TPixelLayout(depth);
        default:
            return TPixelLayout::None;
    }
}

// Calls fn(Traits{}) for `layout`; returns `otherwise` when there is none.
template <typename R, typename Fn>
R DispatchLayout(TPixelLayout layout, R otherwise, Fn&& fn) {
    switch (layout) {
        case TPixelLayout::Rgb555:
            return fn(Pixel555{});
        case TPixelLayout::Rgb565:
            return fn(Pixel565{});
        case TPixelLayout::Bgr24:
            return fn(Pixel24{});
        case TPixelLayout::Xrgb32:
            return fn(Pixel32{});
        default:
            return otherwise;
    }
}

// Packing and unpacking in the layout of the library bit depth; before any display: 0 / untouched.
uint32_t PackColour(uint8_t r, uint8_t g, uint8_t b);
void UnpackColour(uint32_t colour, uint8_t* r, uint8_t* g, uint8_t* b);

}  // namespace vxl
