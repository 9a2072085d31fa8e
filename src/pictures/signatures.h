// Picture types told by a stream's first bytes, tested in the order JPEG, BMP, PNG.
#pragma once

#include "platform/gdi/picture.h"

namespace vxl {

enum class PictureType { None, Jpeg, Bmp, Png };

// Alpha images may be BMP or PNG only: `jpeg_allowed` false skips the JPEG test.
PictureType SignatureOf(platform::Bytes stream, bool jpeg_allowed);

}  // namespace vxl
