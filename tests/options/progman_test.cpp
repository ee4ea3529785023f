// The options dialog on a shell below version 4, where "&Startup" goes through Program Manager's
// DDE service, here the stand-in; the program runs as a copy named for Wine's version override.
#include <gtest/gtest.h>

#include "options/progman.h"
#include "options_testing.h"

namespace {
using namespace optionsTest;
using Tlog = std::vector<std::string>;

const char* const exeName = "lexoria3.exe";
const char* const addGroup = "Add to &Startup Group";
const char* const removeGroup = "Remove from &Startup Group";
const std::string added = "Lexoria has been added to the Startup Group. | Lexoria";
const std::string removed = "Lexoria has been removed from the Startup Group. | Lexoria";

std::string groupLine(const char* group) {
    return std::string("\"") + group + "\",\"C:\\WINDOWS\\STARTUP.GRP\",7,0,0,0\r\n";
}
std::string itemLine(const std::string& name, const std::string& command) {
    return "\"" + name + "\",\"" + command + "\",\"\",0,0,0,0\r\n";
}
std::string answer(const std::string& item) {
    return groupLine("StartUp") + itemLine("Clock", "CLOCK.EXE") + item;
}
std::string groupInfoMessage(size_t needed) {
    return "Not enough memory to get Group Info for \"StartUp\".\nOnly had 4096 bytes.\nNeeded " +
           std::to_string(needed) + " bytes. | Lexoria Options Dialog";
}

class Tversion3Shell : public TwithoutProgramKey<> {
protected:
    TregistryString version{"Software\\Wine\\AppDefaults\\lexoria3.exe", "Version", "win31"};
    TregistryString group{
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\Program Manager\\Settings", "Startup",
        "StartUp"};
    TscratchFolder folder;
    const std::string program = folder.file(exeName);
};

// The group information decides the caption; each opening asks once and closes its conversation.
TEST_F(Tversion3Shell, CaptionFollowsTheGroupInformation) {
    TprogmanStandIn standIn;
    ASSERT_TRUE(standIn.running());
    std::string full = answer(itemLine("Lexoria", program));
    full += "\"Pad\",\"" + std::string(4096 - full.size() - 10, 'x') + "\"\r\n";
    // clang-format off
    const struct { const char* name; std::string reply; const char* caption; std::string box; }
    cases[] = {  // an empty reply: no answer
        {"exactly a full buffer", full, removeGroup, ""},
        {"no item", answer(""), addGroup, ""},
        {"group name in other case", groupLine("Startup") + itemLine("Lexoria", program),
         "&Startup", ""},
        {"no answer", "", "&Startup", groupInfoMessage(4096)},
        {"answer too large", answer(std::string(5000, 'x')), "&Startup",
         groupInfoMessage(answer("").size() + 5000)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        standIn.clearLog();
        standIn.reply(c.reply);
        ToptionsSession session(folder, exeName);
        EXPECT_EQ(c.box, c.box.empty() ? "" : session.takeBox());
        ASSERT_TRUE(session.dialog());
        EXPECT_TRUE(session.noBox());
        EXPECT_EQ(c.caption, session.startupCaption());
        EXPECT_EQ((Tlog{"CONNECT", "REQUEST StartUp", "DISCONNECT"}), standIn.conversation());
    }
}

// Presses in one dialog, the stand-in refusing some commands: a failed press keeps the caption and
// closes its conversation.
TEST_F(Tversion3Shell, PressesSendTheCommandsInOrder) {
    TprogmanStandIn standIn;
    ASSERT_TRUE(standIn.running());
    const std::string show = "EXECUTE [ShowGroup(StartUp,2)]";
    const Tlog add = {"CONNECT", show, "EXECUTE [ReplaceItem(Lexoria)]",
                      "EXECUTE [AddItem(" + program + ",Lexoria)]", "DISCONNECT"};
    const Tlog remove = {"CONNECT", show, "EXECUTE [DeleteItem(Lexoria)]", "DISCONNECT"};
    // clang-format off
    const struct { const char* refused; std::string box; const char* caption; Tlog commands; }
    presses[] = {
        {"[ShowGroup", "Unable to DdeClientTransaction (ShowGroup) | Lexoria Options Dialog",
         addGroup, {"CONNECT", show, "DISCONNECT"}},
        {"[AddItem", "Unable to ddeExecuteString (AddItem) | Lexoria Options Dialog", addGroup,
         add},
        {"", added, removeGroup, add},
        {"[DeleteItem", removed, addGroup, remove},
        {"[ReplaceItem", added, removeGroup, add},
        {"", removed, addGroup, remove},
    };
    // clang-format on
    standIn.reply(answer(""));
    ToptionsSession session(folder, exeName);
    ASSERT_TRUE(session.dialog());
    ASSERT_EQ(addGroup, session.startupCaption());
    ASSERT_EQ((Tlog{"CONNECT", "REQUEST StartUp", "DISCONNECT"}), standIn.conversation());
    for (const auto& p : presses) {
        SCOPED_TRACE(p.box);
        standIn.refuse(p.refused);
        standIn.clearLog();
        session.post(IDC_STARTUP);
        EXPECT_EQ(p.box, session.takeBox());
        EXPECT_TRUE(session.noBox());
        EXPECT_EQ(p.caption, session.startupCaption());
        EXPECT_EQ(p.commands, standIn.conversation());
    }
}

size_t committedBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    return total;
}

// An answer too large to copy is released too (Wine keeps one copy; a leak would add a second).
TEST_F(Tversion3Shell, RequestReleasesItsData) {
    TprogmanStandIn standIn;
    ASSERT_TRUE(standIn.running());
    const DWORD answerSize = 1 << 20;
    const int requests = 16;
    standIn.reply(std::string(answerSize, 'x'));
    std::vector<char> buffer(4096);
    const size_t before = committedBytes();
    for (int i = 0; i < requests; ++i) {
        DWORD size = 4096;
        ASSERT_TRUE(ddeInitProgman());
        EXPECT_FALSE(ddeRequestString("StartUp", buffer.data(), size));
        ddeUninitProgman();
        EXPECT_EQ(answerSize, size);
    }
    EXPECT_LT(committedBytes() - before, requests * answerSize * 3 / 2);
}

}  // namespace
