#include "exports/library.h"

#include "core/library_state.h"
#include "display/mode_table.h"
#include "exports/guard.h"
#include "platform/devices/direct_input.h"
#include "platform/gdi/text_output.h"
#include "platform/windows/window_system.h"

namespace vxl {

constinit detail::LibraryStorage detail::storage;

void ResetLibrary() {
    Library& lib = TheLibrary();
    lib.handles.Clear();
    lib.display.reset();
    lib.input.reset();
    lib.timer.reset();
    lib.pen_x = 0;
    lib.pen_y = 0;
    Globals() = LibraryGlobals{};
    exports::LastError().clear();
    TModeTable::Get().Invalidate();
    platform::ResetWindowSystem();
    platform::ResetInputDevices();
    platform::ResetFont();
}

}  // namespace vxl
