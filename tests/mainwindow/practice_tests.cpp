// Learning with Lexoria.exe driven through window messages: the example sentence, practice (the
// word alone until "&Show") and "A&gain", whose words come back as the sixth after them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "mainwindow/windowprobe.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/comholders.h"

using namespace lexoriaTest;
using namespace windowProbe;

namespace {

using Tbytes = std::vector<unsigned char>;

const char* const practiceValue = "Practice";
const char* const exampleValue = "Show Example";
const char* const againValue = "Again";

Tbytes pairsOf(const std::vector<std::pair<int, int>>& pairs) {
    Tbytes bytes;
    for (const auto& pair : pairs)
        for (int field : {pair.first, pair.second})
            for (int shift = 0; shift < 32; shift += 8) bytes.push_back((field >> shift) & 0xFF);
    return bytes;
}

// The value's bytes; {0xBD} when there is none.
Tbytes stored(const char* name) {
    Tbytes bytes;
    return getProgramValue(name, bytes) ? bytes : Tbytes{0xBD};
}

// The rotation's next position (first) and the start of its pass (second), from "State".
using Trotation = std::pair<int, int>;
Trotation storedRotation() {
    const Tbytes state = stored("State");
    if (state.size() != 16) return {-1, -1};
    auto field = [&](int at) {
        return state[at] | (state[at + 1] << 8) | (state[at + 2] << 16) | (state[at + 3] << 24);
    };
    return {field(4), field(8)};
}

// The entry the band shows: "word<n>" gives n.
int shownNumber(HWND window) {
    const std::wstring word = bandText(window);
    return word.compare(0, 4, L"word") == 0 ? std::stoi(word.substr(4)) : -1;
}

std::string captionOf(HWND window, int id) { return windowText(GetDlgItem(window, id)); }

bool isDefaultButton(HWND window, int id) {
    return (GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// A click, returning once the program has dealt with it.
void press(HWND window, int id) {
    clickButton(window, id);
    ASSERT_TRUE(drainPosted(window));
}

std::vector<LONG> edges(const RECT& at) { return {at.left, at.top, at.right, at.bottom}; }

class TpracticeRun : public TprogramRun<> {
protected:
    void setSwitch(const char* name, bool on) {
        const DWORD value = on ? 1 : 0;
        ASSERT_TRUE(setProgramValue(name, REG_DWORD, &value, sizeof value));
    }
    // The main window once its band shows a word, its pane maybe empty.
    HWND startWord(TexitingRun& run) {
        return run.window = run.start(folder.path()) ? run.waitForWordWindow() : nullptr;
    }
    // The same in practice, on a list of the entries given.
    HWND startPractice(TexitingRun& run, int entries) {
        useList(wordList(entries));
        setSwitch(practiceValue, true);
        return startWord(run);
    }
    // Sets the two learning options in the Options dialog and closes it with OK.
    void chooseInOptions(TlexoriaProcess& run, HWND window, bool example, bool practice) {
        clickButton(window, IDC_OPTIONS);
        HWND dialog = waitForDialogOf(run.id(), [](HWND w) { return GetDlgItem(w, IDC_PRACTICE); });
        ASSERT_NE(nullptr, dialog);
        for (auto box :
             {std::make_pair(IDC_SHOW_EXAMPLE, example), std::make_pair(IDC_PRACTICE, practice)})
            SendMessageA(GetDlgItem(dialog, box.first), BM_SETCHECK,
                         box.second ? BST_CHECKED : BST_UNCHECKED, 0);
        clickButton(dialog, IDOK);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
        ASSERT_TRUE(drainPosted(window));
    }
};

// ---- The example sentence ----

TEST_F(TpracticeRun, TheExampleFollowsTheDefinitionAfterAnEmptyLine) {
    const struct {
        const char* name;
        std::string list;
        bool example;
        std::wstring shown;
    } cases[] = {
        {"off", "word=w\ndef=d\nex=e\n", false, L"d"},
        {"on, no example", "word=w\r\ndef=d\r\n", true, L"d"},
        {"on, an empty example", "word=w\ndef=d\nex=\n", true, L"d"},
        {"on, two lines each", "word=w\ndef=d1\nd2\nex=e1\ne2\n", true,
         L"d1\r\nd2\r\n\r\ne1\r\ne2"},
        {"on, UTF-8", "word=w\ndef=\xC5\x81\nex=\xCE\xBB\n", true, L"\u0141\r\n\r\n\u03BB"},
        {"on, like rich text", "word=w\ndef=d\nex={\\rtf1 x}\n", true, L"d\r\n\r\n{\\rtf1 x}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        useList(c.list);
        setSwitch(exampleValue, c.example);
        TexitingRun run;
        HWND window = startWord(run);
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(waitUntil([&] { return paneTextW(window) == c.shown; }))
            << testing::PrintToString(paneTextW(window));
    }
}

// ---- Practice ----

// Each word comes alone until "&Show"; the second button, heard as it changes, stays default and
// keeps the focus through clicks, keys, mnemonics, dialogs and activation.
TEST_F(TpracticeRun, EachWordComesAloneAndTheSecondButtonKeepsTheFocus) {
    TcomLibrary com;
    setSwitch(exampleValue, true);
    TexitingRun run;
    HWND window = startPractice(run, 20);
    ASSERT_NE(nullptr, window);
    TnameChanges changes(run.id());
    ASSERT_TRUE(changes.hooked());
    HWND second = GetDlgItem(window, IDC_NEXT_WORD);
    auto expectHeld = [&](const char* after, bool revealed) {
        SCOPED_TRACE(after);
        EXPECT_EQ(second, focusOf(window));
        EXPECT_TRUE(isDefaultButton(window, IDC_NEXT_WORD));
        EXPECT_FALSE(isDefaultButton(window, IDC_EXIT));
        const std::string number = std::to_string(shownNumber(window));
        EXPECT_EQ(revealed ? definitionOf(std::stoi(number)) + "\r\n\r\nexample " + number : "",
                  paneText(window));
        EXPECT_EQ(revealed ? "&Next Word" : "&Show", captionOf(window, IDC_NEXT_WORD));
        EXPECT_EQ(revealed, IsWindowEnabled(GetDlgItem(window, IDC_AGAIN)) != FALSE);
        DWORD_PTR defaultId = 0;
        SendMessageTimeoutA(window, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &defaultId);
        EXPECT_EQ(MAKELONG(IDC_NEXT_WORD, DC_HASDEFID), LONG(defaultId));
    };
    expectHeld("the start", false);
    int number = shownNumber(window);
    auto closedDialog = [&](int button, int command) {
        return [&, button, command] {
            clickButton(window, button);
            HWND dialog = run.waitForDialog(5000);
            PostMessageA(dialog, WM_COMMAND, command, 0);
            waitUntil([&] { return !IsWindow(dialog); });
        };
    };
    const struct {
        const char* name;
        std::function<void()> action;
        bool revealed, newWord;
    } steps[] = {
        {"a click on Show", [&] { clickButton(window, IDC_NEXT_WORD); }, true, false},
        {"a click on Next Word", [&] { clickButton(window, IDC_NEXT_WORD); }, false, true},
        {"Enter", [&] { postKey(focusOf(window), VK_RETURN); }, true, false},
        {"Enter again", [&] { postKey(focusOf(window), VK_RETURN); }, false, true},
        {"Space", [&] { postKey(focusOf(window), VK_SPACE); }, true, false},
        {"Again", [&] { clickButton(window, IDC_AGAIN); }, false, true},
        {"the About box", closedDialog(IDC_ABOUT, IDOK), false, false},
        {"the Options dialog", closedDialog(IDC_OPTIONS, IDCANCEL), false, false},
        {"Tab, then activation",
         [&] {
             postKey(focusOf(window), VK_TAB);
             ASSERT_TRUE(drainPosted(window));
             ASSERT_NE(second, focusOf(window));
             PostMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
         },
         false, false},
        {"Space again", [&] { postKey(focusOf(window), VK_SPACE); }, true, false},
        {"Alt+G", [&] { PostMessageA(focusOf(window), WM_SYSCHAR, 'g', 1 << 29); }, false, true},
        {"Alt+S", [&] { PostMessageA(focusOf(window), WM_SYSCHAR, 's', 1 << 29); }, true, false},
    };
    std::set<int> seen{number};
    bool revealed = false;
    for (const auto& step : steps) {
        changes.clear();
        step.action();
        ASSERT_TRUE(drainPosted(window)) << step.name;
        EXPECT_EQ(step.newWord, shownNumber(window) != number) << step.name;
        number = shownNumber(window);
        EXPECT_TRUE(!step.newWord || seen.insert(number).second) << step.name << ": a word again";
        expectHeld(step.name, step.revealed);
        EXPECT_TRUE(step.revealed == revealed ||
                    changes.heard(step.revealed ? L"Next Word" : L"Show"))
            << step.name << testing::PrintToString(changes.names());
        revealed = step.revealed;
    }
}

// Options: the example toggles at once; practice on hides from the next word, off shows at once
// with the five buttons back and the waiting word kept.
TEST_F(TpracticeRun, PracticeChosenInTheOptionsHidesFromTheNextWordAndOffShowsAtOnce) {
    useList(wordList(10));
    TexitingRun run;
    HWND window = startWord(run);
    ASSERT_NE(nullptr, window);
    const int five[] = {IDC_EXIT, IDC_NEXT_WORD, IDC_OPTIONS, IDC_HELP_BUTTON, IDC_ABOUT};
    std::map<int, std::vector<LONG>> fiveButtons;
    for (int id : five) fiveButtons[id] = edges(childRect(window, id));
    auto expectFiveButtons = [&] {
        EXPECT_EQ(nullptr, GetDlgItem(window, IDC_AGAIN));
        for (int id : five) EXPECT_EQ(fiveButtons[id], edges(childRect(window, id))) << id;
        EXPECT_TRUE(isDefaultButton(window, IDC_EXIT));
        EXPECT_FALSE(isDefaultButton(window, IDC_NEXT_WORD));
        EXPECT_EQ("&Next Word", captionOf(window, IDC_NEXT_WORD));
    };
    expectFiveButtons();
    const std::string definition = paneText(window);
    for (bool example : {true, false, true, false}) {
        chooseInOptions(run, window, example, false);
        EXPECT_EQ(example ? definition + "\r\n\r\nexample " + std::to_string(shownNumber(window))
                          : definition,
                  paneText(window));
    }

    chooseInOptions(run, window, false, true);
    EXPECT_EQ(definition, paneText(window)) << "the word on screen stays shown";
    EXPECT_EQ("&Next Word", captionOf(window, IDC_NEXT_WORD));
    ASSERT_NE(nullptr, GetDlgItem(window, IDC_AGAIN));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_AGAIN)));
    EXPECT_EQ(GetDlgItem(window, IDC_AGAIN),
              GetWindow(GetDlgItem(window, IDC_NEXT_WORD), GW_HWNDNEXT))
        << "right after the second button in the tab order";
    EXPECT_EQ(GetDlgItem(window, IDC_NEXT_WORD), focusOf(window));
    press(window, IDC_NEXT_WORD);
    EXPECT_EQ("", paneText(window));
    const int marked = shownNumber(window);
    press(window, IDC_NEXT_WORD);
    press(window, IDC_AGAIN);
    EXPECT_EQ("", paneText(window));

    chooseInOptions(run, window, false, false);
    EXPECT_EQ(definitionOf(shownNumber(window)), paneText(window));
    expectFiveButtons();
    EXPECT_EQ(Tbytes({0, 0, 0, 0}), stored(practiceValue));
    // Without practice the waiting word keeps its place: nothing is counted or comes back.
    for (int word = 0; word < 6; ++word) press(window, IDC_NEXT_WORD);
    EXPECT_EQ(pairsOf({{marked, 5}}), stored(againValue));
}

// ---- Words that come back ----

// "A&gain": the word comes sixth after it, across restarts; one left unrevealed comes first.
TEST_F(TpracticeRun, AgainBringsTheWordBackAsTheSixthWordAcrossRestarts) {
    std::vector<int> shown;
    {
        TexitingRun run;
        HWND window = startPractice(run, 40);
        ASSERT_NE(nullptr, window);
        shown.push_back(shownNumber(window));
        press(window, IDC_NEXT_WORD);
        press(window, IDC_AGAIN);
        EXPECT_EQ(pairsOf({{shown[0], 5}}), stored(againValue));
        for (int word = 1; word <= 2; ++word) {  // words 1 and 2, each shown
            shown.push_back(shownNumber(window));
            press(window, IDC_NEXT_WORD);
            press(window, IDC_NEXT_WORD);
        }
        shown.push_back(shownNumber(window));  // word 3, never shown: it comes again
    }
    EXPECT_EQ(pairsOf({{shown[0], 3}}), stored(againValue));
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        const Trotation rotation = storedRotation();
        TexitingRun run;
        HWND window = startWord(run);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(shown[3], shownNumber(window));
        EXPECT_EQ("", paneText(window));
        EXPECT_EQ(pairsOf({{shown[0], 3}}), stored(againValue)) << "no second count";
        EXPECT_EQ(rotation, storedRotation()) << "no second count";
        EXPECT_EQ(Tbytes{0xBD}, stored("Unrevealed")) << "taken at the start";
    }
    TexitingRun run;
    HWND window = startWord(run);  // word 3 once more, hidden
    ASSERT_NE(nullptr, window);
    for (int word = 4; word <= 6; ++word) {
        press(window, IDC_NEXT_WORD);
        press(window, IDC_NEXT_WORD);
        shown.push_back(shownNumber(window));
    }
    EXPECT_EQ(shown[0], shown[6]) << testing::PrintToString(shown);
    EXPECT_EQ(Tbytes{}, stored(againValue));
}

