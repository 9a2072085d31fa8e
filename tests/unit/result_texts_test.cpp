#include "interface/result_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr uint32_t Dd(uint32_t offset) { return 0x88760000u + offset; }
const std::string kUnrecognized = "Unrecognized Error";

void ExpectSentence(const char* text) {
    ASSERT_NE(text, nullptr);
    const std::string s = text;
    ASSERT_FALSE(s.empty());
    EXPECT_NE(s, kUnrecognized);
    EXPECT_EQ(s.back(), '.') << s;
}

}  // namespace

TEST(ResultTexts, DirectDrawFixedSentences) {
    EXPECT_STREQ(vxl::DirectDrawResultText(0), "The request completed successfully.");
    EXPECT_STREQ(vxl::DirectDrawResultText(0x80004005u), "Generic failure.");
    const char* no_memory = "DirectDraw does not have enough memory to perform the operation.";
    EXPECT_STREQ(vxl::DirectDrawResultText(0x8007000Eu), no_memory);
    EXPECT_STREQ(vxl::DirectDrawResultText(0x8876017Cu), no_memory);
    EXPECT_STREQ(vxl::DirectDrawResultText(0x80070057u),
                 "One or more of the parameters passed to the function are incorrect.");
    EXPECT_STREQ(vxl::DirectDrawResultText(0x88760078u), "DirectDraw does not support the requested mode.");
    EXPECT_STREQ(vxl::DirectDrawResultText(0x887601AEu),
                 "Access to this surface is being refused because the surface is already locked by another thread.");
    EXPECT_STREQ(vxl::DirectDrawResultText(0x8876021Cu),
                 "Informs DirectDraw that the previous Blt which is transfering information to or from this Surface "
                 "is incomplete.");
    EXPECT_STREQ(vxl::DirectDrawResultText(0x88760249u), "Windows can not create any more DCs.");
    EXPECT_STREQ(vxl::DirectDrawResultText(0x8876026Cu),
                 "A DC has already been returned for this surface. Only one DC can be retrieved per surface.");
}

TEST(ResultTexts, DirectInputFixedSentences) {
    EXPECT_STREQ(vxl::DirectInputResultText(0), "The operation completed successfully.");
    EXPECT_STREQ(vxl::DirectInputResultText(0x8007001Eu),
                 "Access to the input device has been lost. It must be reacquired.");
    EXPECT_STREQ(vxl::DirectInputResultText(0x80070006u),
                 "The HWND parameter is not a valid top-level window that belongs to the process.");
}

TEST(ResultTexts, UnknownCodes) {
    for (uint32_t code : {0x887601C3u, 0x12345678u, Dd(593), Dd(603), 0x8004020Cu}) {
        EXPECT_EQ(vxl::DirectDrawResultText(code), kUnrecognized) << std::hex << code;
        EXPECT_EQ(vxl::DirectInputResultText(code), kUnrecognized) << std::hex << code;
    }
}

// Every listed code, runs and table edges included; a misordered table would make the binary search miss some.
TEST(ResultTexts, EveryListedCodeHasSentence) {
    for (uint32_t code : {0u, 0x80004001u, 0x80004005u, 0x8007000Eu, 0x80070057u}) {
        ExpectSentence(vxl::DirectDrawResultText(code));
    }
    for (uint32_t offset : {5,   10,  20,  40,  55,  90,  95,  100, 110, 120, 130, 145, 150, 160, 170, 180, 205, 210,
                            212, 215, 220, 225, 230, 240, 250, 255, 260, 270, 280, 290, 310, 316, 317, 320, 330, 335,
                            340, 350, 360, 380, 382, 384, 387, 400, 410, 420, 430, 440, 450, 460, 470, 480, 490, 510,
                            520, 521, 537, 540, 600, 601, 602, 620, 630, 640, 660, 680, 690, 691, 695, 699}) {
        ExpectSentence(vxl::DirectDrawResultText(Dd(offset)));
    }
    for (uint32_t offset = 560; offset <= 592; ++offset) {
        ExpectSentence(vxl::DirectDrawResultText(Dd(offset)));
    }
    for (uint32_t code : {0u, 1u, 2u, 3u, 4u, 8u, 11u, 12u, 0x80004001u, 0x80004002u, 0x80004003u, 0x80004005u,
                          0x80040110u, 0x80040154u, 0x80070002u, 0x80070005u, 0x80070006u, 0x80070007u, 0x8007000Cu,
                          0x8007000Eu, 0x80070015u, 0x8007001Eu, 0x80070057u, 0x80070077u, 0x800700AAu, 0x8007047Eu,
                          0x80070481u, 0x800704DFu}) {
        ExpectSentence(vxl::DirectInputResultText(code));
    }
    for (uint32_t code = 0x80040201u; code <= 0x8004020Bu; ++code) {
        ExpectSentence(vxl::DirectInputResultText(code));
    }
}
