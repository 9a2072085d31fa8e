// Text output: exactly the colour inside the glyphs, nothing else changed, clipping at every edge.
#include <array>

#include "picture.h"

namespace vxl::testing {
namespace {

using platform::PlatformCall;

using TextTest = FakeTest;
using TextDepthTest = DepthTest;

// The ink's bounding box of `text` drawn at (x, y) with `ink` on `back`: left, top, right, bottom
// (inclusive). Every pixel must be one or the other.
std::array<int32_t, 4> InkBox(int32_t b, int32_t x, int32_t y, const char* text, uint32_t back, uint32_t ink) {
    Fill(b, back);
    PutStr(b, x, y, text, ink);
    std::array<int32_t, 4> box{INT32_MAX, INT32_MAX, -1, -1};
    for (int32_t py = 0; py < BufferSizeY(b); ++py)
        for (int32_t px = 0; px < BufferSizeX(b); ++px) {
            const uint32_t p = GetPixel(b, px, py);
            EXPECT_TRUE(p == back || p == ink) << px << "," << py;
            if (p == ink) box = {std::min(box[0], px), std::min(box[1], py), std::max(box[2], px), py};
        }
    return box;
}

TEST_P(TextDepthTest, TextIsCutAtEveryEdgeLikeTheSameTextMoved) {
    const int32_t b = SetupBuffer(64, 24, 0);
    const uint32_t ink = RGB(255, 255, 255);
    PutStr(b, 4, 4, "AMW", ink);  // on black, so every pixel that is not black is ink
    const Rows whole = Picture(b);
    // Moved 10 left and 8 up: the same pixels, shifted, and cut at the top and left.
    Fill(b, 0);
    PutStr(b, -6, -4, "AMW", ink);
    Rows shifted(24, std::string(64, '.'));
    for (size_t y = 0; y + 8 < 24; ++y) shifted[y].replace(0, 54, whole[y + 8], 10, 54);
    EXPECT_EQ(Picture(b), shifted);
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
    const std::pair<const char*, const char*> cases[] = {
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
    for (const auto& [text, utf8] : cases) {
        SCOPED_TRACE(utf8);
        Fill(b, 0), Fill(twin, 0);
        PutStr(b, 2, 2, text, ink);
        PutStr(twin, 2, 2, utf8, ink);
        EXPECT_EQ(PixelsOf(b), PixelsOf(twin));
        EXPECT_NE(PixelsOf(b), std::vector<uint32_t>(160 * 24, 0));
    }
}

// VxlTextSize is the cell PutStr fills, its top-left corner where the text is put: the ink lies
// inside it, capitals a little below the top, and reaches its right end but for the last glyph's
// bearing; a text drawn at the cell's right end continues the line exactly. The ink has exactly its
// colour at every depth, and the background stays.
TEST_P(TextDepthTest, TextSizeIsTheCellThatPutStrFills) {
    const int32_t b = SetupBuffer(300, 40, 0), parts = SetupBuffer(300, 40, 0);
    const uint32_t back = RGB(10, 20, 30), ink = RGB(255, 0, 0);
    const std::pair<const char*, const char*> cases[] = {
        {"Grö", "ße"}, {"Hello, ", "Wg!"}, {"\x80uro ", "1252"}, {"AVA", "WA"}};
    for (const auto& [head, tail] : cases) {
        const std::string text = std::string(head) + tail;
        SCOPED_TRACE(text);
        int32_t w = 0, h = 0, head_w = 0;
        VxlTextSize(text.c_str(), &w, &h);
        VxlTextSize(head, &head_w, nullptr);
        EXPECT_EQ(h, 16);
        const auto [left, top, right, bottom] = InkBox(b, 10, 5, text.c_str(), back, ink);
        EXPECT_TRUE(left >= 10 && left <= 12 && top >= 5 && top <= 10 && bottom < 5 + h) << left << "," << top;
        EXPECT_TRUE(right < 10 + w && right >= 10 + w - 3) << right;
        Fill(parts, back);
        PutStr(parts, 10, 5, head, ink);
        PutStr(parts, 10 + head_w, 5, tail, ink);
        EXPECT_EQ(PixelsOf(parts), PixelsOf(b));
    }
    int32_t w = 7, h = 7, empty_w = 7;
    VxlTextSize(nullptr, &w, &h);
    VxlTextSize("", &empty_w, nullptr);
    EXPECT_EQ(std::tuple(w, h, empty_w), std::tuple(0, 0, 0));
    VxlTextSize("x", nullptr, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Depths, TextDepthTest, AllDepths(), DepthName);

// Fonts by family, by file and by size; fonts that are not there are failures that keep the font.
TEST_F(TextTest, SetFontTakesFamiliesFilesAndSizesAndRefusesWhatIsMissing) {
    OpenWindowed();
    const int32_t b = SetupBuffer(300, 48, 0);
    const auto drawn = [&] {
        Fill(b, 0);
        PutStr(b, 2, 2, "Größe iii WWW", RGB(255, 255, 255));
        return PixelsOf(b);
    };
    const auto size = [](const char* text) {
        int32_t w = 0, h = 0;
        VxlTextSize(text, &w, &h);
        return std::pair(w, h);
    };
    const std::vector<uint32_t> sans = drawn();
    const std::string mono_file = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    std::ofstream("words.ttf") << "no font at all";
    const std::string no = "[TVexel]SetFont -> ";
    // the font and size chosen; the failure, "" when the font is chosen; then whether the font is
    // monospaced and the least and most line height
    const std::tuple<const char*, int32_t, std::string, bool, int32_t, int32_t> cases[] = {
        {"DejaVu Serif", 0, "", false, 15, 18},
        {mono_file.c_str(), 0, "", true, 15, 18},
        {"monospace", 28, "", true, 30, 36},
        {"No Such Font", 0, no + "Font No Such Font not found...", true, 30, 36},
        {"/no/such/font.ttf", 0, no + "Font /no/such/font.ttf not found...", true, 30, 36},
        {"words.ttf", 0, no + "Error loading font words.ttf...", true, 30, 36},
        {nullptr, 1025, no + "Font size 1025 not supported...", true, 30, 36},
        {nullptr, -1, no + "Font size -1 not supported...", true, 30, 36},
        {nullptr, 0, "", false, 16, 16},
    };
    for (const auto& [font, pixels, failure, monospaced, low, high] : cases) {
        SCOPED_TRACE(font ? font : "NULL");
        const std::vector<uint32_t> before = drawn();
        EXPECT_EQ(FatalMessage([&] { VxlSetFont(font, pixels); }), failure);
        EXPECT_TRUE(failure.empty() || ErrorLog() == failure + "\r\n") << ErrorLog();
        EXPECT_EQ(drawn() == before, !failure.empty());
        EXPECT_EQ(size("iii").first == size("WWW").first, monospaced);
        EXPECT_TRUE(size("x").second >= low && size("x").second <= high) << size("x").second;
    }
    EXPECT_EQ(drawn(), sans);
}

TEST_F(TextTest, DrawingContextFailuresDestroyTheBuffer) {
    OpenWindowed();
    for (auto [call, code, name] : {std::tuple{PlatformCall::GetDC, platform::DDERR_SURFACELOST, "GetDC"},
                                    {PlatformCall::ReleaseDC, platform::DDERR_GENERIC, "ReleaseDC"}}) {
        const int32_t b = SetupBuffer(32, 16, 0);
        fake_->Fail(call, code);
        ExpectFatal(Failed(kTagBuffer, name, code), [&] { PutStr(b, 0, 0, "x", 1); });
        EXPECT_EQ(BufferSizeX(b), 0);
    }
    // Other buffers go on drawing text.
    const int32_t d = SetupBuffer(32, 16, 0);
    PutStr(d, 0, 0, "x", RGB(255, 255, 255));
    EXPECT_NE(PixelsOf(d), std::vector<uint32_t>(32 * 16, 0));
}

}  // namespace
}  // namespace vxl::testing
