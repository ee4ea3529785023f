// The word list changing under the running program: after the first entry is shown the file is
// deleted, emptied, cut in the middle of an entry, replaced by a folder or by a much larger
// list, or held open by another process that shares nothing; then "&Next Word" is pressed. The
// program must show its load message or a correct entry of the file as it now is, and end with
// exit code 0: no crash, no hang.
#include <gtest/gtest.h>

#include "reliability/reliability_support.h"
#include "resources/resource.h"

namespace {

using namespace reliability;
using lexoria_test::LexoriaProcess;
using lexoria_test::ScratchFolder;

const int listEntries = 6;

enum class Expect { entry, message, warningThenEntry };

// Holds the file open with no sharing until the case ends.
struct Tlock {
    HANDLE file = INVALID_HANDLE_VALUE;
    ~Tlock() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
};

struct TfileFault {
    const char* name;
    // Changes the list at path; false when the change itself could not be made.
    bool (*apply)(const std::string& path, Tlock& lock);
    Expect expect;
};

std::ostream& operator<<(std::ostream& out, const TfileFault& f) { return out << f.name; }

// Every change also moves the file's time on, as an editor's save would even within the
// resolution of the clock.
bool rewrite(const std::string& path, const std::string& bytes) {
    return lexoria_test::writeFile(path, bytes) && touchLater(path, 2);
}

const TfileFault faults[] = {
    {"Deleted", [](const std::string& path, Tlock&) { return DeleteFileA(path.c_str()) != 0; },
     Expect::message},
    {"Emptied", [](const std::string& path, Tlock&) { return rewrite(path, ""); },
     Expect::message},
    {"TruncatedInsideAnEntry",
     [](const std::string& path, Tlock&) {
         std::string text = wordList(listEntries);
         // Cut inside the definition of the third entry: "def=defin".
         size_t third = text.find("word=word2");
         return rewrite(path, text.substr(0, text.find("def=", third) + 9));
     },
     Expect::entry},
    {"ReplacedByAFolder",
     [](const std::string& path, Tlock&) {
         return DeleteFileA(path.c_str()) && CreateDirectoryA(path.c_str(), nullptr);
     },
     Expect::message},
    {"ReplacedByAMuchLargerList",
     [](const std::string& path, Tlock&) { return rewrite(path, wordList(4000, 1000)); },
     Expect::entry},
    {"ReplacedByAListOverTheLimit",
     [](const std::string& path, Tlock&) { return rewrite(path, wordList(4001, 1000)); },
     Expect::warningThenEntry},
    {"HeldOpenWithoutSharing",
     [](const std::string& path, Tlock& lock) {
         lock.file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
         return lock.file != INVALID_HANDLE_VALUE;
     },
     Expect::message},
};

std::string testName(const testing::TestParamInfo<TfileFault>& info) { return info.param.name; }

class FileFault : public testing::TestWithParam<TfileFault> {
protected:
    void SetUp() override { lexoria_test::deleteProgramKey(); }
    void TearDown() override { lexoria_test::deleteProgramKey(); }
};

const char* const warningText =
    "Lexoria does not currently support more than 4000 words.\n"
    "If this is unacceptable, please write to technical support.";

TEST_P(FileFault, NextWordShowsTheMessageOrACorrectEntry) {
    const TfileFault& fault = GetParam();
    ScratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
    ASSERT_TRUE(lexoria_test::copyProgram(folder));
    ASSERT_TRUE(lexoria_test::writeFile(list, wordList(listEntries)));

    LexoriaProcess program;
    ASSERT_TRUE(program.start(folder.path()));
    HWND window = nullptr;
    ASSERT_EQ(settleAfterStart(program, window), Tresponse::windowReady);

    const std::vector<TwordDef> before = entriesOf(list);
    Tlock lock;
    ASSERT_TRUE(fault.apply(list, lock));
    // A correct entry is one of the file as it is now; a locked file has not changed.
    const std::vector<TwordDef> now =
        lock.file == INVALID_HANDLE_VALUE ? entriesOf(list) : before;

    TbuttonPress press(window, IDC_NEXT_WORD, 20000);
    Tresponse response = press.settle(program, 15000);
    if (fault.expect == Expect::warningThenEntry) {
        ASSERT_EQ(response, Tresponse::boxShown);
        HWND box = visibleBox(program);
        EXPECT_EQ(lexoria_test::messageBoxText(box), warningText);
        lexoria_test::pressOk(box);
        ASSERT_TRUE(lexoria_test::waitUntil([&] { return visibleBox(program) != box; }));
        response = press.settle(program, 15000);
    }

    if (fault.expect == Expect::message) {
        ASSERT_EQ(response, Tresponse::boxShown) << nameOf(response);
        HWND box = visibleBox(program);
        EXPECT_EQ(lexoria_test::messageBoxText(box), "Unable to load word list (" + list + ").");
        lexoria_test::pressOk(box);
    } else {
        ASSERT_EQ(response, Tresponse::windowReady) << nameOf(response);
        const std::string shown = lexoria_test::paneText(window);
        EXPECT_TRUE(contains(now, shown)) << shown;
        lexoria_test::clickButton(window, IDC_EXIT);
    }
    EXPECT_EQ(program.waitForExit(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(BetweenTwoLoads, FileFault, testing::ValuesIn(faults), testName);

}  // namespace
