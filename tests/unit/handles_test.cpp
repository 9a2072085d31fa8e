// Buffer handles as the host sees them, the version exports and the byte arguments of RGB/unRGB.
#include <climits>
#include <cstring>
#include <vector>

#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using HandlesTest = FakeTest;

std::vector<int32_t> OpenBuffers(int count) {
    std::vector<int32_t> handles;
    for (int i = 0; i < count; ++i) {
        handles.push_back(SetupBuffer(8 + i, 4, 0));
    }
    return handles;
}

// Every buffer export must treat `h` as no buffer at all.
void ExpectNoBuffer(int32_t h) {
    SCOPED_TRACE(h);
    Fill(h, 0xFFFFFF);
    PutPixel(h, 0, 0, 0xFFFFFF);
    PutAlphaPixel(h, 0, 0, 200);
    EXPECT_EQ(BufferSizeX(h), 0);
    EXPECT_EQ(BufferSizeY(h), 0);
    EXPECT_EQ(BufferPointer(h), nullptr);
    EXPECT_EQ(AlphaPointer(h), nullptr);
    EXPECT_EQ(GetPixel(h, 0, 0), 0u);
    EXPECT_EQ(GetAlphaPixel(h, 0, 0), 0);
    CloseBuffer(h);
}

TEST_F(HandlesTest, NumbersSlotsAsTheOriginalDid) {
    struct Case {
        int open;
        std::vector<int32_t> close, next;
    };
    const Case cases[] = {
        {4, {1, 3}, {3, 1, 4}},  // freed slots come back highest first
        {2, {0}, {2}},           // slot 0 is never handed out again
        {1, {0}, {1, 2}},
    };
    for (const Case& c : cases) {
        ResetLibrary();
        OpenWindowed();
        std::vector<int32_t> expected(size_t(c.open));
        for (int i = 0; i < c.open; ++i) expected[size_t(i)] = i;
        EXPECT_EQ(OpenBuffers(c.open), expected);
        for (int32_t h : c.close) CloseBuffer(h);
        for (int32_t want : c.next) {
            const int32_t h = SetupBuffer(5, 3, 0);
            EXPECT_EQ(h, want);
            EXPECT_EQ(BufferSizeX(h), 5);  // a reused slot holds the new buffer
        }
    }
}

TEST_F(HandlesTest, ClosingOneBufferLeavesTheOthers) {
    OpenWindowed();
    OpenBuffers(3);
    PutPixel(2, 1, 1, 0xABCDEF);
    CloseBuffer(1);
    EXPECT_EQ(BufferSizeX(0), 8);
    EXPECT_EQ(GetPixel(2, 1, 1), 0xABCDEFu);
}

TEST_F(HandlesTest, UnknownHandlesFindNoBuffer) {
    ExpectNoBuffer(0);  // nothing issued yet
    OpenWindowed();
    OpenBuffers(3);
    PutPixel(0, 0, 0, 0x111111);
    PutPixel(2, 0, 0, 0x222222);
    CloseBuffer(1);
    for (int32_t h : {1, -1, -100, INT32_MIN, 3, 4, 1000, INT32_MAX}) {
        ExpectNoBuffer(h);
    }
    // Nothing done through a bad handle reached a live buffer.
    EXPECT_EQ(GetPixel(0, 0, 0), 0x111111u);
    EXPECT_EQ(GetPixel(2, 0, 0), 0x222222u);
    EXPECT_EQ(BufferSizeX(2), 10);
}

TEST_F(HandlesTest, FailedCreationKeepsItsSlotEmpty) {
    OpenWindowed();
    EXPECT_EQ(SetupBuffer(4, 4, 0), 0);
    EXPECT_THROW(SetupBuffer(0, 5, 0), std::exception);
    EXPECT_EQ(SetupBuffer(4, 4, 0), 2);  // slot 1 stays in use, empty
    ExpectNoBuffer(1);                   // which ends by closing it
    EXPECT_EQ(SetupBuffer(6, 4, 0), 1);
    EXPECT_EQ(BufferSizeX(1), 6);
}

TEST_F(HandlesTest, VersionExports) {
    EXPECT_EQ(GetDLLVersion(), 331);
    const char *name = nullptr, *notice = nullptr;
    GetDLLInfo(&name, &notice);
    ASSERT_NE(name, nullptr);
    ASSERT_NE(notice, nullptr);
    EXPECT_STREQ(name, "VXL.DLL v0.14b [10.03.2001]");
    EXPECT_GT(std::strlen(notice), 0u);
    const char *name2 = nullptr, *notice2 = nullptr;
    GetDLLInfo(&name2, &notice2);
    EXPECT_EQ(name2, name);  // hosts may keep the pointers
    EXPECT_EQ(notice2, notice);
    GetDLLInfo(nullptr, nullptr);
}

TEST_F(HandlesTest, ColourBytesUseLowEightBits) {
    for (uint32_t depth : {15u, 16u, 24u, 32u}) {
        SCOPED_TRACE(depth);
        SetDesktopDepth(depth);
        OpenWindowed();
        EXPECT_EQ(RGB(0x1FF, 0, 0), RGB(0xFF, 0, 0));
        EXPECT_EQ(RGB(0x100, 0x2FF, -1), RGB(0, 0xFF, 0xFF));
        EXPECT_NE(RGB(0xFF, 0, 0), 0u);
        uint8_t r = 1, g = 1, b = 1, r2 = 2, g2 = 2, b2 = 2;
        unRGB(RGB(0x1FF, 0x100, 0x3FF), &r, &g, &b);
        unRGB(RGB(0xFF, 0, 0xFF), &r2, &g2, &b2);
        EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({r2, g2, b2}));
        EXPECT_EQ(g, 0);
    }
}

}  // namespace
}  // namespace vxl::testing
