#include "pictures/text.h"

#include "buffers/pixel_format.h"
#include "core/fatal_error.h"
#include "core/result_texts.h"
#include "platform/gdi/text_output.h"

namespace vxl {

using namespace platform;

void PutStr(TBufferVx& buffer, int32_t x, int32_t y, std::string_view text, uint32_t colour) {
    if (!buffer.has_surface()) return;
    DeviceContext dc;
    if (HResult hr = GetDC(*buffer.surface(), &dc)) {
        throw ObjectFailure{kTagBuffer, "GetDC", DirectDrawResultText(hr)};
    }
    uint8_t r = 0, g = 0, b = 0;
    UnpackColour(colour, &r, &g, &b);
    TextOut(dc, x, y, text, ColourRef(r) | ColourRef(g) << 8 | ColourRef(b) << 16);
    if (HResult hr = ReleaseDC(&dc)) {
        throw ObjectFailure{kTagBuffer, "ReleaseDC", DirectDrawResultText(hr)};
    }
}

void TextSize(std::string_view text, int32_t* width, int32_t* height) {
    TextExtent(text, width, height);
}

void SetFont(const std::string& font, int32_t pixels) {
    if (std::string reason = SelectFont(font, pixels); !reason.empty()) {
        throw ObjectFailure{kTagVexel, "SetFont", reason};
    }
}

}  // namespace vxl