// Returns leave the rotation's state alone: the other words make whole passes in its order.
TEST_F(TpracticeRun, ThePassesStayWholeAndInOrderWithReturnsMixedIn) {
    const int entries = 9;
    TexitingRun run;
    HWND window = startPractice(run, entries);
    ASSERT_NE(nullptr, window);
    const std::set<int> againAt = {1, 2, 9, 16};
    std::map<int, int> comesBack;  // word -> entry
    std::vector<int> pass;
    int passes = 0;
    Trotation before = storedRotation();
    before.first = before.second;  // the start's word was the pass's first
    for (int word = 0; word < 30; ++word) {
        SCOPED_TRACE(word);
        const int number = shownNumber(window);
        const Trotation after = storedRotation();
        if (comesBack.count(word)) {
            EXPECT_EQ(comesBack[word], number);
            EXPECT_EQ(before, after);
        } else {
            EXPECT_EQ(before.first, number);
            pass.push_back(number);
        }
        if (int(pass.size()) == entries) {
            std::sort(pass.begin(), pass.end());
            EXPECT_EQ(entries, std::unique(pass.begin(), pass.end()) - pass.begin());
            pass.clear();
            ++passes;
        }
        press(window, IDC_NEXT_WORD);
        if (againAt.count(word)) comesBack[word + 6] = number;
        before = storedRotation();
        press(window, againAt.count(word) ? IDC_AGAIN : IDC_NEXT_WORD);
    }
    EXPECT_EQ(2, passes);
}

