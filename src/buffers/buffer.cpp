#include "buffers/buffer.h"

#include <algorithm>
#include <new>

#include "core/fatal_error.h"
#include "core/result_texts.h"
#include "display/blit_completion.h"
#include "display/vexel.h"

namespace vxl {

using namespace platform;

std::unique_ptr<TBufferVx> TBufferVx::Create(const TVexel* display, int32_t width, int32_t height, bool video) {
    return ConstructOrReport<TBufferVx, TBufferVx>([&](TBufferVx& b) { b.Construct(display, width, height, video); });
}

void TBufferVx::Construct(const TVexel* display, int32_t width, int32_t height, bool video) {
    if (display == nullptr || !display->direct_draw()) {
        throw ObjectFailure{kTagBuffer, "Create", "No display open..."};
    }
    window_ = display->window();
    direct_draw_ = display->direct_draw();
    primary_ = display->primary();
    back_ = display->back();
    hardware_ = display->hardware();
    display_width_ = display->width();
    display_height_ = display->height();
    display_depth_ = display->bit_depth();
    full_screen_ = display->full_screen();
    has_menu_ = display->has_menu();
    in_video_memory_ = video;

    if (HResult hr = CreateSurface(width, height)) {
        throw ObjectFailure{kTagBuffer, "CreateSurface", DirectDrawResultText(hr)};
    }
    LockSurface();
    SetUpRowScratch();
    Fill(0);
    save_quality_ = 50;
}

TBufferVx::~TBufferVx() {
    ReleaseSurface();
}

HResult TBufferVx::CreateSurface(int32_t width, int32_t height) {
    SurfaceDesc desc;
    desc.flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.width = width;
    desc.height = height;
    desc.caps = in_video_memory_ && hardware_ ? DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY
                                              : DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    if (direct_draw_->CreateSurface(desc, &surface_) == DD_OK) {
        return DD_OK;
    }
    desc.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    const HResult hr = direct_draw_->CreateSurface(desc, &surface_);
    if (hr == DD_OK) {
        in_video_memory_ = false;
    }
    return hr;
}

void TBufferVx::LockSurface() {
    SurfaceDesc desc;
    RestoreSurfaces();
    HResult hr = surface_->Lock(nullptr, &desc, DDLOCK_WAIT);
    for (int tries = 1; hr == DDERR_SURFACEBUSY && tries < kMaxBlitterRetries; ++tries) {
        hr = surface_->Lock(nullptr, &desc, DDLOCK_WAIT);
    }
    if (hr != DD_OK) {
        throw ObjectFailure{kTagBuffer, "Lock", DirectDrawResultText(hr)};
    }
    pixels_ = static_cast<uint8_t*>(desc.surface);
    width_ = desc.width;
    height_ = desc.height;
    max_x_ = width_ - 1;
    max_y_ = height_ - 1;
    pitch_ = desc.pitch;
    bytes_per_pixel_ = uint32_t(pitch_ / width_);
    bits_per_pixel_ = bytes_per_pixel_ * 8;
    if (HResult unlock = surface_->Unlock(nullptr)) {
        throw ObjectFailure{kTagBuffer, "UnLock", DirectDrawResultText(unlock)};
    }
}

void TBufferVx::SetUpRowScratch() {
    if (in_video_memory_) {
        row_scratch_.assign(size_t(pitch_), 0);
    } else {
        row_scratch_.clear();
    }
}

int32_t TBufferVx::Resize(int32_t width, int32_t height, bool video) {
    if (surface_ && width == width_ && height == height_ && video == in_video_memory_) {
        return 0;
    }
    ReleaseSurface();
    in_video_memory_ = video;
    if (CreateSurface(width, height) != DD_OK) {
        surface_.reset();
        pixels_ = nullptr;
        width_ = height_ = pitch_ = 0;
        max_x_ = max_y_ = -1;
        edge_tables_ = TEdgeTables{};
        return -1;
    }
    LockSurface();
    SetUpRowScratch();
    edge_tables_ = TEdgeTables{};
    if (!alpha_.empty()) {
        alpha_.assign(size_t(width_) * size_t(height_), 0);  // the plane follows the picture's size
    }
    Fill(0);
    return 0;
}

void TBufferVx::ReleaseSurface() {
    surface_.reset();
    row_scratch_.clear();
    row_scratch_.shrink_to_fit();
}

void TBufferVx::RestoreSurfaces() {
    if (surface_) {
        surface_->Restore();
    }
    if (primary_) {
        primary_->Restore();
    }
    if (back_ && !full_screen_) {
        back_->Restore();
    }
}

bool TBufferVx::CoverEdgeRows(int64_t rows) {
    try {
        edge_tables_.Grow(int32_t(std::min<int64_t>(rows, height_)));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void TBufferVx::CreateAlphaPlane() {
    if (alpha_.empty() && width_ > 0 && height_ > 0) {
        alpha_.assign(size_t(width_) * size_t(height_), 0);
    }
}

}  // namespace vxl
