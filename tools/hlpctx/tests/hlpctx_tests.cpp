// Tests of hlpctx: the context hash against hashes that Halibut stored, the NUMBER=CONTEXT
// arguments, file output, and rewritten help files read back the way the help viewer reads them.
#include "contextmap.h"
#include "fileio.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

struct HashCase {
    const char* context;
    std::uint32_t hash;
};

// Hashes that Halibut wrote into |CONTEXT for these context strings, and the empty string's.
const HashCase kHashCases[] = {
    {"Top", 67929u},          {"TOP", 67929u},           {"tOp", 67929u},
    {"zz9", 79473u},          {"main.window", 226701215u}, {"word_list", 567808441u},
    {"options.dialog", 1058355610u}, {"t00000001", 1324991995u}, {"t00000002", 1324991996u},
    {"t00000000", 1324992004u}, {"main_window", 2253096968u}, {"overview", 2551221821u},
    {"Lexoria.Help_2", 2589035128u}, {"", 1u},
};

TEST(ContextHash, MatchesTheHashesHelpWritersStore)
{
    for (const HashCase& c : kHashCases) {
        SCOPED_TRACE(c.context);
        EXPECT_EQ(contextHash(c.context), c.hash);
    }
}

struct RequestCase {
    const char* text;
    bool ok;
    std::uint32_t number;
    const char* context;
};

const RequestCase kRequestCases[] = {
    {"200=main.window", true, 200, "main.window"},
    {"0=Top", true, 0, "Top"},
    {"0210=options.dialog", true, 210, "options.dialog"},
    {"4294967295=x", true, 4294967295u, "x"},
    {"1=a=b", true, 1, "a=b"},
    {"4294967296=x", false, 0, ""},
    {"99999999999999999999=x", false, 0, ""},
    {"=x", false, 0, ""},
    {"200=", false, 0, ""},
    {"200", false, 0, ""},
    {"-1=x", false, 0, ""},
    {"+1=x", false, 0, ""},
    {" 1=x", false, 0, ""},
    {"2a=x", false, 0, ""},
};

