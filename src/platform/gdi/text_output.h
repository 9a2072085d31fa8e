// Text on drawing contexts: one line of 8-bit text (Latin-1) in the default font, the sans face that
// fontconfig names, rendered by FreeType in monochrome at about 16 pixels per line, on a transparent
// background.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/gdi/device_context.h"

namespace vxl::platform {

// Draws `text` with the top-left corner of its first character cell at (x, y), cut at the surface's
// edges; only the glyphs' own pixels change.
void TextOut(const DeviceContext& dc, int32_t x, int32_t y, std::string_view text, ColourRef colour);

// Line height of the default font in pixels, 0 when no font could be loaded.
int32_t DefaultFontLineHeight();

}  // namespace vxl::platform
