// Times "lexoria-list import" on an Anki export whose one definition is 1 MB and then 4 MB of a
// text that once made the import slow down with the square of its length: '&' without ';', and
// '<a' without '>'. Prints each time and how much longer the larger field takes: about 4 when the
// import is linear, 16 when it is quadratic. Works in a scratch folder under the temporary folder.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commands.h"
#include "fileio.h"

namespace fs = std::filesystem;

namespace {

bool writeText(const fs::path& path, const std::string& text) {
    TfileHolder file = openFile(path.string(), "wb");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && written;
}

// Seconds for one import of a field of `size` bytes made of `unit`; negative when it fails.
double timeImport(const fs::path& folder, const std::string& unit, size_t size) {
    std::string field;
    while (field.size() < size) field += unit;
    const fs::path input = folder / "export.txt";
    const fs::path output = folder / "lexoria.lst";
    if (!writeText(input, "#separator:tab\n#html:true\nword\t" + field + "\n")) return -1;
    std::string out;
    std::string err;
    auto start = std::chrono::steady_clock::now();
    int status = runCommand({"import", input.string(), output.string()}, out, err);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (status != 0) std::fprintf(stderr, "%s", err.c_str());
    return status == 0 ? took.count() : -1;
}

}  // namespace

int main() {
    std::error_code failed;
    const fs::path folder = fs::temp_directory_path(failed) / "lexoria-import-bench";
    fs::create_directories(folder, failed);
    const size_t megabyte = 1024 * 1024;
    int status = 0;
    for (const char* unit : {"&", "<a"}) {
        double small = timeImport(folder, unit, megabyte);
        double large = timeImport(folder, unit, 4 * megabyte);
        if (small < 0 || large < 0) {
            std::printf("import of '%s'... fields failed\n", unit);
            status = 1;
            continue;
        }
        std::printf(
            "import, field of '%s'...: 1 MB %.3f s, 4 MB %.3f s, growth %.1f"
            " (4 linear, 16 quadratic)\n",
            unit, small, large, large / small);
    }
    fs::remove_all(folder, failed);
    return status;
}