TEST(MapRequest, TakesADecimalNumberAndAContextString)
{
    for (const RequestCase& c : kRequestCases) {
        SCOPED_TRACE(c.text);
        MapRequest request;
        std::string error;
        ASSERT_EQ(parseMapRequest(c.text, request, error), c.ok);
        if (c.ok) {
            EXPECT_EQ(request.number, c.number);
            EXPECT_EQ(request.context, c.context);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

const std::vector<std::pair<std::string, std::uint32_t>> kTopics = {
    {"Top", 0}, {"main.window", 0x1234}, {"options.dialog", 0x18010}, {"word.list", 0x2000}};

Bytes rewrite(const Bytes& input, const std::vector<MapRequest>& requests)
{
    Bytes output;
    std::string error;
    EXPECT_TRUE(rewriteWithContextMap(input, requests, output, error)) << error;
    return output;
}

TEST(Rewrite, MapsEachNumberToTheTopicOfItsContextString)
{
    FixtureOptions options;
    options.topics = kTopics;
    const Bytes input = makeHelpImage(options);
    const Bytes output = rewrite(input, {{210, "options.dialog"}, {200, "MAIN.WINDOW"}});
    EXPECT_EQ(viewerMapNumber(output, 200), 0x1234u);
    EXPECT_EQ(viewerMapNumber(output, 210), 0x18010u);
    EXPECT_EQ(viewerMapNumber(output, 201), std::nullopt);
    for (const char* name : {"|SYSTEM", "|TOPIC", "|CONTEXT"}) {
        SCOPED_TRACE(name);
        const auto before = viewerFindFile(input, name);
        const auto after = viewerFindFile(output, name);
        ASSERT_TRUE(before && after);
        EXPECT_EQ(fileBytes(input, *before), fileBytes(output, *after));
    }
    EXPECT_EQ(le32(output, 12), output.size());
}

TEST(Rewrite, ReplacesAnEarlierMapInsteadOfAddingToIt)
{
    FixtureOptions options;
    options.topics = kTopics;
    options.withMap = true;
    const Bytes input = makeHelpImage(options);
    ASSERT_EQ(viewerMapNumber(input, 5), 0u);
    const Bytes output = rewrite(input, {{210, "options.dialog"}});
    EXPECT_EQ(viewerMapNumber(output, 5), std::nullopt);
    EXPECT_EQ(viewerMapNumber(output, 210), 0x18010u);
    EXPECT_EQ(le16(output, viewerFindFile(output, "|CTXOMAP")->start), 1u);
}

TEST(Rewrite, IsStableWhenRunAgainOnItsOwnOutput)
{
    FixtureOptions options;
    options.topics = kTopics;
    const std::vector<MapRequest> requests{{200, "main.window"}, {210, "options.dialog"}};
    const Bytes once = rewrite(makeHelpImage(options), requests);
    EXPECT_EQ(rewrite(once, requests), once);
}

TEST(Rewrite, WritesTreesOfSeveralLevelsThatTheViewerCanSearch)
{
    FixtureOptions options;
    for (std::uint32_t i = 0; i < 300; ++i) {
        options.topics.push_back({"topic." + std::to_string(i), i * 16});
    }
    options.contextPageSize = 64;
    options.directoryPageSize = 64;
    options.extraFiles = 40;
    std::vector<MapRequest> requests;
    for (std::uint32_t i = 0; i < 300; i += 7) {
        requests.push_back({1000 + i, "topic." + std::to_string(i)});
    }
    const Bytes input = makeHelpImage(options);
    const Bytes output = rewrite(input, requests);
    ASSERT_FALSE(output.empty());
    EXPECT_GT(le16(output, le32(output, 4) + 9 + 32), 2u) << "directory should need index levels";
    for (const MapRequest& request : requests) {
        EXPECT_EQ(viewerMapNumber(output, request.number), viewerFindTopic(input, request.context)) << request.context;
    }
    for (int i = 0; i < options.extraFiles; ++i) {
        const std::string name = "|x" + std::to_string(100 + i);
        const auto before = viewerFindFile(input, name);
        const auto after = viewerFindFile(output, name);
        ASSERT_TRUE(before && after) << name;
        EXPECT_EQ(fileBytes(input, *before), fileBytes(output, *after)) << name;
    }
}

class TempFolder {
public:
    explicit TempFolder(const std::string& name) : path_(fs::temp_directory_path() / name)
    {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporaryBehind)
{
    TempFolder folder("hlpctx_tests_write");
    const std::string path = (folder.path() / "out.hlp").string();
    std::ofstream(path) << "old contents that are longer than the new ones";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, Bytes{1, 2, 3}, error)) << error;
    Bytes back;
    ASSERT_TRUE(readWholeFile(path, back, error)) << error;
    EXPECT_EQ(back, (Bytes{1, 2, 3}));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST(WriteFileAtomically, FailsAndCreatesNothingWhenTheFolderIsMissing)
{
    TempFolder folder("hlpctx_tests_missing");
    const std::string path = (folder.path() / "no-such-folder" / "out.hlp").string();
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path, Bytes{1}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

// The real help source through Halibut: every topic's context string must be one the viewer
// can find (Halibut sorts |CONTEXT as unsigned, the viewer searches it as signed), and the
// program's two help numbers must land on their topics.
TEST(HalibutOutput, ProgramHelpNumbersReachTheirTopics)
{
    const char* halibut = std::getenv("HALIBUT");
    const char* source = std::getenv("LEXORIA_HELP_SOURCE");
    if (!halibut || !source) {
        GTEST_SKIP() << "Halibut or the help source is not available";
    }
    TempFolder folder("hlpctx_tests_halibut");
    const fs::path built = folder.path() / "lexoria.hlp";
    const std::string command = std::string("\"") + halibut + "\" --winhelp=\"" + built.string() + "\" \"" + source + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    Bytes input;
    std::string error;
    ASSERT_TRUE(readWholeFile(built.string(), input, error)) << error;
    const Bytes output = rewrite(input, {{200, "main.window"}, {210, "options.dialog"}});
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(viewerMapNumber(output, 200), viewerFindTopic(output, "main.window"));
    EXPECT_EQ(viewerMapNumber(output, 210), viewerFindTopic(output, "options.dialog"));

    std::ifstream text(source);
    const std::string contents((std::istreambuf_iterator<char>(text)), std::istreambuf_iterator<char>());
    const std::regex topic(R"(\\cfg\{winhelp-topic\}\{([^}]*)\})");
    int topics = 0;
    for (std::sregex_iterator it(contents.begin(), contents.end(), topic), end; it != end; ++it, ++topics) {
        EXPECT_TRUE(viewerFindTopic(output, (*it)[1].str())) << (*it)[1].str();
    }
    EXPECT_GE(topics, 2);
}

} // namespace
