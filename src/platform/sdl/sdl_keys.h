// SDL scancodes to DirectInput key codes.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace vxl::platform {

// The DirectInput code of the key, 0 for a key that has none.
uint8_t KeyCodeOf(SDL_Scancode scancode);

}  // namespace vxl::platform
