// Reading and writing the B+ trees of help files.
#include "btree.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t treeMagic = 0x293B;
constexpr std::size_t headerSize = 38;
constexpr std::size_t structureSize = 16;
constexpr std::size_t leafHeaderSize = 8;
constexpr std::size_t indexHeaderSize = 6;
constexpr int maxLevels = 16;
constexpr std::size_t maxPages = 0x7FFF;  // page numbers are signed 16-bit

struct TtreeHeader {
    std::uint16_t magic = 0;
    std::uint16_t flags = 0;
    std::uint16_t pageSize = 0;
    std::string structure;
    std::int16_t rootPage = 0;
    std::int16_t totalPages = 0;
    std::int16_t levels = 0;
    std::int32_t totalEntries = 0;
};

bool readHeader(const Tbytes& content, TtreeHeader& header, std::string& error) {
    TbyteReader in(content.data(), content.size());
    header.magic = in.u16();
    header.flags = in.u16();
    header.pageSize = in.u16();
    char structure[structureSize] = {};
    for (char& c : structure) {
        c = static_cast<char>(in.u8());
    }
    header.structure.assign(structure, std::find(structure, structure + structureSize, '\0'));
    in.skip(4);  // MustBeZero, PageSplits: no reader relies on them
    header.rootPage = in.i16();
    in.skip(2);  // MustBeNegOne
    header.totalPages = in.i16();
    header.levels = in.i16();
    header.totalEntries = in.i32();
    if (!in.ok()) {
        error = "B+ tree header is cut short";
        return false;
    }
    if (header.magic != treeMagic) {
        error = "B+ tree header has a wrong magic number";
        return false;
    }
    if (header.pageSize < 2 * leafHeaderSize || header.totalPages < 1 || header.levels < 1 ||
        header.levels > maxLevels || header.totalEntries < 0 || header.rootPage < 0 ||
        header.rootPage >= header.totalPages) {
        error = "B+ tree header has impossible sizes or page numbers";
        return false;
    }
    if (headerSize + static_cast<std::size_t>(header.totalPages) * header.pageSize >
        content.size()) {
        error = "B+ tree pages run past the end of their internal file";
        return false;
    }
    return true;
}

// Key bounds handed down from index pages: a page's keys must satisfy low <= key < high.
struct Tbounds {
    const TbtreeEntry* low = nullptr;
    const TbtreeEntry* high = nullptr;
};

class TtreeWalker {
public:
    TtreeWalker(const Tbytes& source, const TtreeHeader& sourceHeader, Tbtree& target)
        : content(source),
          header(sourceHeader),
          tree(target),
          visited(sourceHeader.totalPages, false) {}

    bool walk(std::string& error) {
        if (!walkPage(header.rootPage, header.levels, Tbounds{}, error)) {
            return false;
        }
        if (tree.entries.size() != static_cast<std::size_t>(header.totalEntries)) {
            error = "B+ tree holds a different number of entries than its header says";
            return false;
        }
        return checkLeafChain(error);
    }

private:
    TbyteReader pageReader(int page) const {
        const std::size_t start = headerSize + static_cast<std::size_t>(page) * header.pageSize;
        return TbyteReader(content.data() + start, header.pageSize);
    }

    TbtreeEntry readKey(TbyteReader& in) const {
        TbtreeEntry entry;
        if (tree.layout.keyKind == TkeyKind::text) {
            entry.text = in.cstring();
        } else {
            entry.number = in.i32();
        }
        return entry;
    }

    bool inBounds(const TbtreeEntry& key, const Tbounds& bounds) const {
        const TkeyKind kind = tree.layout.keyKind;
        return !(bounds.low && keyLess(kind, key, *bounds.low)) &&
               !(bounds.high && !keyLess(kind, key, *bounds.high));
    }

    bool claimPage(int page, std::string& error) {
        if (page < 0 || page >= header.totalPages) {
            error = "B+ tree refers to page " + std::to_string(page) + ", which does not exist";
            return false;
        }
        if (visited[page]) {
            error = "B+ tree refers to page " + std::to_string(page) + " twice";
            return false;
        }
        visited[page] = true;
        return true;
    }

    bool walkPage(int page, int level, const Tbounds& bounds, std::string& error) {
        if (!claimPage(page, error)) {
            return false;
        }
        return level > 1 ? walkIndex(page, level, bounds, error) : walkLeaf(page, bounds, error);
    }

