// Every fatal message of display and buffer set-up, the error log, and what still works afterwards.
#include "display/blit_completion.h"
#include "display/mode_table.h"
#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using namespace platform;
using FatalTest = FakeTest;

TEST_F(FatalTest, SetUpFailuresAreReportedAndLeaveTheLibraryUsable) {
    enum Stage { kWindowed, kFull, kBuffer };
    // What is set up, the call that fails and its name in the message, its result and how often, and
    // the results of the calls of it before the failing ones: a sample of each stage's calls.
    const std::tuple<Stage, PlatformCall, const char*, HResult, int, std::vector<HResult>> cases[] = {
        {kWindowed, PlatformCall::DirectDrawCreate, "DirectDrawCreate", DDERR_GENERIC, 1, {}},
        {kWindowed, PlatformCall::CreateSurface, "CreateSurface", DDERR_OUTOFMEMORY, 1, {}},            // primary
        {kWindowed, PlatformCall::CreateSurface, "CreateSurface", DDERR_OUTOFVIDEOMEMORY, 1, {DD_OK}},  // back
        {kWindowed, PlatformCall::CreateClipper, "CreateClipper", DDERR_UNSUPPORTED, 1, {}},
        {kWindowed, PlatformCall::SetHWnd, "SetHWnd", DDERR_NOHWND, 1, {}},
        {kWindowed, PlatformCall::GetPixelFormat, "GetPixelFormat", DDERR_SURFACELOST, 1, {}},
        {kFull, PlatformCall::SetCooperativeLevel, "SetCooperativeLevel", DDERR_EXCLUSIVEMODEALREADYSET, 1, {}},
        {kFull, PlatformCall::SetDisplayMode, "SetDisplayMode", DDERR_INVALIDMODE, 1, {}},
        {kFull, PlatformCall::GetAttachedSurface, "GetAttachedSurface", DDERR_NOTFOUND, 1, {}},
        {kFull, PlatformCall::SetClipper, "SetClipper", DDERR_NOCLIPLIST, 1, {}},
        {kFull, PlatformCall::GetCaps, "GetCaps", DDERR_UNSUPPORTED, 1, {}},
        // Both attempts, video then system memory, failing: the second one's result is reported.
        {kBuffer, PlatformCall::CreateSurface, "CreateSurface", DDERR_GENERIC, 1, {DDERR_OUTOFVIDEOMEMORY}},
        {kBuffer, PlatformCall::Lock, "Lock", DDERR_INVALIDRECT, 1, {}},
        {kBuffer, PlatformCall::Lock, "Lock", DDERR_SURFACEBUSY, kMaxBlitterRetries, {}},  // give up, not hang
        {kBuffer, PlatformCall::Unlock, "UnLock", DDERR_NOTLOCKED, 1, {}},
    };
    for (const auto& [stage, call, op, code, times, earlier] : cases) {
        SCOPED_TRACE(std::string(op) + " at stage " + std::to_string(stage));
        TearDown();  // each row starts afresh, as a test of its own would
        SetUp();
        fake_->hardware = stage == kBuffer;
        if (stage == kFull) {
            ListCommonModes();
            TModeTable::Get().entries();  // read before the failure is armed
        }
        window_ = fake_->AddWindow(100, 80, 200, 150);
        if (stage == kBuffer) InitVexel(window_, 320, 240, 0, 0);
        auto set_up = [&] {
            if (stage == kBuffer) SetupBuffer(16, 16, 1);
            if (stage != kBuffer) InitVexel(window_, 320, 240, 32, stage == kFull);
        };
        for (HResult e : earlier) fake_->Fail(call, e);
        fake_->Fail(call, code, times);
        ExpectFatal(Failed(stage == kBuffer ? "[TBufferVx]" : "[TVexel]", op, code), set_up);
        // A buffer's failure leaves the display open; the desktop and cursor are back.
        EXPECT_EQ(std::tuple(VexelSizeX(), fake_->window(window_).full_screen, fake_->cursor_visible()),
                  std::tuple(stage == kBuffer ? 320 : 0, false, true));

        // The same set-up then succeeds on the same window, the cursor hidden only in full screen, and
        // buffers work even with the lock briefly busy.
        set_up();
        EXPECT_EQ(std::pair(VexelSizeX(), fake_->cursor_visible()), std::pair(320, stage != kFull));
        fake_->Fail(PlatformCall::Lock, DDERR_SURFACEBUSY, 3);
        EXPECT_EQ(BufferSizeX(SetupBuffer(3, 2, 1)), 3);
    }
    TearDown();
    SetUp();
    ExpectFatal("[TBufferVx]Create -> No display open...", [] { SetupBuffer(4, 4, 0); });
}

}  // namespace
}  // namespace vxl::testing
