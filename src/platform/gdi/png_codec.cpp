#include "platform/gdi/png_codec.h"

#include <png.h>

#include <cstring>

namespace vxl::platform {
namespace {

struct Reader {
    Bytes file;
    size_t at = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > reader->file.size() - reader->at) {
        png_error(png, "file ends early");
    }
    std::memcpy(out, reader->file.data() + reader->at, length);
    reader->at += length;
}

// Errors leave through the jump set up by the caller; neither errors nor warnings print anything.
[[noreturn]] void JumpOut(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Quiet(png_structp, png_const_charp) {}

enum class Step { Ok, Failed, TooLarge };

// What a decode needs to keep across libpng's error jump, outside the jumping frame.
struct Decoded {
    PictureSize size;
    int colour_type = 0;
    int bit_depth = 0;
    std::vector<uint8_t> raw;  // rows as libpng hands them over after our transformations
    std::vector<png_bytep> rows;
    std::vector<uint8_t> palette;  // the picture's colours for palette pictures, 3 bytes each
};

// Header only (`whole` false) or the whole picture. Rows come out as 8-bit grey, grey + alpha, palette
// indices, RGB or RGBA.
Step Decompress(Bytes file, int64_t max_pixels, bool whole, Decoded* d) {
    Reader reader{file};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOut, Quiet);
    if (png == nullptr) return Step::Failed;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Step::Failed;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_chunk_malloc_max(png, 64u << 20);
    png_read_info(png, info);
    d->size = {int32_t(png_get_image_width(png, info)), int32_t(png_get_image_height(png, info))};
    d->colour_type = png_get_color_type(png, info);
    d->bit_depth = png_get_bit_depth(png, info);
    if (!whole) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Step::Ok;
    }
    if (int64_t(d->size.width) * d->size.height > max_pixels) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Step::TooLarge;
    }
    if (d->colour_type == PNG_COLOR_TYPE_PALETTE) {
        png_colorp colours = nullptr;
        int count = 0;
        d->palette.assign(256 * 3, 0);
        if (png_get_PLTE(png, info, &colours, &count) && colours != nullptr) {
            for (int i = 0; i < count && i < 256; ++i) {
                d->palette[size_t(i) * 3] = colours[i].red;
                d->palette[size_t(i) * 3 + 1] = colours[i].green;
                d->palette[size_t(i) * 3 + 2] = colours[i].blue;
            }
        }
        png_set_packing(png);  // indices of fewer than 8 bits one to a byte
    } else {
        png_set_expand(png);  // low grey depths to 8 bits, transparency chunks to alpha
    }
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t stride = png_get_rowbytes(png, info);
    d->raw.resize(stride * size_t(d->size.height));
    d->rows.resize(size_t(d->size.height));
    for (size_t y = 0; y < d->rows.size(); ++y) d->rows[y] = d->raw.data() + stride * y;
    d->colour_type = png_get_color_type(png, info);
    png_read_image(png, d->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return Step::Ok;
}

struct Writer {
    std::vector<uint8_t>* out;
};

void WriteToMemory(png_structp png, png_bytep data, png_size_t length) {
    auto* writer = static_cast<Writer*>(png_get_io_ptr(png));
    writer->out->insert(writer->out->end(), data, data + length);
}
void Flush(png_structp) {}

bool Compress(const Picture& picture, std::vector<uint8_t>* out, std::vector<png_bytep>* rows) {
    Writer writer{out};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOut, Quiet);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &writer, WriteToMemory, Flush);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows->data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

DecodeResult DecodePng(Bytes file, Picture* out, int64_t max_pixels) {
    *out = Picture{};
    Decoded d;
    switch (Decompress(file, max_pixels, true, &d)) {
        case Step::TooLarge:
            return DecodeResult::TooLarge;
        case Step::Failed:
            return DecodeResult::Malformed;
        case Step::Ok:
            break;
    }
    const size_t w = size_t(d.size.width), h = size_t(d.size.height);
    out->width = d.size.width;
    out->height = d.size.height;
    out->rgb.resize(w * h * 3);
    const bool palette = d.colour_type == PNG_COLOR_TYPE_PALETTE;
    const bool grey = d.colour_type == PNG_COLOR_TYPE_GRAY;
    out->bit_count = palette || grey ? uint32_t(d.bit_depth) : 24;
    if ((palette || grey) && d.bit_depth == 8) {
        out->indices.resize(w * h);
    }
    const size_t channels = palette || grey                              ? 1
                            : d.colour_type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                            : d.colour_type == PNG_COLOR_TYPE_RGB        ? 3
                                                                         : 4;
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* src = d.rows[y];
        uint8_t* rgb = &out->rgb[y * w * 3];
        for (size_t x = 0; x < w; ++x, src += channels, rgb += 3) {
            if (palette) {
                std::memcpy(rgb, &d.palette[size_t(src[0]) * 3], 3);
            } else if (channels <= 2) {
                const uint32_t a = channels == 2 ? src[1] : 255;
                rgb[0] = rgb[1] = rgb[2] = uint8_t(src[0] * a / 255);
            } else {
                const uint32_t a = channels == 4 ? src[3] : 255;
                for (int c = 0; c < 3; ++c) rgb[c] = uint8_t(src[c] * a / 255);
            }
            if (!out->indices.empty()) out->indices[y * w + x] = src[0];
        }
    }
    return DecodeResult::Ok;
}

bool ReadPngSize(Bytes file, PictureSize* out) {
    Decoded d;
    if (Decompress(file, 0, false, &d) != Step::Ok) return false;
    *out = d.size;
    return true;
}

std::vector<uint8_t> EncodePng(const Picture& picture) {
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows(size_t(picture.height));
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = const_cast<uint8_t*>(picture.rgb.data()) + y * size_t(picture.width) * 3;
    }
    if (!Compress(picture, &out, &rows)) out.clear();
    return out;
}

}  // namespace vxl::platform
