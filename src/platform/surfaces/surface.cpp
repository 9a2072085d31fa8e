#include "platform/surfaces/surface.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

#include "platform/surfaces/direct_draw.h"
#include "platform/windows/window_system.h"

namespace vxl::platform {
namespace {

constexpr size_t kAlign = 64;
constexpr size_t kSpareBytes = 4;

// Rectangles whose sides do not fit 31 bits are refused before any width is computed.
bool Sane(const Rect& r) {
    return r.right >= r.left && r.bottom >= r.top && int64_t(r.right) - r.left <= INT32_MAX &&
           int64_t(r.bottom) - r.top <= INT32_MAX;
}

// The blitter's key compares the whole stored pixel, spare bits included (bit 15 at 15 bits, the top
// byte at 32 bits), so pixels that Negative or CopyXor set there stay opaque.
uint32_t StoredMask(const PixelFormat& f) {
    const uint32_t bytes = f.BytesPerPixel();
    return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
}

uint64_t NextSerial() {
    static uint64_t last = 0;
    return ++last;
}

}  // namespace

Surface::Surface(std::shared_ptr<ScreenState> screen, int32_t width, int32_t height, uint32_t caps)
    : screen_(std::move(screen)),
      width_(width),
      height_(height),
      format_(screen_->format),
      caps_(caps),
      serial_(NextSerial()) {
    pitch_ = int32_t(width_ * format_.BytesPerPixel());
    // Cache-line aligned so that whole-surface fills and copies run on aligned stores, with a few spare
    // bytes after the last pixel so that a 4-byte vector read of any smaller pixel stays inside.
    const size_t bytes = (size_t(pitch_) * size_t(height_) + kSpareBytes + kAlign - 1) / kAlign * kAlign;
    memory_.reset(static_cast<uint8_t*>(std::aligned_alloc(kAlign, bytes ? bytes : kAlign)));
    if (memory_) {
        std::memset(memory_.get(), 0, bytes);
    }
}

PixelMemory Surface::View() const {
    return PixelMemory{memory_.get(), width_, height_, pitch_, format_.BytesPerPixel()};
}

Rect Surface::ClipArea() const {
    // Full screen, the window covers the screen and nothing clips.
    if (!IsPrimary() || screen_->mode_set || !clipper_ || !IsWindow(clipper_->window())) {
        return Bounds();
    }
    return Intersect(Bounds(), ClientRectOnScreen(clipper_->window()));
}

void Surface::Present(const Rect* changed) {
    if (!IsPrimary()) {
        return;
    }
    const WindowId window = clipper_ && clipper_->window() ? clipper_->window() : screen_->cooperative_window;
    if (!IsWindow(window)) {
        return;
    }
    if (screen_->mode_set) {
        CurrentBackend().Present(window, PixelView{memory_.get(), width_, height_, pitch_, format_}, 0, 0, true,
                                 changed);
        return;
    }
    ShowOnWindow(window, ClientRectOnScreen(window), *this, 0, 0, changed);
}

void Surface::ShowOnWindow(WindowId window, const Rect& client, const Surface& from, int32_t left, int32_t top,
                           const Rect* changed) const {
    const Rect visible = Intersect(Bounds(), client);
    if (visible.Empty()) {
        return;
    }
    const uint8_t* origin = from.memory_.get() + (int64_t(visible.top) - top) * from.pitch_ +
                            (int64_t(visible.left) - left) * from.format_.BytesPerPixel();
    // What changed, in the coordinates of the visible part shown.
    std::optional<Rect> part;
    if (changed) {
        const Rect c = Intersect(*changed, visible);
        part = c.Empty()
                   ? Rect{}
                   : Rect{c.left - visible.left, c.top - visible.top, c.right - visible.left, c.bottom - visible.top};
    }
    CurrentBackend().Present(window, PixelView{origin, visible.Width(), visible.Height(), from.pitch_, from.format_},
                             SaturatingSub(visible.left, client.left), SaturatingSub(visible.top, client.top), false,
                             part ? &*part : nullptr);
}

HResult Surface::Lock(const Rect* rect, SurfaceDesc* desc, uint32_t) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::Lock)) {
        return hr;
    }
    if (desc == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (lost_) {
        return DDERR_SURFACELOST;
    }
    if (locked_) {
        return DDERR_SURFACEBUSY;
    }
    Rect r = rect ? *rect : Bounds();
    if (r.Empty() || Intersect(r, Bounds()) != r) {
        return DDERR_INVALIDRECT;
    }
    GetSurfaceDesc(desc);
    desc->surface = memory_.get() + int64_t(r.top) * pitch_ + int64_t(r.left) * format_.BytesPerPixel();
    locked_ = true;
    ++version_;  // the holder may write
    return DD_OK;
}