// A damaged "Again" is ignored silently, kept until the queue changes, then written afresh.
TEST_F(TpracticeRun, ADamagedAgainValueIsDroppedWithoutAWord) {
    const struct {
        const char* name;
        DWORD type;
        Tbytes bytes;
    } cases[] = {
        {"a string", REG_SZ, {'7', 0}},
        {"an entry past the list", REG_BINARY, pairsOf({{2, 1}, {10, 1}})},
    };
    std::vector<int> fresh;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        TexitingRun run;
        HWND window = startPractice(run, 10);
        ASSERT_NE(nullptr, window);
        // Stored once the index is built (which empties the queue); each word reads it.
        ASSERT_TRUE(setProgramValue(againValue, c.type, c.bytes.data(), DWORD(c.bytes.size())));
        std::vector<int> shown;
        for (int word = 0; word < 4; ++word) {
            shown.push_back(shownNumber(window));
            press(window, IDC_NEXT_WORD);
            press(window, IDC_NEXT_WORD);
        }
        EXPECT_EQ(nullptr, run.waitForDialog(0));
        if (fresh.empty()) fresh = shown;
        EXPECT_EQ(fresh, shown) << "the words of a run with nothing waiting";
        Tbytes after;
        DWORD type = 0;
        getProgramValue(againValue, after, &type);
        EXPECT_EQ(c.bytes, after);
        EXPECT_EQ(c.type, type);
        const int marked = shownNumber(window);
        press(window, IDC_NEXT_WORD);
        press(window, IDC_AGAIN);
        EXPECT_EQ(pairsOf({{marked, 5}}), stored(againValue));
        run.exit();
        ASSERT_TRUE(setProgramValue(againValue, c.type, c.bytes.data(), DWORD(c.bytes.size())));
        TexitingRun again;
        window = startWord(again);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(nullptr, again.waitForDialog(0));
    }
}

