// Stretched copies by nearest source pixel. Destination pixel centres map to the source exactly in
// integers: x' = sx + floor((2(x - dx) + 1) * sw / (2 dw)), the same for rows. The fast path maps
// every column once per call, repeats a finished row by memcpy when the next row samples the same
// source row, and moves pixels through a column table in a loop without per-pixel arithmetic.
#include <cstring>
#include <vector>

#include "platform/surfaces/blitter.h"
#include "platform/surfaces/pixel_bytes.h"

namespace vxl::platform {
namespace {

int64_t SourceOffset(int64_t i, int64_t src_len, int64_t dst_len) {
    return (2 * i + 1) * src_len / (2 * dst_len);
}

// Rows need not be aligned to their pixel size, so pixels move through memcpy (plain moves once compiled).
template <typename T>
inline T Load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof(T));
    return v;
}

template <typename T>
inline void Store(uint8_t* p, T v) {
    std::memcpy(p, &v, sizeof(T));
}

template <typename T>
void GatherRow(uint8_t* d, const uint8_t* s, const int32_t* column, int32_t n) {
    constexpr size_t k = sizeof(T);
    int32_t x = 0;
    for (; x + 4 <= n; x += 4) {
        const T a = Load<T>(s + size_t(column[x]) * k), b = Load<T>(s + size_t(column[x + 1]) * k);
        const T c = Load<T>(s + size_t(column[x + 2]) * k), e = Load<T>(s + size_t(column[x + 3]) * k);
        Store<T>(d + size_t(x) * k, a);
        Store<T>(d + size_t(x + 1) * k, b);
        Store<T>(d + size_t(x + 2) * k, c);
        Store<T>(d + size_t(x + 3) * k, e);
    }
    for (; x < n; ++x) {
        Store<T>(d + size_t(x) * k, Load<T>(s + size_t(column[x]) * k));
    }
}

void GatherRow24(uint8_t* d, const uint8_t* s, const int32_t* column, int32_t n) {
    for (int32_t x = 0; x < n; ++x) {
        const uint8_t* p = s + size_t(column[x]) * 3;
        d[0] = p[0];
        d[1] = p[1];
        d[2] = p[2];
        d += 3;
    }
}

template <typename T>
void GatherRowKeyed(uint8_t* d, const uint8_t* s, const int32_t* column, int32_t n, uint32_t lo, uint32_t hi,
                    uint32_t mask) {
    for (int32_t x = 0; x < n; ++x) {
        const T c = Load<T>(s + size_t(column[x]) * sizeof(T));
        if (!IsKey(c, lo, hi, mask)) {
            Store<T>(d + size_t(x) * sizeof(T), c);
        }
    }
}

void GatherRowKeyed24(uint8_t* d, const uint8_t* s, const int32_t* column, int32_t n, uint32_t lo, uint32_t hi,
                      uint32_t mask) {
    for (int32_t x = 0; x < n; ++x) {
        const uint32_t c = LoadPixel(s + size_t(column[x]) * 3, 3);
        if (!IsKey(c, lo, hi, mask)) {
            StorePixel(d + size_t(x) * 3, 3, c);
        }
    }
}

// Stretching within one surface samples a snapshot of the source rectangle, as if through a temporary.
struct Source {
    std::vector<uint8_t> snapshot;
    PixelMemory memory;
    Rect rect;

    Source(const PixelMemory& dst, const PixelMemory& src, const Rect& full_src) : memory(src), rect(full_src) {
        if (dst.pixels != src.pixels) {
            return;
        }
        const uint32_t bpp = src.bytes_per_pixel;
        const size_t row_bytes = size_t(full_src.Width()) * bpp;
        snapshot.resize(row_bytes * size_t(full_src.Height()));
        memory = PixelMemory{snapshot.data(), full_src.Width(), full_src.Height(), int32_t(row_bytes), bpp};
        rect = Rect{0, 0, full_src.Width(), full_src.Height()};
        CopyRect(memory, rect, src, full_src);
    }
};

}  // namespace

