// In-place filters over a whole buffer: a four-neighbour blur, colour inversion and grey from the
// mean of the three channels.
#pragma once

#include "buffers/buffer.h"

namespace vxl::blend {

void Blur2x(TBufferVx* buffer);
void Negative(TBufferVx* buffer);
void Greyscale(TBufferVx* buffer);

}  // namespace vxl::blend
