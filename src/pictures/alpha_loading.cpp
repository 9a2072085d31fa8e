#include "pictures/alpha_loading.h"

#include <cstring>
#include <new>

#include "core/fatal_error.h"
#include "pictures/signatures.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/file_stream.h"
#include "platform/gdi/png_codec.h"

namespace vxl {

using namespace platform;

const char* ReadAlphaImage(ByteSource& stream, int32_t width, int32_t height, std::vector<uint8_t>* plane,
                           int64_t max_pixels) {
    Picture picture;
    DecodeResult result;
    switch (SignatureOf(stream, /*jpeg_allowed=*/false)) {
        case PictureType::Bmp:
            result = DecodeBmp(stream, &picture, max_pixels);
            break;
        case PictureType::Png:
            result = DecodePng(stream, &picture, max_pixels);
            break;
        default:
            return "Stream Alpha format not supported...";
    }
    // Damaged images and ones too large to hold load as nothing.
    if (result != DecodeResult::Ok || picture.Empty()) {
        return "Error loading from stream...";
    }
    if (picture.width != width || picture.height != height) {
        return "Error loading from stream, wrong dimensions...";
    }
    if (!picture.EightBit()) {
        return "Invalid alpha image, must be 8bit...";
    }
    *plane = std::move(picture.indices);
    return nullptr;
}

const char* ReadAlphaImage(Bytes stream, int32_t width, int32_t height, std::vector<uint8_t>* plane,
                           int64_t max_pixels) {
    MemorySource source(stream);
    return ReadAlphaImage(source, width, height, plane, max_pixels);
}

void LoadAlphaFile(TBufferVx& buffer, const std::string& file) {
    FileSource stream(file);
    LoadStreamAlpha(buffer, stream);
}

void LoadStreamAlpha(TBufferVx& buffer, ByteSource& stream) {
    std::vector<uint8_t> plane;
    try {
        if (const char* reason = ReadAlphaImage(stream, buffer.width(), buffer.height(), &plane)) {
            throw ObjectFailure{kTagBuffer, "LoadStreamAlpha", reason};
        }
        buffer.CreateAlphaPlane();
    } catch (const std::bad_alloc&) {
        throw OutOfMemory(kTagBuffer, "LoadStreamAlpha");
    }
    if (uint8_t* alpha = buffer.alpha()) {
        std::memcpy(alpha, plane.data(), plane.size());
    }
}

}  // namespace vxl
