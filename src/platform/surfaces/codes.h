// Result codes, flags and records of the surface service. The numbers are the published DirectDraw
// values, so that code and messages written against them read the same here.
#pragma once

#include <cstdint>

#include "platform/saturating.h"

namespace vxl::platform {

using HResult = uint32_t;

constexpr HResult DD_OK = 0;
constexpr HResult DDERR_UNSUPPORTED = 0x80004001;
constexpr HResult DDERR_GENERIC = 0x80004005;
constexpr HResult DDERR_OUTOFMEMORY = 0x8007000E;
constexpr HResult DDERR_INVALIDPARAMS = 0x80070057;
constexpr HResult DDERR_INVALIDMODE = 0x88760078;
constexpr HResult DDERR_INVALIDOBJECT = 0x88760082;
constexpr HResult DDERR_INVALIDRECT = 0x88760096;
constexpr HResult DDERR_NOCOOPERATIVELEVELSET = 0x887600D4;
constexpr HResult DDERR_NOTFLIPPABLE = 0x8876014A;
constexpr HResult DDERR_NOTLOCKED = 0x887601F6;
constexpr HResult DDERR_SURFACEBUSY = 0x887601AE;
constexpr HResult DDERR_SURFACELOST = 0x887601C2;
constexpr HResult DDERR_NOCLIPLIST = 0x887600CD;
constexpr HResult DDERR_WASSTILLDRAWING = 0x8876021C;
constexpr HResult DDERR_NOTFOUND = 0x887600FF;
constexpr HResult DDERR_NOHWND = 0x887601B9;
constexpr HResult DDERR_EXCLUSIVEMODEALREADYSET = 0x88760245;
constexpr HResult DDERR_NOEXCLUSIVEMODE = 0x887600E1;
constexpr HResult DDERR_OUTOFVIDEOMEMORY = 0x8876017C;

// Surface description flags.
constexpr uint32_t DDSD_CAPS = 0x1;
constexpr uint32_t DDSD_HEIGHT = 0x2;
constexpr uint32_t DDSD_WIDTH = 0x4;
constexpr uint32_t DDSD_PITCH = 0x8;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t DDSD_LPSURFACE = 0x800;
constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;

// Surface capabilities.
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr uint32_t DDSCAPS_FLIP = 0x10;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x20;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;

// Cooperative levels.
constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
constexpr uint32_t DDSCL_ALLOWREBOOT = 0x2;
constexpr uint32_t DDSCL_NORMAL = 0x8;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;

// Locks, blits, flips.
constexpr uint32_t DDLOCK_WAIT = 0x1;
constexpr uint32_t DDBLT_COLORFILL = 0x400;
constexpr uint32_t DDBLT_KEYSRC = 0x8000;
constexpr uint32_t DDBLT_WAIT = 0x1000000;
constexpr uint32_t DDBLTFAST_NOCOLORKEY = 0x0;
constexpr uint32_t DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr uint32_t DDGBS_ISBLTDONE = 0x2;
constexpr uint32_t DDFLIP_WAIT = 0x1;
constexpr uint32_t DDFLIP_NOVSYNC = 0x8;
constexpr uint32_t DDWAITVB_BLOCKEND = 0x4;
constexpr uint32_t DDCKEY_SRCBLT = 0x8;
constexpr uint32_t DDEDM_REFRESHRATES = 0x1;
constexpr uint32_t DDENUMRET_CANCEL = 0;
constexpr uint32_t DDENUMRET_OK = 1;
constexpr uint32_t DDCAPS_NOHARDWARE = 0x02000000;

// A pixel format as the service reports it: a 5-5-5 format reports 16 bits with green mask 0x3E0.
struct PixelFormat {
    uint32_t rgb_bit_count = 0;
    uint32_t r_mask = 0;
    uint32_t g_mask = 0;
    uint32_t b_mask = 0;

    uint32_t BytesPerPixel() const { return (rgb_bit_count + 7) / 8; }
    bool operator==(const PixelFormat&) const = default;
};

// The format the service uses for a mode of the given depth (15 is 5-5-5 in 16 bits).
PixelFormat FormatForDepth(uint32_t bits);

struct SurfaceDesc {
    uint32_t flags = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    uint32_t back_buffer_count = 0;
    void* surface = nullptr;
    PixelFormat pixel_format;
    uint32_t caps = 0;
    uint32_t refresh_rate = 0;
};

struct Caps {
    uint32_t caps = 0;
    uint32_t video_memory_total = 0;
};

struct BltFx {
    uint32_t fill_colour = 0;
};

struct ColourKey {
    uint32_t low = 0;
    uint32_t high = 0;
};

// A rectangle whose right and bottom edges are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // Clamped to 32 bits: a rectangle built from host corners may span more than 2^31.
    int32_t Width() const { return ClampToInt32(int64_t(right) - left); }
    int32_t Height() const { return ClampToInt32(int64_t(bottom) - top); }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

Rect Intersect(const Rect& a, const Rect& b);

}  // namespace vxl::platform
