#include "platform/gdi/png_codec.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace vxl::platform {
namespace {

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<SourceReader*>(png_get_io_ptr(png));
    if (reader->Read(out, length) != length) {
        png_error(png, "file ends early");
    }
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
    int colour_type = 0;  // as stored in the file
    int bit_depth = 0;
    int channels = 0;                        // per pixel of the rows libpng hands over
    std::array<uint8_t, 256 * 4> palette{};  // red, green, blue, alpha of each palette entry
    std::vector<uint8_t> row;                // one row, for pictures read row by row
    Picture* out = nullptr;
};

// One pixel of libpng's 8-bit rows (grey, grey + alpha, palette index, RGB or RGBA) in red, green and
// blue. Every kind of transparency follows one rule: the colour is drawn over black.
void PutPixel(const Decoded& d, const uint8_t* src, uint8_t* rgb) {
    switch (d.channels) {
        case 1:
            if (d.colour_type == PNG_COLOR_TYPE_PALETTE) {
                const uint8_t* entry = &d.palette[size_t(src[0]) * 4];
                for (int c = 0; c < 3; ++c) rgb[c] = uint8_t(entry[c] * uint32_t(entry[3]) / 255);
            } else {
                rgb[0] = rgb[1] = rgb[2] = src[0];
            }
            break;
        case 2:
            rgb[0] = rgb[1] = rgb[2] = uint8_t(src[0] * uint32_t(src[1]) / 255);
            break;
        case 3:
            std::memcpy(rgb, src, 3);
            break;
        default:
            for (int c = 0; c < 3; ++c) rgb[c] = uint8_t(src[c] * uint32_t(src[3]) / 255);
            break;
    }
}

void ConvertRow(const Decoded& d, const uint8_t* src, size_t first, size_t count) {
    Picture& out = *d.out;
    for (size_t i = 0; i < count; ++i) {
        if (!out.indices.empty()) out.indices[first + i] = src[i * size_t(d.channels)];
        PutPixel(d, src + i * size_t(d.channels), &out.rgb[(first + i) * 3]);
    }
}

// The header only (`d->out` null) or the whole picture into `d->out`. Pictures are read row by row
// into their final place; interlaced ones, whose passes revisit every row, are read whole into the
// picture's own memory and converted there, so no second copy is ever made.
Step Decompress(ByteSource& file, int64_t max_pixels, Decoded* d) {
    SourceReader reader(file, 0, file.Size());
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOut, Quiet);
    if (png == nullptr) return Step::Failed;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Step::Failed;
    }
    png_set_read_fn(png, &reader, ReadFromSource);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_chunk_malloc_max(png, 64u << 20);
    png_read_info(png, info);
    d->size = {int32_t(png_get_image_width(png, info)), int32_t(png_get_image_height(png, info))};
    d->colour_type = png_get_color_type(png, info);
    d->bit_depth = png_get_bit_depth(png, info);
    if (d->out == nullptr) {
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
        if (png_get_PLTE(png, info, &colours, &count) && colours != nullptr) {
            for (int i = 0; i < count && i < 256; ++i) {
                d->palette[size_t(i) * 4] = colours[i].red;
                d->palette[size_t(i) * 4 + 1] = colours[i].green;
                d->palette[size_t(i) * 4 + 2] = colours[i].blue;
            }
        }
        for (size_t i = 0; i < 256; ++i) d->palette[i * 4 + 3] = 255;
        png_bytep alpha = nullptr;
        int alpha_count = 0;
        if (png_get_tRNS(png, info, &alpha, &alpha_count, nullptr) && alpha != nullptr) {
            for (int i = 0; i < alpha_count && i < 256; ++i) d->palette[size_t(i) * 4 + 3] = alpha[i];
        }
        png_set_packing(png);  // indices of fewer than 8 bits one to a byte
    } else {
        png_set_expand(png);  // low grey depths to 8 bits, transparency chunks to alpha
    }
    png_set_strip_16(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    d->channels = png_get_channels(png, info);
    const size_t w = size_t(d->size.width), h = size_t(d->size.height);
    const size_t stride = png_get_rowbytes(png, info);
    Picture& out = *d->out;
    out.width = d->size.width;
    out.height = d->size.height;
    if ((d->colour_type == PNG_COLOR_TYPE_PALETTE || d->colour_type == PNG_COLOR_TYPE_GRAY) && d->bit_depth == 8) {
        out.indices.resize(w * h);
    }
    if (passes == 1) {
        out.rgb.resize(w * h * 3);
        d->row.resize(stride);
        for (size_t y = 0; y < h; ++y) {
            png_read_row(png, d->row.data(), nullptr);
            ConvertRow(*d, d->row.data(), y * w, w);
        }
    } else {
        // Rows of up to four bytes a pixel, converted in place: front to back where pixels shrink to
        // three bytes, back to front where they grow.
        out.rgb.resize(std::max(stride, w * 3) * h);
        for (int pass = 0; pass < passes; ++pass) {
            for (size_t y = 0; y < h; ++y) png_read_row(png, out.rgb.data() + stride * y, nullptr);
        }
        if (!out.indices.empty()) {
            for (size_t i = 0; i < w * h; ++i) out.indices[i] = out.rgb[i * size_t(d->channels)];
        }
        const size_t channels = size_t(d->channels), count = w * h;
        uint8_t* pixels = out.rgb.data();
        const auto convert = [&](size_t i) {
            uint8_t src[4];
            std::memcpy(src, pixels + i * channels, channels);
            PutPixel(*d, src, pixels + i * 3);
        };
        if (channels >= 3) {
            for (size_t i = 0; i < count; ++i) convert(i);
        } else {
            for (size_t i = count; i-- > 0;) convert(i);
        }
        out.rgb.resize(w * h * 3);
    }
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
    // libpng's default limit of a million pixels a side is below what a buffer may hold.
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows->data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

DecodeResult DecodePng(ByteSource& file, Picture* out, int64_t max_pixels) {
    *out = Picture{};
    Decoded d;
    d.out = out;
    const Step step = Decompress(file, max_pixels, &d);
    if (step != Step::Ok) {
        *out = Picture{};
        return step == Step::TooLarge ? DecodeResult::TooLarge : DecodeResult::Malformed;
    }
    const bool palette = d.colour_type == PNG_COLOR_TYPE_PALETTE;
    const bool grey = d.colour_type == PNG_COLOR_TYPE_GRAY;
    out->bit_count = palette || grey ? uint32_t(d.bit_depth) : 24;
    return DecodeResult::Ok;
}

DecodeResult DecodePng(Bytes file, Picture* out, int64_t max_pixels) {
    MemorySource source(file);
    return DecodePng(source, out, max_pixels);
}

bool ReadPngSize(ByteSource& file, PictureSize* out) {
    Decoded d;
    if (Decompress(file, 0, &d) != Step::Ok) return false;
    *out = d.size;
    return true;
}

bool ReadPngSize(Bytes file, PictureSize* out) {
    MemorySource source(file);
    return ReadPngSize(source, out);
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
