// The characters of a line of text: UTF-8, where a byte that does not start a valid UTF-8 sequence
// stands for itself as Windows-1252, so text written for the 8-bit code page reads as it always did.
#pragma once

#include <string>
#include <string_view>

namespace vxl::platform {

std::u32string DecodeText(std::string_view text);

}  // namespace vxl::platform
