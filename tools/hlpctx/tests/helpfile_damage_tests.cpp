// Damaged and unusable help files, and impossible requests: each must fail with a message
// that names the problem, and must produce no output at all.
#include "contextmap.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::vector<std::pair<std::string, std::uint32_t>> kTopics = {
    {"Top", 0}, {"main.window", 0x1234}, {"options.dialog", 0x18010}};

// A file whose directory needs index pages, so that page links can be damaged too.
Bytes baseImage()
{
    FixtureOptions options;
    options.topics = kTopics;
    options.directoryPageSize = 64;
    options.extraFiles = 12;
    return makeHelpImage(options);
}

std::size_t directoryTree(const Bytes& image) { return le32(image, 4) + 9; }

std::size_t directoryPage(const Bytes& image, std::uint32_t page)
{
    const std::size_t tree = directoryTree(image);
    return tree + 38 + page * le16(image, tree + 4);
}

std::uint32_t firstLeaf(const Bytes& image)
{
    const std::size_t tree = directoryTree(image);
    std::uint32_t page = le16(image, tree + 26);
    for (std::uint32_t level = le16(image, tree + 32); level > 1; --level) {
        page = le16(image, directoryPage(image, page) + 4);
    }
    return page;
}

std::size_t fileHeader(const Bytes& image, const std::string& name)
{
    return le32(image, *viewerDirectoryValue(image, name));
}

struct DamageCase {
    const char* what;
    std::function<void(Bytes&)> damage;
    const char* message;
};

const DamageCase kDamageCases[] = {
    {"shorter than a header", [](Bytes& b) { b.resize(10); }, "too short"},
    {"wrong magic number", [](Bytes& b) { b[0] ^= 1; }, "not a Windows help file"},
    {"cut short", [](Bytes& b) { b.pop_back(); }, "file size"},
    {"directory beyond the end", [](Bytes& b) { set32(b, 4, static_cast<std::uint32_t>(b.size())); },
     "directory starts outside"},
    {"directory tree magic", [](Bytes& b) { b[directoryTree(b)] ^= 0xFF; }, "wrong magic number"},
    {"root page out of range", [](Bytes& b) { set16(b, directoryTree(b) + 26, 999); }, "impossible"},
    {"leaf count too large", [](Bytes& b) { set16(b, directoryPage(b, firstLeaf(b)) + 2, 500); },
     "runs past its end"},
    {"index page points at itself",
     [](Bytes& b) {
         const std::uint32_t root = le16(b, directoryTree(b) + 26);
         set16(b, directoryPage(b, root) + 4, root);
     },
     "twice"},
    {"index key above the keys it leads to",
     [](Bytes& b) {
         const std::size_t key = directoryPage(b, le16(b, directoryTree(b) + 26)) + 6;
         std::size_t last = key;
         while (b[last + 1] != 0) {
             ++last;
         }
         ++b[last]; // "|x102" becomes "|x103", above the first key of its page
     },
     "out of order"},
    {"leaf chain cut", [](Bytes& b) { set16(b, directoryPage(b, firstLeaf(b)) + 6, 0xFFFF); }, "chained"},
    {"internal file beyond the end",
     [](Bytes& b) { set32(b, *viewerDirectoryValue(b, "|SYSTEM"), static_cast<std::uint32_t>(b.size() + 5)); },
     "|SYSTEM starts outside"},
    {"two files on the same bytes",
     [](Bytes& b) { set32(b, *viewerDirectoryValue(b, "|TOPIC"), le32(b, *viewerDirectoryValue(b, "|SYSTEM"))); },
     "overlap"},
    {"used size beyond reserved space",
     [](Bytes& b) {
         const std::size_t header = fileHeader(b, "|TOPIC");
         set32(b, header + 4, le32(b, header));
     },
     "does not fit"},
    {"|CONTEXT keys out of order",
     [](Bytes& b) {
         const std::size_t leaf = viewerFindFile(b, "|CONTEXT")->start + 38 + 8;
         const std::uint32_t first = le32(b, leaf);
         set32(b, leaf, le32(b, leaf + 8));
         set32(b, leaf + 8, first);
     },
     "out of order"},
    {"no |CONTEXT",
     [](Bytes& b) { b[*viewerDirectoryValue(b, "|CONTEXT") - 2] = 'S'; }, // |CONTEXT -> |CONTEXS
     "no |CONTEXT"},
};

TEST(DamagedInput, FailsWithAMessageAndNoOutput)
{
    for (const DamageCase& c : kDamageCases) {
        SCOPED_TRACE(c.what);
        Bytes image = baseImage();
        c.damage(image);
        Bytes output{0xBD};
        std::string error;
        EXPECT_FALSE(rewriteWithContextMap(image, {{200, "main.window"}}, output, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(output.empty());
    }
}

TEST(DamagedInput, TheUndamagedBaseImageIsAccepted)
{
    Bytes output;
    std::string error;
    EXPECT_TRUE(rewriteWithContextMap(baseImage(), {{200, "main.window"}}, output, error)) << error;
}

struct RequestCase {
    const char* what;
    std::vector<MapRequest> requests;
    const char* message;
};

const RequestCase kRequestCases[] = {
    {"unknown context string", {{200, "main.windows"}}, "no topic has the context string \"main.windows\""},
    {"number given twice", {{200, "main.window"}, {200, "options.dialog"}}, "200 is given twice"},
};

TEST(ImpossibleRequest, FailsWithAMessageAndNoOutput)
{
    for (const RequestCase& c : kRequestCases) {
        SCOPED_TRACE(c.what);
        Bytes output{0xBD};
        std::string error;
        EXPECT_FALSE(rewriteWithContextMap(baseImage(), c.requests, output, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(output.empty());
    }
}

// Halibut built for 64-bit hosts sorts |CONTEXT by unsigned hash; the viewer searches it as
// signed and cannot reach topics whose hash has the top bit set. Say so rather than build a
// help file whose links and contents entries lead nowhere.
TEST(ImpossibleRequest, ContextSortedAsUnsignedIsExplained)
{
    FixtureOptions options;
    options.topics = {{"Top", 0}, {"main.window", 0x40}, {"main_window", 0x80}}; // the last hashes high
    options.contextOrder = KeyKind::UnsignedNumber;
    Bytes output;
    std::string error;
    EXPECT_FALSE(rewriteWithContextMap(makeHelpImage(options), {{200, "main.window"}}, output, error));
    EXPECT_NE(error.find("taken as unsigned"), std::string::npos) << error;
    EXPECT_NE(error.find("1 topic(s)"), std::string::npos) << error;
}

} // namespace
