// Text export: one line of text into a buffer.
#include "pictures/text.h"

#include <cstring>

#include "exports/buffer_failure.h"
#include "exports/guard.h"
#include "vxl.h"

using namespace vxl;
using exports::Guarded;
using exports::OnBuffer;

extern "C" {

void PutStr(int32_t handle, int32_t x, int32_t y, const char* text, uint32_t colour) {
    Guarded([&] {
        if (text == nullptr) return;
        OnBuffer(handle,
                 [&](TBufferVx& b) { vxl::PutStr(b, x, y, std::string_view(text, std::strlen(text)), colour); });
    });
}

}  // extern "C"
