// Text output: exactly the colour inside the glyphs, nothing else changed, clipping at every edge.
#include <array>
#include <fstream>

#include "picture.h"

namespace vxl::testing {
namespace {

using platform::PlatformCall;

using TextTest = FakeTest;
using TextDepthTest = DepthTest;

TEST_P(TextDepthTest, GlyphsHaveExactlyTheColourAndTheBackgroundStays) {
    const int32_t b = SetupBuffer(120, 40, 0);
    const uint32_t back = RGB(10, 20, 30), red = RGB(255, 0, 0);
    Fill(b, back);
    PutStr(b, 5, 3, "Hello, Wg!", red);
    int32_t inked = 0, top = 99, bottom = -1, left = 999, right = -1;
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            const uint32_t p = GetPixel(b, x, y);
            ASSERT_TRUE(p == back || p == red) << x << "," << y;
            if (p != red) continue;
            ++inked;
            top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
        }
    }
    EXPECT_GT(inked, 60);
    // The cell's top-left corner is (5, 3) and a line is about 16 pixels: capitals start a little
    // below the top, descenders end inside the line.
    EXPECT_GE(top, 3);
    EXPECT_LE(top, 3 + 5);
    EXPECT_LE(bottom, 3 + 16);
    EXPECT_GE(bottom, 3 + 11);
    EXPECT_GE(left, 5);
    EXPECT_LE(left, 7);
    EXPECT_GT(right, 5 + 50);
}

TEST_P(TextDepthTest, TextIsCutAtEveryEdgeLikeTheSameTextMoved) {
    const int32_t b = SetupBuffer(64, 24, 0);
    const uint32_t ink = RGB(255, 255, 255);
    PutStr(b, 4, 4, "AMW", ink);  // on black, so every pixel that is not black is ink
    const Rows whole = Picture(b);
    // Moved 10 left and 8 up: the same pixels, shifted, and cut at the top and left.
    Fill(b, 0);
    PutStr(b, -6, -4, "AMW", ink);
    const Rows cut = Picture(b);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const bool expected = y + 8 < 24 && x + 10 < 64 && whole[size_t(y + 8)][size_t(x + 10)] == '#';
            ASSERT_EQ(cut[size_t(y)][size_t(x)] == '#', expected) << x << "," << y;
        }
    // Off the buffer altogether, or no text: nothing changes.
    Fill(b, 0);
    for (auto [x, y] : {std::pair{64, 0}, {0, 24}, {-200, 0}, {0, -40}}) PutStr(b, x, y, "AMW", ink);
    PutStr(b, 0, 0, "", ink);
    PutStr(b, 0, 0, nullptr, ink);
    EXPECT_EQ(PixelsOf(b), std::vector<uint32_t>(64 * 24, 0));
    // Cut at the right and bottom edges.
    PutStr(b, 50, 14, "AMW", ink);
    EXPECT_NE(PixelsOf(b), std::vector<uint32_t>(64 * 24, 0));
}

