// Text on drawing contexts: one line of text (UTF-8; bytes that are not, as Windows-1252) in the
// selected font, by default the sans face that fontconfig names at about 16 pixels per line, rendered
// by FreeType in monochrome on a transparent background.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gdi/device_context.h"

namespace vxl::platform {

// Draws `text` with the top-left corner of its first character cell at (x, y), cut at the surface's
// edges; only the glyphs' own pixels change.
void TextOut(const DeviceContext& dc, int32_t x, int32_t y, std::string_view text, ColourRef colour);

// The cell TextOut fills for `text`: the pen's travel along the line and the font's line height;
// 0 x 0 when no font could be loaded.
void TextExtent(std::string_view text, int32_t* width, int32_t* height);

// The font of later text: a fontconfig family (or pattern, "DejaVu Serif:bold") or a font file, at
// `pixels` pixels to the em. An empty name keeps the default face, 0 pixels the default size. Answers
// "" when done, else the reason why not; the font in use then stays.
std::string SelectFont(const std::string& name, int32_t pixels);

// Back to the default font, loaded again on first use (tests).
void ResetFont();

}  // namespace vxl::platform
