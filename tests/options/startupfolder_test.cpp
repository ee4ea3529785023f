// The Startup folder shortcut against Wine's real shell: which files at the shortcut's path count
// as the program's shortcut, also when the folder path ends in a backslash.
#include <gtest/gtest.h>

#include "options/startupfolder.h"
#include "support/lexoria_driver.h"

namespace {
// A shortcut made with the description and target, or (with no target) a file of these bytes.
TEST(StartupFolder, RecognisesOnlyTheProgramsShortcut) {
    const std::string program = lexoria_test::buildFolder() + "\\options_test.exe";
    std::string folder, upper = program;
    CharUpperA(&upper[0]);
    ASSERT_TRUE(getStartupFolder(folder));
    const std::string shortcut = startupShortcutPath(folder);
    const struct {
        const char* name;
        std::string description, target, bytes;
        bool programs;
    } cases[] = {
        {"as the dialog makes it", "Lexoria", program, "", true},
        {"target in other case", "Lexoria", upper, "", true},
        {"description in other case", "lexoria", program, "", false},
        {"description with a trailing blank", "Lexoria ", program, "", false},
        {"another target", "Lexoria", lexoria_test::buildFolder() + "\\Lexoria.exe", "", false},
        {"empty file", "", "", "", false},
        {"damaged file", "", "", std::string("L\0\0\0\x01\x14\x02\0\0\0\0\0\xC0", 13), false},
    };
    for (const auto& c : cases) {
        DeleteFileA(shortcut.c_str());
        if (c.target.empty()) ASSERT_TRUE(lexoria_test::writeFile(shortcut, c.bytes)) << c.name;
        else ASSERT_TRUE(createLink(shortcut.c_str(), c.target.c_str(), c.description.c_str())) << c.name;
        EXPECT_EQ(c.programs, checkLink(shortcut.c_str(), program.c_str(), "Lexoria")) << c.name;
    }
    const std::string doubled = startupShortcutPath(folder + "\\");
    EXPECT_EQ(folder + "\\\\Lexoria.lnk", doubled);
    EXPECT_TRUE(createLink(doubled.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(checkLink(doubled.c_str(), program.c_str(), "Lexoria"));
    DeleteFileA(shortcut.c_str());
    EXPECT_FALSE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria")) << "missing file";
}
}  // namespace
