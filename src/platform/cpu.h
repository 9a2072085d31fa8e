// What the processor offers, read once. SSE2 is always there on x86-64; AVX2 is chosen at run time.
// Fast paths read these flags; their results never depend on them.
#pragma once

namespace vxl::platform {

struct CpuFeatures {
    bool sse2 = false;
    bool avx2 = false;
};

const CpuFeatures& Cpu();
// Tests force the flags both ways to pin fast paths to the reference.
void ForceCpuFeatures(const CpuFeatures& features);
void ResetCpuFeatures();

}  // namespace vxl::platform
