// The blur's vector path. Every pixel reads its already blurred left and upper neighbours, so each row
// is a chain. A band of rows runs as a wavefront instead, one lane per row: at step t row j's lane
// holds its pixel (t - j), whose left neighbour is the same lane one step back and whose upper
// neighbour is row j - 1's lane one step back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "buffers/buffer.h"
#include "buffers/pixel_format.h"

namespace vxl::blend {

// Wider rows take the per-pixel walk: the working rows of a band stay below 9 MB.
inline constexpr int32_t kBlurMaxWidth = 1 << 15;

// Each neighbour is masked so that the low bits of every field, cleared, absorb the carries of the
// field below when four of them are added.
template <typename P>
inline constexpr uint32_t kBlurMask = P::kDepth == 15   ? 0x739C
                                      : P::kDepth == 16 ? 0xE71C
                                                        : 0xFCFCFC;

// The whole in-place blur of a buffer of one layout, the same pixels as the per-pixel walk.
using BlurFn = void (*)(TBufferVx& buffer);

BlurFn Sse2Blur(TPixelLayout layout);
BlurFn Avx2Blur(TPixelLayout layout);
// The one to use on this processor, or null for the per-pixel walk.
BlurFn ChooseBlur(TPixelLayout layout);

}  // namespace vxl::blend
