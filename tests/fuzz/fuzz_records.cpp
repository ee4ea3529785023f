// Fuzz target for the two stored records a damaged registry can hand the program: the 16-byte
// rotation "State" and the 8-byte "Startup" window settings. Input: the stored bytes.
// A "State" that the program accepts as consistent must give a pass that visits every entry
// exactly once; a pass drawn for any count must be consistent; a "Startup" of any other size
// than 8 reads as the default record.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "settings/windowsettings.h"
#include "vocab/rotation.h"
#include "vocab/wordlist.h"

namespace {

uint32_t get32(const uint8_t* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

void checkPassVisitsEveryEntryOnce(RotationState state) {
    const RotationState first = state;
    std::vector<bool> seen(static_cast<size_t>(state.count), false);
    for (int32_t shown = 1; shown <= first.count; ++shown) {
        FUZZ_CHECK(state.current >= 0 && state.current < first.count);
        FUZZ_CHECK(!seen[static_cast<size_t>(state.current)]);
        seen[static_cast<size_t>(state.current)] = true;
        bool complete = advanceRotation(state);
        FUZZ_CHECK(complete == (state.current == first.start));
        FUZZ_CHECK(state.count == first.count && state.start == first.start &&
                   state.step == first.step);
    }
    // A stored position in the middle of a pass ends that pass early; the rest of the pass
    // has still been visited once each.
    FUZZ_CHECK(state.current == first.current);
}

void checkState(const uint8_t* data, size_t size) {
    if (size < RotationState::recordSize) return;
    RotationState state;
    state.fromBytes(data);
    unsigned char again[RotationState::recordSize];
    state.toBytes(again);
    FUZZ_CHECK(std::equal(again, again + sizeof again, data));
    if (state.isConsistent() && state.count > 0) checkPassVisitsEveryEntryOnce(state);
}

void checkDrawnPass(const uint8_t* data, size_t size) {
    if (size < 12) return;
    int32_t count = static_cast<int32_t>(get32(data) % (maxEntries + 1));
    uint32_t startDraw = get32(data + 4) >> 1;
    uint32_t strideDraw = get32(data + 8) >> 1;
    RotationState state = drawPass(count, startDraw, strideDraw);
    FUZZ_CHECK(state.isConsistent());
    FUZZ_CHECK(state.current == state.start);
    if (count == 0) {
        FUZZ_CHECK(state.start == 0 && state.step == 1);
    } else {
        FUZZ_CHECK(state.step <= static_cast<int32_t>(strideDraw % count) || state.step == 1);
    }
}

void checkWindowSettings(const uint8_t* data, size_t size) {
    TwindowSettings settings;
    settings.positionChoice = 4;
    settings.alwaysOnTop = 9;
    bool valid = settings.fromBytes(data, size);
    FUZZ_CHECK(valid == (size == TwindowSettings::recordSize));
    if (valid) {
        unsigned char again[TwindowSettings::recordSize];
        settings.toBytes(again);
        FUZZ_CHECK(std::equal(again, again + sizeof again, data));
    } else {
        FUZZ_CHECK(settings.positionChoice == 1 && settings.alwaysOnTop == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkState(data, size);
    checkDrawnPass(data, size);
    checkWindowSettings(data, size);
    return 0;
}
