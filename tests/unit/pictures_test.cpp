// Image buffers, alpha planes, picture sizes, saving and raw files through the exports, on the fake
// backend at every depth.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "picture.h"
#include "picture_files.h"
#include "platform/gdi/png_codec.h"

namespace vxl::testing {
namespace {

using platform::PlatformCall;

using PicturesTest = FakeTest;
using PicturesDepthTest = DepthTest;

// A buffer whose pixels cover every field value of the narrow layouts somewhere.
int32_t PatternBuffer(int32_t w, int32_t h) {
    const int32_t b = SetupBuffer(w, h, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            PutPixel(b, x, y, RGB((x * 37 + y * 3) & 255, (y * 53 + x) & 255, (x * y * 7) & 255));
    return b;
}

TEST_P(PicturesDepthTest, SavedPicturesLoadBackExactlyAndOthersArriveThroughPackColour) {
    const int32_t w = 43, h = 11, b = PatternBuffer(w, h);
    const std::vector<uint32_t> pixels = PixelsOf(b);
    for (const char* name : {"shot.bmp", "shot.png", "SHOT.Png"}) {
        SaveTGA(b, name);
        const int32_t image = SetupImageBuffer(name, 0);
        EXPECT_EQ(std::pair(BufferSizeX(image), BufferSizeY(image)), std::pair(w, h)) << name;
        EXPECT_EQ(PixelsOf(image), pixels) << name;
        CloseBuffer(image);
    }
    // Video memory asked for: the picture arrives all the same.
    EXPECT_EQ(PixelsOf(SetupImageBuffer("shot.png", 1)), pixels);

    // Pictures of 8 bits a channel arrive through the display's colour packing.
    const std::vector<uint32_t> rgb = SamplePicture();
    WriteFile("true.bmp", MakeBmp({6, 4, 24, 40, false, 0, {}, {}, rgb}));
    std::vector<uint8_t> rows;
    for (uint32_t c : rgb) rows.insert(rows.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    WriteFile("true.png", MakePng(6, 4, PNG_COLOR_TYPE_RGB, 8, rows));
    std::vector<uint32_t> packed;
    for (uint32_t c : rgb) packed.push_back(RGB(int32_t(c >> 16), int32_t(c >> 8) & 255, int32_t(c) & 255));
    for (const char* name : {"true.bmp", "true.png"}) EXPECT_EQ(PixelsOf(SetupImageBuffer(name, 0)), packed) << name;
}

TEST_P(PicturesDepthTest, RawFilesHoldTheBufferByteForByte) {
    const int32_t b = PatternBuffer(320, 200);
    SaveRAW(b, "frame.raw");
    EXPECT_EQ(std::filesystem::file_size("frame.raw"), 64000u * bpp_);
    const std::vector<uint32_t> pixels = PixelsOf(b);
    Fill(b, 0);
    LoadRAW(b, "frame.raw");
    EXPECT_EQ(PixelsOf(b), pixels);

    // A short file fills what it holds; a missing one changes nothing; neither reports.
    const auto* p = static_cast<const uint8_t*>(BufferPointer(b));
    const std::vector<uint8_t> before(p + 10, p + 64000 * bpp_);
    WriteFile("short.raw", std::vector<uint8_t>(10, 0xAB));
    LoadRAW(b, "short.raw");
    EXPECT_EQ(std::vector<uint8_t>(p, p + 10), std::vector<uint8_t>(10, 0xAB));
    EXPECT_EQ(std::vector<uint8_t>(p + 10, p + 64000 * bpp_), before);
    LoadRAW(b, "missing.raw");
    SaveRAW(b, "no/such/dir.raw");
    EXPECT_FALSE(std::filesystem::exists("VXL_ERR.txt"));
    EXPECT_EQ(std::vector<uint8_t>(p, p + 10), std::vector<uint8_t>(10, 0xAB));
}

INSTANTIATE_TEST_SUITE_P(Depths, PicturesDepthTest, AllDepths(), DepthName);

TEST_F(PicturesTest, EachLoadingMessageFromCraftedFiles) {
    OpenWindowed();
    std::vector<uint8_t> png = MakePng(2, 2, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(12, 9));
    std::vector<uint8_t> damaged_png = png;
    damaged_png.resize(40);
    BmpLayout huge{1 << 14, 1 << 14, 8, 40, false, 1, {0}};
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {{'G', 'I', 'F', '8', '9', 'a', 0, 0}, "[TBufferVx]LoadStreamImage -> Stream Image format not supported..."},
        {{}, "[TBufferVx]LoadStreamImage -> Stream Image format not supported..."},
        {{0xFF, 0xD8, 0xFF, 0xD9}, "[TBufferVx]LoadStreamImage -> Error loading JPEG from Stream..."},
        {damaged_png, "[TBufferVx]LoadStreamImage -> Error loading PNG from Stream..."},
        {{'B', 'M', 1, 2, 3}, "[TBufferVx]LoadStreamImage -> Stream Image format not supported..."},
        {MakeBmp({0, 0, 24}), "[TBufferVx]CreateSurface -> Error creating surface..."},
        {MakeBmp(huge), "[TBufferVx]CreateSurface -> Error creating surface..."},
    };
    for (const auto& [bytes, message] : cases) {
        WriteFile("crafted.bin", bytes);
        ExpectFatal(message, [] { SetupImageBuffer("crafted.bin", 0); });
    }
    // The library keeps working afterwards.
    WriteFile("fine.bmp", png);  // a PNG whatever its name says
    const int32_t image = SetupImageBuffer("fine.bmp", 0);
    EXPECT_EQ(BufferSizeX(image), 2);
    EXPECT_EQ(GetPixel(image, 1, 1), RGB(9, 9, 9));
}

TEST_F(PicturesTest, EachAlphaMessageAndTheBufferIsGone) {
    OpenWindowed();
    const std::vector<uint32_t> indices(24, 3);
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {{0xFF, 0xD8, 0xFF, 0xE0}, "Stream Alpha format not supported..."},
        {MakeBmp({0, 0, 8, 40, false, 0, {0}}), "Error loading from stream..."},
        {{'B', 'M', 0, 0}, "Error loading from stream..."},
        {MakeBmp({6, 3, 8, 40, false, 0, {0, 0, 0, 0}, {}, std::vector<uint32_t>(18, 3)}),
         "Error loading from stream, wrong dimensions..."},
        {MakeBmp({6, 4, 24, 40, false, 0, {}, {}, SamplePicture()}), "Invalid alpha image, must be 8bit..."},
        {MakeBmp({6, 4, 4, 40, false, 0, {0, 0, 0, 0}, {}, indices}), "Invalid alpha image, must be 8bit..."},
    };
    for (const auto& [bytes, reason] : cases) {
        const int32_t b = SetupBuffer(6, 4, 0);
        WriteFile("alpha.bin", bytes);
        ExpectFatal("[TBufferVx]LoadStreamAlpha -> " + reason, [&] { LoadAlpha(b, "alpha.bin"); });
        EXPECT_EQ(BufferSizeX(b), 0) << reason;
        LoadAlpha(b, "alpha.bin");  // the destroyed buffer's handle is ignored from now on
    }
}

TEST_F(PicturesTest, AlphaValuesAreTheStoredIndicesOrGreyLevels) {
    OpenWindowed();
    const int32_t b = SetupBuffer(3, 1, 0);
    // A palette whose colours have nothing to do with the indices.
    WriteFile("a.bmp", MakeBmp({3, 1, 8, 40, false, 0, {0xFFFFFF, 0x000000, 0xFF00FF, 0x123456}, {}, {2, 0, 3}}));
    LoadAlpha(b, "a.bmp");
    ASSERT_NE(AlphaPointer(b), nullptr);
    EXPECT_EQ(std::vector<int32_t>({GetAlphaPixel(b, 0, 0), GetAlphaPixel(b, 1, 0), GetAlphaPixel(b, 2, 0)}),
              (std::vector<int32_t>{2, 0, 3}));
    WriteFile("a.png", MakePng(3, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 128, 255}));
    LoadAlpha(b, "a.png");
    EXPECT_EQ(std::vector<uint8_t>(AlphaPointer(b), AlphaPointer(b) + 3), (std::vector<uint8_t>{7, 128, 255}));
    // The picture's pixels are untouched by all this.
    EXPECT_EQ(PixelsOf(b), std::vector<uint32_t>(3, 0));
}

TEST_F(PicturesTest, SavingRefusesOtherExtensions) {
    OpenWindowed();
    for (const char* name : {"shot.tga", "shot", "dir.png/shot", "shot.pngx"}) {
        const int32_t b = SetupBuffer(4, 4, 0);
        ExpectFatal("[TBufferVx]SaveImage -> Format not supported for saving...", [&] { SaveTGA(b, name); });
        EXPECT_EQ(BufferSizeX(b), 0) << name;
        EXPECT_FALSE(std::filesystem::exists(name)) << name;
    }
}

TEST_F(PicturesTest, FileErrorsPassThroughWithoutALogLine) {
    OpenWindowed();
    const int32_t b = SetupBuffer(4, 4, 0);
    EXPECT_EQ(FatalMessage([] { SetupImageBuffer("missing.png", 0); }), "Cannot open file missing.png");
    EXPECT_EQ(FatalMessage([&] { LoadAlpha(b, "missing.png"); }), "Cannot open file missing.png");
    EXPECT_EQ(FatalMessage([&] { SaveTGA(b, "no/such/dir.png"); }), "Cannot create file no/such/dir.png");
    std::filesystem::create_directory("folder.bmp");
    EXPECT_EQ(FatalMessage([] { SetupImageBuffer("folder.bmp", 0); }), "Cannot open file folder.bmp");
    EXPECT_FALSE(std::filesystem::exists("VXL_ERR.txt"));
    EXPECT_EQ(BufferSizeX(b), 4);  // a file that cannot be had is not the buffer's failure
    // Full screen, they reach the host too instead of ending the process.
    CloseVexel();
    OpenFullScreen(640, 480, 16);
    EXPECT_EQ(FatalMessage([] { SetupImageBuffer("missing.jpg", 0); }), "Cannot open file missing.jpg");
}

TEST_F(PicturesTest, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
    OpenWindowed();
    alarm(20);  // an open or read that waits for a FIFO's other end ends the test here
    ASSERT_EQ(mkfifo("pipe.png", 0600), 0);
    std::filesystem::create_directory("folder.png");
    const int32_t b = PatternBuffer(8, 8);
    const std::vector<uint32_t> pixels = PixelsOf(b);
    // path, whether the writers are tried on it too
    for (const auto& [path, written] : {std::pair{"pipe.png", true}, {"folder.png", true}, {"/dev/zero", false}}) {
        const std::string name = path;
        EXPECT_EQ(FatalMessage([&] { SetupImageBuffer(path, 0); }), "Cannot open file " + name);
        EXPECT_EQ(FatalMessage([&] { LoadAlpha(b, path); }), "Cannot open file " + name);
        LoadRAW(b, path);
        EXPECT_EQ(PixelsOf(b), pixels) << name;
        if (!written) continue;
        const auto type = std::filesystem::status(name).type();
        SaveRAW(b, path);
        EXPECT_EQ(FatalMessage([&] { SaveTGA(b, path); }), "Cannot create file " + name);
        EXPECT_EQ(std::filesystem::status(name).type(), type) << name;
    }
    alarm(0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2);  // nothing left behind
    EXPECT_FALSE(std::filesystem::exists("VXL_ERR.txt"));
}

TEST_F(PicturesTest, ASaveThatCannotFinishKeepsTheOldFile) {
    OpenWindowed();
    const int32_t b = PatternBuffer(256, 256);
    const std::vector<uint8_t> old(100, 0x5A);
    const auto contents = [](const char* name) {
        std::ifstream in(name, std::ios::binary);
        return std::vector<uint8_t>{std::istreambuf_iterator<char>(in), {}};
    };
    // The disk fills up after 4 KB: every save below needs more.
    rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    // file, the save, what leaves the export
    const std::vector<std::tuple<const char*, bool, std::string>> cases = {
        {"keep.raw", false, ""}, {"keep.bmp", true, "Stream write error"}, {"keep.jpg", true, "Stream write error"}};
    for (const auto& [name, picture, message] : cases) {
        WriteFile(name, old);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        EXPECT_EQ(FatalMessage([&] { picture ? SaveTGA(b, name) : SaveRAW(b, name); }), message) << name;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        EXPECT_EQ(contents(name), old) << name;
        // With room again the save replaces the file.
        picture ? SaveTGA(b, name) : SaveRAW(b, name);
        EXPECT_GT(contents(name).size(), small.rlim_cur) << name;
    }
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 3);  // no temporary left
    EXPECT_EQ(BufferSizeX(b), 256);
}

