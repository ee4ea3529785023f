// The word list changing under the running program: after the first entry is shown the file is
// deleted, emptied, cut in the middle of an entry, replaced by a folder or by another list under
// the same time, or held open by another process that shares nothing; then "&Next Word" is
// pressed. The program must show its load message or a correct entry of the file as it now is,
// and end with exit code 0: no crash, no hang. (A much larger list is the main window's
// over-long list test.)
#include <algorithm>

#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/handleholder.h"

namespace {

using namespace lexoriaTest;

const int listEntries = 6;

std::vector<std::string> definitions(int entries, int first = 0) {
    std::vector<std::string> all;
    for (int i = first; i < first + entries; ++i) all.push_back(definitionOf(i));
    return all;
}

bool contains(const std::vector<std::string>& all, const std::string& shown) {
    return std::find(all.begin(), all.end(), shown) != all.end();
}

using Tlock = ThandleHolder;  // holds the file open with no sharing until the case ends

struct TfileFault {
    const char* name;
    // Changes the list at path; false when the change itself could not be made.
    bool (*apply)(const std::string& path, Tlock& lock);
    // The definitions "&Next Word" may show afterwards; none: it must show the load message.
    std::vector<std::string> shown;
};

std::ostream& operator<<(std::ostream& out, const TfileFault& f) { return out << f.name; }

// Cut inside the definition of the third entry: "def=defin".
std::string truncatedList() {
    const std::string text = wordList(listEntries);
    return text.substr(0, text.find("def=", text.find("word=word2")) + 9);
}

// As a copy that keeps times does it: the stored index looks current, but its offsets are old.
bool replacedKeepingItsTime(const std::string& path, const std::string& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA old = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &old) || !writeFile(path, bytes))
        return false;
    ThandleHolder file(
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return SetFileTime(file.get(), nullptr, nullptr, &old.ftLastWriteTime) != 0;
}

// One definition line with "word=" at every offset where an entry of the old list began.
std::string keysInsideOneLine() {
    const size_t lineStart = std::string("word=whole\ndef=").size();
    std::string definition;
    for (int k = 1; k < listEntries; ++k) {
        definition.resize(wordList(k).size() - lineStart, '-');
        definition += "word=";
    }
    return definition;
}

const TfileFault faults[] = {
    {"Deleted", [](const std::string& path, Tlock&) { return DeleteFileA(path.c_str()) != 0; }, {}},
    {"Emptied", [](const std::string& path, Tlock&) { return writeFile(path, ""); }, {}},
    {"TruncatedInsideAnEntry",
     [](const std::string& path, Tlock&) { return writeFile(path, truncatedList()); },
     {definitionOf(0), definitionOf(1), "defin"}},
    {"ReplacedByAFolder",
     [](const std::string& path, Tlock&) {
         return DeleteFileA(path.c_str()) && CreateDirectoryA(path.c_str(), nullptr);
     },
     {}},
    {"ReplacedUnderTheSameTimeByLongerEntries",
     [](const std::string& path, Tlock&) {
         return replacedKeepingItsTime(path, wordList(listEntries, 100));
     },
     definitions(listEntries, 100)},
    {"ReplacedUnderTheSameTimeByKeysInsideALine",
     [](const std::string& path, Tlock&) {
         return replacedKeepingItsTime(path, "word=whole\ndef=" + keysInsideOneLine() + "\n");
     },
     {keysInsideOneLine()}},
    {"HeldOpenWithoutSharing",
     [](const std::string& path, Tlock& lock) {
         lock.reset(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
         return lock.get() != INVALID_HANDLE_VALUE;
     },
     {}},
};

std::string testName(const testing::TestParamInfo<TfileFault>& info) { return info.param.name; }

// Presses "&Next Word" and waits for the press to be handled, so the pane is read after it;
// a box the press opens keeps it from returning, and is returned instead.
HWND pressNextWord(TlexoriaProcess& program, HWND window) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(GetDlgItem(window, IDC_NEXT_WORD), BM_CLICK, 0, 0, SMTO_NORMAL, 3000,
                            &result))
        return nullptr;
    return program.waitForDialog(5000);
}

using TfileFaultRun = TprogramRun<testing::TestWithParam<TfileFault>>;

TEST_P(TfileFaultRun, NextWordShowsTheMessageOrACorrectEntry) {
    const TfileFault& fault = GetParam();
    const std::string list = listFile();
    useList(wordList(listEntries));
    TlexoriaProcess program;
    HWND window = start(program);
    ASSERT_TRUE(window);

    Tlock lock;
    ASSERT_TRUE(fault.apply(list, lock));
    HWND box = pressNextWord(program, window);
    if (fault.shown.empty()) {
        ASSERT_TRUE(box) << "no message; the pane shows " << paneText(window);
        EXPECT_EQ(messageBoxText(box), "Unable to load word list (" + list + ").");
        pressOk(box);
    } else {
        ASSERT_FALSE(box) << messageBoxText(box);
        EXPECT_TRUE(contains(fault.shown, paneText(window))) << paneText(window);
        clickButton(window, IDC_EXIT);
    }
    EXPECT_EQ(program.waitForExit(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(BetweenTwoLoads, TfileFaultRun, testing::ValuesIn(faults), testName);

}  // namespace
