// Transfer effects: a whole source copied onto a destination at (x, y), each pixel changed on the way
// (a five-point blur, a one-in-four dissolve, inverted colours, grey). Colours go through the library's
// unpack and pack, so they are layout-independent; pixels outside either buffer are skipped.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::blend {

enum class TransferKind { Blur, Dissolve, Negative, Greyscale };

void CopyTransfer(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, TransferKind kind);

// The plain per-pixel walk, column by column through bounds-tested pixel access. It defines the
// result; the direct path above takes over when source and destination differ, and tests compare
// the two.
void CopyTransferReference(const TBufferVx& source, TBufferVx* destination, int32_t x, int32_t y, TransferKind kind);

}  // namespace vxl::blend
