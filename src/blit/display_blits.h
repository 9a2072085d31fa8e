// Buffers onto the display. The Draw operations compose on the display's back surface with the rules
// of the buffer copies (the display's size as bounds) and then show the whole back surface over the
// window's client area; Flip shows one buffer stretched over the client area, by the flip chain when
// full screen without a menu, else straight onto the primary surface.
#pragma once

#include <cstdint>

namespace vxl {

class TBufferVx;

void DrawBuffer(TBufferVx& buffer, int32_t x, int32_t y);
void DrawSprite(TBufferVx& buffer, int32_t x, int32_t y, uint32_t key);
void DrawBit(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy);
void DrawBitSprite(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy,
                   uint32_t key);
void DrawScale(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawScaleSprite(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key);

// Shows the display's back surface, as the buffer knows it, over the window's client area.
void PresentBackSurface(TBufferVx& buffer);

void Flip(TBufferVx& buffer, bool wait);

}  // namespace vxl
