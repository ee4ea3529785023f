// Program Manager's group information as the dialog reads it, each case in an exact-length buffer
// so that a read past the end shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options/groupitem.h"

namespace {
const char* const program = "C:\\Program Files\\Lexoria\\Lexoria.exe";
using Tstatus = TgroupItemStatus;

Tstatus find(const std::string& info, const char* path = program) {
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
        Tstatus expected;
    } cases[] = {
        {"item present", head + other + mine, Tstatus::present},
        {"path in other case", head + "\"Lexoria\",\"c:\\PROGRAM FILES\\lexoria\\LEXORIA.EXE\"\n",
         Tstatus::present},
        {"no item of that name", head + other, Tstatus::absent},
        {"item runs another program", head + "\"Lexoria\",\"C:\\Other\\Lexoria.exe\"\n",
         Tstatus::absent},
        {"path with a suffix", head + "\"Lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe2\"\n",
         Tstatus::absent},
        {"item name in other case",
         head + "\"lexoria\",\"C:\\Program Files\\Lexoria\\Lexoria.exe\"\n", Tstatus::absent},
        {"first of two items decides (other)", head + "\"Lexoria\",\"X.EXE\"\n" + mine,
         Tstatus::absent},
        {"first of two items decides (mine)", head + mine + "\"Lexoria\",\"X.EXE\"\n",
         Tstatus::present},
        {"empty lines skipped", "\n\n" + head + "\n\n" + mine, Tstatus::present},
        {"text ends at its zero", head + mine + zero + "garbage", Tstatus::present},
        {"nothing after the zero counts", head + zero + mine, Tstatus::absent},
        {"empty", "", Tstatus::unreadable},
        {"group name in other case", "\"Startup\"\n" + mine, Tstatus::unreadable},
        {"another group", "\"Accessories\"\n" + mine, Tstatus::unreadable},
        {"line before the item not quoted", head + "Clock\n" + mine, Tstatus::unreadable},
        {"item without a command line", head + "\"Lexoria\"\n", Tstatus::unreadable},
        {"command line not quoted", head + "\"Lexoria\",C:\\Program Files\\Lexoria\\Lexoria.exe\n",
         Tstatus::unreadable},
        {"command quote not closed in its line", head + "\"Lexoria\",\"C:\\Lexoria.exe\n\"",
         Tstatus::unreadable},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, find(c.info)) << c.name;
    EXPECT_EQ(Tstatus::noProgramPath, find(head + mine, nullptr));
}

// Cut short anywhere, the text is read only as far as it goes.
TEST(FindGroupItem, StopsAtTheDeliveredLength) {
    const std::string full = head + mine;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        const Tstatus got = find(full.substr(0, cut));
        if (cut <= head.find('"', 1)) EXPECT_EQ(Tstatus::unreadable, got) << cut;
        else if (cut <= head.size()) EXPECT_EQ(Tstatus::absent, got) << cut;
        else if (cut < head.size() + mine.find(".exe\"") + 5)
            EXPECT_EQ(Tstatus::unreadable, got) << cut;
        else EXPECT_EQ(Tstatus::present, got) << cut;
    }
}
}  // namespace
