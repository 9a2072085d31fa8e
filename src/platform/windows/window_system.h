// Windows as the library sees them: geometry and style, a message queue with one-message peeking per
// window, window procedures, the cursor and the screen's display mode. Real windows belong to the
// backend; the queue, procedures and bookkeeping here are shared by every backend.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/backend.h"

namespace vxl::platform {

constexpr uint32_t PM_NOREMOVE = 0;
constexpr uint32_t PM_REMOVE = 1;
constexpr int32_t GWL_STYLE = -16;
constexpr int32_t GWL_EXSTYLE = -20;
constexpr uint32_t SWP_NOSIZE = 0x1;
constexpr uint32_t SWP_NOMOVE = 0x2;
constexpr uint32_t SWP_NOZORDER = 0x4;
constexpr uint32_t SWP_NOACTIVATE = 0x10;
constexpr uint32_t SWP_SHOWWINDOW = 0x40;

// Answers a message sent to a window; windows without one get the default procedure.
using WindowProc = std::function<int64_t(const Message&)>;

bool IsWindow(WindowId window);
uint32_t GetWindowLong(WindowId window, int32_t index);
void SetWindowLong(WindowId window, int32_t index, uint32_t value);
bool WindowHasMenu(WindowId window);
// Grows a client rectangle by the frame of the window's current style.
void AdjustWindowRect(WindowId window, Rect* rect);
// Places the window's outer rectangle; flags are the SWP_ values.
void SetWindowPos(WindowId window, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags);
Rect GetClientRect(WindowId window);
// The screen position of the client area's origin.
void ClientToScreen(WindowId window, int32_t* x, int32_t* y);
// The client area in screen coordinates.
Rect ClientRectOnScreen(WindowId window);

// Takes the oldest message for `window`, or the thread's quit message, into *msg.
bool PeekMessage(Message* msg, WindowId window, uint32_t remove);
int64_t DispatchMessage(const Message& msg);
void PostMessage(WindowId window, uint32_t message, uint64_t wparam = 0, int64_t lparam = 0);
void PostQuitMessage(int32_t exit_code);
void SetWindowProc(WindowId window, WindowProc proc);
// The default answer: a close request on a window without a procedure of its own asks the
// thread's loop for that window to end, as a host's window procedure would.
int64_t DefWindowProc(const Message& msg);

// Drops the queued messages addressed to `window` (a destroyed window receives nothing more).
void DiscardMessages(WindowId window);

// The cursor, in screen coordinates; ScreenToClient makes a screen point relative to a client area.
void GetCursorPos(int32_t* x, int32_t* y);
void SetCursorPos(int32_t x, int32_t y);
void ScreenToClient(WindowId window, int32_t* x, int32_t* y);

// While any hold is taken, the screen saver stays off.
void HoldScreenSaver();
void ReleaseScreenSaver();

// Display count semantics: the cursor shows while the count is not negative.
int32_t ShowCursor(bool show);

// The screen's display mode: `window` takes over the screen in a mode of width x height / the
// desktop's mode comes back. While it covers the screen, the window's client area is the whole screen
// in the mode's coordinates, (0, 0) to (width, height), however the backend scales the picture.
void EnterDisplayMode(WindowId window, int32_t width, int32_t height);
void RestoreDesktopMode();

// Forgets queued messages, procedures and the cursor count (between tests).
void ResetWindowSystem();

}  // namespace vxl::platform