// Text is UTF-8; a byte that begins no valid sequence is its Windows-1252 character. Each text must
// draw exactly as its UTF-8 twin, and draw something.
TEST_P(TextDepthTest, EightBitAndInvalidBytesDrawAsTheirWindows1252Characters) {
    const struct {
        const char* text;
        const char* twin;
    } cases[] = {
        {"Gr\366\337e", "Größe"},                     // Latin-1 bytes (in octal), as hosts wrote before
        {"\x80 \223a\x94 \x8A\x9F", "€ “a” ŠŸ"},      // Windows-1252's own letters
        {"\xC3(x", "Ã(x"},                            // a lead byte without its continuation
        {"x\xE2\x82", "xâ‚"},                         // a sequence cut short by the end
        {"\xC0\xAF", "À¯"},                           // an overlong form
        {"\xED\xA0\x80", "í\u00A0€"},                 // a surrogate
        {"\xF4\x90\x80\x80", "ô\u0090€€"},            // past U+10FFFF
        {"a\xF0\x9F\x98\x80z\xFF", "a\U0001F600zÿ"},  // four bytes, then a stray byte
    };
    const int32_t b = SetupBuffer(160, 24, 0), twin = SetupBuffer(160, 24, 0);
    const uint32_t ink = RGB(255, 255, 255);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.twin);
        Fill(b, 0), Fill(twin, 0);
        PutStr(b, 2, 2, c.text, ink);
        PutStr(twin, 2, 2, c.twin, ink);
        EXPECT_EQ(PixelsOf(b), PixelsOf(twin));
        EXPECT_NE(PixelsOf(b), std::vector<uint32_t>(160 * 24, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, TextDepthTest, AllDepths(), DepthName);

// The ink's bounding box of `text` drawn at (x, y) on black: left, top, right, bottom (inclusive).
std::array<int32_t, 4> InkBox(int32_t b, int32_t x, int32_t y, const char* text) {
    Fill(b, 0);
    PutStr(b, x, y, text, RGB(255, 255, 255));
    std::array<int32_t, 4> box{INT32_MAX, INT32_MAX, -1, -1};
    for (int32_t py = 0; py < BufferSizeY(b); ++py)
        for (int32_t px = 0; px < BufferSizeX(b); ++px)
            if (GetPixel(b, px, py) != 0) {
                box = {std::min(box[0], px), std::min(box[1], py), std::max(box[2], px), std::max(box[3], py)};
            }
    return box;
}

// VxlTextSize is the cell PutStr fills: the ink lies inside it and reaches its right end but for the
// last glyph's bearing, and a text drawn at the cell's right end continues the line exactly.
TEST_F(TextTest, TextSizeIsTheCellThatPutStrFills) {
    OpenWindowed();
    const int32_t b = SetupBuffer(300, 40, 0), parts = SetupBuffer(300, 40, 0);
    const struct {
        const char* head;
        const char* tail;
    } cases[] = {{"Grö", "ße"}, {"Hello, ", "World"}, {"\x80uro ", "1252"}, {"AVA", "WA"}};
    for (const auto& c : cases) {
        const std::string text = std::string(c.head) + c.tail;
        SCOPED_TRACE(text);
        int32_t w = 0, h = 0, head_w = 0;
        VxlTextSize(text.c_str(), &w, &h);
        VxlTextSize(c.head, &head_w, nullptr);
        EXPECT_EQ(h, 16);
        const auto [left, top, right, bottom] = InkBox(b, 10, 5, text.c_str());
        EXPECT_GE(left, 10);
        EXPECT_GE(top, 5);
        EXPECT_LT(right, 10 + w);
        EXPECT_GE(right, 10 + w - 3);
        EXPECT_LT(bottom, 5 + h);

        Fill(parts, 0);
        PutStr(parts, 10, 5, c.head, RGB(255, 255, 255));
        PutStr(parts, 10 + head_w, 5, c.tail, RGB(255, 255, 255));
        EXPECT_EQ(PixelsOf(parts), PixelsOf(b));
    }
    int32_t w = 7, h = 7;
    VxlTextSize(nullptr, &w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(0, 0));
    VxlTextSize("", &w, &h);
    EXPECT_EQ(w, 0);
    VxlTextSize("x", nullptr, nullptr);
}

// Fonts by family, by file and by size; fonts that are not there are failures that keep the font.
TEST_F(TextTest, SetFontTakesFamiliesFilesAndSizesAndRefusesWhatIsMissing) {
    OpenWindowed();
    const int32_t b = SetupBuffer(300, 48, 0);
    const auto drawn = [&] {
        Fill(b, 0);
        PutStr(b, 2, 2, "Größe iii WWW", RGB(255, 255, 255));
        return PixelsOf(b);
    };
    const auto width = [](const char* text) {
        int32_t w = 0;
        VxlTextSize(text, &w, nullptr);
        return w;
    };
    const auto line = [] {
        int32_t h = 0;
        VxlTextSize("x", nullptr, &h);
        return h;
    };
    const std::vector<uint32_t> sans = drawn();
    const std::string mono_file = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    std::ofstream("words.ttf") << "no font at all";
    const struct {
        const char* font;
        int32_t pixels;
        std::string failure;  // "" when the font is chosen
        bool monospaced;
        int32_t line_low, line_high;
    } cases[] = {
        {"DejaVu Serif", 0, "", false, 15, 18},
        {mono_file.c_str(), 0, "", true, 15, 18},
        {"monospace", 28, "", true, 30, 36},
        {"No Such Font", 0, "[TVexel]SetFont -> Font No Such Font not found...", true, 30, 36},
        {"/no/such/font.ttf", 0, "[TVexel]SetFont -> Font /no/such/font.ttf not found...", true, 30, 36},
        {"words.ttf", 0, "[TVexel]SetFont -> Error loading font words.ttf...", true, 30, 36},
        {nullptr, 1025, "[TVexel]SetFont -> Font size 1025 not supported...", true, 30, 36},
        {nullptr, -1, "[TVexel]SetFont -> Font size -1 not supported...", true, 30, 36},
        {nullptr, 0, "", false, 16, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font ? c.font : "NULL");
        const std::vector<uint32_t> before = drawn();
        if (c.failure.empty()) {
            EXPECT_EQ(FatalMessage([&] { VxlSetFont(c.font, c.pixels); }), "");
            EXPECT_NE(drawn(), before);
        } else {
            ExpectFatal(c.failure, [&] { VxlSetFont(c.font, c.pixels); });
            EXPECT_EQ(drawn(), before);
        }
        EXPECT_EQ(width("iii") == width("WWW"), c.monospaced);
        EXPECT_GE(line(), c.line_low);
        EXPECT_LE(line(), c.line_high);
    }
    EXPECT_EQ(drawn(), sans);
}

TEST_F(TextTest, DrawingContextFailuresDestroyTheBuffer) {
    OpenWindowed();
    const int32_t b = SetupBuffer(32, 16, 0);
    fake_->Fail(PlatformCall::GetDC, platform::DDERR_SURFACELOST);
    ExpectFatal(Failed(kTagBuffer, "GetDC", platform::DDERR_SURFACELOST), [&] { PutStr(b, 0, 0, "x", 1); });
    EXPECT_EQ(BufferSizeX(b), 0);
    const int32_t c = SetupBuffer(32, 16, 0);
    fake_->Fail(PlatformCall::ReleaseDC, platform::DDERR_GENERIC);
    ExpectFatal(Failed(kTagBuffer, "ReleaseDC", platform::DDERR_GENERIC), [&] { PutStr(c, 0, 0, "x", 1); });
    EXPECT_EQ(BufferSizeX(c), 0);
    // Other buffers go on drawing text.
    const int32_t d = SetupBuffer(32, 16, 0);
    PutStr(d, 0, 0, "x", RGB(255, 255, 255));
    EXPECT_NE(PixelsOf(d), std::vector<uint32_t>(32 * 16, 0));
}

}  // namespace
}  // namespace vxl::testing
