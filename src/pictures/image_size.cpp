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

bool ImageSizeOfBytes(const std::string& extension, Bytes bytes, PictureSize* size) {
    std::string ext = extension;
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == "bmp") return ReadBmpSize(bytes, size);
    if (ext == "ico") return ReadIcoSize(bytes, size);
    if (ext == "wmf") return ReadWmfSize(bytes, size);
    if (ext == "emf") return ReadEmfSize(bytes, size);
    if (ext == "jpg" || ext == "jpeg") return ReadJpegSize(bytes, size);
    if (ext == "png") return ReadPngSize(bytes, size);
    return false;
}

PictureSize ReadImageSize(const std::string& file) {
    if (!FileExists(file)) {
        throw ObjectFailure{kTagVexel, "GetImageInfo", "File " + file + " not found..."};
    }
    const std::vector<uint8_t> bytes = ReadWholeFile(file);
    PictureSize size;
    if (!ImageSizeOfBytes(ExtensionOf(file), bytes, &size) || (size.width == 0 && size.height == 0)) {
        throw ObjectFailure{kTagVexel, "GetImageSize", "Error loading " + file + "..."};
    }
    return size;
}

}  // namespace vxl
