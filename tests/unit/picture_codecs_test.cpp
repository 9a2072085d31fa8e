// The picture codecs of the platform layer on crafted files: every BMP layout the reader takes, PNG
// colour types against libpng, JPEG, and damaged or hostile files.
#include <gtest/gtest.h>

#include <cstring>

#include "picture_files.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/jpeg_codec.h"
#include "platform/gdi/png_codec.h"

namespace vxl::testing {
namespace {

using namespace platform;

std::vector<uint32_t> Colours(const Picture& p) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        out.push_back(uint32_t(p.rgb[i]) << 16 | p.rgb[i + 1] << 8 | p.rgb[i + 2]);
    return out;
}

TEST(BmpReader, ReadsEveryLayoutItTakes) {
    // What the reader gives: palette colours, 16-bit fields widened to 8 bits, the unused byte dropped.
    auto widen = [](uint32_t v, uint32_t bits) { return v * 255 / ((1u << bits) - 1); };
    for (const auto& [name, layout] : EveryBmpLayout()) {
        std::vector<uint32_t> expected;
        const bool six = !layout.masks.empty();
        for (uint32_t v : layout.pixels) {
            expected.push_back(layout.bits <= 8    ? kPalette[v]
                               : layout.bits != 16 ? v & 0xFFFFFF
                                                   : widen(v >> (six ? 11 : 10), 5) << 16 |
                                                         widen((v >> 5) & (six ? 63 : 31), six ? 6 : 5) << 8 |
                                                         widen(v & 31, 5));
        }
        Picture p;
        ASSERT_EQ(DecodeBmp(MakeBmp(layout), &p), DecodeResult::Ok) << name;
        EXPECT_EQ(std::pair(p.width, p.height), std::pair(6, 4)) << name;
        EXPECT_EQ(Colours(p), expected) << name;
        EXPECT_EQ(p.EightBit(), layout.bits == 8) << name;
        const std::vector<uint32_t> indices(p.indices.begin(), p.indices.end());
        EXPECT_EQ(indices, layout.bits == 8 ? layout.pixels : std::vector<uint32_t>()) << name;
    }
}

TEST(BmpReader, WideMasksWidenWithoutOverflow) {
    // mask, stored pixel, red as read: floor(field * 255 / field maximum)
    const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> cases = {
        {0xFFFFFFFF, 0xFFFFFFFF, 255}, {0xFFFFFFFF, 0x7FFFFFFF, 127}, {0xFFFFFFFF, 0x01010102, 1},
        {0x01FFFFFF, 0x01FFFFFF, 255}, {0x01FFFFFF, 0x00FFFFFF, 127}, {0xFFFFFF00, 0xFFFFFF00, 255},
        {0xFF000000, 0x80000000, 128}, {0x00FF0000, 0x00400000, 64},
    };
    for (const auto& [mask, pixel, red] : cases) {
        Picture p;
        ASSERT_EQ(DecodeBmp(MakeBmp({1, 1, 32, 40, false, 3, {}, {mask, 0, 0}, {pixel}}), &p), DecodeResult::Ok);
        EXPECT_EQ(Colours(p), std::vector<uint32_t>{red << 16}) << std::hex << mask << " " << pixel;
    }
}

TEST(BmpReader, RunLengthCodesWithDeltasAndCutRuns) {
    // 4 x 3, bottom-up. Bottom row: a run of 3 of index 1, a run of 1 of index 2, end of line. Next
    // row: a move 2 to the right, a run of 9 that leaves the picture, end of picture. The top row is
    // never written.
    BmpLayout rle8{4, 3, 8, 40, false, 1, kPalette};
    rle8.rle = {3, 1, 1, 2, 0, 0, 0, 2, 2, 0, 9, 4, 0, 1};
    Picture p;
    ASSERT_EQ(DecodeBmp(MakeBmp(rle8), &p), DecodeResult::Ok);
    EXPECT_EQ(p.indices, (std::vector<uint8_t>{0, 0, 0, 0, /**/ 0, 0, 4, 4, /**/ 1, 1, 1, 2}));
    // RLE4: a run of 5 alternating nibbles 1 and 2, end of line, 3 stored nibbles 3, 4, 5.
    BmpLayout rle4{4, 2, 4, 40, false, 2, kPalette};
    rle4.rle = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
    ASSERT_EQ(DecodeBmp(MakeBmp(rle4), &p), DecodeResult::Ok);
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{kPalette[3], kPalette[4], kPalette[5], 0, kPalette[1], kPalette[2],
                                                 kPalette[1], kPalette[2]}));
}

