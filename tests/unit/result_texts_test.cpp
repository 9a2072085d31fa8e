#include "core/result_texts.h"

#include <gtest/gtest.h>

namespace {

constexpr auto Dd = [](uint32_t offset) { return 0x88760000u + offset; };
const std::string kUnrecognized = "Unrecognized Error";

// A sample of each table: codes of their own, two codes of one text, and a code both tables hold.
TEST(ResultTexts, FixedSentences) {
    const char* no_memory = "DirectDraw does not have enough memory to perform the operation.";
    const std::pair<uint32_t, const char*> dd[] = {
        {0, "The request completed successfully."},
        {0x8007000Eu, no_memory},
        {Dd(380), no_memory},
        {0x80070057u, "One or more of the parameters passed to the function are incorrect."},
        {Dd(620), "A DC has already been returned for this surface. Only one DC can be retrieved per surface."},
    };
    for (auto [code, text] : dd) EXPECT_STREQ(vxl::DirectDrawResultText(code), text) << std::hex << code;
    const std::pair<uint32_t, const char*> di[] = {
        {0, "The operation completed successfully."},
        {0x8007001Eu, "Access to the input device has been lost. It must be reacquired."},
        {0x80070057u, "A parameter passed to the function is not valid."},
    };
    for (auto [code, text] : di) EXPECT_STREQ(vxl::DirectInputResultText(code), text) << std::hex << code;
}

// Listed codes next to unlisted ones, at the table edges and around runs: a misordered table or an
// off-by-one search would miss some.
TEST(ResultTexts, ListedAndUnlistedNeighbours) {
    for (uint32_t code : {0x80004001u, Dd(5), Dd(450), Dd(560), Dd(592), Dd(602), Dd(699)}) {
        EXPECT_NE(vxl::DirectDrawResultText(code), kUnrecognized) << std::hex << code;
    }
    for (uint32_t code : {1u, 0x800704DFu, 0x80040201u, 0x8004020Bu}) {
        EXPECT_NE(vxl::DirectInputResultText(code), kUnrecognized) << std::hex << code;
    }
    for (uint32_t code : {Dd(451), 0x12345678u, Dd(593), Dd(603), Dd(700), 0x8004020Cu, 0xFFFFFFFFu}) {
        EXPECT_EQ(vxl::DirectDrawResultText(code), kUnrecognized) << std::hex << code;
        EXPECT_EQ(vxl::DirectInputResultText(code), kUnrecognized) << std::hex << code;
    }
}

}  // namespace
