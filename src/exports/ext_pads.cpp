// Game-controller extensions: how many are attached, their axes and buttons, and the presses of a
// button since the previous reading. Before the first display they answer 0.
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Guarded;
using exports::Input;

extern "C" {

int32_t VxlPadCount(void) {
    return Guarded([&] { return Input() ? Input()->PadCount() : 0; });
}

int32_t VxlPadAxis(int32_t pad, int32_t axis) {
    return Guarded([&] { return Input() ? Input()->PadAxis(pad, axis) : 0; });
}

int32_t VxlPadButton(int32_t pad, int32_t button) {
    return Guarded([&] { return Input() && Input()->PadButton(pad, button) ? -1 : 0; });
}

int32_t VxlPadHit(int32_t pad, int32_t button) {
    return Guarded([&] { return Input() ? Input()->PadHits(pad, button) : 0; });
}

}  // extern "C"
