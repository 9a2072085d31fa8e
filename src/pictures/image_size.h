// Picture sizes without a buffer. Unlike the loaders, the decoder is chosen by the file name's
// extension ("bmp", "ico", "wmf", "emf", "jpg", "jpeg", "png", in any case), and the size is read
// from the file's headers.
#pragma once

#include <string>

#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl {

// The size of `file`'s picture; raises an ObjectFailure tagged as the display's for a missing file or
// one that gives no size, and the file's own error for a file that cannot be read.
platform::PictureSize ReadImageSize(const std::string& file);

// The size by extension from the file's headers; false when none can be had.
bool ImageSizeOf(const std::string& extension, platform::ByteSource& file, platform::PictureSize* size);
bool ImageSizeOfBytes(const std::string& extension, platform::Bytes bytes, platform::PictureSize* size);

// The part of `file` after the last dot of its last path component, "" when there is none.
std::string ExtensionOf(const std::string& file);

}  // namespace vxl
