#include "platform/windows/window_system.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/saturating.h"
#include "platform/windows/window_classes.h"

namespace vxl::platform {
namespace {

// A queue nobody drains must not grow without end; the oldest messages go first.
constexpr size_t kMaxQueuedMessages = 4096;

struct WindowSystem {
    std::deque<Message> queue;
    std::unordered_map<WindowId, WindowProc> procs;
    int32_t cursor_count = 0;
    WindowId full_screen_window = 0;
    int32_t mode_width = 0;
    int32_t mode_height = 0;
    int32_t screen_saver_holds = 0;
};

WindowSystem& Sys() {
    static auto& sys = *std::make_unique<WindowSystem>().release();  // outlives every display
    return sys;
}

bool CoversScreen(WindowId window) {
    return window != 0 && window == Sys().full_screen_window;
}

void Enqueue(const Message& msg) {
    auto& q = Sys().queue;
    if (q.size() >= kMaxQueuedMessages) {
        q.pop_front();
    }
    q.push_back(msg);
}

void Pump() {
    std::vector<Message> fresh;
    CurrentBackend().PollEvents(&fresh);
    for (const Message& m : fresh) {
        Enqueue(m);
    }
}

}  // namespace

bool IsWindow(WindowId window) {
    return window != 0 && CurrentBackend().IsWindow(window);
}

uint32_t GetWindowLong(WindowId window, int32_t index) {
    if (!IsWindow(window) || index != GWL_STYLE) {
        return 0;
    }
    return CurrentBackend().WindowStyle(window);
}

void SetWindowLong(WindowId window, int32_t index, uint32_t value) {
    if (IsWindow(window) && index == GWL_STYLE) {
        CurrentBackend().SetWindowStyle(window, value);
    }
}

bool WindowHasMenu(WindowId window) {
    return IsWindow(window) && CurrentBackend().WindowHasMenu(window);
}

void AdjustWindowRect(WindowId window, Rect* rect) {
    if (!IsWindow(window)) {
        return;
    }
    const FrameInsets f = CurrentBackend().WindowFrame(window);
    rect->left = SaturatingSub(rect->left, f.left);
    rect->top = SaturatingSub(rect->top, f.top);
    rect->right = SaturatingAdd(rect->right, f.right);
    rect->bottom = SaturatingAdd(rect->bottom, f.bottom);
}

void SetWindowPos(WindowId window, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
    if (!IsWindow(window)) {
        return;
    }
    Backend& b = CurrentBackend();
    const FrameInsets f = b.WindowFrame(window);
    if (!(flags & SWP_NOMOVE)) {
        b.MoveClient(window, SaturatingAdd(x, f.left), SaturatingAdd(y, f.top));
    }
    if (!(flags & SWP_NOSIZE)) {
        b.ResizeClient(window, ClampToInt32(std::max<int64_t>(0, int64_t(width) - f.left - f.right)),
                       ClampToInt32(std::max<int64_t>(0, int64_t(height) - f.top - f.bottom)));
    }
    if (flags & SWP_SHOWWINDOW) {
        b.ShowWindow(window);
    }
}

Rect GetClientRect(WindowId window) {
    Rect r;
    if (IsWindow(window) && CoversScreen(window)) {
        return Rect{0, 0, Sys().mode_width, Sys().mode_height};
    }
    if (IsWindow(window)) {
        CurrentBackend().ClientSize(window, &r.right, &r.bottom);
    }
    return r;
}

void ClientToScreen(WindowId window, int32_t* x, int32_t* y) {
    if (!IsWindow(window) || CoversScreen(window)) {
        return;
    }
    int32_t ox = 0, oy = 0;
    CurrentBackend().ClientOrigin(window, &ox, &oy);
    *x = SaturatingAdd(*x, ox);
    *y = SaturatingAdd(*y, oy);
}

Rect ClientRectOnScreen(WindowId window) {
    const Rect client = GetClientRect(window);
    int32_t x = 0, y = 0;
    ClientToScreen(window, &x, &y);
    // A window placed near the end of the coordinate range keeps its corner on the edge of it.
    return Rect{x, y, SaturatingAdd(x, client.right), SaturatingAdd(y, client.bottom)};
}

bool PeekMessage(Message* msg, WindowId window, uint32_t remove) {
    Pump();
    auto& q = Sys().queue;
    auto it = std::find_if(q.begin(), q.end(), [window](const Message& m) {
        return m.window == window || (m.window == 0 && m.message == WM_QUIT);
    });
    if (it == q.end()) {
        return false;
    }
    *msg = *it;
    if (remove & PM_REMOVE) {
        q.erase(it);
    }
    return true;
}

int64_t DispatchMessage(const Message& msg) {
    auto& procs = Sys().procs;
    auto it = procs.find(msg.window);
    if (it != procs.end() && it->second) {
        return it->second(msg);
    }
    return DefWindowProc(msg);
}

int64_t DefWindowProc(const Message& msg) {
    if (msg.message == WM_CLOSE && msg.window != 0) {
        PostMessage(msg.window, WM_QUIT);
    }
    // The close box's system command becomes a close request to the window's own procedure.
    if (msg.message == WM_SYSCOMMAND && msg.wparam == SC_CLOSE && msg.window != 0) {
        return DispatchMessage(Message{msg.window, WM_CLOSE, 0, 0});
    }
    return 0;
}

void PostMessage(WindowId window, uint32_t message, uint64_t wparam, int64_t lparam) {
    Enqueue(Message{window, message, wparam, lparam});
}

void PostQuitMessage(int32_t exit_code) {
    Enqueue(Message{0, WM_QUIT, static_cast<uint64_t>(exit_code), 0});
}

void SetWindowProc(WindowId window, WindowProc proc) {
    if (proc) {
        Sys().procs[window] = std::move(proc);
    } else {
        Sys().procs.erase(window);
    }
}

void DiscardMessages(WindowId window) {
    auto& q = Sys().queue;
    q.erase(std::remove_if(q.begin(), q.end(), [window](const Message& m) { return m.window == window; }), q.end());
}

// While a display mode is in effect the screen is the mode's picture, shown letterboxed over the
// full-screen window, so the cursor crosses that scaling both ways. A point on a bar lies outside the
// picture and maps outside the mode: negative left of and above it, the width or more right of it.
namespace {

struct ModeOnDesktop {
    int32_t origin_x = 0, origin_y = 0;  // the picture's top-left on the desktop
    PictureRect picture;
};

std::optional<ModeOnDesktop> ScaledMode() {
    const WindowSystem& s = Sys();
    if (s.full_screen_window == 0 || !IsWindow(s.full_screen_window) || s.mode_width <= 0 || s.mode_height <= 0) {
        return std::nullopt;
    }
    ModeOnDesktop m;
    int32_t tw = 0, th = 0;
    CurrentBackend().ClientOrigin(s.full_screen_window, &m.origin_x, &m.origin_y);
    CurrentBackend().ClientSize(s.full_screen_window, &tw, &th);
    m.picture = Letterbox(tw, th, s.mode_width, s.mode_height);
    if (m.picture.width <= 0 || m.picture.height <= 0) {
        return std::nullopt;
    }
    m.origin_x = SaturatingAdd(m.origin_x, m.picture.x);
    m.origin_y = SaturatingAdd(m.origin_y, m.picture.y);
    return m;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

int32_t Clamped(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Desktop offset from the picture's corner to mode pixels, and a mode pixel to the first desktop
// pixel that shows it, so that setting a position and reading it back agree.
int32_t ToMode(int32_t desktop, int32_t origin, int32_t picture, int32_t mode) {
    return Clamped(FloorDiv((int64_t(desktop) - origin) * mode, picture));
}
int32_t ToDesktop(int32_t pos, int32_t origin, int32_t picture, int32_t mode) {
    return Clamped(-FloorDiv(-int64_t(pos) * picture, mode) + int64_t(origin));
}

}  // namespace

void GetCursorPos(int32_t* x, int32_t* y) {
    CurrentBackend().CursorPosition(x, y);
    if (const auto m = ScaledMode()) {
        *x = ToMode(*x, m->origin_x, m->picture.width, Sys().mode_width);
        *y = ToMode(*y, m->origin_y, m->picture.height, Sys().mode_height);
    }
}

void SetCursorPos(int32_t x, int32_t y) {
    if (const auto m = ScaledMode()) {
        x = ToDesktop(x, m->origin_x, m->picture.width, Sys().mode_width);
        y = ToDesktop(y, m->origin_y, m->picture.height, Sys().mode_height);
    }
    CurrentBackend().SetCursorPosition(x, y);
}

void ScreenToClient(WindowId window, int32_t* x, int32_t* y) {
    int32_t ox = 0, oy = 0;
    ClientToScreen(window, &ox, &oy);
    *x = SaturatingSub(*x, ox);
    *y = SaturatingSub(*y, oy);
}

void HoldScreenSaver() {
    if (Sys().screen_saver_holds++ == 0) {
        CurrentBackend().AllowScreenSaver(false);
    }
}

void ReleaseScreenSaver() {
    if (Sys().screen_saver_holds > 0 && --Sys().screen_saver_holds == 0) {
        CurrentBackend().AllowScreenSaver(true);
    }
}

int32_t ShowCursor(bool show) {
    int32_t& count = Sys().cursor_count;
    const bool was_visible = count >= 0;
    count += show ? 1 : -1;
    const bool visible = count >= 0;
    if (visible != was_visible) {
        CurrentBackend().ShowCursor(visible);
    }
    return count;
}

void EnterDisplayMode(WindowId window, int32_t width, int32_t height) {
    WindowSystem& s = Sys();
    s.mode_width = width;
    s.mode_height = height;
    if (s.full_screen_window != 0 && s.full_screen_window != window && IsWindow(s.full_screen_window)) {
        CurrentBackend().SetFullScreen(s.full_screen_window, false);
    }
    s.full_screen_window = window;
    if (IsWindow(window)) {
        CurrentBackend().SetFullScreen(window, true);
    }
}

void RestoreDesktopMode() {
    WindowSystem& s = Sys();
    if (s.full_screen_window != 0 && IsWindow(s.full_screen_window)) {
        CurrentBackend().SetFullScreen(s.full_screen_window, false);
    }
    s.full_screen_window = 0;
}

void ResetWindowSystem() {
    WindowSystem& s = Sys();
    s.queue.clear();
    s.procs.clear();
    s.cursor_count = 0;
    s.full_screen_window = 0;
    s.screen_saver_holds = 0;
    ResetWindowClasses();
}

}  // namespace vxl::platform
