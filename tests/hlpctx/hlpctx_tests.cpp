// hlpctx: the context hash against stored hashes, and the program on damaged input, its output
// read back as the help viewer reads it, down the directory's B+ tree on the raw bytes.
#include "contextmap.h"
#include "fileio.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::uint32_t le16(const Tbytes& image, std::size_t at) {
    return image.at(at) | image.at(at + 1) << 8u;
}
std::uint32_t le32(const Tbytes& image, std::size_t at) {
    return le16(image, at) | le16(image, at + 2) << 16;
}

// |SYSTEM, |TOPIC, twelve more files (so that the directory needs index pages) and |CONTEXT for "Top",
// "main.window" (topic 0x1234), "options.dialog" and "main_window" (its hash has the top bit set).
Tbytes makeHelpImage(TkeyKind contextOrder) {
    Tbtree context;
    context.layout = TbtreeLayout{0x0002, 2048, "L4", contextOrder, 4};
    for (const char* topic : {"Top", "main.window", "options.dialog", "main_window"}) {
        context.entries.push_back(TbtreeEntry{});
        context.entries.back().number = static_cast<std::int32_t>(contextHash(topic));
        put32(context.entries.back().value, std::strcmp(topic, "main.window") ? 0x2000 : 0x1234);
    }
    std::sort(context.entries.begin(), context.entries.end(),
              [&](const TbtreeEntry& a, const TbtreeEntry& b) {
                  return keyLess(contextOrder, a, b);
              });
    ThelpFile help;
    help.directoryLayout = TbtreeLayout{0x0402, 64, "z4", TkeyKind::text, 4};
    TinternalFile contextFile{"|CONTEXT", 0, {}};
    std::string error;
    writeBTree(context, contextFile.content, error);
    putInternalFile(help, contextFile);
    putInternalFile(help, TinternalFile{"|SYSTEM", 0, Tbytes(40, 0x6C)});
    putInternalFile(help, TinternalFile{"|TOPIC", 0, Tbytes(300, 0x11)});
    for (int i = 0; i < 12; ++i) {
        const std::string name = "|x" + std::to_string(100 + i);
        putInternalFile(help, TinternalFile{name, 0, Tbytes(10 + i, 0x20)});
    }
    Tbytes image;
    buildHelpFile(help, image, error);
    return image;
}

// The key at `at` against the name (-1, 0, 1); `after` is set past the key.
int compareKey(const Tbytes& image, std::size_t at, const char* name, std::size_t& after) {
    const char* key = reinterpret_cast<const char*>(&image.at(at));
    after = at + std::strlen(key) + 1;
    return (std::strcmp(key, name) > 0) - (std::strcmp(key, name) < 0);
}

// Where the name's value lies in the tree: index pages follow the last key not above it, the leaf
// stops at the first key not below it.
std::optional<std::size_t> viewerSearch(const Tbytes& image, std::size_t tree, const char* name) {
    const std::size_t pageSize = le16(image, tree + 4);
    std::size_t page = le16(image, tree + 26);
    std::size_t after = 0;
    for (std::uint32_t level = le16(image, tree + 32); level > 1; --level) {
        std::size_t at = tree + 38 + page * pageSize;
        const std::uint32_t count = le16(image, at + 2);
        page = le16(image, at + 4);
        at += 6;
        for (std::uint32_t i = 0; i < count && compareKey(image, at, name, after) <= 0; ++i) {
            page = le16(image, after);
            at = after + 2;
        }
    }
    std::size_t at = tree + 38 + page * pageSize + 8;
    for (std::uint32_t i = le16(image, at - 6); i > 0; --i, at = after + 4)
        if (const int order = compareKey(image, at, name, after); order >= 0)
            return order == 0 ? std::optional<std::size_t>(after) : std::nullopt;
    return std::nullopt;
}

std::size_t directoryTree(const Tbytes& image) { return le32(image, 4) + 9; }
// Where the directory keeps the file offset of `name`.
std::optional<std::size_t> directoryValue(const Tbytes& image, const char* name) {
    return viewerSearch(image, directoryTree(image), name);
}

// The topic that |CTXOMAP, read as the viewer reads it, gives the number.
std::optional<std::uint32_t> viewerMapNumber(const Tbytes& image, std::uint32_t number) {
    const auto value = directoryValue(image, "|CTXOMAP");
    const std::size_t file = value ? le32(image, *value) + 9 : 0;  // after its FILEHEADER
    for (std::uint32_t i = 0; value && i < le16(image, file); ++i)
        if (le32(image, file + 2 + 8 * i) == number) return le32(image, file + 6 + 8 * i);
    return std::nullopt;
}

