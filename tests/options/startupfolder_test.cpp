// Which files at the Startup shortcut's path are the program's, against Wine's real shell.
#include <gtest/gtest.h>

#include "options/startupfolder.h"
#include "support/lexoria_driver.h"

namespace {
using lexoriaTest::buildFolder;
using lexoriaTest::wideOf;

TEST(StartupFolder, RecognisesOnlyTheProgramsShortcut) {
    // Polish and Japanese: best fit turns them into "Lukasz ??", which is another program.
    lexoriaTest::TscratchFolder scratch;
    const std::wstring programFolder = wideOf(scratch.path()) + L"\\\u0141ukasz \u65e5\u672c";
    const std::wstring program = programFolder + L"\\Lexoria.exe";
    ASSERT_TRUE(CreateDirectoryW(programFolder.c_str(), nullptr));
    ASSERT_TRUE(lexoriaTest::writeFile(program, ""));
    std::wstring upper = program, folder;
    CharUpperW(&upper[0]);
    ASSERT_TRUE(getStartupFolder(folder));
    const std::wstring shortcut = startupShortcutPath(folder);
    const struct {
        const char* name;
        std::string description;
        std::wstring target;
        std::string bytes;
        bool programs;
    } cases[] = {
        {"as the dialog makes it", "Lexoria", program, "", true},
        {"target in other case", "Lexoria", upper, "", true},
        {"description in other case", "lexoria", program, "", false},
        {"description with a trailing blank", "Lexoria ", program, "", false},
        {"another target", "Lexoria", wideOf(buildFolder() + "\\Lexoria.exe"), "", false},
        {"the target as the code page spells it", "Lexoria",
         wideOf(scratch.path()) + L"\\Lukasz ??\\Lexoria.exe", "", false},
        {"empty file", "", L"", "", false},
        {"damaged file", "", L"", std::string("L\0\0\0\x01\x14\x02\0\0\0\0\0\xC0", 13), false},
    };
    for (const auto& c : cases) {
        DeleteFileW(shortcut.c_str());
        if (c.target.empty()) ASSERT_TRUE(lexoriaTest::writeFile(shortcut, c.bytes)) << c.name;
        else
            ASSERT_TRUE(createLink(shortcut.c_str(), c.target.c_str(), c.description.c_str()))
                << c.name;
        EXPECT_EQ(c.programs, checkLink(shortcut.c_str(), program.c_str(), "Lexoria")) << c.name;
    }
    const std::wstring doubled = startupShortcutPath(folder + L"\\");
    EXPECT_EQ(folder + L"\\\\Lexoria.lnk", doubled);
    EXPECT_TRUE(createLink(doubled.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(checkLink(doubled.c_str(), program.c_str(), "Lexoria"));
    DeleteFileW(shortcut.c_str());
    EXPECT_FALSE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria")) << "missing file";
}
}  // namespace
