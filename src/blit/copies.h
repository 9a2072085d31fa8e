// Buffer-to-buffer copies: the whole source, an inclusive rectangle of it, or the source stretched
// onto a destination rectangle, each with or without a colour key. The rules place and clip; the
// platform blitter moves the pixels, and every copy waits until it has finished.
#pragma once

#include <cstdint>

#include "blit/rect_rules.h"

namespace vxl {

class TBufferVx;

void CopyBuffer(TBufferVx& src, TBufferVx& dst, int32_t x, int32_t y);
void CopySprite(TBufferVx& src, TBufferVx& dst, int32_t x, int32_t y, uint32_t key);
void CopyBit(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy);
void CopyBitSprite(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx,
                   int32_t dy, uint32_t key);
void CopyScale(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void CopyScaleSprite(TBufferVx& src, TBufferVx& dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key);

// Makes `key` the source colour key of the buffer's surface. It stays set; unkeyed copies ignore it.
void SetSourceKey(TBufferVx& buffer, uint32_t key);

}  // namespace vxl
