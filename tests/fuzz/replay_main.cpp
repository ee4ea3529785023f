// Runs a fuzz target's function once over each stored input, without libFuzzer: the host build
// (g++ with the sanitizers) replays the seed corpus and the regression inputs this way, so they
// are checked on every test run even where clang is missing. Arguments: files or folders; one
// that does not exist is passed over, as a target may have no regression inputs yet.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (fs::is_regular_file(argv[i], error)) files.push_back(argv[i]);
        if (!fs::is_directory(argv[i], error)) continue;
        for (const auto& item : fs::recursive_directory_iterator(argv[i]))
            if (item.is_regular_file()) files.push_back(item.path());
    }
    if (files.empty()) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    for (const fs::path& path : files) {
        // A block of exactly the input's size, so reading one byte past it is caught.
        std::vector<uint8_t> bytes(fs::file_size(path));
        std::ifstream file(path, std::ios::binary);
        if (!file.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs passed\n", files.size());
    return 0;
}
