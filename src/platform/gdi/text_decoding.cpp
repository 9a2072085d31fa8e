#include "platform/gdi/text_decoding.h"

#include <cstdint>

namespace vxl::platform {
namespace {

// Windows-1252 at 0x80-0x9F; the five unassigned bytes keep their own values.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t FromCp1252(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

// The length of the valid UTF-8 sequence at the start of `s` and its character, or 0: overlong
// forms, surrogates and values past U+10FFFF are not valid.
size_t Utf8Sequence(std::string_view s, char32_t* c) {
    const uint8_t lead = uint8_t(s[0]);
    size_t length = 0;
    char32_t value = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = uint8_t(s[i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = value << 6 | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *c = value;
    return length;
}

}  // namespace

std::u32string DecodeText(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    while (!text.empty()) {
        char32_t c = 0;
        size_t used = uint8_t(text[0]) < 0x80 ? 0 : Utf8Sequence(text, &c);
        if (used == 0) {
            c = FromCp1252(uint8_t(text[0]));
            used = 1;
        }
        out.push_back(c);
        text.remove_prefix(used);
    }
    return out;
}

}  // namespace vxl::platform
