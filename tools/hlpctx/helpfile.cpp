// Reading and writing the container structure of help files.
#include "helpfile.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint32_t fileMagic = 0x00035F3F;
constexpr std::size_t headerSize = 16;
constexpr std::size_t fileHeaderSize = 9;
constexpr const char* directoryStructure = "z4";

// Where an internal file sits in the image, FILEHEADER and reserved space included.
struct Tspan {
    std::size_t start;
    std::size_t end;
    std::string name;
};

bool readInternalFile(const Tbytes& image, std::uint32_t offset, const std::string& name,
                      TinternalFile& file, Tspan& span, std::string& error) {
    const std::string what = name.empty() ? std::string("the directory") : "internal file " + name;
    if (offset < headerSize || offset > image.size() || image.size() - offset < fileHeaderSize) {
        error = what + " starts outside the file";
        return false;
    }
    TbyteReader in(image.data() + offset, fileHeaderSize);
    const std::uint32_t reserved = in.u32();
    const std::uint32_t used = in.u32();
    file.flags = in.u8();
    if (used > reserved || reserved - used < fileHeaderSize || reserved > image.size() - offset) {
        error = what + " has a size that does not fit the file";
        return false;
    }
    file.name = name;
    file.content.assign(image.begin() + offset + fileHeaderSize,
                        image.begin() + offset + fileHeaderSize + used);
    span = Tspan{offset, offset + reserved, what};
    return true;
}

bool checkNoOverlap(std::vector<Tspan> spans, std::string& error) {
    std::sort(spans.begin(), spans.end(),
              [](const Tspan& a, const Tspan& b) { return a.start < b.start; });
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].start < spans[i - 1].end) {
            error = spans[i - 1].name + " and " + spans[i].name + " overlap";
            return false;
        }
    }
    return true;
}

bool readDirectory(const Tbytes& image, std::uint32_t start, ThelpFile& help,
                   std::vector<Tspan>& spans, std::string& error) {
    TinternalFile directory;
    Tspan span{};
    if (!readInternalFile(image, start, std::string(), directory, span, error)) {
        return false;
    }
    spans.push_back(span);
    help.directoryFlags = directory.flags;
    Tbtree tree;
    tree.layout.keyKind = TkeyKind::text;
    tree.layout.valueSize = 4;
    if (!readBTree(directory.content, tree, error)) {
        error = "directory: " + error;
        return false;
    }
    if (tree.layout.structure != directoryStructure) {
        error = "directory has the unknown format \"" + tree.layout.structure + "\"";
        return false;
    }
    help.directoryLayout = tree.layout;
    for (const TbtreeEntry& entry : tree.entries) {
        TbyteReader value(entry.value.data(), entry.value.size());
        TinternalFile file;
        if (!readInternalFile(image, value.u32(), entry.text, file, span, error)) {
            return false;
        }
        spans.push_back(span);
        help.files.push_back(std::move(file));
    }
    return true;
}

void putFileHeader(Tbytes& image, const TinternalFile& file) {
    const std::uint32_t used = static_cast<std::uint32_t>(file.content.size());
    put32(image, used + fileHeaderSize);
    put32(image, used);
    put8(image, file.flags);
}

}  // namespace

bool parseHelpFile(const Tbytes& image, ThelpFile& help, std::string& error) {
    help = ThelpFile{};
    TbyteReader in(image.data(), image.size());
    const std::uint32_t magic = in.u32();
    const std::uint32_t directoryStart = in.u32();
    in.skip(4);  // FirstFreeBlock: free space is dropped on rewrite, so it is never followed
    const std::uint32_t declaredSize = in.u32();
    if (!in.ok()) {
        error = "file is too short to be a help file";
        return false;
    }
    if (magic != fileMagic) {
        error = "file is not a Windows help file (wrong magic number)";
        return false;
    }
    if (declaredSize != image.size()) {
        error = "header gives the file size " + std::to_string(declaredSize) +
                " but the file has " + std::to_string(image.size()) + " bytes";
        return false;
    }
    std::vector<Tspan> spans{Tspan{0, headerSize, "the header"}};
    return readDirectory(image, directoryStart, help, spans, error) && checkNoOverlap(spans, error);
}

bool buildHelpFile(const ThelpFile& help, Tbytes& image, std::string& error) {
    image.assign(headerSize, 0);
    Tbtree directory;
    directory.layout = help.directoryLayout;
    directory.layout.keyKind = TkeyKind::text;
    directory.layout.valueSize = 4;
    for (const TinternalFile& file : help.files) {
        TbtreeEntry entry;
        entry.text = file.name;
        put32(entry.value, static_cast<std::uint32_t>(image.size()));
        directory.entries.push_back(std::move(entry));
        putFileHeader(image, file);
        image.insert(image.end(), file.content.begin(), file.content.end());
    }
    TinternalFile directoryFile;
    directoryFile.flags = help.directoryFlags;
    if (!writeBTree(directory, directoryFile.content, error)) {
        error = "directory: " + error;
        image.clear();
        return false;
    }
    const std::size_t directoryStart = image.size();
    putFileHeader(image, directoryFile);
    image.insert(image.end(), directoryFile.content.begin(), directoryFile.content.end());
    // Offsets in the header and the directory are 32-bit and read as signed by some viewers.
    if (image.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        error = "help file would be too large";
        image.clear();
        return false;
    }
    set32(image, 0, fileMagic);
    set32(image, 4, static_cast<std::uint32_t>(directoryStart));
    set32(image, 8, 0xFFFFFFFF);  // no free list
    set32(image, 12, static_cast<std::uint32_t>(image.size()));
    return true;
}

const TinternalFile* findInternalFile(const ThelpFile& help, const std::string& name) {
    for (const TinternalFile& file : help.files) {
        if (file.name == name) {
            return &file;
        }
    }
    return nullptr;
}

void putInternalFile(ThelpFile& help, TinternalFile file) {
    auto at = std::lower_bound(help.files.begin(), help.files.end(), file.name,
                               [](const TinternalFile& f, const std::string& name) {
                                   return f.name < name;
                               });
    if (at != help.files.end() && at->name == file.name) {
        *at = std::move(file);
    } else {
        help.files.insert(at, std::move(file));
    }
}
