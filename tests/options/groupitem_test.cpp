// Program Manager's group information as the options dialog reads it, and the commands it sends.
// Each case's bytes sit in a buffer of exactly their length, so a read past the end shows up
// under the sanitizers (host) or as a wrong answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options/groupitem.h"
#include "options/progmancommands.h"

namespace {
const char* const program = "C:\\Program Files\\Lexoria\\Lexoria.exe";

struct GroupCase {
    const char* name;
    std::string info;
    GroupItemStatus expected;
};

GroupItemStatus find(const std::string& info, const char* path = program) {
    std::vector<char> exact(info.begin(), info.end());
    return findGroupItem(exact.data(), exact.size(), "StartUp", "Lexoria", path);
}

const std::string head = "\"StartUp\",\"C:\\WIN\\STARTUP.GRP\",7,0,0,0\r\n";
const std::string mine = "\"Lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe\",\"\",0,0,0\r\n";
const std::string other = "\"Clock\",\"CLOCK.EXE\",\"\",0,0,0\r\n";
using S = GroupItemStatus;

const GroupCase groupCases[] = {
    {"item present", head + other + mine, S::present},
    {"path in other case", head + "\"Lexoria\",\"c:\\PROGRAM FILES\\lexoria\\LEXORIA.EXE\"\n", S::present},
    {"no lines but the group", head, S::absent},
    {"no item of that name", head + other, S::absent},
    {"item runs another program", head + "\"Lexoria\",\"C:\\Other\\Lexoria.exe\"\n", S::absent},
    {"path with a suffix", head + "\"Lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe2\"\n", S::absent},
    {"item name in other case", head + "\"lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe\"\n", S::absent},
    {"item name with a blank", head + "\"Lexoria \",\"C:\\Program Files\\Lexoria\\Lexoria.exe\"\n", S::absent},
    {"first of two items decides (other)", head + "\"Lexoria\",\"X.EXE\"\n" + mine, S::absent},
    {"first of two items decides (mine)", head + mine + "\"Lexoria\",\"X.EXE\"\n", S::present},
    {"later lines not looked at", head + mine + "garbage\n", S::present},
    {"empty lines skipped", "\n\n" + head + "\n\n" + mine + "\n", S::present},
    {"text ends at its zero", head + mine + std::string(1, '\0') + "garbage", S::present},
    {"nothing after the zero counts", head + std::string(1, '\0') + mine, S::absent},
    {"empty", "", S::unreadable},
    {"only a zero", std::string(1, '\0'), S::unreadable},
    {"group name in other case", "\"Startup\"\n" + mine, S::unreadable},
    {"another group", "\"Accessories\"\n" + mine, S::unreadable},
    {"group not quoted", "StartUp\n" + mine, S::unreadable},
    {"group quote not closed in its line", "\"StartUp\n\"\n" + mine, S::unreadable},
    {"group quote never closed", "\"StartUp", S::unreadable},
    {"line before the item not quoted", head + "Clock\n" + mine, S::unreadable},
    {"only a carriage return", head + "\r\n" + mine, S::unreadable},
    {"item without a command line", head + "\"Lexoria\"\n", S::unreadable},
    {"blank before the comma", head + "\"Lexoria\" ,\"C:\\Program Files\\Lexoria\\Lexoria.exe\"\n", S::unreadable},
    {"command line not quoted", head + "\"Lexoria\",C:\\Program Files\\Lexoria\\Lexoria.exe\n", S::unreadable},
    {"command quote not closed in its line", head + "\"Lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe\n\"", S::unreadable},
    {"ends after the comma", head + "\"Lexoria\",", S::unreadable},
    {"ends after the opening mark", head + "\"Lexoria\",\"", S::unreadable},
    {"ends inside the item name", head + "\"Lexo", S::unreadable},
};

TEST(FindGroupItem, ReadsGroupInformation) {
    for (const GroupCase& c : groupCases) EXPECT_EQ(c.expected, find(c.info)) << c.name;
}

// Bytes beyond the delivered length must change nothing.
TEST(FindGroupItem, StopsAtTheDeliveredLength) {
    const std::string full = head + mine;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        const GroupItemStatus got = find(full.substr(0, cut));
        if (cut <= head.find('"', 1)) EXPECT_EQ(S::unreadable, got) << cut;
        else if (cut <= head.size()) EXPECT_EQ(S::absent, got) << cut;
        else if (cut < head.size() + mine.find(".exe\"") + 5) EXPECT_EQ(S::unreadable, got) << cut;
        else EXPECT_EQ(S::present, got) << cut;
    }
}

TEST(FindGroupItem, NeedsTheProgramPathOnlyForItsItem) {
    EXPECT_EQ(S::noProgramPath, find(head + mine, nullptr));
    EXPECT_EQ(S::absent, find(head + other, nullptr));
    EXPECT_EQ(S::unreadable, find("\"Other\"\n" + mine, nullptr));
    EXPECT_EQ(S::unreadable, findGroupItem(nullptr, 10, "StartUp", "Lexoria", program));
}

TEST(ProgmanCommands, AreSentAsTheyAre) {
    const struct {
        std::string got, expected;
    } commands[] = {
        {showGroupCommand("StartUp"), "[ShowGroup(StartUp,2)]"},
        {showGroupCommand("Auto Start, mine"), "[ShowGroup(Auto Start, mine,2)]"},
        {deleteItemCommand(), "[DeleteItem(Lexoria)]"},
        {replaceItemCommand(), "[ReplaceItem(Lexoria)]"},
        {addItemCommand("C:\\My Tools, old\\Lexoria.exe"), "[AddItem(C:\\My Tools, old\\Lexoria.exe,Lexoria)]"},
    };
    for (const auto& c : commands) EXPECT_EQ(c.expected, c.got);
}
}  // namespace
