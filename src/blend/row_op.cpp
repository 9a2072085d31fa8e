#include "blend/row_op.h"

#include "blend/blur_wave.h"
#include "platform/cpu.h"

namespace vxl::blend {
namespace {

uint32_t BytesOf(TPixelLayout layout) {
    return DispatchLayout(layout, 0u, [](auto px) { return decltype(px)::kBytes; });
}

}  // namespace

RowFn ReferenceRow(RowKind kind, TPixelLayout layout) {
    for (auto family : {ArithmeticReference, AlphaReference, ChannelReference, FilterReference}) {
        if (RowFn fn = family(kind, layout)) return fn;
    }
    return nullptr;
}

RowOp ReferenceOnly(RowKind kind, TPixelLayout layout) {
    return {ReferenceRow(kind, layout), nullptr, BytesOf(layout)};
}

RowOp ChooseRow(RowKind kind, TPixelLayout layout) {
    RowOp op = ReferenceOnly(kind, layout);
    if (!op) return op;
    const platform::CpuFeatures& cpu = platform::Cpu();
    if (cpu.avx2) op.fast = Avx2Row(kind, layout);
    if (!op.fast && cpu.sse2) op.fast = Sse2Row(kind, layout);
    return op;
}

BlurFn ChooseBlur(TPixelLayout layout) {
    const platform::CpuFeatures& cpu = platform::Cpu();
    if (cpu.avx2) return Avx2Blur(layout);
    if (cpu.sse2) return Sse2Blur(layout);
    return nullptr;
}

void RowOp::Run(const RowJob& job) const {
    size_t done = 0;
    // A destination a little ahead of its source in the same row must see the pixels mixed before
    // it, one at a time; only the reference walks that way.
    const bool chases_source = job.src != nullptr && job.dst > job.src && job.dst < job.src + job.n * size_t(bytes);
    if (fast != nullptr && !chases_source) {
        done = fast(job);
    }
    if (done < job.n) {
        RowJob rest = job;
        rest.n = job.n - done;
        rest.dst += done * bytes;
        if (rest.src != nullptr) rest.src += done * bytes;
        if (rest.alpha != nullptr) rest.alpha += done;
        reference(rest);
    }
}

}  // namespace vxl::blend
