// The built lexoria-list.exe: exit statuses, the files it writes, an output replaced only by a
// complete import, its input never touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "codepage932_cases.h"
#include "support/lexoria_driver.h"

namespace {

using namespace lexoriaTest;

std::wstring wide(const std::string& utf8) { return wideOf(utf8, CP_UTF8); }

// Runs lexoria-list.exe with UTF-8 arguments passed wide; -1 when it did not start or end in time.
int runProgram(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const std::string& argument : arguments) line += L" \"" + wide(argument) + L"\"";
    TlexoriaProcess program;
    return program.start(wide(buildFolder()), L"lexoria-list.exe", line)
               ? program.waitForExit(30000)
               : -1;
}

const char* const goodCsv =
    "candid,\"frank;\r\ndirect\",\"\"\"Be candid,\"\" she said.\"\r\nterse,brief,\r\n";
const char* const goodList =
    "word=candid\r\ndef=frank;\r\ndirect\r\nex=\"Be candid,\" she said.\r\nword=terse\r\ndef=brief\r\n";

std::string inAnsiCodePage(const wchar_t* character) {
    return bytesFrom(std::wstring(character, 1), CP_ACP);
}

// Sorted, so that a temporary file left behind shows.
std::vector<std::wstring> namesIn(const TscratchFolder& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(wideOf(folder.path())))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ProgramTest, RunsEachCommandWithItsExitStatus) {
    TscratchFolder folder;
    const std::string csv = folder.file("words.csv");
    const std::string list = folder.file("Lista.lst");
    // Joined by hand: a path object would read the UTF-8 name in the ANSI code page.
    const std::string wideList = folder.path() + "\\\xC5\x81ista.lst";  // best fit in ANSI: list
    ASSERT_TRUE(writeFile(csv, goodCsv));
    ASSERT_TRUE(writeFile(folder.file("bad.csv"), "a,b\n\"open,c\n"));
    ASSERT_TRUE(writeFile(list, "word=old\r\ndef=list\r\n"));
    ASSERT_TRUE(CreateDirectoryW(wide(folder.file("taken.lst")).c_str(), nullptr));
    // Ends in the first byte of a two-byte character of code page 932, but not of 1252.
    ASSERT_TRUE(writeFile(folder.file("cut.lst"), "word=a\r\ndef=\x93\r\n"));
    ASSERT_TRUE(writeFile(folder.file("sheet.csv"), "Term,Meaning\r\ncaf\xC3\xA9,coffee\r\n"));
    const std::string sheetList = "\xEF\xBB\xBFword=caf\xC3\xA9\r\ndef=coffee\r\n";
    const std::string ansiList = "word=caf" + inAnsiCodePage(L"\u00E9") + "\r\ndef=coffee\r\n";
    // Every file the steps leave, and nothing else.
    std::vector<std::wstring> names = {L"Lista.lst", L"back.csv",  L"bad.csv",   L"cut.lst",
                                       L"sheet.csv", L"taken.lst", L"words.csv", L"\u0141ista.lst"};
    std::sort(names.begin(), names.end());

    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* listAfter;  // the output list's bytes afterwards
    } steps[] = {
        {{"import", folder.file("bad.csv"), list}, 2, "word=old\r\ndef=list\r\n"},
        {{"import", csv, csv}, 2, "word=old\r\ndef=list\r\n"},
        {{"import", csv, wideList}, 0, "word=old\r\ndef=list\r\n"},
        {{"import", csv, folder.file("taken.lst")}, 2, "word=old\r\ndef=list\r\n"},  // a folder
        {{"import", csv, list}, 0, goodList},  // replaces the existing list
        {{"check", list}, 0, goodList},
        {{"check", folder.file("missing.lst")}, 2, goodList},
        {{"check", "--codepage", "932", folder.file("cut.lst")}, 1, goodList},
        {{"check", "--codepage", "1252", folder.file("cut.lst")}, 0, goodList},
        {{"export", list, folder.file("back.csv")}, 0, goodList},
        {{"import", folder.file("back.csv"), list}, 0, goodList},
        {{"frobnicate"}, 3, goodList},
        {{"import", folder.file("sheet.csv"), list},
         0,
         sheetList.c_str()},  // UTF-8 with column names, kept in UTF-8
        {{"import", "--ansi", folder.file("sheet.csv"), list}, 0, ansiList.c_str()},
        {{"check", list}, 0, ansiList.c_str()},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.arguments[0] + " " +
                     (step.arguments.size() > 1 ? step.arguments[1] : ""));
        EXPECT_EQ(runProgram(step.arguments), step.status);
        EXPECT_EQ(readBytes(list), step.listAfter);
        EXPECT_EQ(readBytes(csv), goodCsv);
    }
    EXPECT_EQ(namesIn(folder), names);
    EXPECT_TRUE(DeleteFileW(wide(wideList).c_str()));  // the folder's clean-up sees ANSI names only
}

// The Windows build writes and refuses the same code page 932 rows as the host's.
TEST(ProgramTest, CodePage932WritesOnlyCharactersThatReadBackAsThemselves) {
    TscratchFolder folder;
    const std::string input = folder.file("in.csv");
    const std::string list = folder.file("lexoria.lst");
    for (const codePage932::Tcase& c : codePage932::cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFile(input, std::string("w,") + c.utf8 + "\r\n"));
        ASSERT_TRUE(writeFile(list, "word=old\r\ndef=list\r\n"));
        EXPECT_EQ(runProgram({"import", "--codepage", "932", input, list}), c.bytes ? 0 : 2);
        EXPECT_EQ(readBytes(list), c.bytes ? std::string("word=w\r\ndef=") + c.bytes + "\r\n"
                                           : std::string("word=old\r\ndef=list\r\n"));
    }
}

}  // namespace
