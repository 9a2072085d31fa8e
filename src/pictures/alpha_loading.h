// Alpha planes from 8-bit BMP and PNG images of the buffer's size: each alpha value is the stored
// 8-bit value (the palette index, or the grey level of a grey PNG), never the colour it stands for.
#pragma once

#include <string>

#include "buffers/buffer.h"
#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl {

// Both raise the buffer's ObjectFailure for images that are not fit; opening the file may raise the
// file's own error.
void LoadAlphaFile(TBufferVx& buffer, const std::string& file);
void LoadStreamAlpha(TBufferVx& buffer, platform::ByteSource& stream);

// The checks of LoadStreamAlpha without a buffer: the failure's reason, or null with `plane` holding
// width * height alpha values.
const char* ReadAlphaImage(platform::ByteSource& stream, int32_t width, int32_t height, std::vector<uint8_t>* plane,
                           int64_t max_pixels = platform::kMaxPicturePixels);
const char* ReadAlphaImage(platform::Bytes stream, int32_t width, int32_t height, std::vector<uint8_t>* plane,
                           int64_t max_pixels = platform::kMaxPicturePixels);

}  // namespace vxl