// libpng's own rendering of a file to 8-bit RGBA, drawn over black as the reader's rule says.
std::vector<uint32_t> LibpngOverBlack(const std::vector<uint8_t>& file) {
    std::pair<const uint8_t*, size_t> at{file.data(), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &at, [](png_structp p, png_bytep d, png_size_t n) {
        auto* r = static_cast<std::pair<const uint8_t*, size_t>*>(png_get_io_ptr(p));
        std::memcpy(d, r->first + r->second, n);
        r->second += n;
    });
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    std::vector<uint8_t> rgba(w * h * 4);
    std::vector<png_bytep> rows;
    for (size_t y = 0; y < h; ++y) rows.push_back(rgba.data() + y * w * 4);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    std::vector<uint32_t> out;
    for (const uint8_t* p = rgba.data(); p < rgba.data() + rgba.size(); p += 4)
        out.push_back(uint32_t(p[0] * p[3] / 255) << 16 | uint32_t(p[1] * p[3] / 255) << 8 | (p[2] * p[3] / 255));
    return out;
}

// Colours as libpng renders them over black; 8-bit grey and palette pictures keep their stored values.
TEST(PngReader, EveryColourTypeDepthInterlaceAndTransparencyAsLibpngRendersIt) {
    for (const auto& [name, c] : EveryPngCase()) {
        const std::vector<uint8_t> file = GeneratedPng(c, 13, 9);
        Picture p;
        ASSERT_EQ(DecodePng(file, &p), DecodeResult::Ok) << name;
        EXPECT_EQ(Colours(p), LibpngOverBlack(file)) << name;
        const bool stored = c.colour_type == PNG_COLOR_TYPE_GRAY || c.colour_type == PNG_COLOR_TYPE_PALETTE;
        EXPECT_EQ(p.EightBit(), c.depth == 8 && stored) << name;
    }
    Picture p;  // (grey levels as indices: the alpha plane tests)
    ASSERT_EQ(DecodePng(MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {5, 1}, kPalette), &p), DecodeResult::Ok);
    EXPECT_EQ(p.indices, (std::vector<uint8_t>{5, 1}));
}

TEST(JpegCodec, RoundTripsWithinASmallError) {
    Picture picture{16, 16};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) picture.rgb.insert(picture.rgb.end(), {uint8_t(x * 16), uint8_t(y * 16), 128});
    const std::vector<uint8_t> file = EncodeJpeg(picture, 50);
    Picture back;
    ASSERT_EQ(DecodeJpeg(file, &back), DecodeResult::Ok);
    ASSERT_EQ(back.rgb.size(), picture.rgb.size());
    int64_t error = 0;
    for (size_t i = 0; i < back.rgb.size(); ++i) error += std::abs(int(back.rgb[i]) - int(picture.rgb[i]));
    EXPECT_LT(error / int64_t(back.rgb.size()), 6);
}

std::vector<uint8_t> Patched(std::vector<uint8_t> file, size_t at, uint32_t value, int bytes = 1) {
    for (int i = 0; i < bytes; ++i) file[at + size_t(i)] = uint8_t(value >> (8 * i));
    return file;
}

std::vector<uint8_t> Cut(const std::vector<uint8_t>& file, size_t size) { return {file.begin(), file.begin() + size}; }

