#include "blend/transfer_effects.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "blend/blend_rows.h"
#include "blend/pixel_math.h"
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

// The mean of the three channels, truncated.
uint8_t GreyLevel(uint32_t r, uint32_t g, uint32_t b) {
    return uint8_t(Third(r + g + b));
}

uint32_t PackGrey(uint32_t r, uint32_t g, uint32_t b) {
    const uint8_t v = GreyLevel(r, g, b);
    return PackColour(v, v, v);
}

// The direct path works on colours as 0x00RRGGBB words, or on raw pixels of 2 or 4 bytes: a
// 16-byte register at a time (SSE2, which every x86-64 processor has), then one at a time at the end
// of a row. The functions below take a word or pixel, or a register of them.
template <typename T>
[[gnu::always_inline]] inline T BlurWord(T c, T l, T r, T u, T d) {
    // Red and blue in one word, green in another: each field's weighted sum (at most 8 x 255) stays
    // below the next field.
    const T rb = ((c & 0xFF00FF) << 2) + (l & 0xFF00FF) + (r & 0xFF00FF) + (u & 0xFF00FF) + (d & 0xFF00FF);
    const T g = ((c & 0xFF00) << 2) + (l & 0xFF00) + (r & 0xFF00) + (u & 0xFF00) + (d & 0xFF00);
    return ((rb >> 3) & 0xFF00FF) | ((g >> 3) & 0xFF00);
}

template <typename T>
[[gnu::always_inline]] inline T GreyWord(T c) {
    return Third((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF)) * 0x010101;
}

template <typename V, typename T>
V LoadAs(const T* p) {
    V v;
    std::memcpy(&v, p, sizeof(V));
    return v;
}

// out[i] = fn(in[0][i], in[1][i], ...) for i < n.
template <typename T, size_t N, typename Fn, size_t... K>
void MapEach(T* out, const std::array<const T*, N>& in, int32_t n, Fn fn, std::index_sequence<K...>) {
    typedef T Vec __attribute__((vector_size(16)));
    constexpr int32_t kLanes = int32_t(sizeof(Vec) / sizeof(T));
    int32_t i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        const Vec w = fn(LoadAs<Vec>(in[K] + i)...);
        std::memcpy(out + i, &w, sizeof(Vec));
    }
    for (; i < n; ++i) {
        const T w = T(fn(LoadAs<T>(in[K] + i)...));
        std::memcpy(out + i, &w, sizeof(T));
    }
}

template <typename T, size_t N, typename Fn>
void Map(T* out, const std::array<const T*, N>& in, int32_t n, Fn fn) {
    MapEach(out, in, n, fn, std::make_index_sequence<N>());
}

// Source row `sy`, columns x0 .. x0 + n - 1, as words; black outside the source.
template <typename P>
void ToWords(const TBufferVx& s, int32_t sy, int32_t x0, int32_t n, uint32_t* out) {
    const int32_t lo = std::clamp(-x0, 0, n), hi = std::clamp(s.width() - x0, lo, n);
    std::fill(out, out + lo, 0u);
    std::fill(out + hi, out + n, 0u);
    if (sy < 0 || sy >= s.height()) return std::fill(out + lo, out + hi, 0u);
    const uint8_t* row = s.row(sy) + (int64_t(x0) + lo) * int64_t(P::kBytes);
    if constexpr (P::kBytes == 4) {
        return Map<uint32_t, 1>(out + lo, {reinterpret_cast<const uint32_t*>(row)}, hi - lo,
                                [](auto c) { return c & 0xFFFFFF; });
    }
    for (int32_t i = lo; i < hi; ++i, row += P::kBytes) {
        uint8_t r, g, b;
        P::Unpack(P::Load(row), &r, &g, &b);
        out[i] = Pixel888::Pack(r, g, b);
    }
}

template <typename P>
void FromWords(const uint32_t* in, int32_t n, uint8_t* out) {
    if constexpr (P::kBytes == 4) return static_cast<void>(std::memcpy(out, in, size_t(n) * 4));
    for (int32_t i = 0; i < n; ++i, out += P::kBytes)
        P::Store(out, P::Pack(uint8_t(in[i] >> 16), uint8_t(in[i] >> 8), uint8_t(in[i])));
}

