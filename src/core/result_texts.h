// Human-readable sentences for the result codes the library hands back, for logs and error dialogs.
#pragma once
#include <cstdint>

namespace vxl {

// One sentence per surface-service (DirectDraw-numbered) result code; "Unrecognized Error" otherwise.
const char* DirectDrawResultText(uint32_t code);
// One sentence per input-device (DirectInput-numbered) result code; "Unrecognized Error" otherwise.
const char* DirectInputResultText(uint32_t code);

}  // namespace vxl
