#include "pictures/image_size.h"

#include <algorithm>
#include <cctype>

#include "core/fatal_error.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/file_stream.h"
#include "platform/gdi/jpeg_codec.h"
#include "platform/gdi/metafile_sizes.h"
#include "platform/gdi/png_codec.h"

namespace vxl {

using namespace platform;

std::string ExtensionOf(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return file.substr(dot + 1);
}

bool ImageSizeOf(const std::string& extension, ByteSource& bytes, PictureSize* size) {
    std::string ext = extension;
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == "bmp") return ReadBmpSize(bytes, size);
    // The icon and metafile headers are at most this long.
    uint8_t head[88];
    const Bytes first(head, bytes.ReadAt(0, head, sizeof head));
    if (ext == "ico") return ReadIcoSize(first, size);
    if (ext == "wmf") return ReadWmfSize(first, size);
    if (ext == "emf") return ReadEmfSize(first, size);
    if (ext == "jpg" || ext == "jpeg") return ReadJpegSize(bytes, size);
    if (ext == "png") return ReadPngSize(bytes, size);
    return false;
}

bool ImageSizeOfBytes(const std::string& extension, Bytes bytes, PictureSize* size) {
    MemorySource source(bytes);
    return ImageSizeOf(extension, source, size);
}

PictureSize ReadImageSize(const std::string& file) {
    if (!FileExists(file)) {
        throw ObjectFailure{kTagVexel, "GetImageInfo", "File " + file + " not found..."};
    }
    FileSource bytes(file);
    PictureSize size;
    if (!ImageSizeOf(ExtensionOf(file), bytes, &size) || (size.width == 0 && size.height == 0)) {
        throw ObjectFailure{kTagVexel, "GetImageSize", "Error loading " + file + "..."};
    }
    return size;
}

}  // namespace vxl
