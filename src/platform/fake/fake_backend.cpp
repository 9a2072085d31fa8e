#include "platform/fake/fake_backend.h"

#include <algorithm>
#include <cstring>

namespace vxl::platform {

// Presentations kept for inspection; older ones are dropped.
constexpr size_t kKeptFrames = 16;

WindowId FakeBackend::AddWindow(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t style, bool menu) {
    const WindowId id = next_window_++;
    windows_[id] = Window{x, y, width, height, style, menu, false, "", false};
    return id;
}

void FakeBackend::Fail(PlatformCall call, HResult code, int times) {
    failures_[size_t(call)].push_back({code, times});
}

HResult FakeBackend::OnCall(PlatformCall call) {
    ++calls_[size_t(call)];
    auto& queue = failures_[size_t(call)];
    if (queue.empty()) {
        return DD_OK;
    }
    const HResult code = queue.front().first;
    if (--queue.front().second <= 0) {
        queue.pop_front();
    }
    return code;
}

void FakeBackend::FailDevice(DeviceKind kind, DeviceCall call, HResult code, int times, int skip) {
    device_failures_[size_t(kind)][size_t(call)].push_back({code, times, skip});
}

HResult FakeBackend::OnDeviceCall(DeviceKind kind, DeviceCall call) {
    ++device_calls_[size_t(kind)][size_t(call)];
    auto& queue = device_failures_[size_t(kind)][size_t(call)];
    if (queue.empty()) {
        return 0;
    }
    Failure& f = queue.front();
    if (f.skip > 0) {
        --f.skip;
        return 0;
    }
    const HResult code = f.code;
    if (--f.times <= 0) {
        queue.pop_front();
    }
    return code;
}

bool FakeBackend::FindJoystick(JoystickInfo* info) {
    if (!joystick) {
        return false;
    }
    info->name = "Fake joystick";
    info->buttons = joystick_buttons;
    return true;
}

WindowId FakeBackend::CreateWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                                   bool framed) {
    const WindowId id = AddWindow(x, y, width, height, framed ? WS_OVERLAPPEDWINDOW : WS_POPUP);
    windows_[id].title = title;
    return id;
}

FrameInsets FakeBackend::WindowFrame(WindowId id) {
    const Window& w = windows_.at(id);
    if (w.style & WS_POPUP) {
        return FrameInsets{0, w.menu ? menu_height : 0, 0, 0};
    }
    FrameInsets f = frame;
    if (w.menu) {
        f.top += menu_height;
    }
    return f;
}

void FakeBackend::ClientOrigin(WindowId id, int32_t* x, int32_t* y) {
    *x = windows_.at(id).x;
    *y = windows_.at(id).y;
}

void FakeBackend::ClientSize(WindowId id, int32_t* w, int32_t* h) {
    *w = windows_.at(id).width;
    *h = windows_.at(id).height;
}

void FakeBackend::MoveClient(WindowId id, int32_t x, int32_t y) {
    windows_.at(id).x = x;
    windows_.at(id).y = y;
}

void FakeBackend::ResizeClient(WindowId id, int32_t w, int32_t h) {
    windows_.at(id).width = w;
    windows_.at(id).height = h;
}

void FakeBackend::SetFullScreen(WindowId id, bool on) {
    Window& w = windows_.at(id);
    if (on == w.full_screen) {
        return;
    }
    if (on) {
        windowed_geometry_[id] = w;
        w.x = 0;
        w.y = 0;
        w.width = desktop_width;
        w.height = desktop_height;
    } else if (auto it = windowed_geometry_.find(id); it != windowed_geometry_.end()) {
        w.x = it->second.x;
        w.y = it->second.y;
        w.width = it->second.width;
        w.height = it->second.height;
    }
    w.full_screen = on;
}

void FakeBackend::PollEvents(std::vector<Message>* out) {
    out->insert(out->end(), events_.begin(), events_.end());
    events_.clear();
}

void FakeBackend::Present(WindowId window, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit,
                          const Rect* changed) {
    ++presentations_;
    Frame f{window, x, y, view.width, view.height, scale_to_fit, view.format, {}, changed != nullptr,
            changed ? *changed : Rect{0, 0, view.width, view.height}};
    const size_t bytes = view.format.BytesPerPixel(), row = size_t(view.width) * bytes;
    const Rect sent = Intersect(f.changed, Rect{0, 0, view.width, view.height});
    const auto before = std::find_if(frames_.rbegin(), frames_.rend(), [&](const Frame& o) {
        return o.window == window && o.x == x && o.y == y && o.width == view.width && o.height == view.height &&
               o.scaled == scale_to_fit && o.format == view.format;
    });
    if (f.partial) {
        f.pixels = before != frames_.rend() ? before->pixels : std::vector<uint8_t>(row * size_t(view.height), 0xCD);
    } else {
        f.pixels.resize(row * size_t(view.height));
    }
    for (int32_t r = sent.top; !sent.Empty() && r < sent.bottom; ++r) {
        std::memcpy(f.pixels.data() + size_t(r) * row + size_t(sent.left) * bytes,
                    view.pixels + int64_t(r) * view.pitch + int64_t(sent.left) * int64_t(bytes),
                    size_t(sent.Width()) * bytes);
    }
    if (frames_.size() >= kKeptFrames) {
        frames_.erase(frames_.begin());
    }
    frames_.push_back(std::move(f));
}

}  // namespace vxl::platform
