// Every fatal message of display and buffer set-up, the error log, and the bounded waits on a busy
// surface or blitter.
#include <cstring>

#include "display/mode_table.h"
#include "fake_fixture.h"
#include "interface/result_texts.h"

namespace vxl::testing {
namespace {

using namespace platform;

class FatalTest : public FakeTest {
protected:
    // A table row starts from a fresh library and fake, as a test of its own would.
    void Fresh() {
        TearDown();
        SetUp();
    }

    // The last frame's first pixel: what ClearVexel last put on screen.
    uint32_t ShownColour() const {
        const FakeBackend::Frame& f = fake_->frames().back();
        uint32_t v = 0;
        std::memcpy(&v, f.pixels.data(), f.format.BytesPerPixel());
        return v;
    }
};

std::string Expected(const char* tag, const char* op, HResult code) {
    return std::string(tag) + op + " -> " + DirectDrawResultText(code);
}

TEST_F(FatalTest, DisplaySetUpFailures) {
    struct Case {
        PlatformCall call;
        const char* op;
        HResult code;
        int succeed_first;  // calls of `call` that go through before the failing one
        bool full;
    };
    const Case cases[] = {
        {PlatformCall::DirectDrawCreate, "DirectDrawCreate", DDERR_GENERIC, 0, false},
        {PlatformCall::SetCooperativeLevel, "SetCooperativeLevel", DDERR_INVALIDPARAMS, 0, false},
        {PlatformCall::CreateSurface, "CreateSurface", DDERR_OUTOFMEMORY, 0, false},       // primary
        {PlatformCall::CreateSurface, "CreateSurface", DDERR_OUTOFVIDEOMEMORY, 1, false},  // back
        {PlatformCall::CreateClipper, "CreateClipper", DDERR_UNSUPPORTED, 0, false},
        {PlatformCall::SetHWnd, "SetHWnd", DDERR_NOHWND, 0, false},
        {PlatformCall::SetClipper, "SetClipper", DDERR_INVALIDOBJECT, 0, false},
        {PlatformCall::GetPixelFormat, "GetPixelFormat", DDERR_SURFACELOST, 0, false},
        {PlatformCall::GetCaps, "GetCaps", DDERR_GENERIC, 0, false},
        {PlatformCall::DirectDrawCreate, "DirectDrawCreate", DDERR_OUTOFMEMORY, 0, true},
        {PlatformCall::SetCooperativeLevel, "SetCooperativeLevel", DDERR_EXCLUSIVEMODEALREADYSET, 0, true},
        {PlatformCall::SetDisplayMode, "SetDisplayMode", DDERR_INVALIDMODE, 0, true},
        {PlatformCall::CreateSurface, "CreateSurface", DDERR_OUTOFVIDEOMEMORY, 0, true},
        {PlatformCall::GetAttachedSurface, "GetAttachedSurface", DDERR_NOTFOUND, 0, true},
        {PlatformCall::SetClipper, "SetClipper", DDERR_NOCLIPLIST, 0, true},
        {PlatformCall::GetCaps, "GetCaps", DDERR_UNSUPPORTED, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.op) + (c.full ? " full screen" : " windowed"));
        Fresh();
        if (c.full) {
            ListCommonModes();
            TModeTable::Get().entries();  // read before the failure is armed
        }
        if (c.succeed_first) fake_->Fail(c.call, DD_OK, c.succeed_first);
        fake_->Fail(c.call, c.code);
        const std::string expected = Expected("[TVexel]", c.op, c.code);
        EXPECT_EQ(FatalMessage([&] { c.full ? OpenFullScreen(640, 480, 32) : OpenWindowed(); }), expected);
        EXPECT_EQ(ErrorLog(), expected + "\r\n");
        EXPECT_EQ(VexelSizeX(), 0);
        EXPECT_FALSE(fake_->window(window_).full_screen);  // the desktop is back
        EXPECT_TRUE(fake_->cursor_visible());

        InitVexel(window_, 200, 100, 0, 0);
        EXPECT_EQ(VexelSizeX(), 200);
    }
}

TEST_F(FatalTest, LogHoldsTheLastMessageOnly) {
    const std::string first = FatalMessage([] { SetupBuffer(4, 4, 0); });
    EXPECT_EQ(first, "[TBufferVx]Create -> No display open...");
    EXPECT_EQ(ErrorLog(), first + "\r\n");
    fake_->Fail(PlatformCall::GetCaps, DDERR_GENERIC);
    const std::string second = FatalMessage([&] { OpenWindowed(); });
    EXPECT_EQ(second, Expected("[TVexel]", "GetCaps", DDERR_GENERIC));
    EXPECT_EQ(ErrorLog(), second + "\r\n");
}

TEST_F(FatalTest, BufferSetUpFailures) {
    struct Case {
        PlatformCall call;
        HResult code;
        int times;
        const char* op;
    };
    const Case cases[] = {
        {PlatformCall::CreateSurface, DDERR_OUTOFMEMORY, 2, "CreateSurface"},  // both attempts
        {PlatformCall::Lock, DDERR_INVALIDRECT, 1, "Lock"},
        {PlatformCall::Lock, DDERR_SURFACEBUSY, 100000, "Lock"},  // busy for good: give up, not hang
        {PlatformCall::Unlock, DDERR_NOTLOCKED, 1, "UnLock"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.op);
        Fresh();
        OpenWindowed();
        fake_->Fail(c.call, c.code, c.times);
        const std::string expected = Expected("[TBufferVx]", c.op, c.code);
        EXPECT_EQ(FatalMessage([] { SetupBuffer(16, 16, 0); }), expected);
        EXPECT_EQ(ErrorLog(), expected + "\r\n");
        EXPECT_EQ(VexelSizeX(), 320);  // a buffer's failure leaves the display open
    }
}

TEST_F(FatalTest, FirstAttemptFailingFallsBack) {
    OpenWindowed();
    fake_->Fail(PlatformCall::CreateSurface, DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(BufferSizeX(SetupBuffer(16, 8, 1)), 16);
}

TEST_F(FatalTest, BriefLockContentionIsWaitedOut) {
    OpenWindowed();
    fake_->Fail(PlatformCall::Lock, DDERR_SURFACEBUSY, 3);
    int32_t h = -1;
    EXPECT_EQ(FatalMessage([&] { h = SetupBuffer(16, 8, 0); }), "");
    EXPECT_EQ(BufferSizeX(h), 16);
    EXPECT_NE(BufferPointer(h), nullptr);
}

TEST_F(FatalTest, ClearRidesOutABusyBlitter) {
    OpenWindowed();
    fake_->Fail(PlatformCall::Blt, DDERR_WASSTILLDRAWING, 3);
    ClearVexel(0x123456);
    EXPECT_EQ(ShownColour(), 0x123456u);

    fake_->Fail(PlatformCall::GetBltStatus, DDERR_WASSTILLDRAWING, 100000);
    ClearVexel(0x654321);
    EXPECT_EQ(ShownColour(), 0x654321u);

    fake_->Fail(PlatformCall::Blt, DDERR_WASSTILLDRAWING, 100000);
    const size_t frames = fake_->frames().size();
    ClearVexel(0xFFFFFF);  // dropped, not waited for
    EXPECT_EQ(fake_->frames().size(), frames);
    EXPECT_EQ(ShownColour(), 0x654321u);
}

}  // namespace
}  // namespace vxl::testing
