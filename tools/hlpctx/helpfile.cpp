// Reading and writing the container structure of help files.
#include "helpfile.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint32_t kFileMagic = 0x00035F3F;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kFileHeaderSize = 9;
constexpr const char* kDirectoryStructure = "z4";

// Where an internal file sits in the image, FILEHEADER and reserved space included.
struct Span {
    std::size_t start;
    std::size_t end;
    std::string name;
};

bool readInternalFile(const Bytes& image, std::uint32_t offset, const std::string& name, InternalFile& file,
                      Span& span, std::string& error)
{
    const std::string what = name.empty() ? std::string("the directory") : "internal file " + name;
    if (offset < kHeaderSize || offset > image.size() || image.size() - offset < kFileHeaderSize) {
        error = what + " starts outside the file";
        return false;
    }
    ByteReader in(image.data() + offset, kFileHeaderSize);
    const std::uint32_t reserved = in.u32();
    const std::uint32_t used = in.u32();
    file.flags = in.u8();
    if (used > reserved || reserved - used < kFileHeaderSize || reserved > image.size() - offset) {
        error = what + " has a size that does not fit the file";
        return false;
    }
    file.name = name;
    file.content.assign(image.begin() + offset + kFileHeaderSize, image.begin() + offset + kFileHeaderSize + used);
    span = Span{offset, offset + reserved, what};
    return true;
}

bool checkNoOverlap(std::vector<Span> spans, std::string& error)
{
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].start < spans[i - 1].end) {
            error = spans[i - 1].name + " and " + spans[i].name + " overlap";
            return false;
        }
    }
    return true;
}

bool readDirectory(const Bytes& image, std::uint32_t start, HelpFile& help, std::vector<Span>& spans,
                   std::string& error)
{
    InternalFile directory;
    Span span{};
    if (!readInternalFile(image, start, std::string(), directory, span, error)) {
        return false;
    }
    spans.push_back(span);
    help.directoryFlags = directory.flags;
    BTree tree;
    tree.layout.keyKind = KeyKind::Text;
    tree.layout.valueSize = 4;
    if (!readBTree(directory.content, tree, error)) {
        error = "directory: " + error;
        return false;
    }
    if (tree.layout.structure != kDirectoryStructure) {
        error = "directory has the unknown format \"" + tree.layout.structure + "\"";
        return false;
    }
    help.directoryLayout = tree.layout;
    for (const BTreeEntry& entry : tree.entries) {
        ByteReader value(entry.value.data(), entry.value.size());
        InternalFile file;
        if (!readInternalFile(image, value.u32(), entry.text, file, span, error)) {
            return false;
        }
        spans.push_back(span);
        help.files.push_back(std::move(file));
    }
    return true;
}

void putFileHeader(Bytes& image, const InternalFile& file)
{
    const std::uint32_t used = static_cast<std::uint32_t>(file.content.size());
    put32(image, used + kFileHeaderSize);
    put32(image, used);
    put8(image, file.flags);
}

} // namespace

bool parseHelpFile(const Bytes& image, HelpFile& help, std::string& error)
{
    help = HelpFile{};
    ByteReader in(image.data(), image.size());
    const std::uint32_t magic = in.u32();
    const std::uint32_t directoryStart = in.u32();
    in.skip(4); // FirstFreeBlock: free space is dropped on rewrite, so it is never followed
    const std::uint32_t declaredSize = in.u32();
    if (!in.ok()) {
        error = "file is too short to be a help file";
        return false;
    }
    if (magic != kFileMagic) {
        error = "file is not a Windows help file (wrong magic number)";
        return false;
    }
    if (declaredSize != image.size()) {
        error = "header gives the file size " + std::to_string(declaredSize) + " but the file has " +
                std::to_string(image.size()) + " bytes";
        return false;
    }
    std::vector<Span> spans{Span{0, kHeaderSize, "the header"}};
    return readDirectory(image, directoryStart, help, spans, error) && checkNoOverlap(spans, error);
}

bool buildHelpFile(const HelpFile& help, Bytes& image, std::string& error)
{
    image.assign(kHeaderSize, 0);
    BTree directory;
    directory.layout = help.directoryLayout;
    directory.layout.keyKind = KeyKind::Text;
    directory.layout.valueSize = 4;
    for (const InternalFile& file : help.files) {
        BTreeEntry entry;
        entry.text = file.name;
        put32(entry.value, static_cast<std::uint32_t>(image.size()));
        directory.entries.push_back(std::move(entry));
        putFileHeader(image, file);
        image.insert(image.end(), file.content.begin(), file.content.end());
    }
    InternalFile directoryFile;
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
    set32(image, 0, kFileMagic);
    set32(image, 4, static_cast<std::uint32_t>(directoryStart));
    set32(image, 8, 0xFFFFFFFF); // no free list
    set32(image, 12, static_cast<std::uint32_t>(image.size()));
    return true;
}

const InternalFile* findInternalFile(const HelpFile& help, const std::string& name)
{
    for (const InternalFile& file : help.files) {
        if (file.name == name) {
            return &file;
        }
    }
    return nullptr;
}

void putInternalFile(HelpFile& help, InternalFile file)
{
    auto at = std::lower_bound(help.files.begin(), help.files.end(), file.name,
                               [](const InternalFile& f, const std::string& name) { return f.name < name; });
    if (at != help.files.end() && at->name == file.name) {
        *at = std::move(file);
    } else {
        help.files.insert(at, std::move(file));
    }
}
