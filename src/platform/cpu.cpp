#include "platform/cpu.h"

namespace vxl::platform {
namespace {

CpuFeatures Detect() {
    CpuFeatures f;
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    f.sse2 = __builtin_cpu_supports("sse2");
    f.avx2 = __builtin_cpu_supports("avx2");
#endif
    return f;
}

CpuFeatures& Current() {
    static CpuFeatures features = Detect();
    return features;
}

// Read at load, as the library decides its routines before any export runs.
[[maybe_unused]] const bool kDetectedAtLoad = (Current(), true);

}  // namespace

const CpuFeatures& Cpu() {
    return Current();
}

void ForceCpuFeatures(const CpuFeatures& features) {
    Current() = features;
}

void ResetCpuFeatures() {
    Current() = Detect();
}

}  // namespace vxl::platform