TEST_F(PicturesTest, WidePicturesSaveAsFarAsTheirFormatHolds) {
    OpenWindowed();
    // width, file, the fatal error or "" for a picture that loads back at its width
    const std::vector<std::tuple<int32_t, const char*, std::string>> cases = {
        {1000001, "wide.png", ""},
        {65500, "edge.jpg", ""},
        {65501, "wide.jpg", "[TBufferVx]SaveImage -> Format not supported for saving..."},
    };
    for (const auto& [width, name, message] : cases) {
        const int32_t b = SetupBuffer(width, 1, 0);
        EXPECT_EQ(FatalMessage([&] { SaveTGA(b, name); }), message) << name;
        EXPECT_EQ(std::filesystem::exists(name), message.empty()) << name;
        if (message.empty()) {
            EXPECT_EQ(BufferSizeX(SetupImageBuffer(name, 0)), width) << name;
        }
    }
}

// Tall pictures cost their pixels: in a child process whose address space is the parent's plus
// `room` bytes, SetupImageBuffer of `file` either loads it whole or takes the fatal path.
int LoadWithin(const char* file, int64_t room, std::string* message) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        std::ifstream status("/proc/self/status");
        std::string line;
        int64_t kb = 0;
        while (std::getline(status, line))
            if (line.rfind("VmSize:", 0) == 0) kb = std::stoll(line.substr(7));
        const rlimit limit{rlim_t(kb * 1024 + room), rlim_t(kb * 1024 + room)};
        setrlimit(RLIMIT_AS, &limit);
        std::string what;
        try {
            if (BufferSizeY(SetupImageBuffer(file, 0)) != 1 << 24) what = "wrong size";
        } catch (const std::exception& e) {
            what = e.what();
        }
        (void)!write(channel[1], what.data(), what.size());
        _exit(0);
    }
    close(channel[1]);
    char text[256];
    ssize_t n;
    while ((n = read(channel[0], text, sizeof text)) > 0) message->append(text, size_t(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PicturesTest, TallPicturesCostTheirPixelsAndRunningOutIsFatal) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#endif
    OpenWindowed();
    constexpr int32_t kTall = 1 << 24;
    BmpLayout rle{1, kTall, 8, 40, false, 1, kPalette};
    rle.rle = {1, 5, 0, 1};
    WriteFile("tall.bmp", MakeBmp(rle));
    WriteFile("tall.png", MakePng(1, kTall, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(size_t(kTall), 9)));
    const std::string no_memory =
        "[TBufferVx]Create -> " + std::string(DirectDrawResultText(platform::DDERR_OUTOFMEMORY));
    // file, room beyond what the process holds, the message of the load ("" when it loads)
    const std::vector<std::tuple<const char*, int64_t, std::string>> cases = {
        {"tall.bmp", int64_t(400) << 20, ""},
        {"tall.png", int64_t(400) << 20, ""},
        {"tall.bmp", int64_t(32) << 20, no_memory},
    };
    for (const auto& [file, room, expected] : cases) {
        std::string message;
        EXPECT_EQ(LoadWithin(file, room, &message), 0) << file;
        EXPECT_EQ(message, expected) << file << " in " << (room >> 20) << " MB";
    }
}

