#include "platform/windows/window_classes.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/saturating.h"

namespace vxl::platform {
namespace {

// Window systems draw the line at 16-bit coordinates.
constexpr int64_t kMaxWindowSize = 32767;

std::map<std::string, WindowClass>& Classes() {
    static auto& classes = *std::make_unique<std::map<std::string, WindowClass>>().release();
    return classes;
}

// The class each of our windows was made from; a class with windows left cannot be unregistered.
std::map<WindowId, std::string>& WindowClasses() {
    static auto& classes = *std::make_unique<std::map<WindowId, std::string>>().release();
    return classes;
}

}  // namespace

bool GetClassInfo(const std::string& name) {
    return Classes().count(name) != 0;
}

bool RegisterClass(const WindowClass& window_class) {
    if (CurrentBackend().OnCall(PlatformCall::RegisterClass) != 0 || window_class.name.empty()) {
        return false;
    }
    return Classes().emplace(window_class.name, window_class).second;
}

bool UnregisterClass(const std::string& name) {
    for (const auto& [window, class_name] : WindowClasses()) {
        if (class_name == name && IsWindow(window)) {
            return false;
        }
    }
    return Classes().erase(name) != 0;
}

void ResetWindowClasses() {
    Classes().clear();
    WindowClasses().clear();
}

void AdjustWindowRectEx(Rect* rect, uint32_t style, bool, uint32_t) {
    const FrameInsets f = CurrentBackend().StyleFrame(style);
    rect->left = ClampToInt32(int64_t(rect->left) - f.left);
    rect->top = ClampToInt32(int64_t(rect->top) - f.top);
    rect->right = ClampToInt32(int64_t(rect->right) + f.right);
    rect->bottom = ClampToInt32(int64_t(rect->bottom) + f.bottom);
}

int32_t GetSystemMetrics(int32_t index) {
    switch (index) {
        case SM_CXSCREEN:
            return CurrentBackend().DesktopWidth();
        case SM_CYSCREEN:
            return CurrentBackend().DesktopHeight();
        default:
            return 0;
    }
}

WindowId CreateWindowEx(uint32_t, const std::string& class_name, const std::string& title, uint32_t style, int32_t x,
                        int32_t y, int32_t width, int32_t height) {
    auto it = Classes().find(class_name);
    if (CurrentBackend().OnCall(PlatformCall::CreateWindowEx) != 0 || it == Classes().end()) {
        return 0;
    }
    Backend& b = CurrentBackend();
    const FrameInsets f = b.StyleFrame(style);
    const int64_t client_w = int64_t(width) - f.left - f.right, client_h = int64_t(height) - f.top - f.bottom;
    if (client_w <= 0 || client_h <= 0 || client_w > kMaxWindowSize || client_h > kMaxWindowSize) {
        return 0;
    }
    const bool framed = (style & WS_CAPTION) != 0 && (style & WS_POPUP) == 0;
    const WindowId window = b.CreateWindow(title, ClampToInt32(int64_t(x) + f.left), ClampToInt32(int64_t(y) + f.top),
                                           int32_t(client_w), int32_t(client_h), framed);
    if (window != 0) {
        WindowClasses()[window] = class_name;
        if (it->second.procedure) {
            SetWindowProc(window, it->second.procedure);
        }
    }
    return window;
}

void DestroyWindow(WindowId window) {
    if (!IsWindow(window)) {
        return;
    }
    DispatchMessage(Message{window, WM_DESTROY, 0, 0});
    SetWindowProc(window, nullptr);
    CurrentBackend().DestroyWindow(window);
    DiscardMessages(window);
    WindowClasses().erase(window);
}

void ShowWindow(WindowId window, uint32_t how) {
    if (IsWindow(window) && how != 0) {
        CurrentBackend().ShowWindow(window);
    }
}

void UpdateWindow(WindowId window) {
    // Our windows keep no invalid region: the procedure is simply asked to paint once.
    if (IsWindow(window)) {
        DispatchMessage(Message{window, WM_PAINT, 0, 0});
    }
}

void SetFocus(WindowId window) {
    if (IsWindow(window)) {
        CurrentBackend().ShowWindow(window);
    }
}

}  // namespace vxl::platform
