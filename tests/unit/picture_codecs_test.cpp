// The picture codecs of the platform layer on crafted files: every BMP layout the reader takes, PNG
// colour types, JPEG, header-only sizes, and damaged or hostile files.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "picture_files.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/jpeg_codec.h"
#include "platform/gdi/metafile_sizes.h"
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
        for (uint32_t v : layout.pixels) {
            const bool six = !layout.masks.empty();
            if (layout.bits <= 8) {
                expected.push_back(kPalette[v]);
            } else if (layout.bits == 16) {
                expected.push_back(widen(v >> (six ? 11 : 10), 5) << 16 |
                                   widen((v >> 5) & (six ? 63 : 31), six ? 6 : 5) << 8 | widen(v & 31, 5));
            } else {
                expected.push_back(v & 0xFFFFFF);
            }
        }
        Picture p;
        ASSERT_EQ(DecodeBmp(MakeBmp(layout), &p), DecodeResult::Ok) << name;
        EXPECT_EQ(p.width, 6) << name;
        EXPECT_EQ(p.height, 4) << name;
        EXPECT_EQ(Colours(p), expected) << name;
        EXPECT_EQ(p.EightBit(), layout.bits == 8) << name;
        if (layout.bits == 8) {
            EXPECT_EQ(std::vector<uint32_t>(p.indices.begin(), p.indices.end()), layout.pixels) << name;
        }
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
    EXPECT_EQ(std::vector<uint8_t>(p.indices.begin(), p.indices.end()),
              (std::vector<uint8_t>{0, 0, 0, 0, /**/ 0, 0, 4, 4, /**/ 1, 1, 1, 2}));

    // RLE4: a run of 5 alternating nibbles 1 and 2, end of line, 3 stored nibbles 3, 4, 5.
    BmpLayout rle4{4, 2, 4, 40, false, 2, kPalette};
    rle4.rle = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
    ASSERT_EQ(DecodeBmp(MakeBmp(rle4), &p), DecodeResult::Ok);
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{kPalette[3], kPalette[4], kPalette[5], 0, kPalette[1], kPalette[2],
                                                 kPalette[1], kPalette[2]}));
}

