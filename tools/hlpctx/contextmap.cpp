// Resolving numeric help contexts and writing the |CTXOMAP internal file.
#include "contextmap.h"

#include "btree.h"

#include <algorithm>

namespace {

constexpr const char* contextFile = "|CONTEXT";
constexpr const char* contextStructure = "L4";
constexpr const char* mapFile = "|CTXOMAP";
constexpr std::size_t maxMapEntries = 0x7FFF;  // the viewer reads the count as signed 16-bit

// Weight of one byte in the context hash. Digits weigh 1 to 10 ('0' last), letters 17 to 42
// in either case, and the few other characters that context strings may hold have weights of
// their own; the remaining bytes weigh their code minus 0x30, taken as a signed byte.
std::int32_t hashWeight(unsigned char c) {
    switch (c) {
    case '0': return 0x0A;
    case '!':
    case 0xB4:  // acute accent
        return 0x0B;
    case '.': return 0x0C;
    case '_': return 0x0D;
    default: break;
    }
    if (c >= '[' && c <= 0x7F) {
        return c - 0x50;  // lower case folds onto upper case; [ \ ] ^ ` follow the same rule
    }
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(c - 0x30));
}

bool digitsOnly(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Explains a |CONTEXT that is in order only when its hashes are taken as unsigned, as some
// help writers sort it. Viewers search it as signed and so never find the topics whose hash
// has the top bit set.
std::string describeUnsignedOrder(const Tbytes& content) {
    Tbtree tree;
    tree.layout.keyKind = TkeyKind::unsignedNumber;
    tree.layout.valueSize = 4;
    std::string ignored;
    if (!readBTree(content, tree, ignored)) {
        return std::string();
    }
    const auto high = std::count_if(tree.entries.begin(), tree.entries.end(),
                                    [](const TbtreeEntry& entry) { return entry.number < 0; });
    return "|CONTEXT is sorted with its hashes taken as unsigned, so a viewer cannot find the " +
           std::to_string(high) +
           " topic(s) whose context string hashes to 0x80000000 or more; give them other context strings";
}

bool readContextTree(const ThelpFile& help, Tbtree& tree, std::string& error) {
    const TinternalFile* file = findInternalFile(help, contextFile);
    if (!file) {
        error = "help file has no |CONTEXT internal file";
        return false;
    }
    tree.layout.keyKind = TkeyKind::number;
    tree.layout.valueSize = 4;
    if (!readBTree(file->content, tree, error)) {
        const std::string unsignedOrder = describeUnsignedOrder(file->content);
        error = unsignedOrder.empty() ? "|CONTEXT: " + error : unsignedOrder;
        return false;
    }
    if (tree.layout.structure != contextStructure) {
        error = "|CONTEXT has the unknown format \"" + tree.layout.structure + "\"";
        return false;
    }
    return true;
}

bool findTopicOffset(const Tbtree& tree, const std::string& context, std::uint32_t& offset,
                     std::string& error) {
    TbtreeEntry key;
    key.number = static_cast<std::int32_t>(contextHash(context));
    auto at = std::lower_bound(tree.entries.begin(), tree.entries.end(), key,
                               [](const TbtreeEntry& a, const TbtreeEntry& b) {
                                   return keyLess(TkeyKind::number, a, b);
                               });
    if (at == tree.entries.end() || at->number != key.number) {
        error = "no topic has the context string \"" + context + "\"";
        return false;
    }
    TbyteReader value(at->value.data(), at->value.size());
    offset = value.u32();
    return true;
}

bool sameFilesExceptMap(const ThelpFile& a, const ThelpFile& b) {
    auto withoutMap = [](const ThelpFile& help) {
        std::vector<const TinternalFile*> files;
        for (const TinternalFile& file : help.files) {
            if (file.name != mapFile) {
                files.push_back(&file);
            }
        }
        return files;
    };
    const auto left = withoutMap(a);
    const auto right = withoutMap(b);
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](const TinternalFile* x, const TinternalFile* y) {
                          return x->name == y->name && x->flags == y->flags &&
                                 x->content == y->content;
                      });
}

bool sameMap(const std::vector<TcontextMapEntry>& a, const std::vector<TcontextMapEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TcontextMapEntry& x, const TcontextMapEntry& y) {
                          return x.number == y.number && x.topicOffset == y.topicOffset;
                      });
}

