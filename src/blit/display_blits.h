// Buffers onto the display. The Draw operations compose on the display's back surface with the rules
// of the buffer copies (the display's size as bounds) and then show the whole back surface over the
// window's client area: where the window already shows the rest of it, only the part drawn travels.
// Flip shows one buffer stretched over the client area, by the flip chain when full screen without a
// menu, else straight onto the primary surface.
#pragma once

#include <cstdint>

#include "platform/surfaces/codes.h"

namespace vxl {

class TBufferVx;

void DrawBuffer(TBufferVx& buffer, int32_t x, int32_t y);
void DrawSprite(TBufferVx& buffer, int32_t x, int32_t y, uint32_t key);
void DrawBit(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy);
void DrawBitSprite(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy,
                   uint32_t key);
void DrawScale(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawScaleSprite(TBufferVx& buffer, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key);

// Shows the display's back surface, as the buffer knows it, over the window's client area. `drawn`
// (back-surface coordinates) is all that changed in the back surface since its version was
// `back_version`; when the primary surface held the rest already, only that part is copied and shown.
void PresentBackSurface(TBufferVx& buffer, const platform::Rect* drawn = nullptr, uint64_t back_version = 0);

void Flip(TBufferVx& buffer, bool wait);

}  // namespace vxl
