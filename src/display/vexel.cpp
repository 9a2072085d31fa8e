#include "display/vexel.h"

#include "core/library_state.h"
#include "core/result_texts.h"
#include "display/blit_completion.h"
#include "platform/saturating.h"
#include "platform/windows/window_system.h"

namespace vxl {

using namespace platform;

namespace {

const char* const kDepthNotSupported = "Desktop color depth not supported (only 15,16,24,32bit)";

// A failed platform call of the shared set-up; its tag is the base display's whatever the kind.
void Check(HResult hr, const char* operation) {
    if (hr != DD_OK) {
        throw ObjectFailure{kTagVexel, operation, DirectDrawResultText(hr)};
    }
}

}  // namespace

bool IsSupportedDepth(uint32_t bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

std::unique_ptr<TVexel> TVexel::Create(WindowId window, int32_t width, int32_t height) {
    return ConstructOrReport<TVexel, TVexel>([&](TVexel& d) { d.ConstructWindowed(window, width, height); });
}

void TVexel::ConstructWindowed(WindowId window, int32_t width, int32_t height) {
    SetGeometry(window, width, height);
    SizeClientArea();
    full_screen_ = false;
    SetUpPlatform(false);
    if (!IsSupportedDepth(Globals().bit_depth)) {
        throw ObjectFailure{kTagVexel, "Create", kDepthNotSupported};
    }
    bit_depth_ = Globals().bit_depth;
    FinishConstruction();
}

void TVexel::SetGeometry(WindowId window, int32_t width, int32_t height) {
    window_ = window;
    width_ = width;
    height_ = height;
    centre_x_ = width >> 1;
    centre_y_ = height >> 1;
    right_ = SaturatingSub(width, 1);
    bottom_ = SaturatingSub(height, 1);
}

void TVexel::SizeClientArea() {
    Rect r{0, 0, width_, height_};
    has_menu_ = WindowHasMenu(window_);
    AdjustWindowRect(window_, &r);
    SetWindowPos(window_, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TVexel::SetUpPlatform(bool full_screen) {
    Check(DirectDrawCreateEx(&direct_draw_), "DirectDrawCreate");
    if (full_screen) {
        Check(direct_draw_->SetCooperativeLevel(window_, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE),
              "SetCooperativeLevel");
        Check(direct_draw_->SetDisplayMode(width_, height_, bit_depth_, 0, 0), "SetDisplayMode");
        SurfaceDesc desc;
        desc.flags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.back_buffer_count = 1;
        desc.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        Check(direct_draw_->CreateSurface(desc, &primary_), "CreateSurface");
        Check(primary_->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back_), "GetAttachedSurface");
    } else {
        Check(direct_draw_->SetCooperativeLevel(window_, DDSCL_NORMAL), "SetCooperativeLevel");
        SurfaceDesc desc;
        desc.flags = DDSD_CAPS;
        desc.caps = DDSCAPS_PRIMARYSURFACE;
        Check(direct_draw_->CreateSurface(desc, &primary_), "CreateSurface");
        SurfaceDesc back;
        back.flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
        back.width = width_;
        back.height = height_;
        back.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        Check(direct_draw_->CreateSurface(back, &back_), "CreateSurface");
    }
    Check(direct_draw_->CreateClipper(0, &clipper_), "CreateClipper");
    Check(clipper_->SetHWnd(0, window_), "SetHWnd");
    Check(primary_->SetClipper(clipper_), "SetClipper");
    clipper_.reset();  // the primary keeps it

    PixelFormat format;
    Check(primary_->GetPixelFormat(&format), "GetPixelFormat");
    bit_depth_ = uint8_t(format.rgb_bit_count);
    if (format.g_mask == 0x3E0) {
        bit_depth_ = 15;  // a 5-5-5 surface reports 16 bits
    }
    Globals().bit_depth = bit_depth_;

    Check(direct_draw_->GetCaps(&driver_caps_, &emulation_caps_), "GetCaps");
    hardware_ = (driver_caps_.caps & DDCAPS_NOHARDWARE) != DDCAPS_NOHARDWARE;
}

void TVexel::FinishConstruction() {
    Clear(0);
    ClearBack(0);
    Globals().full_screen = full_screen_;
}

void TVexel::ReleasePlatform() {
    back_.reset();
    primary_.reset();
    clipper_.reset();
    if (direct_draw_) {
        direct_draw_->RestoreDisplayMode();
        direct_draw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
        direct_draw_.reset();
    }
}

TVexel::~TVexel() {
    ReleasePlatform();
}

void TVexel::RestoreDisplaySurfaces() {
    if (primary_) {
        primary_->Restore();
    }
    if (back_ && !full_screen_) {
        back_->Restore();
    }
}

void TVexel::Clear(uint32_t colour) {
    if (!primary_) {
        return;
    }
    const Rect target = ClientRectOnScreen(window_);
    FillAndWait(*primary_, &target, colour, [this] { RestoreDisplaySurfaces(); });
}

void TVexel::ClearBack(uint32_t colour) {
    if (!back_) {
        return;
    }
    FillAndWait(*back_, nullptr, colour, [this] { RestoreDisplaySurfaces(); });
}

void TVexel::MoveWindow(int32_t x, int32_t y) {
    if (!full_screen_) {
        SetWindowPos(window_, x, y, width_, height_, SWP_SHOWWINDOW);
    }
}

bool TVexel::PumpMessage() {
    Message msg;
    if (!PeekMessage(&msg, window_, PM_REMOVE)) {
        return true;
    }
    if (msg.message == WM_QUIT) {
        return false;
    }
    DispatchMessage(msg);
    return true;
}

}  // namespace vxl
