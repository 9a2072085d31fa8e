#include "pictures/image_buffer.h"

#include "core/fatal_error.h"
#include "pictures/signatures.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/file_stream.h"
#include "platform/gdi/jpeg_codec.h"
#include "platform/gdi/png_codec.h"

namespace vxl {

using namespace platform;

namespace {

constexpr const char* kLoadStep = "LoadStreamImage";

[[noreturn]] void Fail(const char* operation, const char* reason) {
    throw ObjectFailure{kTagBuffer, operation, reason};
}

// The picture of a recognised stream; a picture too large to hold fails like a surface that cannot be
// made, a damaged one like an empty one of its type.
Picture DecodePicture(ByteSource& stream) {
    Picture picture;
    switch (SignatureOf(stream, /*jpeg_allowed=*/true)) {
        case PictureType::Jpeg:
            switch (DecodeJpeg(stream, &picture)) {
                case DecodeResult::TooLarge:
                    Fail("CreateSurface", "Error creating surface...");
                case DecodeResult::Malformed:
                    Fail(kLoadStep, "Error loading JPEG from Stream...");
                case DecodeResult::Ok:
                    if (picture.Empty()) Fail(kLoadStep, "Error loading JPEG from Stream...");
                    return picture;
            }
            break;
        case PictureType::Bmp:
            switch (DecodeBmp(stream, &picture)) {
                case DecodeResult::TooLarge:
                    Fail("CreateSurface", "Error creating surface...");
                case DecodeResult::Malformed:
                    Fail(kLoadStep, "Stream Image format not supported...");
                case DecodeResult::Ok:
                    return picture;
            }
            break;
        case PictureType::Png:
            switch (DecodePng(stream, &picture)) {
                case DecodeResult::TooLarge:
                    Fail("CreateSurface", "Error creating surface...");
                case DecodeResult::Malformed:
                    Fail(kLoadStep, "Error loading PNG from Stream...");
                case DecodeResult::Ok:
                    if (picture.Empty()) Fail(kLoadStep, "Error loading PNG from Stream...");
                    return picture;
            }
            break;
        case PictureType::None:
            break;
    }
    Fail(kLoadStep, "Stream Image format not supported...");
}

}  // namespace

std::unique_ptr<TBufferVx> TImageVx::Create(const TVexel* display, const std::string& file, bool video) {
    return ConstructOrReport<TImageVx, TBufferVx>([&](TImageVx& image) {
        image.Construct(display, 1, 1, video);
        LoadImageFile(image, file, video);
    });
}

void LoadImageFile(TBufferVx& buffer, const std::string& file, bool video) {
    FileSource stream(file);
    LoadStreamImage(buffer, stream, video);
}

void LoadStreamImage(TBufferVx& buffer, ByteSource& stream, bool video) {
    const Picture picture = DecodePicture(stream);
    if (buffer.Resize(picture.width, picture.height, video) != 0) {
        Fail("CreateSurface", "Error creating surface...");
    }
    // Rows longer than their pixels widen the picture by the surplus; its right edge then falls
    // outside the buffer.
    const int32_t bytes = int32_t(buffer.bytes_per_pixel());
    const int32_t widened = picture.width + (buffer.pitch() - picture.width * bytes) / bytes;
    buffer.RestoreSurfaces();
    DeviceContext dc;
    if (GetDC(*buffer.surface(), &dc) != DD_OK) {
        return;  // the buffer keeps the picture's size and the content 0
    }
    const bool drawn =
        StretchPicture(dc, Rect{0, 0, widened, picture.height}, picture, Rect{0, 0, buffer.width(), buffer.height()});
    ReleaseDC(&dc);
    if (!drawn) {
        Fail("StretchBlt", "Error blitting bitmap to surface image...");
    }
}

}  // namespace vxl
