// PNG pictures through libpng: decoding to 8-bit RGB (keeping 8-bit palette indices and grey levels),
// the size from the header chunk, and encoding.
#pragma once

#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl::platform {

// Transparent pixels, whether by an alpha channel or a transparency chunk, are drawn over black.
DecodeResult DecodePng(ByteSource& file, Picture* out, int64_t max_pixels = kMaxPicturePixels);
DecodeResult DecodePng(Bytes file, Picture* out, int64_t max_pixels = kMaxPicturePixels);
bool ReadPngSize(ByteSource& file, PictureSize* out);
bool ReadPngSize(Bytes file, PictureSize* out);
std::vector<uint8_t> EncodePng(const Picture& picture);

}  // namespace vxl::platform
