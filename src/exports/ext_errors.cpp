// Error extensions: failures as values for hosts that cannot catch C++ exceptions, and their text.
#include "core/library_state.h"
#include "exports/guard.h"
#include "vxl.h"

using namespace vxl;
using exports::Guarded;
using exports::LastError;

extern "C" {

void VxlSetErrorMode(int32_t mode) {
    Guarded([&] {
        if (mode == 0 || mode == 1) Globals().error_mode = mode;
    });
}

const char* VxlLastError(void) {
    return Guarded([&] { return LastError().c_str(); });
}

void VxlClearError(void) {
    Guarded([&] { LastError().clear(); });
}

}  // extern "C"
