#include "display/blit_completion.h"

namespace vxl {

using namespace platform;

bool BlitAndWait(Surface& status, FunctionRef<HResult()> blit, FunctionRef<void()> restore) {
    for (int attempt = 0; attempt < kMaxBlitterRetries; ++attempt) {
        const HResult hr = blit();
        if (hr == DD_OK) {
            for (int poll = 0; poll < kMaxBlitterRetries; ++poll) {
                if (status.GetBltStatus(DDGBS_ISBLTDONE) == DD_OK) {
                    return true;
                }
            }
            return false;
        }
        if (hr == DDERR_SURFACELOST) {
            restore();
            return false;
        }
        if (hr != DDERR_WASSTILLDRAWING) {
            return false;
        }
    }
    return false;
}

void FillAndWait(Surface& surface, const Rect* target, uint32_t colour, FunctionRef<void()> restore) {
    BltFx fx;
    fx.fill_colour = colour;
    BlitAndWait(
        surface, [&] { return surface.Blt(target, nullptr, nullptr, DDBLT_COLORFILL, &fx); }, restore);
}

}  // namespace vxl
