// The vocabulary store on Windows: the word list file, its offset index and the rotation state
// under the program's registry key.
#include "vocab/wordstore.h"

#include <windows.h>

#include <new>

#include "base/fileholder.h"
#include "base/littleendian.h"
#include "language/interfacetext.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "vocab/rotation.h"
#include "win32/widetext.h"

const char* const offsetsValue = "Offsets";
const char* const stateValue = "State";
const char* const modificationTimeValue = "Modification Time";

namespace {

// The one place the list is opened: the wide form, so any folder name works.
TfileHolder openList(const std::wstring& path) { return TfileHolder(_wfopen(path.c_str(), L"rb")); }

void showWarningBox(const char* text) {
    showMessage(nullptr, wideFrom(text, CP_UTF8), L"Lexoria", MB_OK | MB_ICONWARNING);
}

TwarningSink warningSink = &showWarningBox;

// In the interface language, handed on in UTF-8 so that every language passes whole.
void warnOverLongList() {
    const std::wstring text = interfaceText(IDS_LIST_TOO_LONG, {decimal(maxEntries)});
    warningSink(bytesFrom(text, CP_UTF8).c_str());
}

bool lastWriteTime(const std::wstring& path, FILETIME& time) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
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

bool storeState(Tregistry& key, const TrotationState& state) {
    unsigned char bytes[TrotationState::recordSize];
    state.toBytes(bytes);
    return key.setBinary(stateValue, bytes, sizeof bytes);
}

// Reads "State" and "Offsets"; false when either is missing, of another type or size, or
// holds fields the program never writes.
bool readStoredIndex(Tregistry& key, TrotationState& state, std::vector<int32_t>& offsets) {
    unsigned char stateBytes[TrotationState::recordSize];
    DWORD size = sizeof stateBytes;
    if (!key.getBinary(stateValue, stateBytes, &size) || size != sizeof stateBytes) return false;
    state.fromBytes(stateBytes);
    if (!state.isConsistent()) return false;

    const DWORD wanted = 4 * static_cast<DWORD>(state.count);
    std::vector<unsigned char> bytes(wanted + 1);
    size = wanted;
    if (!key.getBinary(offsetsValue, bytes.data(), &size) || size != wanted) return false;
    offsets.resize(state.count);
    for (int32_t i = 0; i < state.count; ++i)
        offsets[i] = static_cast<int32_t>(getLittleEndian32(&bytes[4 * i]));
    return true;
}

TentryRead readIndexedEntry(const std::wstring& path, int32_t offset, TwordDef& entry) {
    TfileHolder file = openList(path);
    return file ? readIndexedEntryAt(file.get(), offset, entry) : TentryRead::failed;
}

// The entry at the stored rotation's position; state is what was stored.
TentryRead readStoredEntry(const std::wstring& path, Tregistry& key, TrotationState& state,
                           TwordDef& entry) {
    std::vector<int32_t> offsets;
    if (!readStoredIndex(key, state, offsets)) return TentryRead::stale;
    // An index without entries is unusable like any other: the list may have gained entries
    // under the same time. A list that truly has none fails after its one rebuild.
    if (state.count == 0) return TentryRead::stale;
    return readIndexedEntry(path, offsets[state.current], entry);
}

bool loadNext(const std::wstring& path, TwordDef& entry) {
    bool rebuilt = false;
    if (!isIndexCurrent(path)) {
        if (!buildIndex(path)) return false;
        rebuilt = true;
    }
    Tregistry key(programRootName, programSubkey, 0);
    TrotationState state;
    TentryRead read = readStoredEntry(path, key, state, entry);
    if (read == TentryRead::stale && !rebuilt) {
        if (!buildIndex(path)) return false;
        read = readStoredEntry(path, key, state, entry);
    }
    if (read != TentryRead::read) return false;
    if (advanceRotation(state)) return reshuffle(state.count);
    return storeState(key, state);
}

}  // namespace

void setOverLongListWarning(TwarningSink sink) { warningSink = sink ? sink : &showWarningBox; }

bool isIndexCurrent(const std::wstring& path) {
    FILETIME fileTime;
    if (!lastWriteTime(path, fileTime)) return false;
    Tregistry key(programRootName, programSubkey, 1);
    unsigned char stored[8];
    DWORD size = sizeof stored;
    if (!key.getBinary(modificationTimeValue, stored, &size) || size != sizeof stored) return false;
    FILETIME storedTime = fileTimeFromBytes(stored);
    return CompareFileTime(&storedTime, &fileTime) == 0;
}

// The time is taken before the scan: a list replaced while it is scanned then no longer matches
// the stored time, and the next load scans again instead of keeping the old offsets for good.
bool buildIndex(const std::wstring& path) {
    FILETIME fileTime;
    if (!lastWriteTime(path, fileTime)) return false;
    std::vector<int32_t> offsets;
    bool overLong = false;
    {
        TfileHolder file = openList(path);
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
    unsigned char timeBytes[8];
    fileTimeToBytes(fileTime, timeBytes);
    return key.setBinary(modificationTimeValue, timeBytes, sizeof timeBytes);
}

bool readEntry(const std::wstring& path, int32_t offset, TwordDef& entry) {
    return readIndexedEntry(path, offset, entry) == TentryRead::read;
}

bool reshuffle(int32_t count) {
    uint32_t startDraw = nextDraw();
    uint32_t strideDraw = nextDraw();
    TrotationState state = drawPass(count, startDraw, strideDraw);
    Tregistry key(programRootName, programSubkey, 0);
    return storeState(key, state);
}

// The boundary of the store: whatever runs out of memory in here ends as a failed load.
bool loadNextWord(const std::wstring& path, TwordDef& entry) {
    try {
        return loadNext(path, entry);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
