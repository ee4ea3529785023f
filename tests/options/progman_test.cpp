// The DDE client side of Program Manager against the stand-in service: one conversation at a
// time, commands accepted or refused, and requests whose answer fits or does not.
#include <gtest/gtest.h>

#include "options/progman.h"
#include "options_testing.h"

namespace {
using namespace options_test;
using Log = std::vector<std::string>;

class ProgmanClient : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(standIn.running()); }
    void TearDown() override { ddeUninitProgman(); }
    ProgmanStandIn standIn;
};

TEST_F(ProgmanClient, HoldsOneConversationAtATime) {
    char buffer[8];
    DWORD size = sizeof buffer;
    EXPECT_FALSE(ddeExecuteString("[Before()]"));
    EXPECT_FALSE(ddeRequestString("StartUp", buffer, size));
    EXPECT_EQ(sizeof buffer, size);
    ASSERT_TRUE(ddeInitProgman());
    EXPECT_FALSE(ddeInitProgman());
    EXPECT_TRUE(ddeExecuteString("[First()]"));
    ddeUninitProgman();
    ddeUninitProgman();
    EXPECT_FALSE(ddeExecuteString("[Closed()]"));
    ASSERT_TRUE(ddeInitProgman());
    EXPECT_TRUE(ddeExecuteString("[Second()]"));
    ddeUninitProgman();
    lexoria_test::waitUntil([&] { return standIn.log().size() >= 6; });
    EXPECT_EQ((Log{"CONNECT", "EXECUTE [First()]", "DISCONNECT", "CONNECT", "EXECUTE [Second()]",
                   "DISCONNECT"}),
              standIn.log());
}

TEST_F(ProgmanClient, ReportsWhetherACommandWasAccepted) {
    standIn.refuse("[AddItem\n[DeleteItem(Lexoria)]\n");
    ASSERT_TRUE(ddeInitProgman());
    const struct {
        const char* command;
        bool accepted;
    } cases[] = {
        {"[ShowGroup(StartUp,2)]", true},
        {"[AddItem(C:\\Lexoria\\Lexoria.exe,Lexoria)]", false},
        {"[DeleteItem(Lexoria)]", false},
        {"[ReplaceItem(Lexoria)]", true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.accepted, ddeExecuteString(c.command)) << c.command;
    EXPECT_EQ("EXECUTE [AddItem(C:\\Lexoria\\Lexoria.exe,Lexoria)]", standIn.log().at(2));
}

// The buffer is filled with a sentinel: an answer that does not fit must leave all of it. One
// request per conversation, as the dialog makes it: Wine's DDE servers follow each answer with a
// stray acknowledgement that a second request on the same conversation would take as its reply.
TEST_F(ProgmanClient, CopiesOnlyAnAnswerThatFits) {
    const DWORD capacity = 4096;
    const struct {
        DWORD answer;  // 0: no answer at all
        bool copied;
        DWORD reported;
    } cases[] = {{10, true, 10}, {4096, true, 4096}, {4097, false, 4097}, {9000, false, 9000}, {0, false, 4096}};
    for (const auto& c : cases) {
        std::string answer(c.answer, 'a');
        for (DWORD i = 0; i < c.answer; ++i) answer[i] = static_cast<char>('a' + i % 26);
        if (c.answer) standIn.reply(answer);
        else standIn.noReply();
        std::string buffer(capacity + 16, '\xbd');
        DWORD size = capacity;
        ASSERT_TRUE(ddeInitProgman());
        EXPECT_EQ(c.copied, ddeRequestString("StartUp", &buffer[0], size)) << c.answer;
        ddeUninitProgman();
        EXPECT_EQ(c.reported, size) << c.answer;
        const std::string expected = c.copied ? answer + std::string(capacity + 16 - c.answer, '\xbd')
                                              : std::string(capacity + 16, '\xbd');
        EXPECT_TRUE(expected == buffer) << c.answer;
    }
    EXPECT_EQ("REQUEST StartUp", standIn.log().at(1));
}

TEST(StartupGroup, ComesOnlyFromAStringValue) {
    RegistryValueGuard value(programManagerKey, "Startup");
    const struct {
        DWORD type;
        std::string bytes;
        bool found;
    } cases[] = {
        {REG_SZ, std::string("Auto Start, 1", 14), true},
        {REG_BINARY, "StartUp", false},
        {REG_NONE, "", false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(value.set(c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size())));
        std::string group = "untouched";
        EXPECT_EQ(c.found, getStartupGroup(group)) << c.type;
        EXPECT_EQ(c.found ? "Auto Start, 1" : "untouched", group) << c.type;
    }
    value.remove();
    std::string group;
    EXPECT_FALSE(getStartupGroup(group));
}
}  // namespace
