// Crafted picture files for the tests and the fuzzers' seed corpus: BMP files of every layout the
// reader takes (written here independently of the library's writer), PNG files through libpng.
#pragma once

#include <png.h>

#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE declared first.
#include <jpeglib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace vxl::testing {

// Rows are given in `pixels`, top first: an index (<= 8 bits), the stored value (16, 32) or 0xRRGGBB
// (24). The header is 12 (core), 40, 108 or 124 bytes; compression 0 plain, 1 RLE8, 2 RLE4, 3 bit
// fields, whose masks are red, green, blue. `rle` is the compressed data as it is stored.
// `header_height` is the height written into the header, when not the natural one.
struct BmpLayout {
    int32_t width = 0, height = 0;
    uint32_t bits = 24, header = 40;
    bool top_down = false;
    uint32_t compression = 0;
    std::vector<uint32_t> palette, masks, pixels;  // the palette as 0xRRGGBB
    std::vector<uint8_t> rle;
    int64_t header_height = INT64_MIN;
};

inline void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

inline std::vector<uint8_t> MakeBmp(const BmpLayout& s) {
    const bool core = s.header == 12;
    const int32_t stored_height =
        s.header_height != INT64_MIN ? int32_t(s.header_height) : (s.top_down ? -s.height : s.height);
    std::vector<uint8_t> info;
    PutLE(info, s.header, 4);
    PutLE(info, uint32_t(s.width), core ? 2 : 4);
    PutLE(info, uint32_t(stored_height), core ? 2 : 4);
    PutLE(info, 1, 2);
    PutLE(info, s.bits, 2);
    if (!core) {
        for (uint32_t v : {s.compression, uint32_t(s.rle.size()), 2835u, 2835u, uint32_t(s.palette.size()), 0u})
            PutLE(info, v, 4);
        // Masks inside a larger header, the rest of it zero; after a plain one for bit fields.
        for (size_t i = 0; i < 3 && (s.header > 40 || s.compression == 3); ++i)
            PutLE(info, i < s.masks.size() ? s.masks[i] : 0, 4);
        info.resize(std::max<size_t>(info.size(), s.header), 0);
    }
    for (uint32_t c : s.palette) PutLE(info, c, core ? 3 : 4);
    std::vector<uint8_t> data = s.rle;
    const size_t stride = (size_t(s.width) * s.bits + 31) / 32 * 4;
    for (int32_t row = 0; row < s.height && s.compression != 1 && s.compression != 2; ++row) {
        const int32_t y = s.top_down ? row : s.height - 1 - row;
        std::vector<uint8_t> line(stride, 0);
        for (int32_t x = 0; x < s.width; ++x) {
            const uint32_t v = s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
            const uint32_t per_byte = s.bits < 8 ? 8 / s.bits : 1;
            for (uint32_t i = 0; i < std::max(s.bits / 8, 1u); ++i)
                line[size_t(x) / per_byte * std::max(s.bits / 8, 1u) + i] |=
                    s.bits < 8 ? uint8_t(v << (8 - s.bits * (x % per_byte + 1))) : uint8_t(v >> (8 * i));
        }
        data.insert(data.end(), line.begin(), line.end());
    }
    std::vector<uint8_t> file{'B', 'M'};
    for (uint32_t v : {uint32_t(14 + info.size() + data.size()), 0u, uint32_t(14 + info.size())}) PutLE(file, v, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

// A PNG through libpng: rows in the colour type's byte layout, written once per interlace pass.
inline std::vector<uint8_t> WritePng(int32_t w, int32_t h, int colour_type, int depth, bool interlaced,
                                     const std::vector<png_color>& palette, const std::vector<uint8_t>& rows,
                                     const std::vector<uint8_t>* alpha = nullptr, png_color_16* key = nullptr) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            v->insert(v->end(), d, d + n);
        },
        [](png_structp) {});
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);  // tall pictures too
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), depth, colour_type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (key) png_set_tRNS(png, info, alpha ? alpha->data() : nullptr, alpha ? int(alpha->size()) : 0, key);
    png_write_info(png, info);
    const size_t stride = rows.size() / size_t(h);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (int32_t y = 0; y < h; ++y) png_write_row(png, rows.data() + stride * size_t(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A PNG of `data` (each row already in the colour type's byte layout).
inline std::vector<uint8_t> MakePng(int32_t width, int32_t height, int colour_type, int bit_depth,
                                    const std::vector<uint8_t>& data, const std::vector<uint32_t>& palette = {}) {
    std::vector<png_color> colours;
    for (uint32_t c : palette) colours.push_back({uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return WritePng(width, height, colour_type, bit_depth, false, colours, data);
}

// One generated PNG: pseudo-random samples of a colour type and depth, interlaced or not, with or
// without a transparency chunk (for grey and RGB it names the first pixel's value, so it is used).
struct PngCase {
    int colour_type, depth;
    bool interlaced, transparency;
};

inline std::vector<uint8_t> GeneratedPng(const PngCase& c, int32_t w, int32_t h) {
    uint32_t seed = uint32_t(c.colour_type * 131 + c.depth * 7 + c.interlaced * 3 + c.transparency);
    const auto next = [&] { return uint8_t((seed = seed * 1103515245u + 12345u) >> 16); };
    const int entries = 1 << std::min(c.depth, 8);
    const bool indexed = c.colour_type == PNG_COLOR_TYPE_PALETTE;
    std::vector<png_color> palette;
    std::vector<uint8_t> alpha;
    for (int i = 0; i < entries; ++i) palette.push_back({next(), next(), next()});
    for (int i = 0; i < entries / 2 + 1; ++i) alpha.push_back(i == 0 ? 0 : next());  // the rest stay opaque
    const int channels = indexed ? 1 : 1 + (c.colour_type & PNG_COLOR_MASK_COLOR ? 2 : 0) + (c.colour_type >> 2 & 1);
    std::vector<uint8_t> rows((size_t(w) * channels * size_t(c.depth) + 7) / 8 * size_t(h));
    for (uint8_t& b : rows) b = next();
    const auto sample = [&](size_t i) {
        return c.depth == 16  ? uint16_t(rows[2 * i] << 8 | rows[2 * i + 1])
               : c.depth == 8 ? uint16_t(rows[i])
                              : uint16_t(rows[0] >> (8 - c.depth));
    };
    png_color_16 key{0, sample(0), sample(1), sample(2), sample(0)};
    return WritePng(w, h, c.colour_type, c.depth, c.interlaced, indexed ? palette : std::vector<png_color>{}, rows,
                    indexed ? &alpha : nullptr, c.transparency ? &key : nullptr);
}

// Every colour type at every depth it allows, interlaced or not, with a transparency chunk where the
// type allows one and without, named.
inline std::vector<std::pair<std::string, PngCase>> EveryPngCase() {
    std::vector<std::pair<std::string, PngCase>> cases;
    for (int type : {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_PALETTE, PNG_COLOR_TYPE_RGB,
                     PNG_COLOR_TYPE_RGBA})
        for (int depth : {1, 2, 4, 8, 16})
            for (int i = 0; i < 4; ++i) {
                const bool interlaced = i & 2, transparency = i & 1;
                const bool palette = type == PNG_COLOR_TYPE_PALETTE, grey = type == PNG_COLOR_TYPE_GRAY;
                if ((depth < 8 && !palette && !grey) || (depth == 16 && palette)) continue;
                if (transparency && (type & PNG_COLOR_MASK_ALPHA)) continue;
                cases.push_back({"type" + std::to_string(type) + "_" + std::to_string(depth) + "bits" +
                                     (interlaced ? "_interlaced" : "") + (transparency ? "_trns" : ""),
                                 {type, depth, interlaced, transparency}});
            }
    return cases;
}

// A progressive JPEG of `rgb` (3 bytes a pixel) with `empty_scans` scans of no data added before its end. With
// `claimed_side`, the frame header claims that many pixels a side: the picture's own data then runs
// out early, and every scan passes over the larger picture.
inline std::vector<uint8_t> ProgressiveJpeg(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                                            int empty_scans, uint16_t claimed_side = 0) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* data = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&cinfo, &data, &length);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    for (JSAMPROW row = const_cast<uint8_t*>(rgb.data()); cinfo.next_scanline < cinfo.image_height; row += width * 3)
        jpeg_write_scanlines(&cinfo, &row, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(data, data + length - 2);  // without the end marker
    std::free(data);
    for (size_t i = 0; claimed_side != 0 && i + 8 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xC2) {  // the progressive frame header: height, then width
            for (size_t k = 0; k < 4; ++k) file[i + 5 + k] = uint8_t(k % 2 ? claimed_side : claimed_side >> 8);
            break;
        }
    }
    // DC scans of all three components that hold no data.
    const std::vector<uint8_t> scan = {0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 0, 0};
    for (int i = 0; i < empty_scans; ++i) file.insert(file.end(), scan.begin(), scan.end());
    file.insert(file.end(), {0xFF, 0xD9});
    return file;
}

inline void WriteFile(const std::filesystem::path& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A 6 x 4 picture with distinct colours, as 0xRRGGBB, top row first.
inline std::vector<uint32_t> SamplePicture() {
    std::vector<uint32_t> px;
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 6; ++x) px.push_back((x * 40 + 15) << 16 | (y * 60 + 7) << 8 | ((x + y) * 25 + 100));
    return px;
}

// An 8-entry palette and a 6 x 4 picture of indices below `modulo` into it.
inline const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                               0x808080, 0x123456, 0xFFFFFF, 0xA0B0C0};
inline std::vector<uint32_t> Indices(uint32_t modulo) {
    std::vector<uint32_t> px;
    for (uint32_t i = 0; i < 24; ++i) px.push_back((i * 5 + i / 6) % modulo);
    return px;
}

// The sample picture in every BMP layout the reader takes, named. 16-bit pictures store the colours
// cut to 5-5-5 or 5-6-5 fields; 32-bit ones have their unused byte set.
inline std::vector<std::pair<std::string, BmpLayout>> EveryBmpLayout() {
    std::vector<uint32_t> x555, x565, xrgb;
    for (uint32_t c : SamplePicture()) {
        const uint32_t r = c >> 19, g = (c >> 8) & 255, b = (c & 255) >> 3;
        x555.push_back(r << 10 | (g >> 3) << 5 | b);
        x565.push_back(r << 11 | (g >> 2) << 5 | b);
        xrgb.push_back(0xAB000000 | c);
    }
    const std::vector<uint32_t> two(kPalette.begin(), kPalette.begin() + 2), fields = {0xF800, 0x7E0, 0x1F};
    const std::vector<uint32_t> rgb = SamplePicture();
    return {
        {"1 bit", {6, 4, 1, 40, false, 0, two, {}, Indices(2)}},
        {"4 bits", {6, 4, 4, 40, false, 0, kPalette, {}, Indices(8)}},
        {"8 bits", {6, 4, 8, 40, false, 0, kPalette, {}, Indices(8)}},
        {"8 bits, core header", {6, 4, 8, 12, false, 0, kPalette, {}, Indices(8)}},
        {"8 bits, top-down", {6, 4, 8, 40, true, 0, kPalette, {}, Indices(8)}},
        {"16 bits 5-5-5", {6, 4, 16, 40, false, 0, {}, {}, x555}},
        {"16 bits 5-6-5 fields", {6, 4, 16, 40, false, 3, {}, fields, x565}},
        {"16 bits 5-6-5 fields, v5 header", {6, 4, 16, 124, false, 3, {}, fields, x565}},
        {"24 bits", {6, 4, 24, 40, false, 0, {}, {}, rgb}},
        {"24 bits, core header", {6, 4, 24, 12, false, 0, {}, {}, rgb}},
        {"24 bits, v4 header, top-down", {6, 4, 24, 108, true, 0, {}, {}, rgb}},
        {"32 bits", {6, 4, 32, 40, false, 0, {}, {}, xrgb}},
        {"32 bits fields", {6, 4, 32, 40, false, 3, {}, {0xFF0000, 0xFF00, 0xFF}, xrgb}},
    };
}

}  // namespace vxl::testing
