// Program Manager's group information as the options dialog reads it. Each case's bytes sit in a
// buffer of exactly their length, so a read past the end shows up under the sanitizers (host) or
// as a wrong answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options/groupitem.h"

namespace {
const char* const program = "C:\\Program Files\\Lexoria\\Lexoria.exe";
using S = GroupItemStatus;

S find(const std::string& info, const char* path = program) {
    std::vector<char> exact(info.begin(), info.end());
    return findGroupItem(exact.data(), exact.size(), "StartUp", "Lexoria", path);
}

const std::string head = "\"StartUp\",\"C:\\WIN\\STARTUP.GRP\",7,0,0,0\r\n";
const std::string mine = "\"Lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe\",\"\",0,0,0\r\n";
const std::string other = "\"Clock\",\"CLOCK.EXE\",\"\",0,0,0\r\n";
const std::string zero(1, '\0');

TEST(FindGroupItem, ReadsGroupInformation) {
    const struct {
        const char* name;
        std::string info;
        S expected;
    } cases[] = {
        {"item present", head + other + mine, S::present},
        {"path in other case", head + "\"Lexoria\",\"c:\\PROGRAM FILES\\lexoria\\LEXORIA.EXE\"\n", S::present},
        {"no item of that name", head + other, S::absent},
        {"item runs another program", head + "\"Lexoria\",\"C:\\Other\\Lexoria.exe\"\n", S::absent},
        {"path with a suffix", head + "\"Lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe2\"\n", S::absent},
        {"item name in other case", head + "\"lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe\"\n", S::absent},
        {"first of two items decides (other)", head + "\"Lexoria\",\"X.EXE\"\n" + mine, S::absent},
        {"first of two items decides (mine)", head + mine + "\"Lexoria\",\"X.EXE\"\n", S::present},
        {"empty lines skipped", "\n\n" + head + "\n\n" + mine, S::present},
        {"text ends at its zero", head + mine + zero + "garbage", S::present},
        {"nothing after the zero counts", head + zero + mine, S::absent},
        {"empty", "", S::unreadable},
        {"group name in other case", "\"Startup\"\n" + mine, S::unreadable},
        {"another group", "\"Accessories\"\n" + mine, S::unreadable},
        {"line before the item not quoted", head + "Clock\n" + mine, S::unreadable},
        {"item without a command line", head + "\"Lexoria\"\n", S::unreadable},
        {"command line not quoted", head + "\"Lexoria\",C:\\Program Files\\Lexoria\\Lexoria.exe\n", S::unreadable},
        {"command quote not closed in its line", head + "\"Lexoria\",\"C:\\Lexoria.exe\n\"", S::unreadable},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, find(c.info)) << c.name;
    EXPECT_EQ(S::noProgramPath, find(head + mine, nullptr));
}

// Cut short anywhere, the text is read only as far as it goes.
TEST(FindGroupItem, StopsAtTheDeliveredLength) {
    const std::string full = head + mine;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        const S got = find(full.substr(0, cut));
        if (cut <= head.find('"', 1)) EXPECT_EQ(S::unreadable, got) << cut;
        else if (cut <= head.size()) EXPECT_EQ(S::absent, got) << cut;
        else if (cut < head.size() + mine.find(".exe\"") + 5) EXPECT_EQ(S::unreadable, got) << cut;
        else EXPECT_EQ(S::present, got) << cut;
    }
}
}  // namespace