// "A&gain" with fifty waiting says so in an owned box; the word, queue and rotation stay.
TEST_F(TpracticeRun, AFullQueueSaysSoAndAddsNothing) {
    TexitingRun run;
    HWND window = startPractice(run, 100);
    ASSERT_NE(nullptr, window);
    const int number = shownNumber(window);
    // Fifty others waiting, stored while the program runs: it reads the queue at each word.
    std::vector<std::pair<int, int>> fifty;
    for (int entry = 0; int(fifty.size()) < 50; ++entry)
        if (entry != number) fifty.push_back({entry, 5});
    const Tbytes queue = pairsOf(fifty);
    ASSERT_TRUE(setProgramValue(againValue, REG_BINARY, queue.data(), DWORD(queue.size())));
    press(window, IDC_NEXT_WORD);
    const Trotation rotation = storedRotation();
    clickButton(window, IDC_AGAIN);
    HWND box = run.waitForDialog(5000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("At most 50 words can wait to come back.\nThis word was not added.",
              messageBoxText(box));
    EXPECT_EQ("Lexoria", windowText(box));
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    // Another process's icon cannot be compared here; that it has one is what is checked.
    EXPECT_NE(nullptr, messageBoxIcon(box));
    pressOk(box);
    ASSERT_TRUE(drainPosted(window));
    EXPECT_EQ(number, shownNumber(window));
    EXPECT_EQ(definitionOf(number), paneText(window));
    EXPECT_EQ(queue, stored(againValue));
    EXPECT_EQ(rotation, storedRotation());
}

// ---- The six buttons ----

// Six buttons fill the row as five do (scaled gaps, remainder to "&Options"); "A&gain" is named.
TEST_F(TpracticeRun, SixButtonsFillTheRowAsFiveDoAt96And144Dpi) {
    const int order[] = {IDC_EXIT,    IDC_NEXT_WORD,   IDC_AGAIN,
                         IDC_OPTIONS, IDC_HELP_BUTTON, IDC_ABOUT};
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        TexitingRun run;
        HWND window = nullptr;
        {
            TlogPixels pixels(dpi);
            window = startPractice(run, 3);
        }
        ASSERT_NE(nullptr, window);
        RECT client = {};
        GetClientRect(window, &client);
        const int one = MulDiv(1, dpi, 96), top = client.bottom - MulDiv(22, dpi, 96);
        const int height = MulDiv(21, dpi, 96);
        const int available = client.right - 7 * one, equal = available / 6;
        int left = one;
        for (int id : order) {
            const int width = id == IDC_OPTIONS ? available - 5 * equal : equal;
            EXPECT_EQ((std::vector<LONG>{left, top, left + width, top + height}),
                      edges(childRect(window, id)))
                << id;
            left += width + one;
        }
        EXPECT_EQ(client.right, left);
        EXPECT_EQ("A&gain", captionOf(window, IDC_AGAIN));
        TcomLibrary com;
        EXPECT_EQ(L"Again", accessibleName(GetDlgItem(window, IDC_AGAIN)));
    }
}

}  // namespace
