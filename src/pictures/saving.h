// Saving a buffer as a BMP, JPEG or PNG picture chosen by the file name's extension, always from a
// 24-bit copy of its pixels (no alpha plane), and raw pixel files that hold the buffer's memory byte
// for byte.
#pragma once

#include <string>

#include "buffers/buffer.h"

namespace vxl {

// Raises the buffer's ObjectFailure for an extension other than .bmp, .jpg, .jpeg and .png (any
// case); failures to write the file raise the file's own error.
void SaveImage(TBufferVx& buffer, const std::string& file, int quality = 50);

// Width * height * bytes per pixel bytes from the first pixel on. File errors are not reported; a
// short file fills what it holds, and a file that cannot be opened for writing is not read.
void SaveRaw(const TBufferVx& buffer, const std::string& file);
void LoadRaw(TBufferVx& buffer, const std::string& file);

}  // namespace vxl
