// Damaged stored values, end to end: each of the program's four registry values missing, one
// byte short, one byte long, or with fields out of range (a value of another type reads as a
// missing one: registry_test holds that Tregistry refuses it), under a word list that
// has not changed. Every damage is mended (a default, or a fresh pass over a rebuilt index): the
// program works, ends with exit code 0 within the time limits, and loses no other value.
#include <array>
#include <functional>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace {

using namespace lexoriaTest;

enum { offsetsValue, stateValue, timeValue, startupValue, valueCount };
const char* const valueNames[valueCount] = {"Offsets", "State", "Modification Time", "Startup"};

// One registry value as stored: its type (REG_NONE: absent) and bytes.
struct Tvalue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
    bool operator==(const Tvalue& o) const { return type == o.type && bytes == o.bytes; }
};
using Tvalues = std::array<Tvalue, valueCount>;

std::ostream& operator<<(std::ostream& out, const Tvalue& value) {
    return out << "type " << value.type << ": " << testing::PrintToString(value.bytes);
}

Tvalue binary(const std::vector<unsigned char>& bytes) { return {REG_BINARY, bytes}; }

Tvalue readValue(const char* name) {
    Tvalue value;
    return getProgramValue(name, value.bytes, &value.type) ? value : Tvalue{};
}

// Into the key that each case begins without.
bool writeValue(const char* name, const Tvalue& value) {
    return value.type == REG_NONE || setProgramValue(name, value.type, value.bytes.data(),
                                                     static_cast<DWORD>(value.bytes.size()));
}

