// Presentation: a picture onto a window's surface, letterboxed and scaled for full screen, and the
// wait for the display's next refresh.
#include <SDL.h>

#include <algorithm>

#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/widen.h"

namespace vxl::platform {

namespace {

// Black over the target outside `picture`: the letterbox bars, not the whole target.
void ClearAround(SDL_Surface* target, const SDL_Rect& picture) {
    const uint32_t black = SDL_MapRGB(target->format, 0, 0, 0);
    const int tw = target->w, th = target->h, x = picture.x, y = picture.y, w = picture.w, h = picture.h;
    const SDL_Rect bars[4] = {{0, 0, tw, y}, {0, y + h, tw, th - h - y}, {0, y, x, h}, {x + w, y, tw - w - x, h}};
    for (const SDL_Rect& bar : bars) {
        if (bar.w > 0 && bar.h > 0) {
            SDL_FillRect(target, &bar, black);
        }
    }
}

}  // namespace

SDL_Surface* SdlBackend::InScreenFormat(const PixelView& view, SDL_Surface* source, SDL_Rect* from, uint32_t screen,
                                        bool scaled) {
    const uint32_t format = source->format->format;
    const bool widen =
        view.format.rgb_bit_count == 16 && (screen == SDL_PIXELFORMAT_RGB888 || screen == SDL_PIXELFORMAT_ARGB8888);
    // A scale that also converts is SDL's slowest path: convert first, then scale in the screen's format.
    if (!widen && !(scaled && format != screen)) {
        return source;
    }
    SDL_Surface* staging = Staging(from->w, from->h, screen);
    if (!staging) {
        return source;
    }
    SDL_Rect area{0, 0, from->w, from->h};
    if (!widen) {
        SDL_BlitSurface(source, from, staging, &area);
    } else {
        const int green_bits = format == SDL_PIXELFORMAT_RGB555 ? 5 : 6;
        const uint8_t* first = view.pixels + int64_t(from->y) * view.pitch + int64_t(from->x) * 2;
        for (int32_t row = 0; row < from->h; ++row) {
            WidenRow(reinterpret_cast<const uint16_t*>(first + int64_t(row) * view.pitch),
                     reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(staging->pixels) + int64_t(row) * staging->pitch),
                     from->w, green_bits);
        }
    }
    *from = area;
    return staging;
}

SDL_Surface* SdlBackend::SourceFor(const PixelView& view, uint32_t format) {
    // The same memory is shown frame after frame: its surface, and SDL's blit set-up that hangs on it,
    // are kept until the view changes.
    SDL_Surface* s = source_.get();
    if (!s || s->pixels != view.pixels || s->w != view.width || s->h != view.height || s->pitch != view.pitch ||
        s->format->format != format) {
        source_.reset(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(view.pixels), view.width, view.height,
                                                         int(view.format.rgb_bit_count), view.pitch, format));
        if (source_) {
            SDL_SetSurfaceBlendMode(source_.get(), SDL_BLENDMODE_NONE);
        }
    }
    return source_.get();
}

void SdlBackend::Present(WindowId id, const PixelView& view, int32_t x, int32_t y, bool scale_to_fit,
                         const Rect* changed) {
    SDL_Window* w = FindSdlWindow(id);
    const uint32_t format = SdlFormatOf(view.format);
    if (!w || format == SDL_PIXELFORMAT_UNKNOWN || view.width <= 0 || view.height <= 0) {
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) {
        return;
    }
    // Letterbox: the largest picture of the same aspect that fits, centred on black.
    int32_t dw = view.width, dh = view.height;
    if (scale_to_fit) {
        const PictureRect fit = Letterbox(target->w, target->h, view.width, view.height);
        x = fit.x, y = fit.y, dw = fit.width, dh = fit.height;
    }
    const bool scaled = dw != view.width || dh != view.height;
    // Only the changed part travels where the window surely shows the rest: the same surface, nothing
    // exposed, resized or moved since the last whole picture, and no scaling, whose sampling of a part
    // could differ from that of the whole.
    Shown& shown = shown_[id];
    const bool partial = changed && !scaled && shown.whole && shown.surface == target && shown.w == target->w &&
                         shown.h == target->h && shown.x == x && shown.y == y;
    SDL_Rect from{0, 0, view.width, view.height};
    if (partial) {
        const Rect part = Intersect(*changed, Rect{0, 0, view.width, view.height});
        if (part.Empty()) {
            return;
        }
        from = SDL_Rect{part.left, part.top, part.Width(), part.Height()};
        x += part.left, y += part.top;
        dw = from.w, dh = from.h;
    }
    SDL_Surface* source = SourceFor(view, format);
    if (!source) {
        return;
    }
    if (!partial && scale_to_fit) {
        ClearAround(target, SDL_Rect{x, y, dw, dh});
    }
    SDL_Surface* picture = InScreenFormat(view, source, &from, target->format->format, scaled);
    SDL_Rect dst{x, y, dw, dh};
    if (scaled) {
        SDL_BlitScaled(picture, &from, target, &dst);
    } else {
        SDL_BlitSurface(picture, &from, target, &dst);
    }
    if (partial) {
        const SDL_Rect update{x, y, dw, dh};
        SDL_UpdateWindowSurfaceRects(w, &update, 1);
        return;
    }
    SDL_UpdateWindowSurface(w);
    shown = Shown{target, target->w, target->h, x, y, true};
}

void SdlBackend::ForgetShown(WindowId id) {
    if (auto it = shown_.find(id); it != shown_.end()) {
        it->second.whole = false;
    }
}

SDL_Surface* SdlBackend::Staging(int width, int height, uint32_t format) {
    // Kept at the largest size asked for, so that parts and wholes presented in turn reuse it.
    if (!staging_ || staging_->w < width || staging_->h < height || staging_->format->format != format) {
        const int w = staging_ && staging_->format->format == format ? std::max(width, staging_->w) : width;
        const int h = staging_ && staging_->format->format == format ? std::max(height, staging_->h) : height;
        staging_.reset(SDL_CreateRGBSurfaceWithFormat(0, w, h, SDL_BITSPERPIXEL(format), format));
        if (staging_) {
            SDL_SetSurfaceBlendMode(staging_.get(), SDL_BLENDMODE_NONE);  // copied, never blended
        }
    }
    return staging_.get();
}

void SdlBackend::WaitForVerticalBlank(WindowId id) {
    if (!video_) {
        return;
    }
    SDL_Window* w = FindSdlWindow(id);
    const int index = w ? std::max(0, SDL_GetWindowDisplayIndex(w)) : 0;
    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(index, &mode) != 0 || mode.refresh_rate <= 0) {
        return;
    }
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = frequency / Uint64(mode.refresh_rate);
    if (period == 0) {
        return;
    }
    const Uint64 now = SDL_GetPerformanceCounter();
    const Uint64 next = (now / period + 1) * period;
    // Sleep the whole milliseconds, then spin the rest: SDL_Delay may oversleep by a tick.
    const Uint64 whole_ms = (next - now) * 1000 / frequency;
    if (whole_ms > 1) {
        SDL_Delay(Uint32(whole_ms - 1));
    }
    while (SDL_GetPerformanceCounter() < next) {
    }
}

}  // namespace vxl::platform