// Reads the written image back with the same checks as the input, and compares it with what
// was meant, so that a fault in the layout code cannot reach the build's output.
bool verifyRewrite(const ThelpFile& original, const std::vector<TcontextMapEntry>& expected,
                   const Tbytes& image, std::string& error) {
    ThelpFile written;
    if (!parseHelpFile(image, written, error)) {
        error = "rewritten file does not read back: " + error;
        return false;
    }
    const TinternalFile* map = findInternalFile(written, mapFile);
    std::vector<TcontextMapEntry> entries;
    std::string ignored;
    if (!map || !decodeContextMap(map->content, entries, ignored) || !sameMap(entries, expected)) {
        error = "rewritten file does not hold the intended |CTXOMAP";
        return false;
    }
    if (!sameFilesExceptMap(original, written)) {
        error = "rewritten file changed other internal files";
        return false;
    }
    return true;
}

}  // namespace

std::uint32_t contextHash(const std::string& context) {
    if (context.empty()) {
        return 1;  // what the help compilers store for an empty string
    }
    std::uint32_t hash = 0;
    for (char c : context) {
        hash = hash * 43 + static_cast<std::uint32_t>(hashWeight(static_cast<unsigned char>(c)));
    }
    return hash;
}

bool parseMapRequest(const std::string& text, TmapRequest& request, std::string& error) {
    const std::size_t equals = text.find('=');
    const std::string number = text.substr(0, equals);
    if (equals == std::string::npos || equals + 1 == text.size() || !digitsOnly(number)) {
        error = "\"" + text + "\" is not of the form NUMBER=CONTEXT-STRING";
        return false;
    }
    std::uint64_t value = 0;
    for (char c : number) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFull) {
            error = "context number " + number + " does not fit 32 bits";
            return false;
        }
    }
    request.number = static_cast<std::uint32_t>(value);
    request.context = text.substr(equals + 1);
    return true;
}

bool resolveContextMap(const ThelpFile& help, const std::vector<TmapRequest>& requests,
                       std::vector<TcontextMapEntry>& entries, std::string& error) {
    entries.clear();
    if (requests.size() > maxMapEntries) {
        error = "too many context numbers for one |CTXOMAP";
        return false;
    }
    Tbtree tree;
    if (!readContextTree(help, tree, error)) {
        return false;
    }
    for (const TmapRequest& request : requests) {
        TcontextMapEntry entry;
        entry.number = request.number;
        if (!findTopicOffset(tree, request.context, entry.topicOffset, error)) {
            return false;
        }
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const TcontextMapEntry& a, const TcontextMapEntry& b) {
                  return a.number < b.number;
              });
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].number == entries[i - 1].number) {
            error = "context number " + std::to_string(entries[i].number) + " is given twice";
            return false;
        }
    }
    return true;
}

Tbytes encodeContextMap(const std::vector<TcontextMapEntry>& entries) {
    Tbytes content;
    put16(content, static_cast<std::uint32_t>(entries.size()));
    for (const TcontextMapEntry& entry : entries) {
        put32(content, entry.number);
        put32(content, entry.topicOffset);
    }
    return content;
}

bool decodeContextMap(const Tbytes& content, std::vector<TcontextMapEntry>& entries,
                      std::string& error) {
    entries.clear();
    TbyteReader in(content.data(), content.size());
    const std::int16_t count = in.i16();
    for (int i = 0; i < count && in.ok(); ++i) {
        TcontextMapEntry entry;
        entry.number = in.u32();
        entry.topicOffset = in.u32();
        entries.push_back(entry);
    }
    if (!in.ok() || count < 0) {
        error = "|CTXOMAP is shorter than its count says";
        entries.clear();
        return false;
    }
    return true;
}

bool rewriteWithContextMap(const Tbytes& input, const std::vector<TmapRequest>& requests,
                           Tbytes& output, std::string& error) {
    output.clear();
    ThelpFile help;
    std::vector<TcontextMapEntry> entries;
    if (!parseHelpFile(input, help, error) || !resolveContextMap(help, requests, entries, error)) {
        return false;
    }
    const ThelpFile original = help;
    TinternalFile map;
    map.name = mapFile;
    const TinternalFile* previous = findInternalFile(help, mapFile);
    map.flags = previous ? previous->flags : help.directoryFlags;
    map.content = encodeContextMap(entries);
    putInternalFile(help, std::move(map));
    Tbytes image;
    if (!buildHelpFile(help, image, error) || !verifyRewrite(original, entries, image, error)) {
        return false;
    }
    output = std::move(image);
    return true;
}
