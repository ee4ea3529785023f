// The rotation arithmetic: how two draws become a pass, how a pass walks and ends, which stored
// states the program could have written, and the range of the draws.
#include <gtest/gtest.h>

#include <algorithm>

#include "vocab/rotation.h"

namespace {

struct Fields {
    int32_t count, current, start, step;
};

void expectState(const Fields& expected, const RotationState& state) {
    EXPECT_EQ(expected.count, state.count);
    EXPECT_EQ(expected.current, state.current);
    EXPECT_EQ(expected.start, state.start);
    EXPECT_EQ(expected.step, state.step);
}

RotationState stateOf(const Fields& f) {
    RotationState state;
    state.count = f.count;
    state.current = f.current;
    state.start = f.start;
    state.step = f.step;
    return state;
}

TEST(Rotation, DrawsBecomeStartAndTheLargestCoprimeStrideNotAboveTheDraw) {
    const struct {
        int32_t count;
        uint32_t startDraw, strideDraw;
        Fields expected;
    } cases[] = {
        {10, 13, 6, {10, 3, 3, 3}},  // 6, 5 and 4 share a divisor with 10
        {7, 20, 0, {7, 6, 6, 1}},    // a draw of 0 gives stride 1
        {7, 0, 1, {7, 0, 0, 1}},
        {7, 0, 6, {7, 0, 0, 6}},  // a prime count keeps every draw from 1 to 6
        {7, 0, 13, {7, 0, 0, 6}},
        {1, 5, 9, {1, 0, 0, 1}},
        {2, 3, 5, {2, 1, 1, 1}},
        {0, 5, 5, {0, 0, 0, 1}},
        {12, 2147483647u, 2147483647u, {12, 7, 7, 7}},  // the top of the draw range
        {4000, 1999, 3999 + 4000 * 3, {4000, 1999, 1999, 3999}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " " << c.startDraw << " " << c.strideDraw);
        expectState(c.expected, drawPass(c.count, c.startDraw, c.strideDraw));
    }
}

TEST(Rotation, APassVisitsEveryPositionOnceAndEndsBackAtItsStart) {
    RotationState state = stateOf({5, 3, 3, 2});
    std::vector<int32_t> shown;
    std::vector<bool> completes;
    for (int load = 0; load < 5; ++load) {
        shown.push_back(state.current);
        completes.push_back(advanceRotation(state));
    }
    EXPECT_EQ((std::vector<int32_t>{3, 0, 2, 4, 1}), shown);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true}), completes);
}

TEST(Rotation, APositionThatReachesTheCountWrapsToZero) {
    const struct {
        Fields before;
        int32_t current;
        bool completes;
    } cases[] = {
        {{4, 3, 1, 1}, 0, false},
        {{4, 3, 0, 1}, 0, true},
        {{1, 0, 0, 1}, 0, true},
        {{4000, 3998, 0, 3999}, 3997, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before.count << " " << c.before.current);
        RotationState state = stateOf(c.before);
        EXPECT_EQ(c.completes, advanceRotation(state));
        expectState({c.before.count, c.current, c.before.start, c.before.step}, state);
    }
}

TEST(Rotation, OnlyStatesTheProgramWritesAreConsistent) {
    const struct {
        Fields state;
        bool consistent;
    } cases[] = {
        {{5, 3, 3, 2}, true},      {{0, 0, 0, 1}, true},     {{1, 0, 0, 1}, true},
        {{4000, 3999, 0, 3999}, true},
        {{4001, 0, 0, 1}, false},  {{-1, 0, 0, 1}, false},   {{5, 5, 0, 1}, false},
        {{5, -1, 0, 1}, false},    {{5, 0, 5, 1}, false},    {{5, 0, -1, 1}, false},
        {{5, 0, 0, 0}, false},     {{5, 0, 0, -3}, false},   {{5, 0, 0, 5}, false},
        {{10, 0, 0, 4}, false},    {{0, 1, 0, 1}, false},    {{0, 0, 0, 2}, false},
    };
    for (const auto& c : cases) {
        const Fields& f = c.state;
        SCOPED_TRACE(testing::Message() << f.count << " " << f.current << " " << f.start << " "
                                        << f.step);
        EXPECT_EQ(c.consistent, stateOf(f).isConsistent());
    }
}

TEST(Rotation, StateBytesAreFourLittleEndianIntegers) {
    const unsigned char bytes[RotationState::recordSize] = {
        0xA0, 0x0F, 0, 0, 0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0, 0, 0x80};
    RotationState state;
    state.fromBytes(bytes);
    expectState({4000, 0x04030201, -1, static_cast<int32_t>(0x80000007u)}, state);
    unsigned char out[RotationState::recordSize + 1];
    std::fill(std::begin(out), std::end(out), 0xBD);
    state.toBytes(out);
    EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), out));
    EXPECT_EQ(0xBD, out[RotationState::recordSize]);
}

TEST(Rotation, DrawsSpanMoreThanFifteenBitsAndStayNonNegative) {
    uint32_t highest = 0;
    for (int i = 0; i < 200; ++i) {
        uint32_t draw = nextDraw();
        EXPECT_LE(draw, 0x7FFFFFFFu);
        highest = std::max(highest, draw);
    }
    EXPECT_GT(highest, 32767u);
}

}  // namespace
