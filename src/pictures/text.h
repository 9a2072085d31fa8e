// Text output: the buffer's drawing context renders one line of text in the default font on a
// transparent background; the library only turns the packed colour into a colour reference.
#pragma once

#include <string_view>

#include "buffers/buffer.h"

namespace vxl {

// Raises the buffer's ObjectFailure when the drawing context cannot be had or given back.
void PutStr(TBufferVx& buffer, int32_t x, int32_t y, std::string_view text, uint32_t colour);

}  // namespace vxl