TEST_F(PicturesTest, PictureSizesByExtension) {
    WriteFile("a.BMP", MakeBmp({6, 4, 24, 40, true, 0, {}, {}, SamplePicture()}));
    WriteFile("b.png", MakePng(3, 5, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(15, 0)));
    std::vector<uint8_t> ico = {0, 0, 1, 0, 1, 0, 32, 16};
    ico.resize(22, 0);
    WriteFile("c.Ico", ico);
    int32_t w = -1, h = -1;
    GetImageSize("a.BMP", &w, &h);  // works without a display
    EXPECT_EQ(std::pair(w, h), std::pair(6, 4));
    GetImageSize("b.png", &w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(3, 5));
    GetImageSize("c.Ico", &w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(32, 16));
    GetImageSize("b.png", nullptr, nullptr);

    // Saved JPEGs under either spelling: read back by their headers and as pictures (the codec's own
    // test checks the colours).
    OpenWindowed();
    const int32_t b = PatternBuffer(9, 7);
    for (const char* name : {"d.JPEG", "d.jpg"}) {
        SaveTGA(b, name);
        w = h = -1;
        GetImageSize(name, &w, &h);
        EXPECT_EQ(std::pair(w, h), std::pair(9, 7)) << name;
        EXPECT_EQ(BufferSizeX(SetupImageBuffer(name, 0)), 9) << name;
    }
}

