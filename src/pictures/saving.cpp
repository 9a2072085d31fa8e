#include "pictures/saving.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

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
    const std::vector<uint8_t> encoded = ext == "BMP"   ? EncodeBmp(picture)
                                         : ext == "PNG" ? EncodePng(picture)
                                                        : EncodeJpeg(picture, quality);
    if (encoded.empty()) {
        throw FileError("Stream write error");
    }
    WriteWholeFile(file, encoded);
}

void SaveRaw(const TBufferVx& buffer, const std::string& file) {
    File f(std::fopen(file.c_str(), "wb"));
    if (f && buffer.pixels() != nullptr) {
        std::fwrite(buffer.pixels(), 1, RawBytes(buffer), f.get());
    }
}

void LoadRaw(TBufferVx& buffer, const std::string& file) {
    // Read and write access, as the file is opened for both.
    File f(std::fopen(file.c_str(), "r+b"));
    if (f && buffer.pixels() != nullptr) {
        std::fread(buffer.pixels(), 1, RawBytes(buffer), f.get());
    }
}

}  // namespace vxl