TEST(BmpReader, RefusesDamagedAndHostileHeaders) {
    BmpLayout base{6, 4, 24, 40, false, 0, {}, {}, SamplePicture()};
    const std::vector<uint8_t> good = MakeBmp(base);
    Picture p;
    // Truncated pixel data, a header cut short, unknown compression and depths.
    EXPECT_EQ(DecodeBmp(std::vector<uint8_t>(good.begin(), good.end() - 1), &p), DecodeResult::Malformed);
    EXPECT_EQ(DecodeBmp(std::vector<uint8_t>(good.begin(), good.begin() + 30), &p), DecodeResult::Malformed);
    for (auto [offset, value] : {std::pair{30, 4u}, {28, 7u}, {28, 2u}, {14, 20u}}) {
        std::vector<uint8_t> bad = good;
        bad[size_t(offset)] = uint8_t(value);
        EXPECT_EQ(DecodeBmp(bad, &p), DecodeResult::Malformed) << offset;
    }
    // Header sizes past the file's end, up to those whose sum with the file header wraps 32 bits.
    const std::vector<uint8_t> paletted = MakeBmp({6, 4, 8, 40, false, 0, kPalette, {}, Indices(8)});
    for (uint32_t size : {uint32_t(paletted.size()), 0xFFFFFFF2u, 0xFFFFFFF6u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> bad = paletted;
        for (int i = 0; i < 4; ++i) bad[size_t(14 + i)] = uint8_t(size >> (8 * i));
        EXPECT_EQ(DecodeBmp(bad, &p), DecodeResult::Malformed) << size;
    }
    // Pixel data said to start beyond the file.
    std::vector<uint8_t> far = good;
    far[13] = 0x7F;
    EXPECT_EQ(DecodeBmp(far, &p), DecodeResult::Malformed);
    // Sizes that no file could back: refused before any pixel memory is taken.
    for (int32_t h : {INT32_MIN, -INT32_MAX, INT32_MAX}) {
        BmpLayout huge = base;
        huge.header_height = h;
        EXPECT_NE(DecodeBmp(MakeBmp(huge), &p), DecodeResult::Ok) << h;
    }
    BmpLayout huge = base;
    huge.width = 1 << 20;
    huge.height = 1 << 12;
    huge.pixels.assign(1, 0);
    huge.bits = 8;
    huge.compression = 1;
    huge.palette = kPalette;
    EXPECT_EQ(DecodeBmp(MakeBmp(huge), &p), DecodeResult::TooLarge);
    // A width of zero is an empty picture, not an error of the reader.
    BmpLayout empty{0, 0, 8, 40, false, 0, kPalette};
    ASSERT_EQ(DecodeBmp(MakeBmp(empty), &p), DecodeResult::Ok);
    EXPECT_TRUE(p.Empty());
}

TEST(PngReader, KeepsStoredValuesOfEightBitPicturesAndBlendsAlphaOverBlack) {
    Picture p;
    // Grey: the stored levels are the indices.
    ASSERT_EQ(DecodePng(MakePng(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 100, 255}), &p), DecodeResult::Ok);
    EXPECT_EQ(p.indices, (std::vector<uint8_t>{0, 100, 255}));
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{0, 0x646464, 0xFFFFFF}));
    // Palette: indices as stored, colours through the palette.
    ASSERT_EQ(DecodePng(MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {5, 1}, kPalette), &p), DecodeResult::Ok);
    EXPECT_EQ(p.indices, (std::vector<uint8_t>{5, 1}));
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{0x123456, 0xFF0000}));
    // A 4-bit palette picture is not an 8-bit one.
    ASSERT_EQ(DecodePng(MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x51}, kPalette), &p), DecodeResult::Ok);
    EXPECT_FALSE(p.EightBit());
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{0x123456, 0xFF0000}));
    // RGBA: half-transparent red over black.
    ASSERT_EQ(DecodePng(MakePng(1, 1, PNG_COLOR_TYPE_RGBA, 8, {255, 0, 0, 128}), &p), DecodeResult::Ok);
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{0x800000}));
    EXPECT_FALSE(p.EightBit());
    // 16-bit RGB comes down to 8 bits.
    ASSERT_EQ(DecodePng(MakePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}), &p),
              DecodeResult::Ok);
    EXPECT_EQ(Colours(p), (std::vector<uint32_t>{0x12569A}));
}

// libpng's own rendering of a file to 8-bit RGBA, drawn over black as the reader's rule says.
std::vector<uint32_t> LibpngOverBlack(const std::vector<uint8_t>& file) {
    size_t at = 0;
    std::pair<const std::vector<uint8_t>*, size_t*> reader{&file, &at};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep d, png_size_t n) {
        auto* r = static_cast<std::pair<const std::vector<uint8_t>*, size_t*>*>(png_get_io_ptr(p));
        std::memcpy(d, r->first->data() + *r->second, n);
        *r->second += n;
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
    for (size_t i = 0; i < w * h; ++i) {
        const uint8_t* p = &rgba[i * 4];
        const auto over = [&](int c) { return uint32_t(p[c] * p[3] / 255); };
        out.push_back(over(0) << 16 | over(1) << 8 | over(2));
    }
    return out;
}

TEST(PngReader, EveryColourTypeDepthInterlaceAndTransparencyAsLibpngRendersIt) {
    for (const auto& [name, c] : EveryPngCase()) {
        const std::vector<uint8_t> file = GeneratedPng(c, 13, 9);
        Picture p;
        ASSERT_EQ(DecodePng(file, &p), DecodeResult::Ok) << name;
        EXPECT_EQ(Colours(p), LibpngOverBlack(file)) << name;
        const bool stored = c.colour_type == PNG_COLOR_TYPE_GRAY || c.colour_type == PNG_COLOR_TYPE_PALETTE;
        EXPECT_EQ(p.EightBit(), c.depth == 8 && stored) << name;
    }
}

TEST(PngReader, RefusesDamagedFiles) {
    const std::vector<uint8_t> good = MakePng(8, 8, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(8 * 8 * 3, 77));
    Picture p;
    ASSERT_EQ(DecodePng(good, &p), DecodeResult::Ok);
    EXPECT_EQ(DecodePng(std::vector<uint8_t>(good.begin(), good.end() - 20), &p), DecodeResult::Malformed);
    std::vector<uint8_t> bad_crc = good;
    bad_crc[29] ^= 1;  // the header chunk's checksum
    EXPECT_EQ(DecodePng(bad_crc, &p), DecodeResult::Malformed);
    EXPECT_EQ(DecodePng(good, &p, 63), DecodeResult::TooLarge);
    EXPECT_EQ(DecodePng({}, &p), DecodeResult::Malformed);
}

