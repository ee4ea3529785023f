// Nothing planted beside the program is loaded. A stand-in of each library the program loads,
// itself or through the system libraries it loads, lies beside a copy of Lexoria.exe, and Wine
// searches as Windows does, program folder first. The program starts, shows an entry, opens its
// help, options and About box, and ends: no stand-in may have left its marker. Its static imports
// are read from the file too: only libraries that Windows always takes from the system folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

using namespace lexoriaTest;

namespace {

const char* const exeName = "lexplant.exe";
const char* const versionKey = "Software\\Wine\\AppDefaults\\lexplant.exe";

const char* const plantedNames[] = {"comctl32.dll", "riched32.dll", "riched20.dll", "msftedit.dll",
                                    "hhctrl.ocx",   "usp10.dll",    "oleacc.dll"};

// The libraries Windows loads from the system folder whatever the search order (KnownDLLs).
const std::set<std::string> knownLibraries = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                              "advapi32.dll", "shell32.dll",  "ole32.dll",
                                              "oleaut32.dll", "comdlg32.dll", "shlwapi.dll",
                                              "msvcrt.dll"};

uint32_t read32(const std::string& bytes, size_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24);
}
uint16_t read16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(read32(bytes, at) & 0xFFFF);
}

// The file offset of a relative virtual address, through the section that holds it; 0 if none.
size_t fileOffset(const std::string& exe, size_t sections, int count, uint32_t rva) {
    for (int i = 0; i < count; ++i) {
        const size_t section = sections + 40 * static_cast<size_t>(i);
        const uint32_t start = read32(exe, section + 12), size = read32(exe, section + 16);
        if (rva >= start && rva - start < size) return read32(exe, section + 20) + (rva - start);
    }
    return 0;
}

// The names in the import table of a PE file (32- or 64-bit), in lower case.
std::set<std::string> staticImports(const std::string& exe) {
    std::set<std::string> names;
    const size_t header = read32(exe, 0x3C), optional = header + 24;
    if (read32(exe, header) != 0x4550) return names;  // "PE\0\0"
    const int sectionCount = read16(exe, header + 6);
    const size_t sections = optional + read16(exe, header + 20);
    const bool wide = read16(exe, optional) == 0x20B;  // PE32+
    const uint32_t importRva = read32(exe, optional + (wide ? 112 : 96) + 8);
    size_t descriptor = fileOffset(exe, sections, sectionCount, importRva);
    for (; descriptor && read32(exe, descriptor + 12); descriptor += 20) {
        const size_t at = fileOffset(exe, sections, sectionCount, read32(exe, descriptor + 12));
        std::string name = exe.c_str() + std::min(at, exe.size());
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        names.insert(name);
    }
    return names;
}

TEST(PlantedLibraries, TheProgramImportsOnlyLibrariesWindowsTakesFromTheSystemFolder) {
    const std::string exe = readBytes(buildFolder() + "\\Lexoria.exe");
    ASSERT_NE(exe, "<missing>");
    const std::set<std::string> imports = staticImports(exe);
    EXPECT_TRUE(imports.count("kernel32.dll")) << "the import table was not read";
    for (const std::string& name : imports) EXPECT_TRUE(knownLibraries.count(name)) << name;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void closeDialog(TlexoriaProcess& lexoria, HWND main, int button) {
    clickButton(main, button);
    HWND dialog = lexoria.waitForDialog();
    ASSERT_TRUE(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
}

TEST(PlantedLibraries, NoneIsLoadedWhateverTheProgramDoes) {
    deleteProgramKey();
    TscratchFolder folder;
    TregistryString version(versionKey, "Version", "win10");  // the help in HTML Help
    ASSERT_TRUE(copyBuilt(folder, "Lexoria.exe", exeName) && copyBuilt(folder, "lexoria.lst") &&
                copyBuilt(folder, "lexoria.chm"));
    for (const char* name : plantedNames)
        ASSERT_TRUE(copyBuilt(folder, "planted_standin.dll", name)) << name;

    TlexoriaProcess lexoria;
    HWND main = lexoria.start(folder.path(), exeName) ? lexoria.waitForMainWindow() : nullptr;
    ASSERT_NE(main, nullptr);
    clickButton(main, IDC_HELP_BUTTON);
    EXPECT_TRUE(waitUntil([] { return FindWindowA("HH Parent", nullptr) != nullptr; }, 10000));
    closeDialog(lexoria, main, IDC_OPTIONS);
    closeDialog(lexoria, main, IDC_ABOUT);
    exitThroughButton(lexoria, main);

    for (const char* name : plantedNames)
        EXPECT_FALSE(exists(folder.file(std::string(name) + ".loaded"))) << name << " was loaded";
    deleteProgramKey();
}

}  // namespace
