// Buffers whose size and content come from BMP, JPEG and PNG files. The type is told by the first
// bytes, never by the name; the decoded picture reaches the surface through its drawing context, which
// converts each pixel to the display's layout.
#pragma once

#include <memory>
#include <string>

#include "buffers/buffer.h"
#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl {

class TImageVx : public TBufferVx {
public:
    // A buffer holding the picture of `file`. Failures destroy it and report; a file that cannot be
    // opened raises the file's own error instead.
    static std::unique_ptr<TBufferVx> Create(const TVexel* display, const std::string& file, bool video);
};

// Both give `buffer` the picture's size and content, or raise the buffer's ObjectFailure.
void LoadImageFile(TBufferVx& buffer, const std::string& file, bool video);
void LoadStreamImage(TBufferVx& buffer, platform::ByteSource& stream, bool video);

}  // namespace vxl
