// The rotation arithmetic: how two draws become a pass, how a pass walks and ends, the state's
// bytes and the range of the draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "vocab/rotation.h"

namespace {

using Tfields = std::array<int32_t, 4>;  // count, current, start, step

Tfields fields(const TrotationState& s) { return {s.count, s.current, s.start, s.step}; }

TEST(Rotation, DrawsBecomeStartAndTheLargestCoprimeStrideNotAboveTheDraw) {
    const struct {
        int32_t count;
        uint32_t startDraw, strideDraw;
        Tfields expected;
    } cases[] = {
        {10, 13, 6, {10, 3, 3, 3}},                     // 6, 5 and 4 share a divisor with 10
        {7, 20, 0, {7, 6, 6, 1}},                       // a draw of 0 gives stride 1
        {7, 0, 13, {7, 0, 0, 6}},                       // draws are taken modulo the count
        {0, 5, 5, {0, 0, 0, 1}},                        // an empty list
        {12, 2147483647u, 2147483647u, {12, 7, 7, 7}},  // the top of the draw range
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " " << c.startDraw << " " << c.strideDraw);
        EXPECT_EQ(c.expected, fields(drawPass(c.count, c.startDraw, c.strideDraw)));
    }
}

// From 3, the stride 2 reaches the count and wraps to 0; the fifth step is back at the start.
TEST(Rotation, APassVisitsEveryPositionOnceAndEndsBackAtItsStart) {
    TrotationState state{5, 3, 3, 2};
    std::vector<int32_t> shown;
    std::vector<bool> completes;
    for (int load = 0; load < 5; ++load) {
        shown.push_back(state.current);
        completes.push_back(advanceRotation(state));
    }
    EXPECT_EQ((std::vector<int32_t>{3, 0, 2, 4, 1}), shown);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true}), completes);
}

TEST(Rotation, StateBytesAreFourLittleEndianIntegers) {
    const unsigned char bytes[TrotationState::recordSize] = {0xA0, 0x0F, 0,    0,    0x01, 0x02,
                                                             0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF,
                                                             0x07, 0,    0,    0x80};
    TrotationState state;
    state.fromBytes(bytes);
    EXPECT_EQ((Tfields{4000, 0x04030201, -1, static_cast<int32_t>(0x80000007u)}), fields(state));
    unsigned char out[TrotationState::recordSize];  // exactly sized for the sanitizer
    state.toBytes(out);
    EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), out));
}

// The program's generator must reach past MinGW's rand(), whose values end at 32767: from such
// draws a list of 4000 entries would start a pass at its first 768 entries more often than at
// the rest.
TEST(Rotation, DrawsSpanMoreThanFifteenBits) {
    uint32_t highest = 0;
    for (int i = 0; i < 200; ++i) highest = std::max(highest, nextDraw());
    EXPECT_GT(highest, 32767u);
}

}  // namespace
