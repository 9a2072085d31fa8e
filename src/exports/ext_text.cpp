// Text extensions: measuring a line before drawing it, and choosing the font.
#include <cstring>

#include "core/fatal_error.h"
#include "exports/guard.h"
#include "pictures/text.h"
#include "vxl.h"

using namespace vxl;
using exports::Guarded;

extern "C" {

void VxlTextSize(const char* text, int32_t* width, int32_t* height) {
    Guarded([&] {
        int32_t w = 0, h = 0;
        if (text != nullptr) TextSize(std::string_view(text, std::strlen(text)), &w, &h);
        if (width) *width = w;
        if (height) *height = h;
    });
}

// Like GetImageSize's, a failure leaves the display open: nothing about it failed.
void VxlSetFont(const char* font, int32_t pixels) {
    Guarded([&] {
        try {
            SetFont(font ? font : "", pixels);
        } catch (const ObjectFailure& failure) {
            FatalError(failure.Message());
        }
    });
}

}  // extern "C"
