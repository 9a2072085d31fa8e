// Display exports: opening (in the host's window or one of the library's own), closing, moving and clearing the
// display, its size and the message pump.
#include "core/library_state.h"
#include "display/full_vexel.h"
#include "display/self_full_vexel.h"
#include "display/self_vexel.h"
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Display;
using exports::Guarded;

extern "C" {

void InitVexel(uint32_t window, int32_t width, int32_t height, int32_t bpp, int32_t full) {
    Guarded([&] {
        Library& lib = TheLibrary();
        // One display at a time: an open one is closed rather than leaked with its screen state.
        if (lib.display) {
            CloseVexel();
        }
        lib.display = full ? TFullVexel::Create(window, width, height, bpp) : TVexel::Create(window, width, height);
        lib.input.reset();
        lib.input = TInputVx::Create(window);
    });
}

uint32_t InitVexelWindow(int32_t width, int32_t height, int32_t bpp, int32_t full, const char* title) {
    return Guarded([&] {
        Library& lib = TheLibrary();
        if (lib.display) {
            CloseVexel();
        }
        lib.display =
            full ? TSelfFullVexel::Create(width, height, bpp, title) : TSelfVexel::Create(width, height, title);
        lib.input.reset();
        lib.input = TInputVx::Create(lib.display->window());
        return lib.display->window();
    });
}

void CloseVexel(void) {
    Guarded([&] {
        TheLibrary().display.reset();
        Globals().full_screen = false;
    });
}

void SetVexelWindowPos(int32_t x, int32_t y) {
    Guarded([&] {
        if (TVexel* d = Display()) d->MoveWindow(x, y);
    });
}

void ClearVexel(uint32_t colour) {
    Guarded([&] {
        if (TVexel* d = Display()) d->Clear(colour);
    });
}

int32_t VexelSizeX(void) {
    return Guarded([&] { return Display() ? Display()->width() : 0; });
}
int32_t VexelSizeY(void) {
    return Guarded([&] { return Display() ? Display()->height() : 0; });
}
int32_t GlobalBpp(void) {
    return Guarded([&] { return Display() ? Display()->bit_depth() : 0; });
}
int32_t DoEvents(void) {
    return Guarded([&] { return Display() && Display()->PumpMessage() ? -1 : 0; });
}

}  // extern "C"