// Grey of every 16-bit pixel value, made on first use: a lookup costs less than widening the three
// fields, and the table is 128 KB.
template <typename P>
const std::vector<uint16_t>& GreyTable() {
    static const std::vector<uint16_t> table = [] {
        std::vector<uint16_t> t(65536);
        for (uint32_t v = 0; v < t.size(); ++v) {
            uint8_t r, g, b;
            P::Unpack(v, &r, &g, &b);
            const uint8_t grey = GreyLevel(r, g, b);
            t[v] = uint16_t(P::Pack(grey, grey, grey));
        }
        return t;
    }();
    return table;
}

// The covered rectangle only, rows through the row tables, colours in the layout P (which is the
// library's). Reads the source, writes the destination, never the other way round, so the walk order
// no longer matters.
template <typename P>
void TransferDirect(const TBufferVx& s, TBufferVx& d, const Placement& p, TransferKind kind) {
    constexpr size_t B = P::kBytes;
    if (kind == TransferKind::Dissolve) {
        // Raw pixels at odd source columns of odd source rows; the rest of the destination stays.
        for (int32_t i = (p.sy & 1) ? 0 : 1; i < p.h; i += 2) {
            const uint8_t* row = s.row(p.sy + i);
            uint8_t* out = d.row(p.dy + i) + size_t(p.dx) * B;
            for (int32_t j = (p.sx & 1) ? 0 : 1; j < p.w; j += 2) {
                std::memcpy(out + size_t(j) * B, row + size_t(p.sx + j) * B, B);
            }
        }
        return;
    }
    // Each covered row: its source pixels from the first covered column, and where they go.
    const auto for_rows = [&](auto fn) {
        for (int32_t i = 0; i < p.h; ++i) fn(s.row(p.sy + i) + size_t(p.sx) * B, d.row(p.dy + i) + size_t(p.dx) * B);
    };
    if (kind == TransferKind::Negative) {
        // 255 - c of a field widened from n bits and cut back to n bits is the field inverted, so
        // the pixel is inverted within its mask: bit 15 of 15-bit pixels and byte 3 become 0.
        for_rows([&](const uint8_t* row, uint8_t* out) {
            if constexpr (B == 3) {
                for (int32_t j = 0; j < p.w * 3; ++j) out[j] = uint8_t(~row[j]);
            } else {
                using T = std::conditional_t<B == 2, uint16_t, uint32_t>;
                Map<T, 1>(reinterpret_cast<T*>(out), {reinterpret_cast<const T*>(row)}, p.w,
                          [](auto c) { return ~c & P::kMask; });
            }
        });
        return;
    }
    if constexpr (B == 2) {
        if (kind == TransferKind::Greyscale) {
            const uint16_t* grey = GreyTable<P>().data();
            for_rows([&](const uint8_t* row, uint8_t* out) {
                for (int32_t j = 0; j < p.w; ++j) P::Store(out + size_t(j) * B, grey[P::Load(row + size_t(j) * B)]);
            });
            return;
        }
    }
    // The blur reads one column beyond each side and the rows above and below: three rows of words
    // that move down one at a time. Grey takes one row of words.
    const int32_t n = p.w + 2;
    std::vector<uint32_t> words(size_t(n) * 4);
    uint32_t* above = words.data();
    uint32_t* centre = above + n;
    uint32_t* below = centre + n;
    uint32_t* result = below + n;
    const bool blur = kind == TransferKind::Blur;
    if (blur) {
        ToWords<P>(s, p.sy - 1, p.sx - 1, n, above);
        ToWords<P>(s, p.sy, p.sx - 1, n, centre);
    }
    for (int32_t i = 0; i < p.h; ++i) {
        const int32_t sy = p.sy + i;
        if (blur) {
            ToWords<P>(s, sy + 1, p.sx - 1, n, below);
            Map<uint32_t, 5>(result, {centre + 1, centre, centre + 2, above + 1, below + 1}, p.w,
                             [](auto c, auto l, auto r, auto u, auto dn) { return BlurWord(c, l, r, u, dn); });
            std::swap(above, centre);
            std::swap(centre, below);
        } else {
            ToWords<P>(s, sy, p.sx, p.w, centre);
            Map<uint32_t, 1>(result, {centre}, p.w, [](auto c) { return GreyWord(c); });
        }
        FromWords<P>(result, p.w, d.row(p.dy + i) + size_t(p.dx) * B);
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
