#include "display/own_window.h"

#include "platform/windows/window_classes.h"

namespace vxl {

using namespace platform;

int64_t OwnWindowProcedure(const Message& message, bool thread_quit) {
    switch (message.message) {
        case WM_SYSCOMMAND:
            if (message.wparam == SC_SCREENSAVE || message.wparam == SC_MONITORPOWER) {
                return 0;
            }
            break;
        case WM_DESTROY:
        case WM_CLOSE:
            // The window stays; the host hears of the request from DoEvents and closes the display.
            if (thread_quit) {
                PostQuitMessage(0);
            } else {
                PostMessage(message.window, WM_QUIT);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProc(message);
}

int32_t CentredOrigin(int32_t screen, int32_t size) {
    const int64_t spare = int64_t(screen) - size;
    return spare < 0 ? 0 : int32_t(spare / 2);
}

}  // namespace vxl