TEST(JpegCodec, RoundTripsWithinASmallErrorAndRefusesDamagedFiles) {
    Picture picture;
    picture.width = 16;
    picture.height = 16;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) picture.rgb.insert(picture.rgb.end(), {uint8_t(x * 16), uint8_t(y * 16), 128});
    const std::vector<uint8_t> file = EncodeJpeg(picture, 50);
    ASSERT_GT(file.size(), 100u);
    Picture back;
    ASSERT_EQ(DecodeJpeg(file, &back), DecodeResult::Ok);
    ASSERT_EQ(back.rgb.size(), picture.rgb.size());
    int64_t error = 0;
    for (size_t i = 0; i < back.rgb.size(); ++i) error += std::abs(int(back.rgb[i]) - int(picture.rgb[i]));
    EXPECT_LT(error / int64_t(back.rgb.size()), 6);
    PictureSize size;
    ASSERT_TRUE(ReadJpegSize(file, &size));
    EXPECT_EQ(size.width, 16);
    EXPECT_EQ(DecodeJpeg(std::vector<uint8_t>(file.begin(), file.begin() + 20), &back), DecodeResult::Malformed);
    EXPECT_EQ(DecodeJpeg(file, &back, 255), DecodeResult::TooLarge);
    EXPECT_EQ(DecodeJpeg({}, &back), DecodeResult::Malformed);
}

TEST(JpegCodec, ProgressiveFilesOfMoreThanAHundredScansAreRefused) {
    const std::vector<uint8_t> grey(8 * 8 * 3, 200);
    // empty scans added to the ten of the simple progression, result
    for (const auto& [added, result] :
         {std::pair{0, DecodeResult::Ok}, {90, DecodeResult::Ok}, {91, DecodeResult::Malformed}}) {
        Picture back;
        EXPECT_EQ(DecodeJpeg(ProgressiveJpeg(8, 8, grey, added), &back), result) << added;
    }
}

TEST(PictureSizes, IconsAndMetafilesFromTheirHeaders) {
    PictureSize s;
    std::vector<uint8_t> ico = {0, 0, 1, 0, 2, 0, 48, 0};
    ico.resize(6 + 32, 0);
    ASSERT_TRUE(ReadIcoSize(ico, &s));
    EXPECT_EQ(std::pair(s.width, s.height), std::pair(48, 256));  // 0 stands for 256
    ico[2] = 3;
    EXPECT_FALSE(ReadIcoSize(ico, &s));

    // Placeable metafile: box (-10, 0) to (1430, 720) at 1440 units per inch.
    std::vector<uint8_t> wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0};
    PutLE(wmf, uint32_t(-10) & 0xFFFF, 2);
    PutLE(wmf, 0, 2);
    PutLE(wmf, 1430, 2);
    PutLE(wmf, 720, 2);
    PutLE(wmf, 1440, 2);
    wmf.resize(22, 0);
    ASSERT_TRUE(ReadWmfSize(wmf, &s));
    EXPECT_EQ(std::pair(s.width, s.height), std::pair(96, 48));
    wmf[14] = wmf[15] = 0;  // no units per inch
    EXPECT_FALSE(ReadWmfSize(wmf, &s));

    // Enhanced metafile: frame 0..5080 by 0..2540 hundredths of a millimetre.
    std::vector<uint8_t> emf;
    PutLE(emf, 1, 4);
    PutLE(emf, 88, 4);
    for (int i = 0; i < 4; ++i) PutLE(emf, 0, 4);
    for (uint32_t v : {0u, 0u, 5080u, 2540u}) PutLE(emf, v, 4);
    PutLE(emf, 0x464D4520, 4);
    emf.resize(88, 0);
    ASSERT_TRUE(ReadEmfSize(emf, &s));
    EXPECT_EQ(std::pair(s.width, s.height), std::pair(192, 96));
    emf[40] = 0;
    EXPECT_FALSE(ReadEmfSize(emf, &s));
}

}  // namespace
}  // namespace vxl::testing
