// The built lexoria-list.exe, started as a user would start it: exit statuses, the files it
// writes, an existing output replaced only by a complete import, and its input never touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/lexoria_driver.h"

namespace {

using namespace lexoria_test;

std::wstring wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    int size = static_cast<int>(utf8.size());
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &text[0], size));
    return text;
}

// Runs lexoria-list.exe from the build folder with UTF-8 arguments, passed in wide characters as
// a shell passes them; its exit status, or -1 when it could not start or did not end within the
// time-out (it is then killed).
int runProgram(const std::vector<std::string>& arguments) {
    const std::wstring program = wide(buildFolder() + "\\lexoria-list.exe");
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::string& argument : arguments) commandLine += L" \"" + wide(argument) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return -1;
    }
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &status);
    } else {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(status);
}

std::string bytesOf(const std::string& path) {
    std::string bytes;
    return readFile(path, bytes) ? bytes : "<missing>";
}

const char* const goodCsv = "candid,\"frank;\r\ndirect\",\"\"\"Be candid,\"\" she said.\"\r\nterse,brief,\r\n";
const char* const goodList = "word=candid\r\ndef=frank;\r\ndirect\r\nex=\"Be candid,\" she said.\r\nword=terse\r\ndef=brief\r\n";

TEST(ProgramTest, RunsEachCommandWithItsExitStatus) {
    ScratchFolder folder;
    const std::string csv = folder.file("words.csv");
    const std::string list = folder.file("Lista.lst");
    const std::string wideList = folder.file("\xC5\x81ista.lst");  // best fit in ANSI: list
    ASSERT_TRUE(writeFile(csv, goodCsv));
    ASSERT_TRUE(writeFile(folder.file("bad.csv"), "a,b\n\"open,c\n"));
    ASSERT_TRUE(writeFile(folder.file("traps.lst"), "word=a\r\ndef=b\r\nWord=c\r\n"));
    ASSERT_TRUE(writeFile(list, "word=old\r\ndef=list\r\n"));

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
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.arguments[0] + " " + (step.arguments.size() > 1 ? step.arguments[1] : ""));
        EXPECT_EQ(runProgram(step.arguments), step.status);
        EXPECT_EQ(bytesOf(list), step.listAfter);
        EXPECT_EQ(bytesOf(csv), goodCsv);
        EXPECT_EQ(bytesOf(list + ".tmp"), "<missing>");
    }
    EXPECT_TRUE(DeleteFileW(wide(wideList).c_str()));  // the folder's clean-up sees ANSI names only
}

}  // namespace
