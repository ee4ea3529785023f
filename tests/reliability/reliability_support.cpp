// Word lists, stored values and button presses for the reliability tests and the soak program.
#include "reliability/reliability_support.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace reliability {

using lexoria_test::LexoriaProcess;

std::string definitionOf(int number) { return "definition " + std::to_string(number); }

std::string wordList(int entries, int firstNumber) {
    std::string text;
    for (int i = firstNumber; i < firstNumber + entries; ++i) {
        std::string n = std::to_string(i);
        text += "word=word" + n + "\ndef=" + definitionOf(i) + "\nex=example " + n + "\n";
    }
    return text;
}

namespace {
using FileHolder = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

uint32_t littleEndian32(const unsigned char* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

void appendLittleEndian32(std::vector<unsigned char>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}
}  // namespace

std::vector<TwordDef> entriesOf(const std::string& path) {
    std::vector<TwordDef> entries;
    FileHolder file(std::fopen(path.c_str(), "rb"), &std::fclose);
    std::vector<int32_t> offsets;
    bool overLong = false;
    if (!file || !scanEntryOffsets(file.get(), offsets, overLong)) return entries;
    for (int32_t offset : offsets) {
        TwordDef entry;
        if (readEntryAt(file.get(), offset, entry)) entries.push_back(entry);
    }
    return entries;
}

bool contains(const std::vector<TwordDef>& entries, const std::string& definition) {
    for (const TwordDef& entry : entries)
        if (entry.definition == definition) return true;
    return false;
}

Tvalue binaryValue(const std::vector<unsigned char>& bytes) {
    Tvalue value;
    value.present = true;
    value.bytes = bytes;
    return value;
}

Tvalue readValue(const char* name) {
    Tvalue value;
    value.present = lexoria_test::getProgramValue(name, value.bytes, &value.type);
    if (!value.present) value.bytes.clear();
    return value;
}

bool writeValue(const char* name, const Tvalue& value) {
    if (!value.present) {
        lexoria_test::deleteProgramValue(name);
        return true;
    }
    return lexoria_test::setProgramValue(name, value.type, value.bytes.data(),
                                         static_cast<DWORD>(value.bytes.size()));
}

const char* const TstoredValues::names[count] = {"Offsets", "State", "Modification Time",
                                                 "Startup"};

Tvalue& TstoredValues::operator[](const char* name) {
    for (int i = 0; i < count; ++i)
        if (std::strcmp(names[i], name) == 0) return values[i];
    return values[0];
}

std::vector<unsigned char> stateBytes(const RotationState& state) {
    std::vector<unsigned char> bytes(RotationState::recordSize);
    state.toBytes(bytes.data());
    return bytes;
}

bool stateFrom(const Tvalue& value, RotationState& state) {
    if (!value.present || value.type != REG_BINARY || value.bytes.size() != RotationState::recordSize)
        return false;
    state.fromBytes(value.bytes.data());
    return true;
}

bool lastWriteTime(const std::string& path, FILETIME& time) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    time = found.ftLastWriteTime;
    return true;
}

bool touchLater(const std::string& path, int seconds) {
    FILETIME time;
    if (!lastWriteTime(path, time)) return false;
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
    time.dwLowDateTime = ticks.LowPart;
    time.dwHighDateTime = ticks.HighPart;
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool set = SetFileTime(file, nullptr, nullptr, &time) != 0;
    CloseHandle(file);
    return set;
}

