// Buffer handles as the host sees them, and the version exports.
#include <numeric>
#include <tuple>
#include <vector>

#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using HandlesTest = FakeTest;

std::vector<int32_t> OpenBuffers(int count) {
    std::vector<int32_t> handles;
    for (int i = 0; i < count; ++i) handles.push_back(SetupBuffer(8 + i, 4, 0));
    return handles;
}

TEST_F(HandlesTest, NumbersAndReusesSlots) {
    // Buffers opened, handles then closed, and the handles the next buffers get.
    const std::tuple<int, std::vector<int32_t>, std::vector<int32_t>> cases[] = {
        {4, {1, 3}, {3, 1, 4}},  // freed slots come back highest first
        {2, {0}, {2}},           // slot 0 is never handed out again
        {1, {0}, {1, 2}},
    };
    for (const auto& [open, close, next] : cases) {
        ResetLibrary();
        OpenWindowed();
        std::vector<int32_t> expected(static_cast<size_t>(open));
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(OpenBuffers(open), expected);
        for (int32_t h : close) CloseBuffer(h);
        for (int32_t want : next) {
            EXPECT_EQ(SetupBuffer(5, 3, 0), want);
            EXPECT_EQ(BufferSizeX(want), 5);  // a reused slot holds the new buffer
        }
    }
}

TEST_F(HandlesTest, FailedCreationKeepsItsSlotEmpty) {
    OpenWindowed();
    EXPECT_EQ(SetupBuffer(4, 4, 0), 0);
    EXPECT_THROW(SetupBuffer(0, 5, 0), std::exception);
    EXPECT_EQ(SetupBuffer(4, 4, 0), 2);  // slot 1 stays in use, empty
    EXPECT_EQ(BufferPointer(1), nullptr);
    CloseBuffer(1);
    EXPECT_EQ(SetupBuffer(6, 4, 0), 1);
    EXPECT_EQ(BufferSizeX(1), 6);
    // Handles never issued or already closed are ignored: the open ones keep their buffers.
    for (int32_t h : {INT32_MIN, -1, 3, 1000, INT32_MAX, 0, 0}) CloseBuffer(h);
    EXPECT_EQ(std::pair(BufferSizeX(1), BufferSizeX(2)), std::pair(6, 4));
    EXPECT_EQ(SetupBuffer(2, 2, 0), 3);
}

TEST_F(HandlesTest, VersionExports) {
    EXPECT_EQ(GetDLLVersion(), 331);
    const char *name = nullptr, *notice = nullptr;
    GetDLLInfo(&name, &notice);
    EXPECT_STREQ(name, "VXL.DLL v0.14b [10.03.2001]");
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(*notice, '\0');
}

}  // namespace
}  // namespace vxl::testing
