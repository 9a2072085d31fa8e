#include "core/fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "core/library_state.h"
#include "core/result_texts.h"
#include "platform/windows/window_system.h"

namespace vxl {

void FatalError(const std::string& message) {
    platform::RestoreDesktopMode();
    // The log holds the last message only; failing to write it must not hide the error itself.
    if (std::FILE* log = std::fopen(kErrorLogName, "wb")) {
        std::fputs(message.c_str(), log);
        std::fputs("\r\n", log);
        std::fclose(log);
    }
    if (Globals().full_screen && Globals().error_mode != 1) {
        std::exit(1);
    }
    throw FatalErrorException(message);
}

ObjectFailure OutOfMemory(const char* tag, const char* operation) {
    constexpr uint32_t kOutOfMemory = 0x8007000E;  // the same number in both result tables
    const bool input = std::string(tag) == kTagInput;
    return ObjectFailure{tag, operation,
                         input ? DirectInputResultText(kOutOfMemory) : DirectDrawResultText(kOutOfMemory)};
}

void ReportFailure(const ObjectFailure& failure) {
    if (std::string(failure.tag) == kTagBuffer) {
        platform::RestoreDesktopMode();
    }
    FatalError(failure.Message());
}

}  // namespace vxl
