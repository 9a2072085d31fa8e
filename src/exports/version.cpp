// Version exports.
#include "exports/guard.h"
#include "vxl.h"

using vxl::exports::Guarded;

namespace {

constexpr int32_t kVersion = 331;
constexpr const char kName[] = "VXL.DLL v0.14b [10.03.2001]";
constexpr const char kNotice[] = "VXL Graphics Library, written by the VXL team.";

}  // namespace

extern "C" {

int32_t GetDLLVersion(void) {
    return Guarded([&] { return kVersion; });
}

void GetDLLInfo(const char** name, const char** notice) {
    Guarded([&] {
        if (name) {
            *name = kName;
        }
        if (notice) {
            *notice = kNotice;
        }
    });
}

}  // extern "C"
