// The built lexoria-list.exe, started as a user would start it: exit statuses, the files it
// writes, an existing output replaced only by a complete import, and its input never touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/lexoria_driver.h"

namespace {

using namespace lexoria_test;

// Runs lexoria-list.exe from the build folder; its exit status, or -1 when it could not start or
// did not end within the time-out (it is then killed).
int runProgram(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) line += " \"" + argument + "\"";
    LexoriaProcess program;
    return program.start(buildFolder(), "lexoria-list.exe", line) ? program.waitForExit(30000) : -1;
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
    const std::string list = folder.file("lexoria.lst");
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
}

}  // namespace
