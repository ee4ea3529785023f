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
const char* const returnQueueValue = "Again";
const char* const unrevealedValue = "Unrevealed";

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

// True when the list is there and the stored "Modification Time" is exactly its last-write time.
bool storedTimeMatches(Tregistry& key, const std::wstring& path) {
    FILETIME fileTime;
    if (!lastWriteTime(path, fileTime)) return false;
    unsigned char stored[8];
    DWORD size = sizeof stored;
    if (!key.getBinary(modificationTimeValue, stored, &size) || size != sizeof stored) return false;
    FILETIME storedTime = fileTimeFromBytes(stored);
    return CompareFileTime(&storedTime, &fileTime) == 0;
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

// The rotation's entry; number is its place in the index.
bool loadNext(const std::wstring& path, TwordDef& entry, int32_t& number) {
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
    number = state.current;
    if (advanceRotation(state)) return reshuffle(state.count);
    return storeState(key, state);
}

// Practice's supply on the registry and the list file, for one word: one key throughout, and
// the stored index read once.
class TstoredWordSupply : public TwordSupply {
public:
    explicit TstoredWordSupply(const std::wstring& listPath)
        : path(listPath), key(programRootName, programSubkey, 0) {}

    // As loadNextWord treats it, an index that does not fit the list, or that is unusable, or
    // without entries, is built anew, once.
    bool prepareIndex(int32_t& count) override {
        if (!storedTimeMatches(key, path) && !rebuild()) return false;
        if (!readIndex() && (rebuilt || !rebuild() || !readIndex())) return false;
        count = state.count;
        return true;
    }
    bool rotationEntry(TwordDef& entry, int32_t& number) override {
        TentryRead read = readIndexedEntry(path, offsets[state.current], entry);
        if (read == TentryRead::stale && !rebuilt) {
            if (!rebuild() || !readIndex()) return false;
            read = readIndexedEntry(path, offsets[state.current], entry);
        }
        if (read != TentryRead::read) return false;
        number = state.current;
        if (advanceRotation(state)) return reshuffle(state.count);
        return storeState(key, state);
    }
    bool numberedEntry(int32_t number, TwordDef& entry) override {
        return number >= 0 && number < state.count &&
               readIndexedEntry(path, offsets[number], entry) == TentryRead::read;
    }
    // The queue holds at most capacity pairs, so a longer value fails the read like another type.
    bool readQueue(std::vector<unsigned char>& bytes) override {
        bytes.assign(TreturnQueue::capacity * TreturnQueue::pairSize, 0);
        DWORD size = static_cast<DWORD>(bytes.size());
        if (!key.getBinary(returnQueueValue, bytes.data(), &size)) return false;
        bytes.resize(size);
        return true;
    }
    bool storeQueue(const std::vector<unsigned char>& bytes) override {
        return key.setBinary(returnQueueValue, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    int32_t takeUnrevealed() override {
        DWORD number = 0;
        const bool stored = key.getDword(unrevealedValue, &number);
        // A value of another type goes too: it could only mislead a later start.
        key.deleteValue(unrevealedValue);
        return stored ? static_cast<int32_t>(number) : -1;
    }

private:
    bool rebuild() {
        rebuilt = true;
        return buildIndex(path);
    }
    bool readIndex() { return readStoredIndex(key, state, offsets) && state.count > 0; }

    const std::wstring& path;
    Tregistry key;
    TrotationState state;
    std::vector<int32_t> offsets;
    bool rebuilt = false;
};

// The store's boundary for practice: whatever runs out of memory ends as a failed load.
template <typename Tresult, typename Tstep>
Tresult practiceStep(const std::wstring& path, Tresult failed, Tstep step) {
    try {
        TstoredWordSupply supply(path);
        return step(supply);
    } catch (const std::bad_alloc&) {
        return failed;
    }
}

}  // namespace

void setOverLongListWarning(TwarningSink sink) { warningSink = sink ? sink : &showWarningBox; }

bool isIndexCurrent(const std::wstring& path) {
    Tregistry key(programRootName, programSubkey, 1);
    return storedTimeMatches(key, path);
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
    // Missing values are no failure here: there is simply nothing to forget.
    key.deleteValue(returnQueueValue);
    key.deleteValue(unrevealedValue);
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
    int32_t number = 0;
    return loadNextWord(path, entry, number);
}

bool loadNextWord(const std::wstring& path, TwordDef& entry, int32_t& number) {
    try {
        return loadNext(path, entry, number);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool loadPracticeStartWord(const std::wstring& path, TwordDef& entry, int32_t& number) {
    return practiceStep(path, false, [&](TwordSupply& supply) {
        return practiceStartWord(supply, entry, number);
    });
}

bool loadPracticeNextWord(const std::wstring& path, TwordDef& entry, int32_t& number) {
    return practiceStep(path, false, [&](TwordSupply& supply) {
        return practiceNextWord(supply, entry, number);
    });
}

TagainResult loadPracticeAgainWord(const std::wstring& path, int32_t current, TwordDef& entry,
                                   int32_t& number) {
    return practiceStep(path, TagainResult::failed, [&](TwordSupply& supply) {
        return practiceAgain(supply, current, entry, number);
    });
}

bool storeUnrevealedWord(int32_t number) {
    Tregistry key(programRootName, programSubkey, 0);
    return key.setDword(unrevealedValue, static_cast<DWORD>(number));
}
