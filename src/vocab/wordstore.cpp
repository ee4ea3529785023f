// The vocabulary store on Windows: the word list file, its offset index and the rotation state
// under the program's registry key.
#include "vocab/wordstore.h"

#include <windows.h>

#include <memory>

#include "settings/registry.h"
#include "vocab/littleendian.h"
#include "vocab/rotation.h"

const char* const offsetsValue = "Offsets";
const char* const stateValue = "State";
const char* const modificationTimeValue = "Modification Time";

namespace {

using FileHolder = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FileHolder openList(const std::string& path) {
    return FileHolder(std::fopen(path.c_str(), "rb"), &std::fclose);
}

void showWarningBox(const char* text) {
    MessageBoxA(nullptr, text, "Lexoria", MB_OK | MB_ICONWARNING);
}

TwarningSink warningSink = &showWarningBox;

void warnOverLongList() {
    char text[200];
    // wsprintfA rather than snprintf: the C library's formatter would add about 30 KB.
    wsprintfA(text,
              "Lexoria does not currently support more than %d words.\n"
              "If this is unacceptable, please write to technical support.",
              maxEntries);
    warningSink(text);
}

bool lastWriteTime(const std::string& path, FILETIME& time) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    time = found.ftLastWriteTime;
    return true;
}

// "Modification Time": the low 32 bits first, then the high 32 bits.
void fileTimeToBytes(const FILETIME& time, unsigned char out[8]) {
    putLittleEndian32(out, time.dwLowDateTime);
    putLittleEndian32(out + 4, time.dwHighDateTime);
}

FILETIME fileTimeFromBytes(const unsigned char in[8]) {
    FILETIME time;
    time.dwLowDateTime = getLittleEndian32(in);
    time.dwHighDateTime = getLittleEndian32(in + 4);
    return time;
}

bool storeState(Tregistry& key, const RotationState& state) {
    unsigned char bytes[RotationState::recordSize];
    state.toBytes(bytes);
    return key.setBinary(stateValue, bytes, sizeof bytes);
}

enum class StoredIndex { usable, unreadable, inconsistent };

// Reads "State" and "Offsets". A missing or wrongly sized "State" is unreadable; fields that
// the program never writes, or "Offsets" of the wrong size, make the index inconsistent, which
// the caller treats like a stale index.
StoredIndex readStoredIndex(Tregistry& key, RotationState& state, std::vector<int32_t>& offsets) {
    unsigned char stateBytes[RotationState::recordSize];
    DWORD size = sizeof stateBytes;
    if (!key.getBinary(stateValue, stateBytes, &size) || size != sizeof stateBytes)
        return StoredIndex::unreadable;
    state.fromBytes(stateBytes);
    if (!state.isConsistent()) return StoredIndex::inconsistent;

    const DWORD wanted = 4 * static_cast<DWORD>(state.count);
    std::vector<unsigned char> bytes(wanted + 1);
    size = wanted;
    if (!key.getBinary(offsetsValue, bytes.data(), &size))
        return size > wanted ? StoredIndex::inconsistent : StoredIndex::unreadable;
    if (size != wanted) return StoredIndex::inconsistent;
    offsets.resize(state.count);
    for (int32_t i = 0; i < state.count; ++i)
        offsets[i] = static_cast<int32_t>(getLittleEndian32(&bytes[4 * i]));
    return StoredIndex::usable;
}

}  // namespace

void setOverLongListWarning(TwarningSink sink) {
    warningSink = sink ? sink : &showWarningBox;
}

bool isIndexCurrent(const std::string& path) {
    FILETIME fileTime;
    if (!lastWriteTime(path, fileTime)) return false;
    Tregistry key(programRootName, programSubkey, 1);
    unsigned char stored[8];
    DWORD size = sizeof stored;
    if (!key.getBinary(modificationTimeValue, stored, &size) || size != sizeof stored) return false;
    FILETIME storedTime = fileTimeFromBytes(stored);
    return CompareFileTime(&storedTime, &fileTime) == 0;
}

bool buildIndex(const std::string& path) {
    std::vector<int32_t> offsets;
    bool overLong = false;
    {
        FileHolder file = openList(path);
        if (!file || !scanEntryOffsets(file.get(), offsets, overLong)) return false;
    }
    if (overLong) warnOverLongList();

    Tregistry key(programRootName, programSubkey, 0);
    std::vector<unsigned char> bytes(4 * offsets.size() + 1);
    for (size_t i = 0; i < offsets.size(); ++i)
        putLittleEndian32(&bytes[4 * i], static_cast<uint32_t>(offsets[i]));
    if (!key.setBinary(offsetsValue, bytes.data(), static_cast<DWORD>(4 * offsets.size())))
        return false;
    if (!reshuffle(static_cast<int32_t>(offsets.size()))) return false;
    FILETIME fileTime;
    if (!lastWriteTime(path, fileTime)) return false;
    unsigned char timeBytes[8];
    fileTimeToBytes(fileTime, timeBytes);
    return key.setBinary(modificationTimeValue, timeBytes, sizeof timeBytes);
}

bool readEntry(const std::string& path, int32_t offset, TwordDef& entry) {
    FileHolder file = openList(path);
    return file && readEntryAt(file.get(), offset, entry);
}

bool reshuffle(int32_t count) {
    uint32_t startDraw = nextDraw();
    uint32_t strideDraw = nextDraw();
    RotationState state = drawPass(count, startDraw, strideDraw);
    Tregistry key(programRootName, programSubkey, 0);
    return storeState(key, state);
}

bool loadNextWord(const std::string& path, TwordDef& entry) {
    if (!isIndexCurrent(path) && !buildIndex(path)) return false;

    Tregistry key(programRootName, programSubkey, 0);
    RotationState state;
    std::vector<int32_t> offsets;
    StoredIndex stored = readStoredIndex(key, state, offsets);
    if (stored == StoredIndex::inconsistent) {
        if (!buildIndex(path)) return false;
        stored = readStoredIndex(key, state, offsets);
    }
    if (stored != StoredIndex::usable || state.count == 0) return false;

    if (!readEntry(path, offsets[state.current], entry)) return false;
    if (advanceRotation(state)) return reshuffle(state.count);
    return storeState(key, state);
}
