// Window classes and the library's own windows: a class names a window procedure; windows created
// from it get that procedure and live until destroyed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows/window_system.h"

namespace vxl::platform {

// Window styles of the library's own windows.
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr uint32_t CS_VREDRAW = 0x1;
constexpr uint32_t CS_HREDRAW = 0x2;
constexpr uint32_t CS_OWNDC = 0x20;
constexpr uint32_t SW_SHOW = 5;
constexpr int32_t SM_CXSCREEN = 0;
constexpr int32_t SM_CYSCREEN = 1;

// A window class; the procedure receives every message dispatched to windows of the class.
struct WindowClass {
    uint32_t style = 0;
    std::function<int64_t(const Message&)> procedure;
    std::string name;
};

bool GetClassInfo(const std::string& name);
// Fails (false) when a class of that name is registered already.
bool RegisterClass(const WindowClass& window_class);
bool UnregisterClass(const std::string& name);
void ResetWindowClasses();

// The outer rectangle of a window of `style` whose client area is *rect.
void AdjustWindowRectEx(Rect* rect, uint32_t style, bool menu, uint32_t ex_style);
int32_t GetSystemMetrics(int32_t index);

// A window of a registered class with its outer rectangle at (x, y, width, height); 0 on failure.
WindowId CreateWindowEx(uint32_t ex_style, const std::string& class_name, const std::string& title, uint32_t style,
                        int32_t x, int32_t y, int32_t width, int32_t height);
// Sends WM_DESTROY to the window's procedure, then removes the window and its queued messages.
void DestroyWindow(WindowId window);
void ShowWindow(WindowId window, uint32_t how);
void UpdateWindow(WindowId window);
void SetFocus(WindowId window);

}  // namespace vxl::platform
