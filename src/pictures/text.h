// Text output: the buffer's drawing context renders one line of text in the selected font on a
// transparent background; the library only turns the packed colour into a colour reference.
#pragma once

#include <string>
#include <string_view>

#include "buffers/buffer.h"

namespace vxl {

// Raises the buffer's ObjectFailure when the drawing context cannot be had or given back.
void PutStr(TBufferVx& buffer, int32_t x, int32_t y, std::string_view text, uint32_t colour);

// The width and height of the cell that PutStr fills for `text`.
void TextSize(std::string_view text, int32_t* width, int32_t* height);

// The font of later text (a fontconfig family or a font file; "" for the default face) and its size
// in pixels to the em (0 for the default size). Raises the display's ObjectFailure when there is no
// such font; the font in use stays.
void SetFont(const std::string& font, int32_t pixels);

}  // namespace vxl
