// An ANSI code page of UTF-8 (65001): the tool writes, checks and exports every letter, and the
// exact conversion asks WideCharToMultiByte only what Windows allows for UTF-8 (a strict stand-in
// in this program's import table enforces what Wine does not).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "codepage.h"
#include "delimited.h"
#include "support/lexoria_driver.h"
#include "vocab/displaytext.h"
#include "vocab/wordlist.h"
#include "win32/widetext.h"

using namespace lexoriaTest;

namespace {

using TwideToBytes = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
TwideToBytes systemWideToBytes = nullptr;
int refusedCalls = 0;

// Refuses for UTF-7 and UTF-8 (also as CP_ACP) what Windows does: a flag but WC_ERR_INVALID_CHARS
// (UTF-8 only), a default character, or a place to report its use.
int WINAPI strictWideToBytes(UINT codePage, DWORD flags, LPCWCH wide, int wideLength, LPSTR bytes,
                             int size, LPCCH defaultChar, LPBOOL usedDefault) {
    const UINT page = codePage == CP_ACP ? GetACP() : codePage;
    const DWORD errInvalidChars = 0x80;  // WC_ERR_INVALID_CHARS, which the headers for XP lack
    const DWORD allowed = page == CP_UTF8 ? errInvalidChars : 0;
    if ((page == CP_UTF8 || page == CP_UTF7) &&
        ((flags & ~allowed) != 0 || defaultChar || usedDefault)) {
        ++refusedCalls;
        SetLastError((flags & ~allowed) != 0 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
        return 0;
    }
    return systemWideToBytes(codePage, flags, wide, wideLength, bytes, size, defaultChar,
                             usedDefault);
}

void** importSlot(const char* name) {
    BYTE* const base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Puts the value in the import slot; the one it replaces is returned.
void* patchSlot(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    std::swap(*slot, value);
    VirtualProtect(slot, sizeof *slot, old, &old);
    return value;
}

std::wstring wide(const std::string& utf8) { return wideFrom(utf8, CP_UTF8); }

class Tutf8AnsiCodePage : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(65001u, GetACP()) << "the test's locale (LC_ALL) no longer gives Wine UTF-8";
    }
    int runTool(const std::vector<std::string>& arguments) {
        std::wstring line;
        for (const std::string& argument : arguments) line += L" \"" + wide(argument) + L"\"";
        TlexoriaProcess tool;
        return tool.start(wide(buildFolder()), L"lexoria-list.exe", line) ? tool.waitForExit(30000)
                                                                          : -1;
    }
    TscratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
};

// The exact conversion (the help path's, the shortcut's) and the tool's, without a refused call.
TEST_F(Tutf8AnsiCodePage, TheExactConversionSpellsEveryCharacterAndRefusesALoneSurrogate) {
    void** const slot = importSlot("WideCharToMultiByte");
    ASSERT_NE(nullptr, slot);
    systemWideToBytes = reinterpret_cast<TwideToBytes>(
        patchSlot(slot, reinterpret_cast<void*>(&strictWideToBytes)));
    const struct {
        const char* name;
        std::wstring text;
        UINT page;
        bool exact;
        std::string bytes;
    } cases[] = {
        {"every script, in the ANSI code page", L"\u0141\u00F3d\u017A \u65E5\u672C \U0001F600",
         CP_ACP, true, "\xC5\x81\xC3\xB3\x64\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
        {"the same in UTF-8 by number", L"\u0141", CP_UTF8, true, "\xC5\x81"},
        {"a lone surrogate", std::wstring(1, wchar_t(0xD800)), CP_ACP, false, ""},
        {"a page of its own still reports a loss", L"\u0141", 1252, false, ""},
        {"and spells what it has", L"\u00E9", 1252, true, "\xE9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = "sentinel";
        EXPECT_EQ(c.exact, exactBytesFrom(c.text, c.page, bytes));
        EXPECT_EQ(c.bytes, bytes);
    }
    std::string letters, problem;
    EXPECT_TRUE(TcodePage().fromUtf8("\xC5\x81\xC3\xB3\x64\xC5\xBA", letters, problem)) << problem;
    EXPECT_EQ("\xC5\x81\xC3\xB3\x64\xC5\xBA", letters);
    EXPECT_EQ(0, refusedCalls);
    patchSlot(slot, reinterpret_cast<void*>(systemWideToBytes));
}

// Word and definition of each entry as the window shows them, in UTF-8.
std::vector<std::string> shownEntries(const std::string& path) {
    std::vector<std::string> shown;
    TfileHolder file(std::fopen(path.c_str(), "rb"));
    std::vector<int32_t> offsets;
    bool overLong = false;
    EXPECT_TRUE(file && scanEntryOffsets(file.get(), offsets, overLong));
    for (int32_t offset : offsets) {
        TwordDef entry;
        EXPECT_TRUE(readEntryAt(file.get(), offset, entry));
        shown.push_back(bytesFrom(displayText(entry.word, entry.encoding), CP_UTF8));
        shown.push_back(bytesFrom(displayText(entry.definition, entry.encoding), CP_UTF8));
    }
    return shown;
}

// "--ansi" writes UTF-8 without the mark; it checks clean, shows as written, and exports as shown
// (a code-page byte that is no UTF-8 included).
TEST_F(Tutf8AnsiCodePage, TheToolWritesEveryLetterAndExportsWhatTheWindowShows) {
    const std::string csv = folder.file("in.csv");
    const std::string back = folder.file("back.csv");
    const std::string rows =
        "\xC5\x81\xC3\xB3\x64\xC5\xBA,miasto\r\n\xE6\x97\xA5\xE6\x9C\xAC,Japan\r\n"
        "caf\xC3\xA9,coffee\r\n";
    const std::string written =
        "word=\xC5\x81\xC3\xB3\x64\xC5\xBA\r\ndef=miasto\r\nword=\xE6\x97\xA5\xE6\x9C\xAC\r\n"
        "def=Japan\r\nword=caf\xC3\xA9\r\ndef=coffee\r\n";
    ASSERT_TRUE(writeFile(csv, rows));
    ASSERT_EQ(0, runTool({"import", "--ansi", csv, list}));
    EXPECT_EQ(written, readBytes(list));
    EXPECT_EQ(0, runTool({"check", list}));
    EXPECT_EQ((std::vector<std::string>{"\xC5\x81\xC3\xB3\x64\xC5\xBA", "miasto",
                                        "\xE6\x97\xA5\xE6\x9C\xAC", "Japan", "caf\xC3\xA9",
                                        "coffee"}),
              shownEntries(list));

    ASSERT_TRUE(writeFile(list, written + "word=na\xEFve\r\ndef=old\r\n"));
    ASSERT_EQ(0, runTool({"export", list, back}));
    std::vector<std::string> cells;
    const std::string exported = readBytes(back);
    for (const Trecord& record : splitRecords(exported.substr(3), ','))
        cells.insert(cells.end(), record.fields.begin(), record.fields.begin() + 2);
    EXPECT_EQ(std::vector<std::string>(cells.begin() + 2, cells.end()), shownEntries(list));
}

}  // namespace
