// Our own BMP reader and writer. The reader takes core and info headers of every version, 1, 4, 8,
// 16, 24 and 32 bits per pixel, RLE4, RLE8 and bit-field masks, rows stored bottom-up or top-down.
#pragma once

#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl::platform {

DecodeResult DecodeBmp(ByteSource& file, Picture* out, int64_t max_pixels = kMaxPicturePixels);
DecodeResult DecodeBmp(Bytes file, Picture* out, int64_t max_pixels = kMaxPicturePixels);

// Width and height from the headers alone; false when they are not those of a BMP file.
bool ReadBmpSize(ByteSource& file, PictureSize* out);
bool ReadBmpSize(Bytes file, PictureSize* out);

// A 24-bit, bottom-up BMP file of `picture`'s colours.
std::vector<uint8_t> EncodeBmp(const Picture& picture);

}  // namespace vxl::platform