HResult Surface::Unlock(const Rect*) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::Unlock)) {
        return hr;
    }
    if (!locked_) {
        return DDERR_NOTLOCKED;
    }
    locked_ = false;
    return DD_OK;
}

HResult Surface::GetSurfaceDesc(SurfaceDesc* desc) const {
    desc->flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->width = width_;
    desc->height = height_;
    desc->pitch = pitch_;
    desc->pixel_format = format_;
    desc->caps = caps_;
    desc->surface = memory_.get();
    desc->back_buffer_count = attached_ ? 1 : 0;
    return DD_OK;
}

HResult Surface::Blt(const Rect* dst_rect, Surface* src, const Rect* src_rect, uint32_t flags, const BltFx* fx) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::Blt)) {
        return hr;
    }
    if (lost_ || (src && src->lost_)) {
        return DDERR_SURFACELOST;
    }
    if (locked_ || (src && src->locked_)) {
        return DDERR_SURFACEBUSY;
    }
    const Rect full_dst = dst_rect ? *dst_rect : Bounds();
    if (!Sane(full_dst)) {
        return DDERR_INVALIDRECT;
    }
    const Rect clip = ClipArea();
    if (flags & DDBLT_COLORFILL) {
        if (fx == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        const Rect d = Intersect(full_dst, clip);
        FillRect(View(), d, fx->fill_colour);
        ++version_;
        Present(&d);
        return DD_OK;
    }
    if (src == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (src->format_.BytesPerPixel() != format_.BytesPerPixel()) {
        return DDERR_INVALIDPARAMS;
    }
    const Rect full_src = src_rect ? *src_rect : src->Bounds();
    if (!Sane(full_src) || Intersect(full_src, src->Bounds()) != full_src) {
        return DDERR_INVALIDRECT;
    }
    // A key range reaching above the stored width keeps only the part a pixel can hold; one lying
    // wholly above it matches nothing.
    const uint32_t mask = StoredMask(src->format_);
    const uint32_t lo = src->key_.low, hi = std::min(src->key_.high, mask);
    const bool keyed = (flags & DDBLT_KEYSRC) && src->has_key_ && lo <= hi;
    ++version_;
    Rect changed = Intersect(full_dst, clip);
    if (full_dst.Width() == full_src.Width() && full_dst.Height() == full_src.Height()) {
        // The destination may lie far outside the surface (a window moved to the edge of the
        // coordinate range): offsets are taken in 64 bits, and nothing visible means nothing to do.
        const Rect d = Intersect(full_dst, clip);
        if (!d.Empty()) {
            const auto at = [](int32_t base, int32_t to, int32_t from) { return int32_t(int64_t(base) + to - from); };
            const Rect s{at(full_src.left, d.left, full_dst.left), at(full_src.top, d.top, full_dst.top),
                         at(full_src.left, d.right, full_dst.left), at(full_src.top, d.bottom, full_dst.top)};
            if (keyed) {
                CopyRectKeyed(View(), d, src->View(), s, lo, hi, mask);
            } else {
                CopyRect(View(), d, src->View(), s);
            }
        }
    } else {
        StretchRect(View(), full_dst, clip, src->View(), full_src, keyed, lo, hi, mask);
    }
    Present(&changed);
    return DD_OK;
}

HResult Surface::ShowThrough(Surface* src) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::Blt)) {
        return hr;
    }
    if (src == nullptr || src->format_.BytesPerPixel() != format_.BytesPerPixel()) {
        return DDERR_INVALIDPARAMS;
    }
    if (lost_ || src->lost_) {
        return DDERR_SURFACELOST;
    }
    if (locked_ || src->locked_) {
        return DDERR_SURFACEBUSY;
    }
    if (!IsPrimary() || screen_->mode_set || !clipper_ || !IsWindow(clipper_->window())) {
        return DDERR_INVALIDRECT;
    }
    const WindowId window = clipper_->window();
    const Rect client = ClientRectOnScreen(window);
    if (client.Width() != src->width_ || client.Height() != src->height_) {
        return DDERR_INVALIDRECT;
    }
    ++version_;
    ShowOnWindow(window, client, *src, client.left, client.top, nullptr);
    return DD_OK;
}