    bool walkIndex(int page, int level, const Tbounds& bounds, std::string& error) {
        TbyteReader in = pageReader(page);
        in.skip(2);  // Unused
        const int count = in.i16();
        const int first = in.i16();
        std::vector<TbtreeEntry> keys;
        std::vector<int> children{first};
        for (int i = 0; i < count && in.ok(); ++i) {
            keys.push_back(readKey(in));
            children.push_back(in.i16());
        }
        if (!in.ok() || count < 0) {
            error = "B+ tree index page " + std::to_string(page) + " runs past its end";
            return false;
        }
        if (!keysFitIndex(keys, bounds)) {
            error = "B+ tree index page " + std::to_string(page) + " has keys out of order";
            return false;
        }
        // Child i holds the keys from index key i - 1 (or the page's own lower bound) up to,
        // but not including, index key i (or the page's own upper bound).
        for (std::size_t i = 0; i < children.size(); ++i) {
            const Tbounds child{i == 0 ? bounds.low : &keys[i - 1],
                                i < keys.size() ? &keys[i] : bounds.high};
            if (!walkPage(children[i], level - 1, child, error)) {
                return false;
            }
        }
        return true;
    }

    bool keysFitIndex(const std::vector<TbtreeEntry>& keys, const Tbounds& bounds) const {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!inBounds(keys[i], bounds) ||
                (i > 0 && !keyLess(tree.layout.keyKind, keys[i - 1], keys[i]))) {
                return false;
            }
        }
        return true;
    }

    bool walkLeaf(int page, const Tbounds& bounds, std::string& error) {
        const TkeyKind kind = tree.layout.keyKind;
        TbyteReader in = pageReader(page);
        in.skip(2);  // Unused
        const int count = in.i16();
        const int previous = in.i16();
        const int next = in.i16();
        leaves.push_back({page, previous, next});
        for (int i = 0; i < count && in.ok(); ++i) {
            TbtreeEntry entry = readKey(in);
            entry.value.resize(tree.layout.valueSize);
            for (auto& byte : entry.value) {
                byte = in.u8();
            }
            if (!in.ok()) {
                break;
            }
            const bool follows = tree.entries.empty() || keyLess(kind, tree.entries.back(), entry);
            if (!follows || !inBounds(entry, bounds)) {
                error = "B+ tree leaf page " + std::to_string(page) +
                        " repeats a key or has keys out of order";
                return false;
            }
            tree.entries.push_back(std::move(entry));
        }
        if (!in.ok() || count < 0) {
            error = "B+ tree leaf page " + std::to_string(page) + " runs past its end";
            return false;
        }
        return true;
    }

    bool checkLeafChain(std::string& error) const {
        for (std::size_t i = 0; i < leaves.size(); ++i) {
            const int expectedPrevious = i == 0 ? -1 : leaves[i - 1].page;
            const int expectedNext = i + 1 == leaves.size() ? -1 : leaves[i + 1].page;
            if (leaves[i].previous != expectedPrevious || leaves[i].next != expectedNext) {
                error = "B+ tree leaf pages are not chained in key order";
                return false;
            }
        }
        return true;
    }

    struct Tleaf {
        int page;
        int previous;
        int next;
    };

    const Tbytes& content;
    const TtreeHeader& header;
    Tbtree& tree;
    std::vector<bool> visited;
    std::vector<Tleaf> leaves;
};

std::size_t keySize(TkeyKind kind, const TbtreeEntry& entry) {
    return kind == TkeyKind::text ? entry.text.size() + 1 : 4;
}

void putKey(Tbytes& out, TkeyKind kind, const TbtreeEntry& entry) {
    if (kind == TkeyKind::text) {
        out.insert(out.end(), entry.text.begin(), entry.text.end());
        put8(out, 0);
    } else {
        put32(out, static_cast<std::uint32_t>(entry.number));
    }
}

// One page under construction; pages are padded to full size when finished.
struct Tpage {
    Tbytes bytes;
    std::size_t firstEntry = 0;  // the entry whose key leads this page's subtree
};

void finishPage(Tpage& page, std::size_t pageSize) {
    set16(page.bytes, 0, static_cast<std::uint32_t>(pageSize - page.bytes.size()));
    page.bytes.resize(pageSize, 0);
}

std::vector<Tpage> packLeaves(const Tbtree& tree) {
    const TbtreeLayout& layout = tree.layout;
    std::vector<Tpage> leaves(1);
    leaves.back().bytes.assign(leafHeaderSize, 0);
    int count = 0;
    for (std::size_t i = 0; i < tree.entries.size(); ++i) {
        const TbtreeEntry& entry = tree.entries[i];
        if (leaves.back().bytes.size() + keySize(layout.keyKind, entry) + layout.valueSize >
            layout.pageSize) {
            set16(leaves.back().bytes, 2, count);
            leaves.push_back(Tpage{Tbytes(leafHeaderSize, 0), i});
            count = 0;
        }
        putKey(leaves.back().bytes, layout.keyKind, entry);
        leaves.back().bytes.insert(leaves.back().bytes.end(), entry.value.begin(),
                                   entry.value.end());
        ++count;
    }
    set16(leaves.back().bytes, 2, count);
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        set16(leaves[i].bytes, 4, i == 0 ? 0xFFFF : static_cast<std::uint32_t>(i - 1));
        set16(leaves[i].bytes, 6,
              i + 1 == leaves.size() ? 0xFFFF : static_cast<std::uint32_t>(i + 1));
    }
    return leaves;
}