void put32(std::vector<unsigned char>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

int32_t get32(const unsigned char* at) {
    return static_cast<int32_t>(at[0] | (at[1] << 8) | (at[2] << 16) |
                                (static_cast<uint32_t>(at[3]) << 24));
}

std::vector<unsigned char> state(int32_t count, int32_t current, int32_t start, int32_t step) {
    std::vector<unsigned char> bytes;
    for (int32_t field : {count, current, start, step}) put32(bytes, static_cast<uint32_t>(field));
    return bytes;
}

const int listEntries = 6;
// Position 3 is shown next, then 2 (3 + 5 wraps), in a pass from 1 with stride 5.
const int intactShown = 3;
const std::vector<unsigned char> intactState = state(listEntries, intactShown, 1, 5);
const std::vector<unsigned char> stateAfterOneLoad = state(listEntries, 2, 1, 5);
// Top right, not on top, with a saved position that only choice 0 would use.
const std::vector<unsigned char> intactStartup = startupRecord(3, 0, 11, 22);

// The four values as the program would have stored them for the list it was given.
Tvalues intactValues(const std::string& list) {
    std::vector<unsigned char> offsets, time;
    for (int i = 0; i < listEntries; ++i) put32(offsets, wordList(i).size());
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    GetFileAttributesExA(list.c_str(), GetFileExInfoStandard, &file);
    put32(time, file.ftLastWriteTime.dwLowDateTime);
    put32(time, file.ftLastWriteTime.dwHighDateTime);
    return {binary(offsets), binary(intactState), binary(time), binary(intactStartup)};
}

using Tdamage = std::function<void(Tvalue&)>;

Tdamage replacedBy(const std::vector<unsigned char>& bytes) {
    return [bytes](Tvalue& value) { value.bytes = bytes; };
}

// Points the entry shown next at another offset.
Tdamage shownEntryAt(uint32_t offset) {
    return [offset](Tvalue& value) {
        std::vector<unsigned char> bytes;
        put32(bytes, offset);
        std::copy(bytes.begin(), bytes.end(), value.bytes.begin() + 4 * intactShown);
    };
}

struct TdamageCase {
    int value;
    const char* name;
    Tdamage damage;
    Tdamage offsetsToo = nullptr;  // for an index damaged in both of its values
};

std::ostream& operator<<(std::ostream& out, const TdamageCase& c) {
    return out << valueNames[c.value] << " " << c.name;
}

std::vector<TdamageCase> allCases() {
    const struct {
        const char* name;
        Tdamage damage;
    } anyValue[] = {
        {"Missing", [](Tvalue& v) { v = Tvalue{}; }},
        {"OneByteShort", [](Tvalue& v) { v.bytes.pop_back(); }},
        {"OneByteLong", [](Tvalue& v) { v.bytes.push_back(0); }},
    };
    std::vector<TdamageCase> cases;
    for (const auto& damage : anyValue)
        for (int value = 0; value < valueCount; ++value)
            cases.push_back({value, damage.name, damage.damage});
    // Each breaks a different check: a seek, a sign, a bound, an overflow or the stride's walk.
    const TdamageCase outOfRange[] = {
        {offsetsValue, "EntryFarPastTheEnd", shownEntryAt(0x7FFFFFFF)},
        {offsetsValue, "EntryNegative", shownEntryAt(0xFFFFFFFF)},
        {offsetsValue, "EntryInsideALine", shownEntryAt(wordList(intactShown).size() + 2)},
        {stateValue, "CountDisagreesWithOffsets", replacedBy(state(5, 3, 1, 2))},
        {stateValue, "CountZero", replacedBy(state(0, 0, 0, 1))},
        // As a list without entries leaves it, which a good list under the same time replaced.
        {stateValue, "CountZeroOverNoOffsets", replacedBy(state(0, 0, 0, 1)),
         replacedBy(std::vector<unsigned char>())},
        {stateValue, "CountNegative", replacedBy(state(-6, 3, 1, 5))},
        {stateValue, "CountOverTheLimit", replacedBy(state(4001, 3, 1, 5))},
        {stateValue, "CurrentPastTheList", replacedBy(state(6, 6, 1, 5))},
        {stateValue, "CurrentNegative", replacedBy(state(6, -1, 1, 5))},
        {stateValue, "StartPastTheList", replacedBy(state(6, 3, 7, 5))},
        {stateValue, "StepZero", replacedBy(state(6, 3, 1, 0))},
        {stateValue, "StepNegative", replacedBy(state(6, 3, 1, -5))},
        {stateValue, "StepSharesADivisor", replacedBy(state(6, 3, 1, 4))},
        {stateValue, "StepHuge", replacedBy(state(6, 3, 1, 0x7FFFFFFF))},
        {timeValue, "AllBitsSet", replacedBy(std::vector<unsigned char>(8, 0xFF))},
        {timeValue, "OneTickApart", [](Tvalue& v) { v.bytes[0] ^= 1; }},
    };
    cases.insert(cases.end(), std::begin(outOfRange), std::end(outOfRange));
    return cases;
}

std::string testName(const testing::TestParamInfo<TdamageCase>& info) {
    std::string name = valueNames[info.param.value];
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    return name + "_" + info.param.name;
}

// A rebuilt state: a fresh pass over the six entries, its first entry shown, one step on.
void expectFreshPass(const Tvalue& value, const std::string& shown) {
    ASSERT_TRUE(value.type == REG_BINARY && value.bytes.size() == 16);
    const int32_t start = get32(&value.bytes[8]), step = get32(&value.bytes[12]);
    ASSERT_TRUE(start >= 0 && start < listEntries && (step == 1 || step == 5)) << value;
    EXPECT_EQ(shown, definitionOf(start));
    EXPECT_EQ(value, binary(state(listEntries, (start + step) % listEntries, start, step)));
}

using TdamagedStateRun = TprogramRun<testing::TestWithParam<TdamageCase>>;

TEST_P(TdamagedStateRun, WorksAndKeepsTheOtherValues) {
    const TdamageCase& c = GetParam();
    useList(wordList(listEntries));
    const Tvalues intact = intactValues(listFile());
    Tvalues stored = intact;
    c.damage(stored[c.value]);
    if (c.offsetsToo) c.offsetsToo(stored[offsetsValue]);
    for (int i = 0; i < valueCount; ++i) ASSERT_TRUE(writeValue(valueNames[i], stored[i]));

    TlexoriaProcess program;
    ASSERT_TRUE(program.start(folder.path()));
    HWND window = nullptr, box = nullptr;
    waitUntil(
        [&] {
            box = program.waitForDialog(0);
            window = box ? nullptr : readyMainWindow(program.id());
            return box || window || !program.running();
        },
        10000);
    ASSERT_TRUE(window) << (box ? messageBoxText(box) : "neither window nor message in 10 s");
    const std::string shown = paneText(window);
    // A damaged record gives the default place, centred; the intact one puts it top right.
    RECT at;
    GetWindowRect(window, &at);
    const int spareX = GetSystemMetrics(SM_CXSCREEN) - (at.right - at.left);
    EXPECT_EQ(at.left, c.value == startupValue ? spareX / 2 : spareX);
    exitThroughButton(program, window);

    // A mended index is the intact one with a fresh pass; the window record survives any damage
    // to the index, and the reverse.
    Tvalues expected = stored;
    Tvalues after;
    for (int i = 0; i < valueCount; ++i) after[i] = readValue(valueNames[i]);
    if (c.value == startupValue) {
        EXPECT_EQ(shown, definitionOf(intactShown));
        expected[stateValue] = binary(stateAfterOneLoad);
    } else {
        expected[offsetsValue] = intact[offsetsValue];
        expected[timeValue] = intact[timeValue];
        expectFreshPass(after[stateValue], shown);
        expected[stateValue] = after[stateValue];
    }
    for (int i = 0; i < valueCount; ++i) EXPECT_EQ(after[i], expected[i]) << valueNames[i];
}

INSTANTIATE_TEST_SUITE_P(EveryValue, TdamagedStateRun, testing::ValuesIn(allCases()), testName);

}  // namespace
