#include "display/self_full_vexel.h"

#include "core/library_state.h"
#include "display/mode_table.h"
#include "display/own_window.h"
#include "platform/windows/window_classes.h"

namespace vxl {

using namespace platform;

namespace {

constexpr uint32_t kStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr uint32_t kExStyle = WS_EX_APPWINDOW;

}  // namespace

std::unique_ptr<TVexel> TSelfFullVexel::Create(int32_t width, int32_t height, int32_t bpp, const char* title) {
    return ConstructOrReport<TSelfFullVexel, TVexel>(
        [&](TSelfFullVexel& d) { d.Construct(width, height, bpp, title); });
}

void TSelfFullVexel::Construct(int32_t width, int32_t height, int32_t bpp, const char* title) {
    if (!TModeTable::Get().Test(width, height, bpp)) {
        throw ObjectFailure{kTagSelfFullVexel, "Create", "Selected display mode not supported..."};
    }
    title_ = title ? title : "";
    // No look-up first: a class still registered by another display is a failure.
    WindowClass wc{CS_VREDRAW | CS_HREDRAW | CS_OWNDC, [](const Message& m) { return OwnWindowProcedure(m, true); },
                   kClassName};
    if (!RegisterClass(wc)) {
        throw ObjectFailure{kTagSelfFullVexel, "RegisterClass", "Error registering window class..."};
    }
    const WindowId window = CreateWindowEx(kExStyle, kClassName, title_, kStyle, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                           GetSystemMetrics(SM_CYSCREEN));
    if (window == 0) {
        throw ObjectFailure{kTagSelfFullVexel, "CreateWindowEx", "Error creating window..."};
    }
    window_ = window;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetFocus(window);

    SetGeometry(window, width, height);
    if (!IsSupportedDepth(uint32_t(bpp))) {
        throw ObjectFailure{kTagSelfFullVexel, "Create", "Desktop color depth not supported (only 15,16,24,32bit)"};
    }
    bit_depth_ = uint8_t(bpp);
    full_screen_ = true;
    SetUpPlatform(true);
    ShowCursor(false);
    cursor_hidden_ = true;
    HoldScreenSaver();
    screen_saver_held_ = true;
    FinishConstruction();
}

TSelfFullVexel::~TSelfFullVexel() {
    ReleasePlatform();
    RestoreDesktopMode();
    if (cursor_hidden_) {
        ShowCursor(true);
    }
    full_screen_ = false;
    // Closed on purpose: the quit message its destruction would post must not end the next display.
    SetWindowProc(window_, nullptr);
    DestroyWindow(window_);
    UnregisterClass(kClassName);
    if (screen_saver_held_) {
        ReleaseScreenSaver();
    }
}

}  // namespace vxl
