#include "blit/display_blits.h"

#include "blit/copies.h"
#include "blit/rect_rules.h"
#include "buffers/buffer.h"
#include "display/blit_completion.h"
#include "platform/windows/window_system.h"

namespace vxl {

using namespace platform;

namespace {

// The display objects the buffer took over when it was made; they stay valid (its own references)
// even after that display has closed.
bool CanDraw(const TBufferVx& b) {
    return b.has_surface() && b.display_back() && b.display_primary();
}

void DrawPlaced(TBufferVx& b, const Placement& p, uint32_t flags) {
    Surface& back = *b.display_back();
    Surface* from = b.surface().get();
    const uint64_t version = back.Version();
    if (BlitAndWait(
            back, [&] { return back.BltFast(p.x, p.y, from, &p.source, flags); }, [&] { b.RestoreSurfaces(); })) {
        const Rect drawn{p.x, p.y, p.x + p.source.Width(), p.y + p.source.Height()};
        PresentBackSurface(b, &drawn, version);
    }
}

void DrawStretched(TBufferVx& b, const StretchPlacement& p, uint32_t flags) {
    Surface& back = *b.display_back();
    Surface* from = b.surface().get();
    const uint64_t version = back.Version();
    if (BlitAndWait(
            back, [&] { return back.Blt(&p.dest, from, &p.source, flags, nullptr); }, [&] { b.RestoreSurfaces(); })) {
        PresentBackSurface(b, &p.dest, version);
    }
}

}  // namespace

void PresentBackSurface(TBufferVx& b, const Rect* drawn, uint64_t back_version) {
    if (!b.display_primary() || !b.display_back()) {
        return;
    }
    const Rect client = ClientRectOnScreen(b.window());
    Surface& primary = *b.display_primary();
    Surface* back = b.display_back().get();
    SurfaceDesc desc;
    back->GetSurfaceDesc(&desc);
    // One blit took the back surface from `back_version` to now, so the primary, if it mirrored the
    // back surface then, differs from it only in `drawn`.
    const bool part = drawn && client.Width() == desc.width && client.Height() == desc.height &&
                      back->Version() == back_version + 1 && primary.Mirrors(*back, client, back_version);
    const Rect source = part ? Intersect(*drawn, Rect{0, 0, desc.width, desc.height}) : Rect{};
    if (part && source.Empty()) {
        primary.NoteMirror(*back, client);
        return;
    }
    const Rect dest = part ? Rect{client.left + source.left, client.top + source.top, client.left + source.right,
                                  client.top + source.bottom}
                           : client;
    if (BlitAndWait(
            primary, [&] { return primary.Blt(&dest, back, part ? &source : nullptr, DDBLT_WAIT, nullptr); },
            [&] { b.RestoreSurfaces(); })) {
        primary.NoteMirror(*back, client);
    }
}

void DrawBuffer(TBufferVx& b, int32_t x, int32_t y) {
    if (!CanDraw(b)) {
        return;
    }
    if (auto p = ClipPlacement(b.width(), b.height(), x, y, b.display_width(), b.display_height())) {
        DrawPlaced(b, *p, DDBLTFAST_NOCOLORKEY);
    }
}

void DrawSprite(TBufferVx& b, int32_t x, int32_t y, uint32_t key) {
    if (!CanDraw(b)) {
        return;
    }
    if (auto p = ClipPlacement(b.width(), b.height(), x, y, b.display_width(), b.display_height())) {
        SetSourceKey(b, key);
        DrawPlaced(b, *p, DDBLTFAST_SRCCOLORKEY);
    }
}

void DrawBit(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy) {
    if (!CanDraw(b)) {
        return;
    }
    if (auto p = ClipSubRect(b.width(), b.height(), x1, y1, x2, y2, dx, dy, b.display_width(), b.display_height())) {
        DrawPlaced(b, *p, DDBLTFAST_NOCOLORKEY);
    }
}

void DrawBitSprite(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy, uint32_t key) {
    if (!CanDraw(b)) {
        return;
    }
    if (auto p = ClipSubRect(b.width(), b.height(), x1, y1, x2, y2, dx, dy, b.display_width(), b.display_height())) {
        SetSourceKey(b, key);
        DrawPlaced(b, *p, DDBLTFAST_SRCCOLORKEY);
    }
}

void DrawScale(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!CanDraw(b)) {
        return;
    }
    if (auto p = ClipStretch(b.width(), b.height(), x1, y1, x2, y2, b.display_width(), b.display_height(),
                             CropRounding::kHalfEven)) {
        DrawStretched(b, *p, 0);
    }
}

void DrawScaleSprite(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key) {
    if (!CanDraw(b)) {
        return;
    }
    if (auto p = ClipStretch(b.width(), b.height(), x1, y1, x2, y2, b.display_width(), b.display_height(),
                             CropRounding::kHalfEven)) {
        SetSourceKey(b, key);
        DrawStretched(b, *p, DDBLT_KEYSRC);
    }
}

void Flip(TBufferVx& b, bool wait) {
    if (!CanDraw(b)) {
        return;
    }
    const uint32_t flip_flags = wait ? DDFLIP_WAIT : DDFLIP_NOVSYNC;
    const Rect client = ClientRectOnScreen(b.window());
    Surface& primary = *b.display_primary();
    Surface& back = *b.display_back();
    Surface* from = b.surface().get();
    auto restore = [&] { b.RestoreSurfaces(); };
    if (b.full_screen() && !b.has_menu()) {
        // The buffer goes into the flip chain's back buffer, which then becomes the visible picture.
        if (BlitAndWait(
                primary, [&] { return back.Blt(&client, from, nullptr, DDBLT_WAIT, nullptr); }, restore)) {
            primary.Flip(nullptr, flip_flags);
        }
        return;
    }
    BlitAndWait(
        primary,
        [&] {
            if (wait && b.direct_draw()) {
                b.direct_draw()->WaitForVerticalBlank(DDWAITVB_BLOCKEND);
            }
            // A buffer of the client area's size goes to the window straight from its memory; the
            // primary copy only serves stretched flips.
            const HResult shown = primary.ShowThrough(from);
            return shown == DDERR_INVALIDRECT ? primary.Blt(&client, from, nullptr, DDBLT_WAIT, nullptr) : shown;
        },
        restore);
}

}  // namespace vxl