TEST_F(PicturesTest, FailingPictureSizesReportButKeepTheDisplay) {
    OpenWindowed();
    WriteFile("png.BMP", MakePng(2, 2, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(4, 0)));
    WriteFile("pic.tga", MakePng(2, 2, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(4, 0)));
    WriteFile("empty.bmp", MakeBmp({0, 0, 24}));
    int32_t w = -1, h = -1;
    ExpectFatal("[TVexel]GetImageInfo -> File nothere.png not found...", [&] { GetImageSize("nothere.png", &w, &h); });
    ExpectFatal("[TVexel]GetImageSize -> Error loading png.BMP...", [&] { GetImageSize("png.BMP", &w, &h); });
    ExpectFatal("[TVexel]GetImageSize -> Error loading pic.tga...", [&] { GetImageSize("pic.tga", &w, &h); });
    ExpectFatal("[TVexel]GetImageSize -> Error loading empty.bmp...", [&] { GetImageSize("empty.bmp", &w, &h); });
    EXPECT_EQ(std::pair(w, h), std::pair(-1, -1));
    EXPECT_EQ(VexelSizeX(), 320);
    EXPECT_EQ(BufferSizeX(SetupBuffer(2, 2, 0)), 2);
    // The PNG named .BMP loads as a PNG all the same.
    EXPECT_EQ(BufferSizeX(SetupImageBuffer("png.BMP", 0)), 2);
}

TEST_F(PicturesTest, PicturesOnAFailingDrawingContextKeepTheirSizeAndStayBlack) {
    OpenWindowed();
    WriteFile("p.bmp", MakeBmp({6, 4, 24, 40, false, 0, {}, {}, SamplePicture()}));
    fake_->Fail(PlatformCall::GetDC, platform::DDERR_GENERIC);
    const int32_t image = SetupImageBuffer("p.bmp", 0);
    EXPECT_EQ(BufferSizeX(image), 6);
    EXPECT_EQ(PixelsOf(image), std::vector<uint32_t>(24, 0));
    fake_->Fail(PlatformCall::GetDC, platform::DDERR_GENERIC);
    SaveTGA(PatternBuffer(3, 2), "black.bmp");
    const int32_t black = SetupImageBuffer("black.bmp", 0);
    EXPECT_EQ(PixelsOf(black), std::vector<uint32_t>(6, 0));
}

}  // namespace
}  // namespace vxl::testing
