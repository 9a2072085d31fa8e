// Drawing contexts of surfaces: while one is held, its surface is locked and the context knows where
// the pixels are and in which format. Pictures are drawn onto it and read from it with the context's
// own colour conversion: 8-bit channels are cut to the surface's field widths, and narrow fields are
// widened back as floor(v * 255 / max), so that a colour read and written again stays the same.
#pragma once

#include <cstdint>

#include "platform/gdi/picture.h"
#include "platform/surfaces/surface.h"

namespace vxl::platform {

// A colour reference: red in bits 0-7, green in bits 8-15, blue in bits 16-23.
using ColourRef = uint32_t;

struct DeviceContext {
    Surface* surface = nullptr;
    PixelMemory memory;
    PixelFormat format;
};

HResult GetDC(Surface& surface, DeviceContext* dc);
HResult ReleaseDC(DeviceContext* dc);

// The surface pixel of a colour reference.
uint32_t PixelOfColourRef(const PixelFormat& format, ColourRef colour);

// Draws `src` of `picture` onto `dst` of the context, stretched by nearest pixels, cut at the
// surface's edges. False when the rectangles are not ones the picture and context can give.
bool StretchPicture(const DeviceContext& dc, const Rect& dst, const Picture& picture, const Rect& src);

// Copies the context's rectangle `src` into a new 24-bit picture of its size; parts outside the
// surface stay black.
bool CopyToPicture(const DeviceContext& dc, const Rect& src, Picture* picture);

}  // namespace vxl::platform
