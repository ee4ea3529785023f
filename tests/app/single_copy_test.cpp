// One copy at a time, even when two starts come at the same moment: each round starts two copies
// of the real program together; one window must come up, the other copy must end with code 0, and
// the place in the pass must move by exactly one entry for each window that appeared.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/lexoria_driver.h"

using namespace lexoriaTest;

namespace {

const int rounds = 10;
const int entries = 40;  // more than the windows of every round, so no pass ends on the way

// The "State" value: count, next position, start and stride.
struct Tstate {
    int count = 0, current = 0, start = 0, step = 0;
};

bool readState(Tstate& state) {
    std::vector<unsigned char> bytes;
    if (!getProgramValue("State", bytes) || bytes.size() != 16) return false;
    int* fields[] = {&state.count, &state.current, &state.start, &state.step};
    for (int i = 0; i < 4; ++i)
        *fields[i] = bytes[4 * i] | (bytes[4 * i + 1] << 8) | (bytes[4 * i + 2] << 16) |
                     (bytes[4 * i + 3] << 24);
    return state.count == entries;
}

// The position `loads` entries further on in the pass.
int positionAfter(const Tstate& state, size_t loads) {
    int position = state.current;
    for (size_t i = 0; i < loads; ++i) position = (position + state.step) % state.count;
    return position;
}

// A copy has settled once it shows its window or has ended.
bool settled(const TlexoriaProcess& copy) {
    return !copy.running() || readyMainWindow(copy.id()) != nullptr;
}

class TsingleCopy : public TprogramRun<> {};

TEST_F(TsingleCopy, TwoStartsAtOnceGiveOneWindowAndMoveThePlaceByOneEntry) {
    useList(wordList(entries));
    {
        // The index is built once beforehand, so that every round only reads and moves the place.
        TlexoriaProcess first;
        HWND window = start(first);
        ASSERT_NE(nullptr, window);
        exitThroughButton(first, window);
    }
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Tstate before;
        ASSERT_TRUE(readState(before));
        TlexoriaProcess copies[2];
        ASSERT_TRUE(copies[0].start(folder.path()) && copies[1].start(folder.path()));
        ASSERT_TRUE(waitUntil([&] { return settled(copies[0]) && settled(copies[1]); }, 20000));

        std::vector<std::pair<TlexoriaProcess*, HWND>> windows;
        std::multiset<std::string> shown;
        for (TlexoriaProcess& copy : copies) {
            HWND window = copy.running() ? readyMainWindow(copy.id()) : nullptr;
            if (!window) {
                EXPECT_EQ(0, copy.waitForExit()) << "the copy that found another ended";
                continue;
            }
            windows.emplace_back(&copy, window);
            shown.insert(paneText(window));
        }
        Tstate after;
        ASSERT_TRUE(readState(after));
        EXPECT_EQ(1u, windows.size()) << "windows that appeared";
        EXPECT_EQ(positionAfter(before, windows.size()), after.current)
            << "the place moved by one entry for each window";
        std::multiset<std::string> expected;
        for (size_t i = 0; i < windows.size(); ++i)
            expected.insert(definitionOf(positionAfter(before, i)));
        EXPECT_EQ(expected, shown) << "each window shows the next entry of the pass";
        for (auto& run : windows) exitThroughButton(*run.first, run.second);
    }
}

}  // namespace
