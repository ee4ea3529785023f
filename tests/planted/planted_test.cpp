// Nothing planted beside the program is loaded. A stand-in of each library the program loads,
// itself or through the system libraries it loads, lies beside a copy of Lexoria.exe, and Wine
// searches as Windows does, program folder first. The program starts, shows an entry, opens its
// help, options and About box, and ends: no stand-in may have left its marker. Its static imports
// are read from the file too: only libraries that Windows always takes from the system folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbghelp.h>

#include <algorithm>
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

// The names in the import table of a PE file read as it lies on disk, in lower case.
std::set<std::string> staticImports(std::string exe) {
    std::set<std::string> names;
    void* base = exe.data();
    PIMAGE_NT_HEADERS headers = ImageNtHeader(base);
    ULONG size = 0;
    auto* descriptor = static_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        headers ? ImageDirectoryEntryToData(base, FALSE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size)
                : nullptr);
    for (; descriptor && descriptor->Name; ++descriptor) {
        const char* name =
            static_cast<const char*>(ImageRvaToVa(headers, base, descriptor->Name, nullptr));
        std::string lower = name ? name : "?";
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        names.insert(lower);
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
