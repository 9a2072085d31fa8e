// Input extensions: key and button presses, wheel notches and typed text since the previous reading,
// so that a game sees every tap between two frames. Before the first display they answer 0.
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Guarded;
using exports::Input;

namespace {

constexpr int32_t kKeyCodes = 256;
constexpr int32_t kMouseButtons = 3;  // left, right, middle

}  // namespace

extern "C" {

int32_t VxlKeyHit(int32_t key) {
    return Guarded([&] { return Input() && key >= 0 && key < kKeyCodes ? Input()->KeyHits(uint8_t(key)) : 0; });
}

int32_t VxlMouseHit(int32_t button) {
    return Guarded(
        [&] { return Input() && button >= 0 && button < kMouseButtons ? Input()->MouseHits(uint8_t(button)) : 0; });
}

int32_t VxlMouseWheel(void) {
    return Guarded([&] { return Input() ? Input()->MouseWheel() : 0; });
}

int32_t VxlTextInput(char* out, int32_t size) {
    return Guarded([&] {
        if (out == nullptr || size <= 0) return 0;
        if (!Input()) {
            out[0] = '\0';
            return 0;
        }
        return Input()->TypedText(out, size);
    });
}

}  // extern "C"
