// Test help files and viewer-style look-ups on their bytes.
#include "fixture.h"

#include "contextmap.h"
#include "helpfile.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

InternalFile makeFile(const std::string& name, std::size_t size, std::uint8_t seed)
{
    InternalFile file;
    file.name = name;
    for (std::size_t i = 0; i < size; ++i) {
        file.content.push_back(static_cast<std::uint8_t>(seed + i * 7));
    }
    return file;
}

InternalFile makeContextFile(const FixtureOptions& options)
{
    BTree tree;
    tree.layout = BTreeLayout{0x0002, options.contextPageSize, "L4", options.contextOrder, 4};
    for (const auto& topic : options.topics) {
        BTreeEntry entry;
        entry.number = static_cast<std::int32_t>(contextHash(topic.first));
        put32(entry.value, topic.second);
        tree.entries.push_back(entry);
    }
    std::sort(tree.entries.begin(), tree.entries.end(),
              [&](const BTreeEntry& a, const BTreeEntry& b) { return keyLess(options.contextOrder, a, b); });
    InternalFile file;
    file.name = "|CONTEXT";
    std::string error;
    writeBTree(tree, file.content, error);
    return file;
}

// Compares the key at `at` with the one sought, and says where the key ends.
using KeyCompare = std::function<int(const Bytes& image, std::size_t at, std::size_t& after)>;

// The viewer's search: in index pages follow the last entry whose key is not above the one
// sought (or the page's first child); in the leaf, stop at the first key above it.
std::optional<std::size_t> viewerSearch(const Bytes& image, std::size_t tree, const KeyCompare& compare)
{
    const std::size_t pageSize = le16(image, tree + 4);
    const std::size_t pages = tree + 38;
    std::size_t page = le16(image, tree + 26);
    for (std::uint32_t level = le16(image, tree + 32); level > 1; --level) {
        std::size_t at = pages + page * pageSize;
        const std::uint32_t count = le16(image, at + 2);
        std::size_t child = le16(image, at + 4);
        at += 6;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::size_t after = 0;
            if (compare(image, at, after) > 0) {
                break;
            }
            child = le16(image, after);
            at = after + 2;
        }
        page = child;
    }
    std::size_t at = pages + page * pageSize;
    const std::uint32_t count = le16(image, at + 2);
    at += 8;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t after = 0;
        const int order = compare(image, at, after);
        if (order == 0) {
            return after;
        }
        if (order > 0) {
            return std::nullopt;
        }
        at = after + 4;
    }
    return std::nullopt;
}

KeyCompare textKey(const std::string& sought)
{
    return [sought](const Bytes& image, std::size_t at, std::size_t& after) {
        const char* key = reinterpret_cast<const char*>(image.data() + at);
        after = at + std::strlen(key) + 1;
        const int order = std::strcmp(key, sought.c_str());
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    };
}

KeyCompare numberKey(std::int32_t sought)
{
    return [sought](const Bytes& image, std::size_t at, std::size_t& after) {
        const std::int32_t key = static_cast<std::int32_t>(le32(image, at));
        after = at + 4;
        return key < sought ? -1 : key > sought ? 1 : 0;
    };
}

} // namespace

Bytes makeHelpImage(const FixtureOptions& options)
{
    HelpFile help;
    help.directoryLayout = BTreeLayout{0x0402, options.directoryPageSize, "z4", KeyKind::Text, 4};
    help.directoryFlags = 4;
    putInternalFile(help, makeFile("|SYSTEM", 40, 0x6C));
    putInternalFile(help, makeFile("|TOPIC", 300, 0x11));
    putInternalFile(help, makeContextFile(options));
    for (int i = 0; i < options.extraFiles; ++i) {
        putInternalFile(help, makeFile("|x" + std::to_string(100 + i), 10 + i, static_cast<std::uint8_t>(i)));
    }
    if (options.withMap && !options.topics.empty()) {
        InternalFile map;
        map.name = "|CTXOMAP";
        map.content = encodeContextMap({ContextMapEntry{5, options.topics.front().second}});
        putInternalFile(help, map);
    }
    Bytes image;
    std::string error;
    buildHelpFile(help, image, error);
    return image;
}

std::uint32_t le16(const Bytes& image, std::size_t at)
{
    return static_cast<std::uint32_t>(image.at(at) | image.at(at + 1) << 8);
}

std::uint32_t le32(const Bytes& image, std::size_t at)
{
    return le16(image, at) | le16(image, at + 2) << 16;
}

std::optional<std::size_t> viewerDirectoryValue(const Bytes& image, const std::string& name)
{
    return viewerSearch(image, le32(image, 4) + 9, textKey(name));
}

std::optional<FileSpan> viewerFindFile(const Bytes& image, const std::string& name)
{
    const auto value = viewerDirectoryValue(image, name);
    if (!value) {
        return std::nullopt;
    }
    const std::size_t offset = le32(image, *value);
    return FileSpan{offset + 9, le32(image, offset + 4)};
}

Bytes fileBytes(const Bytes& image, const FileSpan& span)
{
    return Bytes(image.begin() + static_cast<std::ptrdiff_t>(span.start),
                 image.begin() + static_cast<std::ptrdiff_t>(span.start + span.size));
}

std::optional<std::uint32_t> viewerFindTopic(const Bytes& image, const std::string& context)
{
    const auto file = viewerFindFile(image, "|CONTEXT");
    if (!file) {
        return std::nullopt;
    }
    const auto value = viewerSearch(image, file->start, numberKey(static_cast<std::int32_t>(contextHash(context))));
    return value ? std::optional<std::uint32_t>(le32(image, *value)) : std::nullopt;
}

std::optional<std::uint32_t> viewerMapNumber(const Bytes& image, std::uint32_t number)
{
    const auto file = viewerFindFile(image, "|CTXOMAP");
    if (!file) {
        return std::nullopt;
    }
    const std::uint32_t count = le16(image, file->start);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (le32(image, file->start + 2 + 8 * i) == number) {
            return le32(image, file->start + 6 + 8 * i);
        }
    }
    return std::nullopt;
}
