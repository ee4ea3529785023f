// Test helpers on C stdio and std::filesystem.
#include "wordlist/list_test_support.h"

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

TemporaryFile::TemporaryFile(const std::string& bytes) : file(std::tmpfile()) {
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
}

TemporaryFile::~TemporaryFile() {
    if (file) std::fclose(file);
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    fs::path path = fs::temp_directory_path() / ("lexoria-list-test-" + std::to_string(random()));
    fs::create_directories(path);
    folder = path.string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string ScratchFolder::file(const std::string& name) const { return (fs::path(folder) / name).string(); }

bool writeBytes(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string readBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "<missing>";
    std::string bytes;
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    std::fclose(file);
    return bytes;
}

bool fileExists(const std::string& path) { return fs::exists(path); }

std::string sourceFile(const std::string& relative) { return std::string(LEXORIA_SOURCE_DIR) + "/" + relative; }
