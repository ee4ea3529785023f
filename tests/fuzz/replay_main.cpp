// Runs a fuzz target's function once over each stored input, without libFuzzer: the host build
// (g++ with the sanitizers) replays the seed corpus and the regression inputs this way, so they
// are checked on every test run even where clang is missing. Arguments: files or folders.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// A path that does not exist is passed over: a target may have no regression inputs yet.
void collect(const std::string& path, std::vector<std::string>& files) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return;
    if (!S_ISDIR(info.st_mode)) {
        files.push_back(path);
        return;
    }
    DIR* folder = opendir(path.c_str());
    if (!folder) return;
    while (dirent* item = readdir(folder)) {
        std::string name = item->d_name;
        if (name != "." && name != "..") collect(path + "/" + name, files);
    }
    closedir(folder);
}

bool readWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) collect(argv[i], files);
    if (files.empty()) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    for (const std::string& path : files) {
        std::vector<uint8_t> bytes;
        if (!readWhole(path, bytes)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        // A copy of exactly the input's size, so reading one byte past it is caught.
        std::vector<uint8_t> exact(bytes);
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
    }
    std::printf("%zu inputs passed\n", files.size());
    return 0;
}