TEST(ContextHash, MatchesTheHashesHelpWritersStore) {
    // clang-format off
    const struct { const char* context; std::uint32_t hash; } cases[] = {
        {"Top", 67929u}, {"TOP", 67929u}, {"tOp", 67929u}, {"zz9", 79473u},
        {"main.window", 226701215u}, {"word_list", 567808441u}, {"options.dialog", 1058355610u},
        {"t00000001", 1324991995u}, {"t00000002", 1324991996u}, {"t00000000", 1324992004u},
        {"main_window", 2253096968u}, {"overview", 2551221821u},
        {"Lexoria.Help_2", 2589035128u}, {"", 1u},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(contextHash(c.context), c.hash) << c.context;
}

int runHlpctx(const TscratchFolder& folder, const std::string& input, const std::string& output,
              const std::string& requests, std::string& errors) {
    const std::string command = std::string("\"") + HLPCTX_PROGRAM + "\" \"" + input + "\" \"" +
                                output + "\" " + requests + " 2>\"" + folder.file("errors.txt") +
                                "\"";
    const int status = std::system(command.c_str());
    std::getline(std::ifstream(folder.file("errors.txt")), errors, '\0');
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The test image's directory: pages of 64 bytes, two levels.
std::size_t directoryPage(const Tbytes& image, std::size_t pageField) {
    return directoryTree(image) + 38 + le16(image, pageField) * 64;
}
std::size_t rootPage(const Tbytes& b) { return directoryPage(b, directoryTree(b) + 26); }
std::size_t firstLeaf(const Tbytes& b) { return directoryPage(b, rootPage(b) + 4); }
std::size_t fileHeader(const Tbytes& image, const char* name) {
    return le32(image, *directoryValue(image, name));
}

struct TdamageCase {
    const char* what;
    std::function<void(Tbytes&)> damage;
    const char* message;  // a part of the message; "" for the undamaged file
    const char* requests = "200=main.window";
    // Puts things in the way of INPUT and OUTPUT after the input is written.
    std::function<void(const std::string& input, const std::string& output)> plant = nullptr;
};

const TdamageCase damageCases[] = {
    {"undamaged, to show that the damage is what fails", [](Tbytes&) {}, ""},
    {"shorter than a header", [](Tbytes& b) { b.resize(10); }, "too short"},
    {"wrong magic number", [](Tbytes& b) { b[0] ^= 1; }, "not a Windows help file"},
    {"cut short", [](Tbytes& b) { b.pop_back(); }, "file size"},
    {"directory beyond the end",
     [](Tbytes& b) { set32(b, 4, static_cast<std::uint32_t>(b.size())); },
     "directory starts outside"},
    {"directory tree magic", [](Tbytes& b) { b[directoryTree(b)] ^= 0xFF; }, "wrong magic number"},
    {"root page out of range", [](Tbytes& b) { set16(b, directoryTree(b) + 26, 999); },
     "impossible"},
    {"leaf count too large", [](Tbytes& b) { set16(b, firstLeaf(b) + 2, 500); },
     "runs past its end"},
    {"index page points at itself",
     [](Tbytes& b) { set16(b, rootPage(b) + 4, le16(b, directoryTree(b) + 26)); }, "twice"},
    {"index key above the keys it leads to",  // the root's first key "|x102" becomes "|x103"
     [](Tbytes& b) { ++b[rootPage(b) + 6 + 4]; }, "out of order"},
    {"leaf chain cut", [](Tbytes& b) { set16(b, firstLeaf(b) + 6, 0xFFFF); }, "chained"},
    {"internal file beyond the end",
     [](Tbytes& b) {
         set32(b, *directoryValue(b, "|SYSTEM"), static_cast<std::uint32_t>(b.size() + 5));
     },
     "|SYSTEM starts outside"},
    {"two files on the same bytes",
     [](Tbytes& b) { set32(b, *directoryValue(b, "|TOPIC"), fileHeader(b, "|SYSTEM")); },
     "overlap"},
    {"used size beyond reserved space",
     [](Tbytes& b) { set32(b, fileHeader(b, "|TOPIC") + 4, le32(b, fileHeader(b, "|TOPIC"))); },
     "does not fit"},
    {"no |CONTEXT", [](Tbytes& b) { b[*directoryValue(b, "|CONTEXT") - 2] = 'S'; }, "no |CONTEXT"},
    // Halibut built for 64-bit hosts sorts |CONTEXT by unsigned hash, the viewer searches it as signed and
    // cannot reach "main_window": say so rather than build a help file whose links lead nowhere.
    {"|CONTEXT sorted by unsigned hash",
     [](Tbytes& b) { b = makeHelpImage(TkeyKind::unsignedNumber); },
     "taken as unsigned, so a viewer cannot find the 1 topic(s)"},
    {"unknown context string", [](Tbytes&) {}, "no topic has the context string \"main.windows\"",
     "200=main.windows"},
    {"a folder as input", [](Tbytes&) {}, "in.hlp is a folder", "200=main.window",
     [](const std::string& in, const std::string&) {
         fs::remove(in);
         fs::create_directory(in);
     }},
    {"links to the input planted as the output and beside it", [](Tbytes&) {}, "",
     "200=main.window",
     [](const std::string& in, const std::string& out) {
         fs::create_symlink(in, out);
         fs::create_symlink(in, out + ".tmp");
     }},
};

TEST(DamagedInput, IsRefusedWithAMessageAndNoOutputFile) {
    TscratchFolder folder;
    const std::string input = folder.file("in.hlp");
    const std::string output = folder.file("out.hlp");
    for (const TdamageCase& c : damageCases) {
        SCOPED_TRACE(c.what);
        for (const std::string& path : {input, output, output + ".tmp"}) fs::remove_all(path);
        Tbytes image = makeHelpImage(TkeyKind::number);
        c.damage(image);
        std::string errors;
        ASSERT_TRUE(writeFileAtomically(input, image, errors)) << errors;
        if (c.plant) c.plant(input, output);
        const int status = runHlpctx(folder, input, output, c.requests, errors);
        if (!*c.message) {
            ASSERT_EQ(status, 0) << errors;
            Tbytes written;
            ASSERT_TRUE(readHelpFile(output, written, errors)) << errors;
            EXPECT_EQ(viewerMapNumber(written, 200), 0x1234u);
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(output)));
            ASSERT_TRUE(readHelpFile(input, written, errors));
            EXPECT_TRUE(written == image) << "the input was written through a link";
            continue;
        }
        EXPECT_EQ(status, 1);
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            EXPECT_NE(entry.path().filename().string().rfind("out.hlp", 0), 0u) << "left behind";
    }
}

}  // namespace