TstoredValues intactValues(const std::string& listPath, const RotationState& state,
                           const std::vector<unsigned char>& startup) {
    TstoredValues stored;
    std::vector<unsigned char> offsets;
    {
        FileHolder file(std::fopen(listPath.c_str(), "rb"), &std::fclose);
        std::vector<int32_t> found;
        bool overLong = false;
        if (file && scanEntryOffsets(file.get(), found, overLong))
            for (int32_t offset : found) appendLittleEndian32(offsets, static_cast<uint32_t>(offset));
    }
    stored.values[offsetsIndex] = binaryValue(offsets);
    stored.values[stateIndex] = binaryValue(stateBytes(state));
    FILETIME time = {};
    lastWriteTime(listPath, time);
    std::vector<unsigned char> timeBytes;
    appendLittleEndian32(timeBytes, time.dwLowDateTime);
    appendLittleEndian32(timeBytes, time.dwHighDateTime);
    stored.values[timeIndex] = binaryValue(timeBytes);
    stored.values[startupIndex] = binaryValue(startup);
    return stored;
}

TstoredValues readAllValues() {
    TstoredValues stored;
    for (int i = 0; i < TstoredValues::count; ++i) stored.values[i] = readValue(TstoredValues::names[i]);
    return stored;
}

bool writeAllValues(const TstoredValues& stored) {
    bool written = true;
    for (int i = 0; i < TstoredValues::count; ++i)
        written = writeValue(TstoredValues::names[i], stored.values[i]) && written;
    return written;
}

const char* nameOf(Tresponse response) {
    switch (response) {
    case Tresponse::windowReady: return "window ready";
    case Tresponse::boxShown: return "message box";
    case Tresponse::exited: return "exited";
    case Tresponse::timedOut: return "timed out";
    }
    return "?";
}

HWND visibleBox(const LexoriaProcess& program) {
    for (HWND dialog : lexoria_test::dialogsOf(program.id()))
        if (IsWindowVisible(dialog)) return dialog;
    return nullptr;
}

namespace {
HWND readyMainWindow(const LexoriaProcess& program) {
    HWND window = FindWindowA("Lexoria", "Lexoria");
    DWORD owner = 0;
    if (window) GetWindowThreadProcessId(window, &owner);
    if (owner != program.id() || !IsWindowVisible(window)) return nullptr;
    return lexoria_test::paneText(window).empty() ? nullptr : window;
}
}  // namespace

Tresponse settleAfterStart(LexoriaProcess& program, HWND& mainWindow, DWORD timeoutMs) {
    Tresponse response = Tresponse::timedOut;
    mainWindow = nullptr;
    lexoria_test::waitUntil(
        [&] {
            if (visibleBox(program)) {
                response = Tresponse::boxShown;
            } else if ((mainWindow = readyMainWindow(program)) != nullptr) {
                response = Tresponse::windowReady;
            } else if (!program.running()) {
                response = Tresponse::exited;
            }
            return response != Tresponse::timedOut;
        },
        timeoutMs);
    return response;
}

TbuttonPress::TbuttonPress(HWND mainWindow, int id, DWORD timeoutMs)
    : button(GetDlgItem(mainWindow, id)), timeout(timeoutMs) {
    thread = CreateThread(nullptr, 0, &TbuttonPress::send, this, 0, nullptr);
}

TbuttonPress::~TbuttonPress() {
    if (!thread) return;
    WaitForSingleObject(thread, timeout + 5000);
    CloseHandle(thread);
}

DWORD WINAPI TbuttonPress::send(void* self) {
    auto* press = static_cast<TbuttonPress*>(self);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(press->button, BM_CLICK, 0, 0, SMTO_NORMAL, press->timeout, &result);
    return 0;
}

Tresponse TbuttonPress::settle(LexoriaProcess& program, DWORD timeoutMs) {
    if (!thread) return Tresponse::timedOut;
    Tresponse response = Tresponse::timedOut;
    lexoria_test::waitUntil(
        [&] {
            if (visibleBox(program)) {
                response = Tresponse::boxShown;
            } else if (!program.running()) {
                response = Tresponse::exited;
            } else if (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) {
                response = Tresponse::windowReady;
            }
            return response != Tresponse::timedOut;
        },
        timeoutMs);
    return response;
}

Tplacement placementOf(HWND window) {
    Tplacement placement = {};
    GetWindowRect(window, &placement.outer);
    placement.topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return placement;
}

}  // namespace reliability