// Builds one index level over `children`, whose page numbers start at `firstChildPage`;
// the new pages are numbered from `firstChildPage + children.size()`.
std::vector<Tpage> packIndexLevel(const Tbtree& tree, const std::vector<Tpage>& children,
                                  std::size_t firstChildPage) {
    const TbtreeLayout& layout = tree.layout;
    std::vector<Tpage> parents;
    int count = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const std::uint32_t childPage = static_cast<std::uint32_t>(firstChildPage + i);
        const TbtreeEntry& key = tree.entries[children[i].firstEntry];
        const bool fits =
            !parents.empty() &&
            parents.back().bytes.size() + keySize(layout.keyKind, key) + 2 <= layout.pageSize;
        if (!fits) {
            if (!parents.empty()) {
                set16(parents.back().bytes, 2, count);
            }
            parents.push_back(Tpage{Tbytes(indexHeaderSize, 0), children[i].firstEntry});
            set16(parents.back().bytes, 4, childPage);
            count = 0;
            continue;
        }
        putKey(parents.back().bytes, layout.keyKind, key);
        put16(parents.back().bytes, childPage);
        ++count;
    }
    set16(parents.back().bytes, 2, count);
    return parents;
}

bool checkWritable(const Tbtree& tree, std::string& error) {
    const TbtreeLayout& layout = tree.layout;
    if (layout.structure.size() > structureSize || layout.pageSize < 2 * leafHeaderSize) {
        error = "B+ tree layout cannot be written";
        return false;
    }
    for (std::size_t i = 0; i < tree.entries.size(); ++i) {
        const TbtreeEntry& entry = tree.entries[i];
        if (entry.value.size() != layout.valueSize ||
            leafHeaderSize + keySize(layout.keyKind, entry) + layout.valueSize > layout.pageSize) {
            error = "B+ tree entry does not fit a page";
            return false;
        }
        if (i > 0 && !keyLess(layout.keyKind, tree.entries[i - 1], entry)) {
            error = "B+ tree entries are not sorted and unique";
            return false;
        }
    }
    return true;
}

}  // namespace

bool keyLess(TkeyKind kind, const TbtreeEntry& a, const TbtreeEntry& b) {
    switch (kind) {
    case TkeyKind::text:
        // std::string compares its bytes as unsigned char, the order the viewer's strcmp uses.
        return a.text < b.text;
    case TkeyKind::number: return a.number < b.number;
    case TkeyKind::unsignedNumber:
        return static_cast<std::uint32_t>(a.number) < static_cast<std::uint32_t>(b.number);
    }
    return false;
}

bool readBTree(const Tbytes& content, Tbtree& tree, std::string& error) {
    TtreeHeader header;
    if (!readHeader(content, header, error)) {
        return false;
    }
    tree.layout.flags = header.flags;
    tree.layout.pageSize = header.pageSize;
    tree.layout.structure = header.structure;
    tree.entries.clear();
    TtreeWalker walker(content, header, tree);
    return walker.walk(error);
}

bool writeBTree(const Tbtree& tree, Tbytes& content, std::string& error) {
    if (!checkWritable(tree, error)) {
        return false;
    }
    std::vector<Tpage> pages = packLeaves(tree);
    std::size_t levelStart = 0;
    std::size_t levelSize = pages.size();
    int levels = 1;
    while (levelSize > 1) {
        const std::vector<Tpage> level(pages.begin() + levelStart, pages.end());
        const std::vector<Tpage> parents = packIndexLevel(tree, level, levelStart);
        levelStart = pages.size();
        levelSize = parents.size();
        pages.insert(pages.end(), parents.begin(), parents.end());
        ++levels;
    }
    if (pages.size() > maxPages) {
        error = "B+ tree needs more pages than a help file can number";
        return false;
    }
    content.clear();
    put16(content, treeMagic);
    put16(content, tree.layout.flags);
    put16(content, tree.layout.pageSize);
    Tbytes structure(structureSize, 0);
    std::memcpy(structure.data(), tree.layout.structure.data(), tree.layout.structure.size());
    content.insert(content.end(), structure.begin(), structure.end());
    put16(content, 0);                                             // MustBeZero
    put16(content, 0);                                             // PageSplits
    put16(content, static_cast<std::uint32_t>(pages.size() - 1));  // RootPage: the last page made
    put16(content, 0xFFFF);                                        // MustBeNegOne
    put16(content, static_cast<std::uint32_t>(pages.size()));
    put16(content, static_cast<std::uint32_t>(levels));
    put32(content, static_cast<std::uint32_t>(tree.entries.size()));
    for (Tpage& page : pages) {
        finishPage(page, tree.layout.pageSize);
        content.insert(content.end(), page.bytes.begin(), page.bytes.end());
    }
    return true;
}
