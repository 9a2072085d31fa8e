// Picture types told by a stream's first bytes, tested in the order JPEG, BMP, PNG.
#pragma once

#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl {

enum class PictureType { None, Jpeg, Bmp, Png };

// Alpha images may be BMP or PNG only: `jpeg_allowed` false skips the JPEG test.
PictureType SignatureOf(platform::Bytes stream, bool jpeg_allowed);
// The same from the first bytes of a file.
PictureType SignatureOf(platform::ByteSource& file, bool jpeg_allowed);

}  // namespace vxl
