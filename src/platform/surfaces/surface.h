// A surface of the service: memory that stays at one address for the surface's life (but for a flip,
// which exchanges the chain's two), locking that reports it, the blitter's operations onto it, and for
// a primary surface the flip chain and the presentation of what reaches it, limited to what changed.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/backend.h"
#include "platform/surfaces/blitter.h"
#include "platform/surfaces/codes.h"

namespace vxl::platform {

class Clipper;

// The screen as a DirectDraw object sees it; shared by the object and the surfaces it made.
struct ScreenState {
    PixelFormat format;
    int32_t width = 0;
    int32_t height = 0;
    WindowId cooperative_window = 0;
    bool exclusive = false;
    bool mode_set = false;
    bool hardware = false;
};

class Surface {
public:
    Surface(std::shared_ptr<ScreenState> screen, int32_t width, int32_t height, uint32_t caps);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // False when the memory could not be had; the creator reports DDERR_OUTOFMEMORY.
    bool Allocated() const { return memory_ != nullptr; }

    HResult Lock(const Rect* rect, SurfaceDesc* desc, uint32_t flags);
    HResult Unlock(const Rect* rect);
    HResult Blt(const Rect* dst_rect, Surface* src, const Rect* src_rect, uint32_t flags, const BltFx* fx);
    HResult BltFast(int32_t x, int32_t y, Surface* src, const Rect* src_rect, uint32_t flags);
    // A windowed primary's whole-frame shortcut: shows `src`, which has the client area's size, 1:1 over
    // the clipper window's client area straight from its own memory, without copying it into the
    // primary. The primary's pixels under the client area are then out of date, so it counts a change
    // and mirrors nothing; whatever presents from it later (a draw, a clear) first writes the whole
    // client area. DDERR_INVALIDRECT when the sizes differ or the primary is not a window's.
    HResult ShowThrough(Surface* src);
    HResult GetBltStatus(uint32_t flags);
    HResult Flip(Surface* target_override, uint32_t flags);
    HResult Restore();
    HResult IsLost() const { return lost_ ? DDERR_SURFACELOST : DD_OK; }
    HResult GetAttachedSurface(uint32_t caps, std::shared_ptr<Surface>* out);
    HResult SetClipper(std::shared_ptr<Clipper> clipper);
    HResult GetPixelFormat(PixelFormat* format);
    HResult SetColorKey(uint32_t flags, const ColourKey* key);
    HResult GetSurfaceDesc(SurfaceDesc* desc) const;

    // Counts every change of the pixels (blits, fills, flips, restores, locks that may write).
    uint64_t Version() const { return version_; }
    // Whether this surface holds at `at` exactly what `source` held at `source_version`, unchanged
    // since: then a copy of only what changed in `source` makes it a mirror again.
    bool Mirrors(const Surface& source, const Rect& at, uint64_t source_version) const {
        return mirror_.source == source.serial_ && mirror_.at == at && mirror_.source_version == source_version &&
               mirror_.own_version == version_;
    }
    // Notes that this surface now holds `source`'s current pixels at `at`.
    void NoteMirror(const Surface& source, const Rect& at) {
        mirror_ = {source.serial_, source.version_, at, version_};
    }

    // Mode switches and other programs taking the screen lose a surface's memory.
    void MarkLost() { lost_ = true; }
    void Attach(std::shared_ptr<Surface> back) { attached_ = std::move(back); }
    uint32_t caps() const { return caps_; }

private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const { std::free(p); }
    };

    PixelMemory View() const;
    Rect Bounds() const { return Rect{0, 0, width_, height_}; }
    // The destination area a clipped blit may write: the clipper window's client area on a primary.
    Rect ClipArea() const;
    bool IsPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
    // Shows what reached a primary surface: `changed` (surface coordinates) where only that changed.
    void Present(const Rect* changed = nullptr);
    // Shows the part of `window`'s client area (`client`, on the screen) that lies on the screen, read
    // from `from`, whose first pixel lies at (left, top) on the screen; `changed` in screen coordinates.
    void ShowOnWindow(WindowId window, const Rect& client, const Surface& from, int32_t left, int32_t top,
                      const Rect* changed) const;

    std::shared_ptr<ScreenState> screen_;
    std::unique_ptr<uint8_t, FreeDeleter> memory_;
    int32_t width_;
    int32_t height_;
    int32_t pitch_ = 0;
    PixelFormat format_;
    uint32_t caps_;
    bool locked_ = false;
    bool lost_ = false;
    bool has_key_ = false;
    ColourKey key_;
    std::shared_ptr<Clipper> clipper_;
    std::shared_ptr<Surface> attached_;
    uint64_t version_ = 0;
    const uint64_t serial_;  // no two surfaces of a process share one, unlike addresses
    struct Mirror {
        uint64_t source = 0;
        uint64_t source_version = 0;
        Rect at;
        uint64_t own_version = ~uint64_t(0);
    } mirror_;
};

}  // namespace vxl::platform