HResult Surface::BltFast(int32_t x, int32_t y, Surface* src, const Rect* src_rect, uint32_t flags) {
    if (src == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    const Rect s = src_rect ? *src_rect : src->Bounds();
    if (!Sane(s) || int64_t(x) < 0 || int64_t(y) < 0 || int64_t(x) + s.Width() > width_ ||
        int64_t(y) + s.Height() > height_) {
        return DDERR_INVALIDRECT;
    }
    const Rect d{x, y, x + s.Width(), y + s.Height()};
    return Blt(&d, src, &s, (flags & DDBLTFAST_SRCCOLORKEY) ? DDBLT_KEYSRC : 0, nullptr);
}

HResult Surface::GetBltStatus(uint32_t) {
    // The blitter finishes before Blt returns; only injected faults report otherwise.
    return CurrentBackend().OnCall(PlatformCall::GetBltStatus);
}

HResult Surface::Flip(Surface*, uint32_t flags) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::Flip)) {
        return hr;
    }
    if (!attached_ || !(caps_ & DDSCAPS_FLIP)) {
        return DDERR_NOTFLIPPABLE;
    }
    if (lost_ || attached_->lost_) {
        return DDERR_SURFACELOST;
    }
    // Flips are timed to the vertical blank unless asked not to be.
    if (!(flags & DDFLIP_NOVSYNC)) {
        CurrentBackend().WaitForVerticalBlank(screen_->cooperative_window);
    }
    // The two surfaces exchange their memory, as a flip chain does: the back buffer then holds the
    // picture that was in front, and callers find the new addresses by locking again.
    std::swap(memory_, attached_->memory_);
    ++version_;
    ++attached_->version_;
    Present();
    return DD_OK;
}

HResult Surface::Restore() {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::Restore)) {
        return hr;
    }
    if (lost_) {
        std::memset(memory_.get(), 0, size_t(pitch_) * size_t(height_));
        lost_ = false;
        ++version_;
    }
    if (attached_) {
        attached_->Restore();
    }
    return DD_OK;
}

HResult Surface::GetAttachedSurface(uint32_t caps, std::shared_ptr<Surface>* out) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::GetAttachedSurface)) {
        return hr;
    }
    if (!attached_ || !(caps & DDSCAPS_BACKBUFFER)) {
        return DDERR_NOTFOUND;
    }
    *out = attached_;
    return DD_OK;
}

HResult Surface::SetClipper(std::shared_ptr<Clipper> clipper) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::SetClipper)) {
        return hr;
    }
    clipper_ = std::move(clipper);
    return DD_OK;
}

HResult Surface::GetPixelFormat(PixelFormat* format) {
    if (HResult hr = CurrentBackend().OnCall(PlatformCall::GetPixelFormat)) {
        return hr;
    }
    *format = format_;
    return DD_OK;
}

HResult Surface::SetColorKey(uint32_t flags, const ColourKey* key) {
    if (!(flags & DDCKEY_SRCBLT)) {
        return DDERR_INVALIDPARAMS;
    }
    has_key_ = key != nullptr;
    if (key) {
        key_ = *key;
    }
    return DD_OK;
}

}  // namespace vxl::platform