TEST(PictureReaders, RefuseDamagedAndHostileFiles) {
    const std::vector<uint8_t> bmp = MakeBmp({6, 4, 24, 40, false, 0, {}, {}, SamplePicture()});
    const std::vector<uint8_t> paletted = MakeBmp({6, 4, 8, 40, false, 0, kPalette, {}, Indices(8)});
    const std::vector<uint8_t> png = MakePng(8, 8, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(8 * 8 * 3, 77));
    const std::vector<uint8_t> grey(8 * 8 * 3, 200), jpeg = ProgressiveJpeg(8, 8, grey, 0);
    const auto tall = [](int32_t stored_height) {
        BmpLayout l{6, 4, 24, 40, false, 0, {}, {}, SamplePicture()};
        l.header_height = stored_height;
        return MakeBmp(l);
    };
    BmpLayout huge{1 << 20, 1 << 12, 8, 40, false, 1, kPalette, {}, {0}};  // no file could back its pixels
    constexpr auto kOk = DecodeResult::Ok, kBad = DecodeResult::Malformed, kLarge = DecodeResult::TooLarge;
    // the codec, what the file is, the file, a limit in pixels (0: the default one), the result
    const std::vector<std::tuple<char, const char*, std::vector<uint8_t>, int64_t, DecodeResult>> cases = {
        {'b', "good", bmp, 0, kOk},                                    {'b', "over the limit", bmp, 23, kLarge},
        {'b', "pixels cut", Cut(bmp, bmp.size() - 1), 0, kBad},        {'b', "header cut", Cut(bmp, 30), 0, kBad},
        {'b', "compression 4", Patched(bmp, 30, 4), 0, kBad},          {'b', "7 bits", Patched(bmp, 28, 7), 0, kBad},
        {'b', "2 bits", Patched(bmp, 28, 2), 0, kBad},                {'b', "header 20", Patched(bmp, 14, 20), 0, kBad},
        {'b', "pixels beyond the file", Patched(bmp, 13, 0x7F), 0, kBad},
        // Header sizes past the file's end, up to those whose sum with the file header wraps 32 bits.
        {'b', "header to the end", Patched(paletted, 14, uint32_t(paletted.size()), 4), 0, kBad},
        {'b', "header wrapping", Patched(paletted, 14, 0xFFFFFFF2u, 4), 0, kBad},
        {'b', "header wrapping more", Patched(paletted, 14, 0xFFFFFFF6u, 4), 0, kBad},
        {'b', "largest header", Patched(paletted, 14, 0xFFFFFFFFu, 4), 0, kBad},
        // Sizes that no file could back: refused before any pixel memory is taken.
        {'b', "height min", tall(INT32_MIN), 0, kBad},                 {'b', "height -max", tall(-INT32_MAX), 0, kLarge},
        {'b', "height max", tall(INT32_MAX), 0, kLarge},               {'b', "huge", MakeBmp(huge), 0, kLarge},
        {'p', "good", png, 0, kOk},                                    {'p', "over the limit", png, 63, kLarge},
        {'p', "cut", Cut(png, png.size() - 20), 0, kBad},              {'p', "empty", {}, 0, kBad},
        {'p', "header checksum", Patched(png, 29, png[29] ^ 1), 0, kBad},
        {'j', "good", jpeg, 0, kOk},                                   {'j', "over the limit", jpeg, 63, kLarge},
        {'j', "cut", Cut(jpeg, 20), 0, kBad},                          {'j', "empty", {}, 0, kBad},
        {'j', "100 scans", ProgressiveJpeg(8, 8, grey, 90), 0, kOk},  // ten of the simple progression and 90
        {'j', "101 scans", ProgressiveJpeg(8, 8, grey, 91), 0, kBad},
    };
    for (const auto& [codec, what, file, limit, result] : cases) {
        Picture p;
        const int64_t max = limit ? limit : kMaxPicturePixels;
        EXPECT_EQ(codec == 'b' ? DecodeBmp(file, &p, max) : codec == 'p' ? DecodePng(file, &p, max)
                                                                         : DecodeJpeg(file, &p, max),
                  result)
            << codec << ": " << what;
    }
    // A width of zero is an empty picture, not an error of the reader.
    Picture p;
    ASSERT_EQ(DecodeBmp(MakeBmp({0, 0, 8, 40, false, 0, kPalette}), &p), kOk);
    EXPECT_TRUE(p.Empty());
}

}  // namespace
}  // namespace vxl::testing
