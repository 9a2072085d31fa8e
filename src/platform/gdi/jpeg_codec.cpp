#include "platform/gdi/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE declared first.
#include <jpeglib.h>

namespace vxl::platform {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: we jump back to the call
// that set up the context. The functions that do so hold no C++ objects across the jump.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}
void Quiet(j_common_ptr) {}

void InstallTrap(ErrorTrap* trap) {
    jpeg_std_error(&trap->manager);
    trap->manager.error_exit = JumpOut;
    trap->manager.output_message = Quiet;  // damaged data is reported through the result, not stderr
}

enum class Step { Ok, Failed, TooLarge };

// Header only (`pixels` null) or the whole picture into `pixels`, which `size` allocates.
Step Decompress(Bytes file, int64_t max_pixels, std::vector<uint8_t>* pixels, PictureSize* size) {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    InstallTrap(&trap);
    cinfo.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return Step::Failed;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    size->width = int32_t(cinfo.image_width);
    size->height = int32_t(cinfo.image_height);
    if (pixels == nullptr) {
        jpeg_destroy_decompress(&cinfo);
        return Step::Ok;
    }
    if (int64_t(cinfo.image_width) * cinfo.image_height > max_pixels) {
        jpeg_destroy_decompress(&cinfo);
        return Step::TooLarge;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return Step::Failed;
    }
    const size_t stride = size_t(cinfo.output_width) * 3;
    pixels->resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels->data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return Step::Ok;
}

bool Compress(const Picture& picture, int quality, unsigned char** data, unsigned long* length) {
    jpeg_compress_struct cinfo;
    ErrorTrap trap;
    InstallTrap(&trap);
    cinfo.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, data, length);
    cinfo.image_width = JDIMENSION(picture.width);
    cinfo.image_height = JDIMENSION(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(picture.width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(picture.rgb.data()) + stride * cinfo.next_scanline;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

DecodeResult DecodeJpeg(Bytes file, Picture* out, int64_t max_pixels) {
    *out = Picture{};
    std::vector<uint8_t> pixels;
    PictureSize size;
    switch (Decompress(file, max_pixels, &pixels, &size)) {
        case Step::TooLarge:
            return DecodeResult::TooLarge;
        case Step::Failed:
            return DecodeResult::Malformed;
        case Step::Ok:
            break;
    }
    out->width = size.width;
    out->height = size.height;
    out->bit_count = 24;
    out->rgb = std::move(pixels);
    return DecodeResult::Ok;
}

bool ReadJpegSize(Bytes file, PictureSize* out) {
    return Decompress(file, 0, nullptr, out) == Step::Ok;
}

std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality) {
    unsigned char* data = nullptr;
    unsigned long length = 0;
    std::vector<uint8_t> out;
    if (Compress(picture, quality, &data, &length) && data != nullptr) {
        out.assign(data, data + length);
    }
    std::free(data);
    return out;
}

}  // namespace vxl::platform
