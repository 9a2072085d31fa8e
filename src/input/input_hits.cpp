// The input object's extensions: presses, wheel notches and typed text that the state readers would
// miss between two frames, kept by the devices as they come; and game controllers.
#include "input/input_vx.h"

namespace vxl {

int32_t TInputVx::KeyHits(uint8_t key) {
    return keyboard_ ? keyboard_->TakePresses(key) : 0;
}

int32_t TInputVx::MouseHits(uint8_t button) {
    return mouse_ ? mouse_->TakePresses(button) : 0;
}

int32_t TInputVx::MouseWheel() {
    return mouse_ ? mouse_->TakeWheelNotches() : 0;
}

int32_t TInputVx::TypedText(char* out, int32_t size) {
    return keyboard_ ? keyboard_->TakeText(out, size) : 0;
}

int32_t TInputVx::PadCount() {
    return pads_ ? pads_->Count() : 0;
}

int32_t TInputVx::PadAxis(int32_t pad, int32_t axis) {
    return pads_ ? pads_->Axis(pad, axis) : 0;
}

bool TInputVx::PadButton(int32_t pad, int32_t button) {
    return pads_ && pads_->Button(pad, button);
}

int32_t TInputVx::PadHits(int32_t pad, int32_t button) {
    return pads_ ? pads_->TakePresses(pad, button) : 0;
}

}  // namespace vxl
