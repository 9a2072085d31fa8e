#include "pictures/saving.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <new>

#include "core/fatal_error.h"
#include "pictures/image_size.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/file_stream.h"
#include "platform/gdi/jpeg_codec.h"
#include "platform/gdi/png_codec.h"

namespace vxl {

using namespace platform;

namespace {

size_t RawBytes(const TBufferVx& buffer) {
    if (!buffer.has_surface()) return 0;
    return size_t(buffer.width()) * size_t(buffer.height()) * buffer.bytes_per_pixel();
}

}  // namespace

void SaveImage(TBufferVx& buffer, const std::string& file, int quality) {
    std::string ext = ExtensionOf(file);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    if (ext != "BMP" && ext != "JPG" && ext != "JPEG" && ext != "PNG") {
        throw ObjectFailure{kTagBuffer, "SaveImage", "Format not supported for saving..."};
    }
    if (!buffer.has_surface()) return;
    // A JPEG file cannot hold the picture: refused before anything is copied or written.
    if (ext != "BMP" && ext != "PNG" && (buffer.width() > kMaxJpegSide || buffer.height() > kMaxJpegSide)) {
        throw ObjectFailure{kTagBuffer, "SaveImage", "Format not supported for saving..."};
    }
    std::vector<uint8_t> encoded;
    try {
        // A context that cannot be had leaves the picture black.
        Picture picture;
        picture.width = buffer.width();
        picture.height = buffer.height();
        picture.bit_count = 24;
        picture.rgb.assign(size_t(picture.width) * size_t(picture.height) * 3, 0);
        DeviceContext dc;
        if (GetDC(*buffer.surface(), &dc) == DD_OK) {
            CopyToPicture(dc, Rect{0, 0, buffer.width(), buffer.height()}, &picture);
            ReleaseDC(&dc);
        }
        encoded = ext == "BMP" ? EncodeBmp(picture) : ext == "PNG" ? EncodePng(picture) : EncodeJpeg(picture, quality);
    } catch (const std::bad_alloc&) {
        throw OutOfMemory(kTagBuffer, "SaveImage");
    }
    if (encoded.empty()) {
        throw FileError("Stream write error");
    }
    ReplaceFile(file, encoded);
}

void SaveRaw(const TBufferVx& buffer, const std::string& file) {
    if (buffer.pixels() == nullptr) return;
    try {
        ReplaceFile(file, std::span<const uint8_t>(buffer.pixels(), RawBytes(buffer)));
    } catch (const FileError&) {
        // Raw files report nothing; a failed save leaves the old file as it was.
    }
}

void LoadRaw(TBufferVx& buffer, const std::string& file) {
    try {
        // Read and write access, as the file is opened for both; a short file fills what it holds.
        FileSource source(file, O_RDWR);
        if (buffer.pixels() != nullptr) source.ReadAt(0, buffer.pixels(), RawBytes(buffer));
    } catch (const FileError&) {
        // Raw files that cannot be opened are ignored.
    }
}

}  // namespace vxl
