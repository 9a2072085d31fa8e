#include "platform/gdi/text_output.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vxl::platform {
namespace {

// Pixel size whose line height (ascent + descent + gap) is 16 pixels for DejaVu Sans.
constexpr FT_UInt kPixelSize = 14;

struct Glyph {
    int32_t left = 0;     // from the pen to the bitmap's first column
    int32_t top = 0;      // from the baseline up to the bitmap's first row
    int32_t advance = 0;  // pen movement
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> ink;  // width * rows, 1 where the glyph covers the pixel
};

std::string DefaultFontFile() {
    std::string file;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) return file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans"));
    if (pattern != nullptr) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* path = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
                file = reinterpret_cast<const char*>(path);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return file;
}

// The default font, its 256 glyphs rendered once on first use.
class DefaultFont {
public:
    static const DefaultFont& Get() {
        static const DefaultFont font;
        return font;
    }
    bool loaded() const { return loaded_; }
    int32_t ascent() const { return ascent_; }
    int32_t line_height() const { return line_height_; }
    const Glyph& glyph(uint8_t c) const { return glyphs_[c]; }

private:
    DefaultFont() {
        const std::string file = DefaultFontFile();
        FT_Library library = nullptr;
        if (file.empty() || FT_Init_FreeType(&library) != 0) return;
        FT_Face face = nullptr;
        if (FT_New_Face(library, file.c_str(), 0, &face) == 0 && FT_Set_Pixel_Sizes(face, 0, kPixelSize) == 0) {
            ascent_ = int32_t(face->size->metrics.ascender >> 6);
            line_height_ = int32_t(face->size->metrics.height >> 6);
            for (int c = 0; c < 256; ++c) Render(face, c);
            loaded_ = true;
        }
        if (face != nullptr) FT_Done_Face(face);
        FT_Done_FreeType(library);
    }

    void Render(FT_Face face, int c) {
        // Latin-1 bytes are their own code points.
        if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
            return;
        }
        const FT_GlyphSlot slot = face->glyph;
        Glyph& g = glyphs_[size_t(c)];
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.advance = int32_t(slot->advance.x >> 6);
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode != FT_PIXEL_MODE_MONO) return;
        g.width = int32_t(bm.width);
        g.rows = int32_t(bm.rows);
        g.ink.assign(size_t(g.width) * size_t(g.rows), 0);
        for (int32_t y = 0; y < g.rows; ++y) {
            const uint8_t* row = bm.buffer + int64_t(y) * bm.pitch;
            for (int32_t x = 0; x < g.width; ++x) {
                g.ink[size_t(y) * size_t(g.width) + size_t(x)] = (row[x / 8] >> (7 - x % 8)) & 1;
            }
        }
    }

    bool loaded_ = false;
    int32_t ascent_ = 0;
    int32_t line_height_ = 0;
    std::array<Glyph, 256> glyphs_;
};

template <uint32_t kBytes>
void Plot(uint8_t* p, uint32_t v) {
    for (uint32_t i = 0; i < kBytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

template <uint32_t kBytes>
void DrawGlyphs(const DeviceContext& dc, int64_t x, int64_t y, std::string_view text, uint32_t pixel) {
    const DefaultFont& font = DefaultFont::Get();
    const int64_t baseline = y + font.ascent();
    const int64_t width = dc.memory.width, height = dc.memory.height;
    for (const char ch : text) {
        const Glyph& g = font.glyph(uint8_t(ch));
        const int64_t gx = x + g.left, gy = baseline - g.top;
        for (int32_t row = 0; row < g.rows; ++row) {
            const int64_t py = gy + row;
            if (py < 0 || py >= height) continue;
            uint8_t* line = dc.memory.pixels + py * dc.memory.pitch;
            const uint8_t* ink = &g.ink[size_t(row) * size_t(g.width)];
            for (int32_t col = 0; col < g.width; ++col) {
                const int64_t px = gx + col;
                if (ink[col] && px >= 0 && px < width) Plot<kBytes>(line + px * kBytes, pixel);
            }
        }
        x += g.advance;
        if (x > width) break;  // the rest of the line lies beyond the right edge
    }
}

}  // namespace

void TextOut(const DeviceContext& dc, int32_t x, int32_t y, std::string_view text, ColourRef colour) {
    if (!DefaultFont::Get().loaded() || dc.memory.pixels == nullptr) return;
    const uint32_t pixel = PixelOfColourRef(dc.format, colour);
    switch (dc.memory.bytes_per_pixel) {
        case 2:
            DrawGlyphs<2>(dc, x, y, text, pixel);
            break;
        case 3:
            DrawGlyphs<3>(dc, x, y, text, pixel);
            break;
        case 4:
            DrawGlyphs<4>(dc, x, y, text, pixel);
            break;
    }
}

int32_t DefaultFontLineHeight() {
    return DefaultFont::Get().line_height();
}

}  // namespace vxl::platform
