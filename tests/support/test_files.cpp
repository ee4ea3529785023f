// Test helpers on C stdio and std::filesystem.
#include "support/test_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

TfileHolder temporaryFile(const std::string& bytes) {
    TfileHolder file(std::tmpfile());
    if (file) {
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
        std::rewind(file.get());
    }
    return file;
}

TscratchFolder::TscratchFolder() {
    std::random_device random;
    fs::path path = fs::temp_directory_path() / ("lexoria-test-" + std::to_string(random()));
    fs::create_directories(path);
    folder = path.string();
}

TscratchFolder::~TscratchFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string TscratchFolder::file(const std::string& name) const {
    return (fs::path(folder) / name).string();
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    return static_cast<bool>(file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

std::string readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string sourceFile(const std::string& relative) {
    return std::string(LEXORIA_SOURCE_DIR) + "/" + relative;
}
