// Times the vocabulary store against its floors over a generated list of 4000 entries, about
// 1 MB, in a temporary folder: loadNextWord against opening, seeking and reading the same entry's
// bytes with no registry, and buildIndex against a plain scan of the file's lines. Prints the
// median and 95th percentile of each and their ratios. Clears the program key before and after.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "settings/registry.h"
#include "vocab/rotation.h"
#include "vocab/wordstore.h"
#include "win32/widetext.h"

#include "benchtools.h"

namespace {

const int entryCount = 4000;
const int loadSamples = 2000;
const int buildSamples = 40;

// Letters from a fixed sequence, so every run writes the same file.
std::string letters(unsigned& seed, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned pick = (seed >> 16) % 32;
        text += pick < 5 ? ' ' : static_cast<char>('a' + pick % 26);
    }
    return text;
}

// Entries of about 262 bytes: a word, a definition with one continuation line, an example.
std::string generateList() {
    std::string bytes;
    unsigned seed = 1;
    char word[32];
    for (int i = 0; i < entryCount; ++i) {
        std::snprintf(word, sizeof word, "entry%04d", i);
        bytes += "word=" + std::string(word) + "\r\ndef=x" + letters(seed, 140) + "x\r\n" +
                 letters(seed, 50) + "x\r\nex=x" + letters(seed, 40) + "x\r\n";
    }
    return bytes;
}

bool writeList(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

void clearProgramKey() { RegDeleteKeyA(HKEY_CURRENT_USER, programSubkey); }

void printWarning(const char* text) { std::printf("warning: %s\n", text); }

// Where the entry that the next load shows lies in the file: its offset and byte length.
bool nextEntrySpan(long fileSize, long& offset, long& length) {
    Tregistry key(programRootName, programSubkey, 1);
    unsigned char stateBytes[TrotationState::recordSize];
    DWORD size = sizeof stateBytes;
    if (!key.getBinary(stateValue, stateBytes, &size) || size != sizeof stateBytes) return false;
    TrotationState state;
    state.fromBytes(stateBytes);
    std::vector<int32_t> offsets(state.count);
    size = static_cast<DWORD>(4 * offsets.size());
    if (!state.isConsistent() || !key.getBinary(offsetsValue, offsets.data(), &size)) return false;
    offset = offsets[state.current];  // stored little-endian, as this machine reads it
    long end = state.current + 1 < state.count ? offsets[state.current + 1] : fileSize;
    length = end - offset;
    return true;
}

// The floor of a load: the file opened, one seek, the entry's bytes read, the file closed.
double timeRawRead(const std::string& path, long offset, long length, std::vector<char>& into) {
    double start = secondsNow();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fseek(file, offset, SEEK_SET);
        std::fread(into.data(), 1, static_cast<size_t>(length), file);
        std::fclose(file);
    }
    return secondsNow() - start;
}

// The floor of a build: every line of the file read through the same 2048-byte buffer.
double timePlainScan(const std::string& path) {
    double start = secondsNow();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        char line[lineBufferSize];
        unsigned lines = 0;
        while (std::fgets(line, sizeof line, file)) ++lines;
        std::fclose(file);
    }
    return secondsNow() - start;
}

void printRow(const char* name, const TbenchFigures& f, double unit, const char* unitName,
              size_t n) {
    std::printf("%-22s %10.1f %-2s %10.1f %-2s %8u\n", name, f.median * unit, unitName,
                f.p95 * unit, unitName, static_cast<unsigned>(n));
}

void printRatio(const TbenchFigures& measured, const TbenchFigures& floor) {
    std::printf("%-22s %10.2fx    %10.2fx\n", "  ratio to floor", measured.median / floor.median,
                measured.p95 / floor.p95);
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "lexoria-bench-" + std::to_string(GetCurrentProcessId());
    const std::string path = folder + "\\lexoria.lst";
    const std::wstring widePath = wideFrom(path, CP_ACP);
    const std::string bytes = generateList();
    if (!CreateDirectoryA(folder.c_str(), nullptr) || !writeList(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    clearProgramKey();
    setOverLongListWarning(&printWarning);
    std::printf("word list: %d entries, %u bytes\n\n", entryCount,
                static_cast<unsigned>(bytes.size()));

    TwordDef entry;
    int failures = loadNextWord(widePath, entry) ? 0 : 1;  // builds the index; not timed
    std::vector<double> loads, rawReads, builds, scans;
    std::vector<char> into(lineBufferSize * 8);
    for (int i = 0; i < loadSamples; ++i) {
        long offset = 0, length = 0;
        if (!nextEntrySpan(static_cast<long>(bytes.size()), offset, length) ||
            length > static_cast<long>(into.size())) {
            ++failures;
            break;
        }
        rawReads.push_back(timeRawRead(path, offset, length, into));
        double start = secondsNow();
        if (!loadNextWord(widePath, entry)) ++failures;
        loads.push_back(secondsNow() - start);
    }
    for (int i = 0; i < buildSamples; ++i) {
        scans.push_back(timePlainScan(path));
        double start = secondsNow();
        if (!buildIndex(widePath)) ++failures;
        builds.push_back(secondsNow() - start);
    }
    clearProgramKey();
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    if (failures || loads.empty()) {
        std::fprintf(stderr, "%d operations failed\n", failures);
        return 1;
    }

    std::printf("%-22s %13s %13s %8s\n", "", "median", "95th pct", "samples");
    TbenchFigures load = figuresOf(loads), raw = figuresOf(rawReads);
    TbenchFigures build = figuresOf(builds), scan = figuresOf(scans);
    printRow("loadNextWord", load, 1e6, "us", loads.size());
    printRow("  open, seek, read", raw, 1e6, "us", rawReads.size());
    printRatio(load, raw);
    printRow("buildIndex", build, 1e3, "ms", builds.size());
    printRow("  plain line scan", scan, 1e3, "ms", scans.size());
    printRatio(build, scan);
    return 0;
}
