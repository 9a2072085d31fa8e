#include "display/self_vexel.h"

#include "core/library_state.h"
#include "display/own_window.h"
#include "platform/windows/window_classes.h"

namespace vxl {

using namespace platform;

namespace {

constexpr uint32_t kStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr uint32_t kExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

}  // namespace

std::unique_ptr<TVexel> TSelfVexel::Create(int32_t width, int32_t height, const char* title) {
    return ConstructOrReport<TSelfVexel, TVexel>([&](TSelfVexel& d) { d.Construct(width, height, title); });
}

void TSelfVexel::Construct(int32_t width, int32_t height, const char* title) {
    title_ = title ? title : "";
    // A class left registered by an earlier display is used as it is.
    if (!GetClassInfo(kClassName)) {
        WindowClass wc{CS_VREDRAW | CS_HREDRAW | CS_OWNDC,
                       [](const Message& m) { return OwnWindowProcedure(m, false); }, kClassName};
        if (!RegisterClass(wc)) {
            throw ObjectFailure{kTagSelfVexel, "RegisterClass", "Error registering window class..."};
        }
    }
    Rect frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, kStyle, false, kExStyle);
    // The client size is centred; one larger than the screen starts at its edge.
    const int32_t x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
    const int32_t y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
    const WindowId window = CreateWindowEx(kExStyle, kClassName, title_, kStyle, x, y, frame.Width(), frame.Height());
    if (window == 0) {
        throw ObjectFailure{kTagSelfVexel, "CreateWindowEx", "Error creating window..."};
    }
    window_ = window;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetFocus(window);

    SetGeometry(window, width, height);
    full_screen_ = false;
    SetUpPlatform(false);
    if (!IsSupportedDepth(Globals().bit_depth)) {
        throw ObjectFailure{kTagSelfVexel, "Create", "Desktop color depth not supported (only 15,16,24,32bit)"};
    }
    bit_depth_ = Globals().bit_depth;
    HoldScreenSaver();
    screen_saver_held_ = true;
    FinishConstruction();
}

TSelfVexel::~TSelfVexel() {
    full_screen_ = false;
    DestroyWindow(window_);
    UnregisterClass(kClassName);
    ReleasePlatform();
    if (screen_saver_held_) {
        ReleaseScreenSaver();
    }
}

}  // namespace vxl
