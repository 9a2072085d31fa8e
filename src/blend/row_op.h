// The row operations of the blends, channel copies and filters: one plain job per row and a table of
// routines per (operation, layout), each with a scalar reference and, where the processor allows, a
// vector fast path that gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "buffers/pixel_format.h"

namespace vxl::blend {

// One row's work: n pixels of `src` combined into `dst`. In-place filters pass src == dst; the alpha
// copy reads `alpha` only and has no src.
struct RowJob {
    const uint8_t* src = nullptr;
    uint8_t* dst = nullptr;
    const uint8_t* alpha = nullptr;  // alpha-plane bytes lined up with the pixels
    size_t n = 0;
    uint32_t opacity = 0;  // 0..255
    uint32_t key = 0;
};

enum class RowKind : uint8_t {
    Add,
    Sub,
    Xor,
    Alpha,
    AlphaMap,
    AlphaSprite,
    RedChannel,
    GreenChannel,
    BlueChannel,
    AlphaChannel,
    Negative,
    Greyscale,
};
inline constexpr int kRowKinds = int(RowKind::Greyscale) + 1;

using RowFn = void (*)(const RowJob&);
// A fast path does a leading part of the row and answers how many pixels it did; the reference
// finishes the rest.
using FastRowFn = size_t (*)(const RowJob&);

// The scalar references, one per family file; null for kinds or layouts they do not have.
RowFn ArithmeticReference(RowKind kind, TPixelLayout layout);
RowFn AlphaReference(RowKind kind, TPixelLayout layout);
RowFn ChannelReference(RowKind kind, TPixelLayout layout);
RowFn FilterReference(RowKind kind, TPixelLayout layout);
RowFn ReferenceRow(RowKind kind, TPixelLayout layout);

// The vector paths; null where there is none.
FastRowFn Sse2Row(RowKind kind, TPixelLayout layout);
FastRowFn Avx2Row(RowKind kind, TPixelLayout layout);

// The routine for one call, chosen once from the processor flags.
struct RowOp {
    RowFn reference = nullptr;
    FastRowFn fast = nullptr;
    uint32_t bytes = 0;  // per pixel

    explicit operator bool() const { return reference != nullptr; }
    void Run(const RowJob& job) const;
};

RowOp ChooseRow(RowKind kind, TPixelLayout layout);
// Without the fast paths: what the differential tests and benchmarks compare against.
RowOp ReferenceOnly(RowKind kind, TPixelLayout layout);

}  // namespace vxl::blend
