// The built lexoria-list.exe, started as a user would start it: exit statuses, the files it
// writes, an existing output replaced only by a complete import, and its input never touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/lexoria_driver.h"

namespace {

using namespace lexoriaTest;

std::wstring wide(const std::string& utf8) { return wideOf(utf8, CP_UTF8); }

// Runs lexoria-list.exe from the build folder with UTF-8 arguments, passed in wide characters as
// a shell passes them; its exit status, or -1 when it could not start or did not end within the
// time-out (it is then killed).
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

// The bytes of the character in the system's ANSI code page, in which Lexoria shows its list.
std::string inAnsiCodePage(const wchar_t* character) {
    return bytesFrom(std::wstring(character, 1), CP_ACP);
}

TEST(ProgramTest, RunsEachCommandWithItsExitStatus) {
    TscratchFolder folder;
    const std::string csv = folder.file("words.csv");
    const std::string list = folder.file("Lista.lst");
    const std::string wideList = folder.file("\xC5\x81ista.lst");  // best fit in ANSI: list
    ASSERT_TRUE(writeFile(csv, goodCsv));
    ASSERT_TRUE(writeFile(folder.file("bad.csv"), "a,b\n\"open,c\n"));
    ASSERT_TRUE(writeFile(folder.file("traps.lst"), "word=a\r\ndef=b\r\nWord=c\r\n"));
    ASSERT_TRUE(writeFile(list, "word=old\r\ndef=list\r\n"));
    ASSERT_TRUE(writeFile(folder.file("sheet.csv"), "Term,Meaning\r\ncaf\xC3\xA9,coffee\r\n"));
    const std::string sheetList = "word=caf" + inAnsiCodePage(L"\u00E9") + "\r\ndef=coffee\r\n";

    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* listAfter;  // the output list's bytes afterwards
    } steps[] = {
        {{"import", folder.file("bad.csv"), list}, 2, "word=old\r\ndef=list\r\n"},
        {{"import", csv, csv}, 2, "word=old\r\ndef=list\r\n"},
        {{"import", csv, wideList}, 0, "word=old\r\ndef=list\r\n"},
        {{"import", csv, list}, 0, goodList},  // replaces the existing list
        {{"check", list}, 0, goodList},
        {{"check", folder.file("traps.lst")}, 1, goodList},
        {{"check", folder.file("missing.lst")}, 2, goodList},
        {{"stats", list}, 0, goodList},
        {{"export", list, folder.file("back.csv")}, 0, goodList},
        {{"import", folder.file("back.csv"), list}, 0, goodList},
        {{"frobnicate"}, 3, goodList},
        {{"import", folder.file("sheet.csv"), list},
         0,
         sheetList.c_str()},  // UTF-8 with column names
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.arguments[0] + " " +
                     (step.arguments.size() > 1 ? step.arguments[1] : ""));
        EXPECT_EQ(runProgram(step.arguments), step.status);
        EXPECT_EQ(readBytes(list), step.listAfter);
        EXPECT_EQ(readBytes(csv), goodCsv);
        EXPECT_EQ(readBytes(list + ".tmp"), "<missing>");
    }
    EXPECT_TRUE(DeleteFileW(wide(wideList).c_str()));  // the folder's clean-up sees ANSI names only
}

}  // namespace