void StretchRect(const PixelMemory& dst, const Rect& full_dst, const Rect& clip, const PixelMemory& src,
                 const Rect& full_src, bool keyed, uint32_t key_low, uint32_t key_high, uint32_t key_mask) {
    const Rect d = Intersect(full_dst, clip);
    if (d.Empty() || full_src.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    const Source from(dst, src, full_src);
    const int64_t dw = full_dst.Width(), dh = full_dst.Height();
    const int64_t sw = from.rect.Width(), sh = from.rect.Height();
    // Reused between calls: a stretch allocates nothing once the table is large enough.
    thread_local std::vector<int32_t> column;
    column.resize(size_t(d.Width()));
    for (int32_t x = d.left; x < d.right; ++x) {
        column[size_t(x - d.left)] = int32_t(SourceOffset(x - full_dst.left, sw, dw));
    }
    const size_t row_bytes = size_t(d.Width()) * bpp;
    const uint8_t* origin = from.memory.pixels + int64_t(from.rect.left) * bpp;
    int64_t previous_sy = -1;
    const uint8_t* previous_row = nullptr;
    for (int32_t y = d.top; y < d.bottom; ++y) {
        const int64_t sy = from.rect.top + SourceOffset(y - full_dst.top, sh, dh);
        const uint8_t* sp = origin + sy * from.memory.pitch;
        uint8_t* dp = dst.pixels + int64_t(y) * dst.pitch + int64_t(d.left) * bpp;
        if (keyed) {
            switch (bpp) {
                case 1:
                    GatherRowKeyed<uint8_t>(dp, sp, column.data(), d.Width(), key_low, key_high, key_mask);
                    break;
                case 2:
                    GatherRowKeyed<uint16_t>(dp, sp, column.data(), d.Width(), key_low, key_high, key_mask);
                    break;
                case 3:
                    GatherRowKeyed24(dp, sp, column.data(), d.Width(), key_low, key_high, key_mask);
                    break;
                default:
                    GatherRowKeyed<uint32_t>(dp, sp, column.data(), d.Width(), key_low, key_high, key_mask);
                    break;
            }
            continue;
        }
        if (sy == previous_sy) {
            std::memcpy(dp, previous_row, row_bytes);
            continue;
        }
        switch (bpp) {
            case 1:
                GatherRow<uint8_t>(dp, sp, column.data(), d.Width());
                break;
            case 2:
                GatherRow<uint16_t>(dp, sp, column.data(), d.Width());
                break;
            case 3:
                GatherRow24(dp, sp, column.data(), d.Width());
                break;
            default:
                GatherRow<uint32_t>(dp, sp, column.data(), d.Width());
                break;
        }
        previous_sy = sy;
        previous_row = dp;
    }
}

void StretchRectReference(const PixelMemory& dst, const Rect& full_dst, const Rect& clip, const PixelMemory& src,
                          const Rect& full_src, bool keyed, uint32_t key_low, uint32_t key_high, uint32_t key_mask) {
    const Rect d = Intersect(full_dst, clip);
    if (d.Empty() || full_src.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    const Source from(dst, src, full_src);
    for (int32_t y = d.top; y < d.bottom; ++y) {
        for (int32_t x = d.left; x < d.right; ++x) {
            const int64_t sx = from.rect.left + SourceOffset(x - full_dst.left, from.rect.Width(), full_dst.Width());
            const int64_t sy = from.rect.top + SourceOffset(y - full_dst.top, from.rect.Height(), full_dst.Height());
            const uint32_t c = LoadPixel(from.memory.pixels + sy * from.memory.pitch + sx * bpp, bpp);
            if (!keyed || !IsKey(c, key_low, key_high, key_mask)) {
                StorePixel(dst.pixels + int64_t(y) * dst.pitch + int64_t(x) * bpp, bpp, c);
            }
        }
    }
}

}  // namespace vxl::platform
