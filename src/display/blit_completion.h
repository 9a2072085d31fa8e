// Every blit is followed by a wait until the blitter is done, so processor access never overlaps it.
#pragma once

#include "core/function_ref.h"
#include "platform/surfaces/surface.h"

namespace vxl {

// Waits and retries are bounded: a blitter that stays busy drops the blit rather than hang the host.
constexpr int kMaxBlitterRetries = 1000;

// Runs `blit`; on success waits until `status` reports the blit done; on a lost surface calls `restore`
// and drops the blit; while the blitter is still drawing, blits again; any other result drops it.
// True when the blit went through and `status` reported it done.
bool BlitAndWait(platform::Surface& status, FunctionRef<platform::HResult()> blit, FunctionRef<void()> restore);

// A colour fill of `target` (the whole surface when null) through the blitter, waited for as above.
void FillAndWait(platform::Surface& surface, const platform::Rect* target, uint32_t colour,
                 FunctionRef<void()> restore);

}  // namespace vxl
