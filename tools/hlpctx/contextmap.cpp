// Resolving numeric help contexts and writing the |CTXOMAP internal file.
#include "contextmap.h"

#include "btree.h"

#include <algorithm>

namespace {

constexpr const char* kContextFile = "|CONTEXT";
constexpr const char* kContextStructure = "L4";
constexpr const char* kMapFile = "|CTXOMAP";
constexpr std::size_t kMaxMapEntries = 0x7FFF; // the viewer reads the count as signed 16-bit

// Weight of one byte in the context hash. Digits weigh 1 to 10 ('0' last), letters 17 to 42
// in either case, and the few other characters that context strings may hold have weights of
// their own; the remaining bytes weigh their code minus 0x30, taken as a signed byte.
std::int32_t hashWeight(unsigned char c)
{
    switch (c) {
    case '0':
        return 0x0A;
    case '!':
    case 0xB4: // acute accent
        return 0x0B;
    case '.':
        return 0x0C;
    case '_':
        return 0x0D;
    default:
        break;
    }
    if (c >= '[' && c <= 0x7F) {
        return c - 0x50; // lower case folds onto upper case; [ \ ] ^ ` follow the same rule
    }
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(c - 0x30));
}

bool digitsOnly(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Explains a |CONTEXT that is in order only when its hashes are taken as unsigned, as some
// help writers sort it. Viewers search it as signed and so never find the topics whose hash
// has the top bit set.
std::string describeUnsignedOrder(const Bytes& content)
{
    BTree tree;
    tree.layout.keyKind = KeyKind::UnsignedNumber;
    tree.layout.valueSize = 4;
    std::string ignored;
    if (!readBTree(content, tree, ignored)) {
        return std::string();
    }
    const auto high = std::count_if(tree.entries.begin(), tree.entries.end(),
                                    [](const BTreeEntry& entry) { return entry.number < 0; });
    return "|CONTEXT is sorted with its hashes taken as unsigned, so a viewer cannot find the " +
           std::to_string(high) +
           " topic(s) whose context string hashes to 0x80000000 or more; give them other context strings";
}

bool readContextTree(const HelpFile& help, BTree& tree, std::string& error)
{
    const InternalFile* file = findInternalFile(help, kContextFile);
    if (!file) {
        error = "help file has no |CONTEXT internal file";
        return false;
    }
    tree.layout.keyKind = KeyKind::Number;
    tree.layout.valueSize = 4;
    if (!readBTree(file->content, tree, error)) {
        const std::string unsignedOrder = describeUnsignedOrder(file->content);
        error = unsignedOrder.empty() ? "|CONTEXT: " + error : unsignedOrder;
        return false;
    }
    if (tree.layout.structure != kContextStructure) {
        error = "|CONTEXT has the unknown format \"" + tree.layout.structure + "\"";
        return false;
    }
    return true;
}

bool findTopicOffset(const BTree& tree, const std::string& context, std::uint32_t& offset, std::string& error)
{
    BTreeEntry key;
    key.number = static_cast<std::int32_t>(contextHash(context));
    auto at = std::lower_bound(tree.entries.begin(), tree.entries.end(), key,
                               [](const BTreeEntry& a, const BTreeEntry& b) { return keyLess(KeyKind::Number, a, b); });
    if (at == tree.entries.end() || at->number != key.number) {
        error = "no topic has the context string \"" + context + "\"";
        return false;
    }
    ByteReader value(at->value.data(), at->value.size());
    offset = value.u32();
    return true;
}

bool sameFilesExceptMap(const HelpFile& a, const HelpFile& b)
{
    auto withoutMap = [](const HelpFile& help) {
        std::vector<const InternalFile*> files;
        for (const InternalFile& file : help.files) {
            if (file.name != kMapFile) {
                files.push_back(&file);
            }
        }
        return files;
    };
    const auto left = withoutMap(a);
    const auto right = withoutMap(b);
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](const InternalFile* x, const InternalFile* y) {
                          return x->name == y->name && x->flags == y->flags && x->content == y->content;
                      });
}

bool sameMap(const std::vector<ContextMapEntry>& a, const std::vector<ContextMapEntry>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ContextMapEntry& x, const ContextMapEntry& y) {
        return x.number == y.number && x.topicOffset == y.topicOffset;
    });
}

// Reads the written image back with the same checks as the input, and compares it with what
// was meant, so that a fault in the layout code cannot reach the build's output.
bool verifyRewrite(const HelpFile& original, const std::vector<ContextMapEntry>& expected, const Bytes& image,
                   std::string& error)
{
    HelpFile written;
    if (!parseHelpFile(image, written, error)) {
        error = "rewritten file does not read back: " + error;
        return false;
    }
    const InternalFile* map = findInternalFile(written, kMapFile);
    std::vector<ContextMapEntry> entries;
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

} // namespace

std::uint32_t contextHash(const std::string& context)
{
    if (context.empty()) {
        return 1; // what the help compilers store for an empty string
    }
    std::uint32_t hash = 0;
    for (char c : context) {
        hash = hash * 43 + static_cast<std::uint32_t>(hashWeight(static_cast<unsigned char>(c)));
    }
    return hash;
}

bool parseMapRequest(const std::string& text, MapRequest& request, std::string& error)
{
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

bool resolveContextMap(const HelpFile& help, const std::vector<MapRequest>& requests,
                       std::vector<ContextMapEntry>& entries, std::string& error)
{
    entries.clear();
    if (requests.size() > kMaxMapEntries) {
        error = "too many context numbers for one |CTXOMAP";
        return false;
    }
    BTree tree;
    if (!readContextTree(help, tree, error)) {
        return false;
    }
    for (const MapRequest& request : requests) {
        ContextMapEntry entry;
        entry.number = request.number;
        if (!findTopicOffset(tree, request.context, entry.topicOffset, error)) {
            return false;
        }
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const ContextMapEntry& a, const ContextMapEntry& b) { return a.number < b.number; });
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].number == entries[i - 1].number) {
            error = "context number " + std::to_string(entries[i].number) + " is given twice";
            return false;
        }
    }
    return true;
}

Bytes encodeContextMap(const std::vector<ContextMapEntry>& entries)
{
    Bytes content;
    put16(content, static_cast<std::uint32_t>(entries.size()));
    for (const ContextMapEntry& entry : entries) {
        put32(content, entry.number);
        put32(content, entry.topicOffset);
    }
    return content;
}

bool decodeContextMap(const Bytes& content, std::vector<ContextMapEntry>& entries, std::string& error)
{
    entries.clear();
    ByteReader in(content.data(), content.size());
    const std::int16_t count = in.i16();
    for (int i = 0; i < count && in.ok(); ++i) {
        ContextMapEntry entry;
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

bool rewriteWithContextMap(const Bytes& input, const std::vector<MapRequest>& requests, Bytes& output,
                           std::string& error)
{
    output.clear();
    HelpFile help;
    std::vector<ContextMapEntry> entries;
    if (!parseHelpFile(input, help, error) || !resolveContextMap(help, requests, entries, error)) {
        return false;
    }
    const HelpFile original = help;
    InternalFile map;
    map.name = kMapFile;
    const InternalFile* previous = findInternalFile(help, kMapFile);
    map.flags = previous ? previous->flags : help.directoryFlags;
    map.content = encodeContextMap(entries);
    putInternalFile(help, std::move(map));
    Bytes image;
    if (!buildHelpFile(help, image, error) || !verifyRewrite(original, entries, image, error)) {
        return false;
    }
    output = std::move(image);
    return true;
}
