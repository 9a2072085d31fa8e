// Image buffers, alpha planes, picture sizes, saving and raw files through the exports, on the fake
// backend at every depth.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "picture.h"
#include "picture_files.h"

namespace vxl::testing {
namespace {

using PicturesTest = FakeTest;
using PicturesDepthTest = DepthTest;

const std::string kNotForSaving = "[TBufferVx]SaveImage -> Format not supported for saving...";

// A buffer whose pixels cover every field value of the narrow layouts somewhere.
int32_t PatternBuffer(int32_t w, int32_t h) {
    const int32_t b = SetupBuffer(w, h, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            PutPixel(b, x, y, RGB((x * 37 + y * 3) & 255, (y * 53 + x) & 255, (x * y * 7) & 255));
    return b;
}

TEST_P(PicturesDepthTest, SavedPicturesLoadBackExactlyAndOthersArriveThroughPackColour) {
    const int32_t b = PatternBuffer(43, 11);
    const std::vector<uint32_t> pixels = PixelsOf(b);
    for (const char* name : {"shot.bmp", "shot.png", "SHOT.Png"}) {
        SaveTGA(b, name);
        const int32_t image = SetupImageBuffer(name, name[0] == 'S');  // video memory asked for or not
        EXPECT_EQ(std::pair(BufferSizeX(image), BufferSizeY(image)), std::pair(43, 11)) << name;
        EXPECT_EQ(PixelsOf(image), pixels) << name;
    }
    // Pictures of 8 bits a channel arrive through the display's colour packing.
    const std::vector<uint32_t> rgb = SamplePicture();
    std::vector<uint32_t> packed;
    for (uint32_t c : rgb) packed.push_back(RGB(int32_t(c >> 16), int32_t(c >> 8) & 255, int32_t(c) & 255));
    WriteFile("true.bmp", MakeBmp({6, 4, 24, 40, false, 0, {}, {}, rgb}));
    EXPECT_EQ(PixelsOf(SetupImageBuffer("true.bmp", 0)), packed);
}

// Raw files hold the buffer byte for byte; a short file fills what it holds; a missing one changes
// nothing; neither reports.
TEST_P(PicturesDepthTest, RawFilesHoldTheBufferByteForByte) {
    const int32_t b = PatternBuffer(320, 200);
    SaveRAW(b, "frame.raw");
    std::vector<uint8_t> expected = Bytes(b);
    EXPECT_EQ(Contents("frame.raw"), std::string(expected.begin(), expected.end()));
    Fill(b, 0);
    LoadRAW(b, "frame.raw");
    EXPECT_EQ(Bytes(b), expected);
    std::fill_n(expected.begin(), 10, 0xAB);
    WriteFile("short.raw", std::vector<uint8_t>(10, 0xAB));
    LoadRAW(b, "short.raw");
    LoadRAW(b, "missing.raw");
    SaveRAW(b, "no/such/dir.raw");
    EXPECT_EQ(Bytes(b), expected);
    EXPECT_FALSE(std::filesystem::exists("VXL_ERR.txt"));
}

INSTANTIATE_TEST_SUITE_P(Depths, PicturesDepthTest, AllDepths(), DepthName);

// Each message of a picture or alpha file that cannot be read; a failed alpha load takes the buffer.
TEST_F(PicturesTest, EachLoadingMessageFromCraftedFiles) {
    OpenWindowed();
    std::vector<uint8_t> png = MakePng(2, 2, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(12, 9)), damaged_png = png;
    damaged_png.resize(40);
    const std::string unknown = "[TBufferVx]LoadStreamImage -> Stream Image format not supported...";
    const std::string surface = "[TBufferVx]CreateSurface -> Error creating surface...";
    const std::string alpha = "[TBufferVx]LoadStreamAlpha -> ", not_8 = alpha + "Invalid alpha image, must be 8bit...";
    // the file, whether it is loaded as an alpha plane, the message
    const std::vector<std::tuple<std::vector<uint8_t>, bool, std::string>> cases = {
        {{'G', 'I', 'F', '8', '9', 'a', 0, 0}, false, unknown},  {{'B', 'M', 1, 2, 3}, false, unknown},
        {{0xFF, 0xD8, 0xFF, 0xD9}, false, "[TBufferVx]LoadStreamImage -> Error loading JPEG from Stream..."},
        {damaged_png, false, "[TBufferVx]LoadStreamImage -> Error loading PNG from Stream..."},
        {MakeBmp({0, 0, 24}), false, surface},  {MakeBmp({1 << 14, 1 << 14, 8, 40, false, 1, {0}}), false, surface},
        {{0xFF, 0xD8, 0xFF, 0xE0}, true, alpha + "Stream Alpha format not supported..."},
        {MakeBmp({0, 0, 8, 40, false, 0, {0}}), true, alpha + "Error loading from stream..."},
        {{'B', 'M', 0, 0}, true, alpha + "Error loading from stream..."},
        {MakeBmp({6, 3, 8, 40, false, 0, {0, 0}, {}, std::vector<uint32_t>(18, 1)}), true,
         alpha + "Error loading from stream, wrong dimensions..."},
        {MakeBmp({6, 4, 24, 40, false, 0, {}, {}, SamplePicture()}), true, not_8},
        {MakeBmp({6, 4, 4, 40, false, 0, {0, 0}, {}, std::vector<uint32_t>(24, 1)}), true, not_8},
    };
    for (const auto& [bytes, as_alpha, message] : cases) {
        WriteFile("in.bin", bytes);
        const int32_t b = SetupBuffer(6, 4, 0);
        ExpectFatal(message, [&] { as_alpha ? LoadAlpha(b, "in.bin") : void(SetupImageBuffer("in.bin", 0)); });
        EXPECT_EQ(BufferSizeX(b), as_alpha ? 0 : 6) << message;
        if (as_alpha) LoadAlpha(b, "in.bin");  // the destroyed buffer's handle is ignored from now on
    }
    // The library keeps working afterwards, and a picture is read by its contents whatever its name.
    WriteFile("fine.bmp", png);
    EXPECT_EQ(GetPixel(SetupImageBuffer("fine.bmp", 0), 1, 1), RGB(9, 9, 9));
}

TEST_F(PicturesTest, AlphaValuesAreTheStoredIndicesOrGreyLevels) {
    OpenWindowed();
    const int32_t b = SetupBuffer(3, 1, 0);
    // A palette whose colours have nothing to do with the indices.
    WriteFile("a.bmp", MakeBmp({3, 1, 8, 40, false, 0, {0xFFFFFF, 0x000000, 0xFF00FF, 0x123456}, {}, {2, 0, 3}}));
    WriteFile("a.png", MakePng(3, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 128, 255}));
    for (auto [file, values] : {std::pair{"a.bmp", std::vector<uint8_t>{2, 0, 3}}, {"a.png", {7, 128, 255}}}) {
        LoadAlpha(b, file);
        ASSERT_NE(AlphaPointer(b), nullptr);
        EXPECT_EQ(std::vector<uint8_t>(AlphaPointer(b), AlphaPointer(b) + 3), values) << file;
    }
    EXPECT_EQ(PixelsOf(b), std::vector<uint32_t>(3, 0));  // the picture's pixels are untouched
}

// Saving goes by the extension, as far as its format holds the width; what fails takes the buffer.
TEST_F(PicturesTest, SavingByExtensionAndWidth) {
    OpenWindowed();
    // file, width, the fatal error or "" for a picture that loads back at its width
    const std::vector<std::tuple<const char*, int32_t, std::string>> cases = {
        {"shot.tga", 4, kNotForSaving},       {"shot", 4, kNotForSaving},   {"dir.png/shot", 4, kNotForSaving},
        {"shot.pngx", 4, kNotForSaving},      {"wide.png", 1000001, ""},    {"edge.jpg", 65500, ""},
        {"wide.jpg", 65501, kNotForSaving},   {"d.JPEG", 9, ""},
    };
    for (const auto& [name, width, message] : cases) {
        const int32_t b = SetupBuffer(width, 1, 0);
        EXPECT_EQ(FatalMessage([&] { SaveTGA(b, name); }), message) << name;
        EXPECT_EQ(std::filesystem::exists(name), message.empty()) << name;
        EXPECT_EQ(BufferSizeX(b), message.empty() ? width : 0) << name;
        if (message.empty()) {
            EXPECT_EQ(BufferSizeX(SetupImageBuffer(name, 0)), width) << name;
        }
    }
}

// A file that cannot be had is not the buffer's failure: the file's error passes through without a
// log line, windowed or full screen; nothing waits on a FIFO; raw files quietly do nothing.
TEST_F(PicturesTest, FilesThatCannotBeHadPassTheirErrorThrough) {
    OpenWindowed();
    alarm(20);  // an open or read that waits for a FIFO's other end ends the test here
    ASSERT_EQ(mkfifo("pipe.png", 0600), 0);
    std::filesystem::create_directory("folder.png");
    const int32_t b = PatternBuffer(8, 8);
    const std::vector<uint32_t> pixels = PixelsOf(b);
    // path, whether it is read, whether it is written
    for (auto [path, read, written] : {std::tuple{"missing.png", true, false}, {"no/such/dir.png", false, true},
                                       {"pipe.png", true, true}, {"folder.png", true, true},
                                       {"/dev/zero", true, false}}) {
        const std::string name = path;
        if (read) {
            EXPECT_EQ(FatalMessage([&] { SetupImageBuffer(path, 0); }), "Cannot open file " + name);
            EXPECT_EQ(FatalMessage([&] { LoadAlpha(b, path); }), "Cannot open file " + name);
            LoadRAW(b, path);
        }
        if (written) {
            const auto type = std::filesystem::status(name).type();
            SaveRAW(b, path);
            EXPECT_EQ(FatalMessage([&] { SaveTGA(b, path); }), "Cannot create file " + name);
            EXPECT_EQ(std::filesystem::status(name).type(), type) << name;
        }
        EXPECT_EQ(PixelsOf(b), pixels) << name;
    }
    alarm(0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2);  // nothing left behind
    EXPECT_FALSE(std::filesystem::exists("VXL_ERR.txt"));
    CloseVexel();
    OpenFullScreen(640, 480, 16);
    EXPECT_EQ(FatalMessage([] { SetupImageBuffer("missing.jpg", 0); }), "Cannot open file missing.jpg");
}

TEST_F(PicturesTest, ASaveThatCannotFinishKeepsTheOldFile) {
    OpenWindowed();
    const int32_t b = PatternBuffer(256, 256);
    const std::string old(100, 'Z');
    // The disk fills up after 4 KB: every save below needs more.
    rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    // file, the save, what leaves the export
    for (const auto& [name, picture, message] : {std::tuple{"keep.raw", false, ""},
                                                 {"keep.bmp", true, "Stream write error"},
                                                 {"keep.jpg", true, "Stream write error"}}) {
        std::ofstream(name) << old;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        EXPECT_EQ(FatalMessage([&] { picture ? SaveTGA(b, name) : SaveRAW(b, name); }), message) << name;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        EXPECT_EQ(Contents(name), old) << name;
        picture ? SaveTGA(b, name) : SaveRAW(b, name);  // with room again the save replaces the file
        EXPECT_GT(Contents(name).size(), small.rlim_cur) << name;
    }
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 3);  // no temporary left
    EXPECT_EQ(BufferSizeX(b), 256);
}

// Loads `file` with the address space limited to what the process holds plus `room_mb`, printing the
// height loaded or the fatal message, and ends the process.
void LoadWithin(const char* file, int64_t room_mb) {
    int64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t bytes = rlim_t(pages * sysconf(_SC_PAGESIZE) + (room_mb << 20));
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
    try {
        std::fprintf(stderr, "%d\n", BufferSizeY(SetupImageBuffer(file, 0)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    std::_Exit(0);
}

// Tall pictures cost their pixels: they load whole where there is room and take the fatal path where
// there is not.
TEST_F(PicturesTest, TallPicturesCostTheirPixelsAndRunningOutIsFatal) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#endif
    OpenWindowed();
    BmpLayout rle{1, 1 << 24, 8, 40, false, 1, kPalette};
    rle.rle = {1, 5, 0, 1};
    WriteFile("tall.bmp", MakeBmp(rle));
    WriteFile("tall.png", MakePng(1, 1 << 24, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(size_t(1) << 24, 9)));
    GTEST_FLAG_SET(death_test_style, "fast");
    // file, room in MB, what the child prints
    for (const auto& [file, room, printed] : {std::tuple{"tall.bmp", 400, "16777216"}, {"tall.png", 400, "16777216"},
                                              {"tall.bmp", 32, "Create -> DirectDraw does not have enough memory"}}) {
        EXPECT_EXIT(LoadWithin(file, room), ::testing::ExitedWithCode(0), printed) << file << " in " << room << " MB";
    }
}

// Picture sizes from the headers, without a display, whatever the extension's case; files that give
// none report, but the display stays.
TEST_F(PicturesTest, PictureSizes) {
    std::vector<uint8_t> ico = {0, 0, 1, 0, 2, 0, 48, 0}, wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0}, emf;
    ico.resize(6 + 32, 0);
    // A placeable metafile's box (-10, 0) to (1430, 720) at 1440 units per inch; an enhanced one's
    // frame 0..5080 by 0..2540 hundredths of a millimetre.
    for (uint32_t v : {uint32_t(-10) & 0xFFFF, 0u, 1430u, 720u, 1440u}) PutLE(wmf, v, 2);
    wmf.resize(22, 0);
    for (uint32_t v : {1u, 88u, 0u, 0u, 0u, 0u, 0u, 0u, 5080u, 2540u, 0x464D4520u}) PutLE(emf, v, 4);
    emf.resize(88, 0);
    const auto zeroed = [](std::vector<uint8_t> file, size_t at) {
        file[at] = file[at + 1] = 0;
        return file;
    };
    const std::vector<uint8_t> png = MakePng(3, 5, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(15, 0));
    const std::string size_error = "[TVexel]GetImageSize -> Error loading ";
    // file, its bytes, the size read (-1 when none) and the message
    const std::vector<std::tuple<const char*, std::vector<uint8_t>, int32_t, int32_t, std::string>> cases = {
        {"a.BMP", MakeBmp({6, 4, 24, 40, true, 0, {}, {}, SamplePicture()}), 6, 4, ""},
        {"b.png", png, 3, 5, ""},
        {"c.Ico", ico, 48, 256, ""},  // 0 stands for 256
        {"e.wmf", wmf, 96, 48, ""},
        {"f.emf", emf, 192, 96, ""},
        {"d.JPEG", ProgressiveJpeg(9, 7, std::vector<uint8_t>(9 * 7 * 3, 1), 0), 9, 7, ""},
        {"png.BMP", png, -1, -1, size_error + "png.BMP..."},
        {"pic.tga", png, -1, -1, size_error + "pic.tga..."},
        {"empty.bmp", MakeBmp({0, 0, 24}), -1, -1, size_error + "empty.bmp..."},
        {"type0.ico", zeroed(ico, 2), -1, -1, size_error + "type0.ico..."},
        {"no_inch.wmf", zeroed(wmf, 14), -1, -1, size_error + "no_inch.wmf..."},
        {"unsigned.emf", zeroed(emf, 40), -1, -1, size_error + "unsigned.emf..."},
        {"nothere.png", {}, -1, -1, "[TVexel]GetImageInfo -> File nothere.png not found..."},
    };
    for (const auto& [name, bytes, width, height, message] : cases) {
        if (!bytes.empty()) WriteFile(name, bytes);
        int32_t w = -1, h = -1;
        if (!message.empty() && VexelSizeX() == 0) OpenWindowed();  // the failures with a display
        ExpectFatal(message, [&] { GetImageSize(name, &w, &h); });
        EXPECT_EQ(std::pair(w, h), std::pair(width, height)) << name;
    }
    EXPECT_EQ(VexelSizeX(), 320);
    GetImageSize("b.png", nullptr, nullptr);
}

TEST_F(PicturesTest, PicturesOnAFailingDrawingContextKeepTheirSizeAndStayBlack) {
    OpenWindowed();
    WriteFile("p.bmp", MakeBmp({6, 4, 24, 40, false, 0, {}, {}, SamplePicture()}));
    fake_->Fail(platform::PlatformCall::GetDC, platform::DDERR_GENERIC);
    EXPECT_EQ(PixelsOf(SetupImageBuffer("p.bmp", 0)), std::vector<uint32_t>(24, 0));
    fake_->Fail(platform::PlatformCall::GetDC, platform::DDERR_GENERIC);
    SaveTGA(PatternBuffer(3, 2), "black.bmp");
    EXPECT_EQ(PixelsOf(SetupImageBuffer("black.bmp", 0)), std::vector<uint32_t>(6, 0));
}

}  // namespace
}  // namespace vxl::testing
