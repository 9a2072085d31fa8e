// What the two own-window displays share: their window procedure and the placement of a window.
#pragma once

#include <cstdint>

#include "platform/windows/messages.h"

namespace vxl {

// Turns a close request or the window's destruction into a quit message (addressed to the window, or
// the thread's when `thread_quit`), refuses the screen saver and monitor power-down, and leaves
// everything else to the default procedure.
int64_t OwnWindowProcedure(const platform::Message& message, bool thread_quit);

// Where a window of `size` is centred on a screen of `screen`; 0 when it does not fit.
int32_t CentredOrigin(int32_t screen, int32_t size);

}  // namespace vxl
