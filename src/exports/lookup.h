// What every export file needs: the current display and input object, a buffer by handle, and the byte an argument
// declared as a byte really carries.
#pragma once

#include <cstdint>

#include "exports/library.h"

namespace vxl::exports {

inline TVexel* Display() {
    return TheLibrary().display.get();
}
inline TInputVx* Input() {
    return TheLibrary().input.get();
}
// The buffer of an open handle; null for handles never issued, closed or empty.
inline TBufferVx* Buffer(int32_t handle) {
    return TheLibrary().handles.Find(handle);
}
inline uint8_t Byte(int32_t value) {
    return uint8_t(value & 0xFF);
}

}  // namespace vxl::exports
