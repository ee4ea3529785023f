// Help file images made for the tests, and look-ups done the way a help viewer does them:
// straight down the B+ trees from their root pages, on the raw bytes of the image.
#pragma once

#include "btree.h"
#include "bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct FixtureOptions {
    std::vector<std::pair<std::string, std::uint32_t>> topics; // context string, topic offset
    std::uint16_t directoryPageSize = 1024;
    std::uint16_t contextPageSize = 2048;
    int extraFiles = 0;                    // more internal files, to spread the directory out
    KeyKind contextOrder = KeyKind::Number; // how |CONTEXT is sorted
    bool withMap = false;                  // an earlier |CTXOMAP that maps 5 to the first topic
};

Bytes makeHelpImage(const FixtureOptions& options);

std::uint32_t le16(const Bytes& image, std::size_t at);
std::uint32_t le32(const Bytes& image, std::size_t at);

// Where the directory keeps the file offset of `name`.
std::optional<std::size_t> viewerDirectoryValue(const Bytes& image, const std::string& name);

struct FileSpan {
    std::size_t start; // first byte after the FILEHEADER
    std::size_t size;  // the used size
};

std::optional<FileSpan> viewerFindFile(const Bytes& image, const std::string& name);
Bytes fileBytes(const Bytes& image, const FileSpan& span);
std::optional<std::uint32_t> viewerFindTopic(const Bytes& image, const std::string& context);
std::optional<std::uint32_t> viewerMapNumber(const Bytes& image, std::uint32_t number);
