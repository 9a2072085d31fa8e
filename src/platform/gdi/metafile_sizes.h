// Sizes of icon and metafile pictures, read from their headers.
#pragma once

#include "platform/gdi/picture.h"

namespace vxl::platform {

// The first image of an icon or cursor file.
bool ReadIcoSize(Bytes file, PictureSize* out);
// Placeable Windows metafiles: the bounding box in the file's units per inch, at 96 pixels per inch.
bool ReadWmfSize(Bytes file, PictureSize* out);
// Enhanced metafiles: the picture frame in hundredths of a millimetre, at 96 pixels per inch.
bool ReadEmfSize(Bytes file, PictureSize* out);

}  // namespace vxl::platform
