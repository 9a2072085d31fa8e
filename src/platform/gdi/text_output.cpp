#include "platform/gdi/text_output.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/file_stream.h"
#include "platform/gdi/text_decoding.h"

namespace vxl::platform {
namespace {

// Pixel size whose line height (ascent + descent + gap) is 16 pixels for DejaVu Sans.
constexpr int32_t kDefaultPixels = 14;
// Beyond this a glyph's bitmap alone would be megabytes.
constexpr int32_t kMaxPixels = 1024;
// Rendered glyphs kept per font, by their bitmaps' bytes: large sizes hold megabytes a glyph. A host
// that draws more than fits has the glyphs rendered again.
constexpr size_t kMaxCachedInk = size_t(16) << 20;
constexpr const char* kDefaultFamily = "sans";

struct Glyph {
    int32_t left = 0;     // from the pen to the bitmap's first column
    int32_t top = 0;      // from the baseline up to the bitmap's first row
    int32_t advance = 0;  // pen movement
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> ink;  // width * rows, 1 where the glyph covers the pixel
};

struct FontFile {
    std::string path;
    int index = 0;  // the face within a collection
};

// Family names that fontconfig resolves to a configured face rather than to fonts of that name.
bool IsGenericFamily(const std::string& family) {
    for (const char* generic :
         {"sans", "sans-serif", "serif", "monospace", "mono", "cursive", "fantasy", "system-ui", "emoji", "math"}) {
        if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(generic),
                               reinterpret_cast<const FcChar8*>(family.c_str())) == 0) {
            return true;
        }
    }
    return false;
}

bool FamilyInstalled(FcConfig* config, const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    const bool found = fonts != nullptr && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

// The file fontconfig chooses for a family or pattern; none when the family is not installed (its
// best match would be some other family, which is no answer to the question asked).
bool FindFamily(const std::string& name, FontFile* file) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) return false;
    bool found = false;
    if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str()))) {
        FcChar8* family = nullptr;
        const bool named = FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr;
        const std::string wanted = named ? reinterpret_cast<const char*>(family) : "";
        if (named && (IsGenericFamily(wanted) || FamilyInstalled(config, wanted))) {
            FcConfigSubstitute(config, pattern, FcMatchPattern);
            FcDefaultSubstitute(pattern);
            FcResult result;
            if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
                FcChar8* path = nullptr;
                if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
                    file->path = reinterpret_cast<const char*>(path);
                    FcPatternGetInteger(match, FC_INDEX, 0, &file->index);
                    found = true;
                }
                FcPatternDestroy(match);
            }
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return found;
}

// One face at one size, its glyphs rendered on first use.
class Font {
public:
    Font(const FontFile& file, int32_t pixels) {
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
            return;
        }
        if (FT_New_Face(library_, file.path.c_str(), file.index, &face_) != 0) {
            face_ = nullptr;
            return;
        }
        if (FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixels)) != 0) return;
        ascent_ = int32_t(face_->size->metrics.ascender >> 6);
        line_height_ = int32_t(face_->size->metrics.height >> 6);
        loaded_ = true;
    }
    ~Font() {
        if (face_ != nullptr) FT_Done_Face(face_);
        if (library_ != nullptr) FT_Done_FreeType(library_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool loaded() const { return loaded_; }
    int32_t ascent() const { return ascent_; }
    int32_t line_height() const { return line_height_; }

    const Glyph& glyph(char32_t c) {
        if (auto found = glyphs_.find(c); found != glyphs_.end()) return found->second;
        if (cached_ink_ >= kMaxCachedInk) {
            glyphs_.clear();
            cached_ink_ = 0;
        }
        Glyph& g = glyphs_[c];
        Render(c, &g);
        cached_ink_ += g.ink.size() + sizeof(Glyph);
        return g;
    }

private:
    void Render(char32_t c, Glyph* g) {
        if (FT_Load_Char(face_, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
            return;
        }
        const FT_GlyphSlot slot = face_->glyph;
        g->left = slot->bitmap_left;
        g->top = slot->bitmap_top;
        g->advance = int32_t(slot->advance.x >> 6);
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode != FT_PIXEL_MODE_MONO) return;
        g->width = int32_t(bm.width);
        g->rows = int32_t(bm.rows);
        g->ink.assign(size_t(g->width) * size_t(g->rows), 0);
        for (int32_t y = 0; y < g->rows; ++y) {
            const uint8_t* row = bm.buffer + int64_t(y) * bm.pitch;
            for (int32_t x = 0; x < g->width; ++x) {
                g->ink[size_t(y) * size_t(g->width) + size_t(x)] = (row[x / 8] >> (7 - x % 8)) & 1;
            }
        }
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    bool loaded_ = false;
    int32_t ascent_ = 0;
    int32_t line_height_ = 0;
    std::unordered_map<char32_t, Glyph> glyphs_;
    size_t cached_ink_ = 0;
};

std::unique_ptr<Font>& FontInUse() {
    static auto& font = *new std::unique_ptr<Font>();  // outlives every caller, even at exit
    return font;
}

// The font of the text, the default one until another is selected.
Font& CurrentFont() {
    std::unique_ptr<Font>& font = FontInUse();
    if (!font) {
        FontFile file;
        FindFamily(kDefaultFamily, &file);
        font = std::make_unique<Font>(file, kDefaultPixels);
    }
    return *font;
}

template <uint32_t kBytes>
void Plot(uint8_t* p, uint32_t v) {
    for (uint32_t i = 0; i < kBytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

template <uint32_t kBytes>
void DrawGlyphs(const DeviceContext& dc, int64_t x, int64_t y, const std::u32string& text, uint32_t pixel) {
    Font& font = CurrentFont();
    const int64_t baseline = y + font.ascent();
    const int64_t width = dc.memory.width, height = dc.memory.height;
    for (const char32_t c : text) {
        const Glyph& g = font.glyph(c);
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
    if (!CurrentFont().loaded() || dc.memory.pixels == nullptr) return;
    const uint32_t pixel = PixelOfColourRef(dc.format, colour);
    const std::u32string characters = DecodeText(text);
    switch (dc.memory.bytes_per_pixel) {
        case 2:
            DrawGlyphs<2>(dc, x, y, characters, pixel);
            break;
        case 3:
            DrawGlyphs<3>(dc, x, y, characters, pixel);
            break;
        case 4:
            DrawGlyphs<4>(dc, x, y, characters, pixel);
            break;
    }
}

void TextExtent(std::string_view text, int32_t* width, int32_t* height) {
    Font& font = CurrentFont();
    int64_t travel = 0;
    if (font.loaded()) {
        for (const char32_t c : DecodeText(text)) travel += font.glyph(c).advance;
    }
    *width = int32_t(std::min<int64_t>(travel, INT32_MAX));
    *height = font.loaded() ? font.line_height() : 0;
}

std::string SelectFont(const std::string& name, int32_t pixels) {
    if (pixels < 0 || pixels > kMaxPixels) {
        return "Font size " + std::to_string(pixels) + " not supported...";
    }
    FontFile file;
    if (FileExists(name)) {
        file.path = name;
    } else if (!FindFamily(name.empty() ? kDefaultFamily : name, &file)) {
        return "Font " + name + " not found...";
    }
    auto font = std::make_unique<Font>(file, pixels == 0 ? kDefaultPixels : pixels);
    if (!font->loaded()) {
        return "Error loading font " + name + "...";
    }
    FontInUse() = std::move(font);
    return "";
}

void ResetFont() {
    FontInUse().reset();
}

}  // namespace vxl::platform
