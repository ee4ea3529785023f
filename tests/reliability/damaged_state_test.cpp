// Damaged stored values, end to end: each of the program's four registry values missing, of the
// wrong type, one byte short, one byte long, or with fields out of range, under a word list that
// has not changed. The program must either work (a default, a rebuilt index) or show its load
// message and end with exit code 0, within the time limits, and must not lose any other value.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "reliability/reliability_support.h"
#include "resources/resource.h"

namespace {

using namespace reliability;
using lexoria_test::LexoriaProcess;
using lexoria_test::ScratchFolder;

const int listEntries = 6;
// The intact state: position 3 is shown next, then 2 (3 + 5 wraps), in a pass from 1 with stride 5.
const RotationState intactState = {listEntries, 3, 1, 5};
const int intactShown = 3;
const RotationState intactAfterOneLoad = {listEntries, 2, 1, 5};
// Top right, not on top, with a saved position that only choice 0 would use.
const std::vector<unsigned char> intactStartup = {3, 0, 0, 0, 11, 0, 22, 0};

enum class Expect { works, worksOrMessage };
enum class Place { topRight, centred, centredTopmost, savedClamped };

struct TdamageCase {
    const char* value;
    const char* name;
    void (*damage)(Tvalue&);
    Expect expect;
    Place place;
};

std::ostream& operator<<(std::ostream& out, const TdamageCase& c) {
    return out << c.value << " " << c.name;
}

std::vector<unsigned char> state(int32_t count, int32_t current, int32_t start, int32_t step) {
    RotationState fields = {count, current, start, step};
    return stateBytes(fields);
}

std::vector<unsigned char> startup(int16_t choice, uint16_t onTop, int16_t left, int16_t top) {
    auto u = [](int value) { return static_cast<unsigned char>(value & 0xFF); };
    auto h = [](int value) { return static_cast<unsigned char>((value >> 8) & 0xFF); };
    return {u(choice), h(choice), u(onTop), h(onTop), u(left), h(left), u(top), h(top)};
}

void setOffset(Tvalue& offsets, int position, uint32_t offset) {
    for (int i = 0; i < 4; ++i)
        offsets.bytes[4 * position + i] = static_cast<unsigned char>(offset >> (8 * i));
}

uint32_t offsetAt(const Tvalue& offsets, int position) {
    const unsigned char* at = &offsets.bytes[4 * position];
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// Damage that fits any of the four values.
void missing(Tvalue& v) { v.present = false; }
void wrongType(Tvalue& v) { v.type = REG_DWORD; }
void textType(Tvalue& v) {
    v.type = REG_SZ;
    v.bytes.assign({'d', 'a', 'm', 'a', 'g', 'e', 'd', 0});
}
void oneByteShort(Tvalue& v) { v.bytes.pop_back(); }
void oneByteLong(Tvalue& v) { v.bytes.push_back(0); }

std::vector<TdamageCase> allCases() {
    std::vector<TdamageCase> cases;
    struct Generic {
        const char* name;
        void (*damage)(Tvalue&);
    };
    const Generic generic[] = {{"Missing", missing},
                               {"WrongType", wrongType},
                               {"TextType", textType},
                               {"OneByteShort", oneByteShort},
                               {"OneByteLong", oneByteLong}};
    // The index values may fail the load or be rebuilt; a bad time or window record must never
    // stop the program.
    for (const Generic& g : generic) {
        cases.push_back({"Offsets", g.name, g.damage, Expect::worksOrMessage, Place::topRight});
        cases.push_back({"State", g.name, g.damage, Expect::worksOrMessage, Place::topRight});
        cases.push_back({"Modification Time", g.name, g.damage, Expect::works, Place::topRight});
        cases.push_back({"Startup", g.name, g.damage, Expect::works, Place::centred});
    }
    const TdamageCase outOfRange[] = {
        {"Offsets", "EntryPastTheEnd", [](Tvalue& v) { setOffset(v, intactShown, 100000); },
         Expect::worksOrMessage, Place::topRight},
        {"Offsets", "EntryFarPastTheEnd", [](Tvalue& v) { setOffset(v, intactShown, 0x7FFFFFFF); },
         Expect::worksOrMessage, Place::topRight},
        {"Offsets", "EntryNegative", [](Tvalue& v) { setOffset(v, intactShown, 0xFFFFFFFF); },
         Expect::worksOrMessage, Place::topRight},
        {"Offsets", "EntryInsideALine",
         [](Tvalue& v) { setOffset(v, intactShown, offsetAt(v, intactShown) + 2); },
         Expect::worksOrMessage, Place::topRight},
        {"Offsets", "Empty", [](Tvalue& v) { v.bytes.clear(); }, Expect::worksOrMessage,
         Place::topRight},
        {"State", "CountOverTheLimit", [](Tvalue& v) { v.bytes = state(4001, 3, 1, 5); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "CountDisagreesWithOffsets", [](Tvalue& v) { v.bytes = state(5, 3, 1, 2); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "CountZero", [](Tvalue& v) { v.bytes = state(0, 0, 0, 1); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "CountNegative", [](Tvalue& v) { v.bytes = state(-6, 3, 1, 5); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "CurrentPastTheList", [](Tvalue& v) { v.bytes = state(6, 6, 1, 5); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "CurrentNegative", [](Tvalue& v) { v.bytes = state(6, -1, 1, 5); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "StartPastTheList", [](Tvalue& v) { v.bytes = state(6, 3, 7, 5); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "StepZero", [](Tvalue& v) { v.bytes = state(6, 3, 1, 0); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "StepNegative", [](Tvalue& v) { v.bytes = state(6, 3, 1, -5); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "StepSharesADivisor", [](Tvalue& v) { v.bytes = state(6, 3, 1, 4); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "StepEqualsCount", [](Tvalue& v) { v.bytes = state(6, 3, 1, 6); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "StepHuge", [](Tvalue& v) { v.bytes = state(6, 3, 1, 0x7FFFFFFF); },
         Expect::worksOrMessage, Place::topRight},
        {"State", "AllBitsSet", [](Tvalue& v) { v.bytes.assign(16, 0xFF); },
         Expect::worksOrMessage, Place::topRight},
        {"Modification Time", "Zero", [](Tvalue& v) { v.bytes.assign(8, 0); }, Expect::works,
         Place::topRight},
        {"Modification Time", "AllBitsSet", [](Tvalue& v) { v.bytes.assign(8, 0xFF); },
         Expect::works, Place::topRight},
        {"Modification Time", "OneTickLater", [](Tvalue& v) { v.bytes[0] ^= 1; }, Expect::works,
         Place::topRight},
        {"Startup", "ChoiceSix", [](Tvalue& v) { v.bytes = startup(6, 0, 11, 22); }, Expect::works,
         Place::centred},
        {"Startup", "ChoiceNegative", [](Tvalue& v) { v.bytes = startup(-1, 0, 11, 22); },
         Expect::works, Place::centred},
        {"Startup", "ChoiceLargest", [](Tvalue& v) { v.bytes = startup(32767, 0, 11, 22); },
         Expect::works, Place::centred},
        {"Startup", "OnTopAllBits", [](Tvalue& v) { v.bytes = startup(1, 0xFFFF, 11, 22); },
         Expect::works, Place::centredTopmost},
        {"Startup", "SavedFarLeftAndBelow",
         [](Tvalue& v) { v.bytes = startup(0, 0, -32768, 32767); }, Expect::works,
         Place::savedClamped},
        {"Startup", "SavedFarRightAndAbove",
         [](Tvalue& v) { v.bytes = startup(0, 0, 32767, -32768); }, Expect::works,
         Place::savedClamped},
    };
    cases.insert(cases.end(), std::begin(outOfRange), std::end(outOfRange));
    return cases;
}

std::string testName(const testing::TestParamInfo<TdamageCase>& info) {
    std::string name;
    for (const char* c = info.param.value; *c; ++c)
        if (*c != ' ') name += *c;
    return name + "_" + info.param.name;
}

class DamagedState : public testing::TestWithParam<TdamageCase> {
protected:
    void SetUp() override { lexoria_test::deleteProgramKey(); }
    void TearDown() override { lexoria_test::deleteProgramKey(); }

    // Where the window must stand, from its own size and the screen's.
    void expectPlacement(HWND window, Place place, int16_t savedLeft, int16_t savedTop) {
        Tplacement at = placementOf(window);
        const int width = at.outer.right - at.outer.left, height = at.outer.bottom - at.outer.top;
        const int spareX = GetSystemMetrics(SM_CXSCREEN) - width;
        const int spareY = GetSystemMetrics(SM_CYSCREEN) - height;
        int x = spareX / 2, y = spareY / 2;
        if (place == Place::topRight) {
            x = spareX;
            y = 0;
        } else if (place == Place::savedClamped) {
            x = savedLeft < 0 ? 0 : (savedLeft > spareX ? spareX : savedLeft);
            y = savedTop < 0 ? 0 : (savedTop > spareY ? spareY : savedTop);
        }
        EXPECT_EQ(at.outer.left, x);
        EXPECT_EQ(at.outer.top, y);
        EXPECT_EQ(at.topmost, place == Place::centredTopmost);
    }
};

TEST_P(DamagedState, WorksOrShowsItsMessageAndKeepsTheOtherValues) {
    const TdamageCase& c = GetParam();
    ScratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
    ASSERT_TRUE(lexoria_test::copyProgram(folder));
    ASSERT_TRUE(lexoria_test::writeFile(list, wordList(listEntries)));
    const std::vector<TwordDef> entries = entriesOf(list);
    ASSERT_EQ(entries.size(), static_cast<size_t>(listEntries));

    const TstoredValues intact = intactValues(list, intactState, intactStartup);
    TstoredValues stored = intact;
    c.damage(stored[c.value]);
    const Tvalue damaged = stored[c.value];
    ASSERT_TRUE(writeAllValues(stored));

    LexoriaProcess program;
    ASSERT_TRUE(program.start(folder.path()));
    HWND window = nullptr;
    const Tresponse response = settleAfterStart(program, window);
    ASSERT_TRUE(response == Tresponse::windowReady ||
                (response == Tresponse::boxShown && c.expect == Expect::worksOrMessage))
        << nameOf(response);

    // The matrix in the log: which cases the program survived by a default or a rebuild, and
    // which ended with its message.
    std::printf("    %s %s: %s\n", c.value, c.name, nameOf(response));
    RECT closedAt = {};
    if (response == Tresponse::boxShown) {
        HWND box = visibleBox(program);
        EXPECT_EQ(lexoria_test::messageBoxText(box), "Unable to load word list (" + list + ").");
        lexoria_test::pressOk(box);
    } else {
        const std::string shown = lexoria_test::paneText(window);
        const bool indexIntact = std::strcmp(c.value, "Startup") == 0;
        if (indexIntact)
            EXPECT_EQ(shown, definitionOf(intactShown));
        else
            EXPECT_TRUE(contains(entries, shown)) << shown;
        int16_t savedLeft = 0, savedTop = 0;
        if (c.place == Place::savedClamped && damaged.bytes.size() == 8) {
            savedLeft = static_cast<int16_t>(damaged.bytes[4] | (damaged.bytes[5] << 8));
            savedTop = static_cast<int16_t>(damaged.bytes[6] | (damaged.bytes[7] << 8));
        }
        expectPlacement(window, c.place, savedLeft, savedTop);
        GetWindowRect(window, &closedAt);
        lexoria_test::clickButton(window, IDC_EXIT);
    }
    EXPECT_EQ(program.waitForExit(10000), 0);

    // No other value is lost: the window record survives any damage to the index, and the
    // index survives damage to the window record.
    TstoredValues after = readAllValues();
    for (int i = 0; i < TstoredValues::count; ++i) {
        const char* name = TstoredValues::names[i];
        if (std::strcmp(name, c.value) == 0) continue;
        if (i == startupIndex) {
            EXPECT_EQ(after.values[i], intact.values[i]) << name;
        } else if (std::strcmp(c.value, "Startup") == 0) {
            Tvalue expected = i == stateIndex ? binaryValue(stateBytes(intactAfterOneLoad))
                                              : intact.values[i];
            EXPECT_EQ(after.values[i], expected) << name;
        }
    }
    if (std::strcmp(c.value, "Startup") == 0) {
        Tvalue expected = damaged;
        if (c.place == Place::savedClamped) {
            expected.bytes = startup(0, 0, static_cast<int16_t>(closedAt.left),
                                     static_cast<int16_t>(closedAt.top));
        }
        EXPECT_EQ(after.values[startupIndex], expected) << "Startup";
    } else if (response == Tresponse::windowReady) {
        // A load that worked leaves a usable index behind: rebuilt or as it was.
        EXPECT_EQ(after.values[offsetsIndex], intact.values[offsetsIndex]);
        EXPECT_EQ(after.values[timeIndex], intact.values[timeIndex]);
        RotationState now;
        ASSERT_TRUE(stateFrom(after.values[stateIndex], now));
        EXPECT_TRUE(now.isConsistent());
        EXPECT_EQ(now.count, listEntries);
    } else {
        // A failed load changes nothing of the index.
        for (int i : {offsetsIndex, stateIndex, timeIndex})
            EXPECT_EQ(after.values[i], stored.values[i]) << TstoredValues::names[i];
    }
}

INSTANTIATE_TEST_SUITE_P(EveryValue, DamagedState, testing::ValuesIn(allCases()), testName);

}  // namespace
