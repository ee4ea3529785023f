// The options dialog on a shell of major version 4 or later, run on the test's thread and driven
// from a second one: the template, the stored record shown and stored, the "&Startup" button
// against Wine's real Startup folder, its failures, and the help call. Adding and removing the
// shortcut is tested through Lexoria.exe (options_e2e_test.cpp).
#include <gtest/gtest.h>

#include "options/startupfolder.h"
#include "options_testing.h"
#include "resources/resource.h"

namespace {
using namespace options_test;
using lexoria_test::getProgramValue;
using lexoria_test::setProgramValue;
using Bytes = std::vector<unsigned char>;
using Box = MessageBoxSeen;

const char* const addFolder = "Add to &Startup Folder";
const char* const removeFolder = "Remove from &Startup Folder";

Bytes record(int choice, int onTop, int left, int top) {
    auto lo = [](int v) { return static_cast<unsigned char>(v & 0xFF); };
    auto hi = [](int v) { return static_cast<unsigned char>((v >> 8) & 0xFF); };
    return {lo(choice), hi(choice), lo(onTop), hi(onTop), lo(left), hi(left), lo(top), hi(top)};
}

bool storedRecord(Bytes& bytes) {
    DWORD type = 0;
    return getProgramValue("Startup", bytes, &type) && type == REG_BINARY;
}

void expectBox(const Box& seen, const char* text, const char* caption, Box::Icon icon) {
    EXPECT_EQ(text, seen.text);
    EXPECT_EQ(caption, seen.caption) << text;
    EXPECT_EQ(icon, seen.icon) << text;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(shellMajorVersion(), 4u);
        lexoria_test::deleteProgramKey();
        ASSERT_TRUE(getStartupFolder(folder));
        shortcut = startupShortcutPath(folder);
        DeleteFileA(shortcut.c_str());
    }
    void TearDown() override {
        lexoria_test::deleteProgramKey();
        DeleteFileA(shortcut.c_str());
    }
    bool shortcutThere() { return GetFileAttributesA(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string folder, shortcut, program = thisProgram();
};

TEST_F(OptionsDialog, IsBuiltAsTheTemplateSays) {
    const struct {
        int id;
        const char* text;
        LONG style;  // button type and the group and tab stop flags
        RECT units;  // left, top, width, height in dialog units
    } controls[] = {
        {0xFFFF, "Initial Window Position", BS_GROUPBOX, {5, 5, 270, 40}},
        {2101, "&Right Where I Left It", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, {10, 18, 80, 12}},
        {2102, "&Centered", BS_AUTORADIOBUTTON | WS_TABSTOP, {10, 30, 80, 12}},
        {2103, "&Top Left", BS_AUTORADIOBUTTON | WS_TABSTOP, {95, 18, 80, 12}},
        {2104, "To&p Right", BS_AUTORADIOBUTTON | WS_TABSTOP, {95, 30, 80, 12}},
        {2105, "&Bottom Left", BS_AUTORADIOBUTTON | WS_TABSTOP, {180, 18, 80, 12}},
        {2106, "Botto&m Right", BS_AUTORADIOBUTTON | WS_TABSTOP, {180, 30, 80, 12}},
        {2107, "&Always On Top", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, {10, 49, 60, 12}},
        {2108, addFolder, BS_PUSHBUTTON | BS_CENTER | WS_TABSTOP, {155, 50, 120, 14}},
        {1, "OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, {105, 71, 50, 14}},
        {2, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, {165, 71, 50, 14}},
        {9, "&Help", BS_PUSHBUTTON | WS_TABSTOP, {225, 71, 50, 14}},
    };
    runOptionsDialog([&](OptionsDialogDriver& d) {
        HWND dialog = d.dialog();
        ASSERT_TRUE(dialog);
        EXPECT_EQ("Options", lexoria_test::windowText(dialog));
        const LONG style = GetWindowLongA(dialog, GWL_STYLE);
        EXPECT_EQ(WS_POPUP | WS_CAPTION, style & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
        RECT size = {0, 0, 280, 90}, client;
        MapDialogRect(dialog, &size);
        GetClientRect(dialog, &client);
        EXPECT_EQ(size.right, client.right);
        EXPECT_EQ(size.bottom, client.bottom);
        for (const auto& c : controls) {
            HWND control = GetDlgItem(dialog, c.id);
            ASSERT_TRUE(control) << c.id;
            char kind[32] = "";
            GetClassNameA(control, kind, sizeof kind);
            EXPECT_STRCASEEQ("Button", kind) << c.id;
            EXPECT_EQ(c.text, lexoria_test::windowText(control)) << c.id;
            const LONG mask = BS_TYPEMASK | BS_CENTER | WS_GROUP | WS_TABSTOP | WS_VISIBLE | WS_CHILD;
            EXPECT_EQ(c.style | WS_VISIBLE | WS_CHILD, GetWindowLongA(control, GWL_STYLE) & mask) << c.id;
            RECT expected = c.units;  // each of the four is converted on its own
            MapDialogRect(dialog, &expected);
            RECT actual;
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(expected.left, actual.left) << c.id;
            EXPECT_EQ(expected.top, actual.top) << c.id;
            EXPECT_EQ(expected.right, actual.right - actual.left) << c.id;
            EXPECT_EQ(expected.bottom, actual.bottom - actual.top) << c.id;
        }
    });
}

// The stored record as the dialog shows it: one radio button checked, with the focus, and the
// check box; anything that is not a valid record shows the defaults.
TEST_F(OptionsDialog, ShowsTheStoredRecord) {
    const struct {
        DWORD type;
        Bytes stored;  // empty with REG_NONE: nothing stored
        int radio;
        bool onTop;
    } cases[] = {
        {REG_NONE, {}, 2102, false},
        {REG_BINARY, record(0, 0, 10, 20), 2101, false},
        {REG_BINARY, record(1, 1, 0, 0), 2102, true},
        {REG_BINARY, record(2, 0, 0, 0), 2103, false},
        {REG_BINARY, record(3, 2, 0, 0), 2104, true},
        {REG_BINARY, record(4, 0, 0, 0), 2105, false},
        {REG_BINARY, record(5, 1, 0, 0), 2106, true},
        {REG_BINARY, record(6, 1, 0, 0), 2102, true},
        {REG_BINARY, record(-1, 0, 0, 0), 2102, false},
        {REG_BINARY, Bytes{3, 0, 1, 0, 0, 0, 0}, 2102, false},
        {REG_BINARY, Bytes{3, 0, 1, 0, 0, 0, 0, 0, 0}, 2102, false},
        {REG_DWORD, Bytes{3, 0, 1, 0}, 2102, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "radio " << c.radio << " size " << c.stored.size());
        lexoria_test::deleteProgramKey();
        if (c.type != REG_NONE) {
            ASSERT_TRUE(setProgramValue("Startup", c.type, c.stored.data(), static_cast<DWORD>(c.stored.size())));
        }
        runOptionsDialog([&](OptionsDialogDriver& d) {
            ASSERT_TRUE(d.dialog());
            for (int id = 2101; id <= 2106; ++id) EXPECT_EQ(id == c.radio, d.checked(id)) << id;
            EXPECT_EQ(c.onTop, d.checked(IDC_ALWAYS_ON_TOP));
            EXPECT_EQ(c.radio, d.focusId());
            EXPECT_EQ(addFolder, d.text(IDC_STARTUP));
        });
    }
}

// "OK" stores the checked button and the check box and keeps the saved position; "Cancel"
// stores nothing. Either way the dialog ends with 1.
TEST_F(OptionsDialog, StoresTheChoiceOnlyOnOk) {
    const struct {
        const char* name;
        Bytes before;  // empty: nothing stored
        int click;     // radio button to click; 0: none, -1: uncheck them all
        bool onTop;
        int close;
        Bytes after;  // empty: nothing stored
    } cases[] = {
        {"nothing stored", {}, 2104, true, IDOK, record(3, 1, 0, 0)},
        {"saved position kept", record(0, 1, -5, 300), 2106, false, IDOK, record(5, 0, -5, 300)},
        {"on top stored as 1", record(1, 2, 10, 20), 0, true, IDOK, record(1, 1, 10, 20)},
        {"right where I left it", record(2, 0, 7, 8), 2101, false, IDOK, record(0, 0, 7, 8)},
        {"nothing checked", record(2, 0, 7, 8), -1, false, IDOK, record(1, 0, 7, 8)},
        {"out of range shown centred", record(9, 0, 7, 8), 0, false, IDOK, record(1, 0, 7, 8)},
        {"cancel with nothing stored", {}, 2105, true, IDCANCEL, {}},
        {"cancel keeps the record", record(4, 0, 1, 2), 2103, true, IDCANCEL, record(4, 0, 1, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lexoria_test::deleteProgramKey();
        if (!c.before.empty()) {
            ASSERT_TRUE(setProgramValue("Startup", REG_BINARY, c.before.data(), 8));
        }
        bool ended = false;
        const INT_PTR result = runOptionsDialog([&](OptionsDialogDriver& d) {
            ASSERT_TRUE(d.dialog());
            if (c.click > 0) d.click(c.click);
            for (int id = 2101; c.click < 0 && id <= 2106; ++id) d.setChecked(id, false);
            d.setChecked(IDC_ALWAYS_ON_TOP, c.onTop);
            d.click(c.close);
            EXPECT_FALSE(d.boxShown());
            ended = d.ended();
        });
        EXPECT_TRUE(ended);
        EXPECT_EQ(1, result);
        Bytes after;
        EXPECT_EQ(!c.after.empty(), storedRecord(after));
        EXPECT_EQ(c.after, after);
    }
}

// A key that cannot be written: its parent is volatile, and a lasting key cannot live under it.
TEST_F(OptionsDialog, StaysOpenWhenTheRecordCannotBeStored) {
    const char* const parent = "SOFTWARE\\Fennwick Systems";
    lexoria_test::deleteProgramKey();
    HKEY key;
    RegDeleteKeyA(HKEY_CURRENT_USER, parent);
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, parent, 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, &disposition));
    RegCloseKey(key);
    ASSERT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition) << "other keys live under " << parent;
    runOptionsDialog([&](OptionsDialogDriver& d) {
        ASSERT_TRUE(d.dialog());
        d.click(2105);
        d.click(IDOK);
        expectBox(d.takeBox(), "Unable to save startup settings to registry", "optionsDialogProc", Box::error);
        EXPECT_FALSE(d.ended());
        EXPECT_TRUE(d.checked(2105));
    });
    RegDeleteKeyA(HKEY_CURRENT_USER, parent);
    Bytes after;
    EXPECT_FALSE(storedRecord(after));
}

// What is at the shortcut's path when the dialog opens decides the caption.
TEST_F(OptionsDialog, RecognisesOnlyTheProgramsShortcutAtOpening) {
    std::string lower = program;
    for (char& c : lower) c = static_cast<char>(tolower(c));
    const struct {
        const char* name;
        std::string description, target;
        const char* caption;
    } cases[] = {
        {"the program's", "Lexoria", program, removeFolder},
        {"target in other case", "Lexoria", lower, removeFolder},
        {"description in other case", "LEXORIA", program, addFolder},
        {"another target", "Lexoria", "C:\\windows\\notepad.exe", addFolder},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(createLink(shortcut.c_str(), c.target.c_str(), c.description.c_str()));
        runOptionsDialog([&](OptionsDialogDriver& d) {
            ASSERT_TRUE(d.dialog());
            EXPECT_EQ(c.caption, d.text(IDC_STARTUP)) << c.name;
            EXPECT_FALSE(d.boxShown()) << c.name;
        });
    }
}

TEST_F(OptionsDialog, ReportsAShortcutThatIsAlreadyGone) {
    ASSERT_TRUE(createLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    runOptionsDialog([&](OptionsDialogDriver& d) {
        ASSERT_TRUE(d.dialog());
        ASSERT_EQ(removeFolder, d.text(IDC_STARTUP));
        DeleteFileA(shortcut.c_str());
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Unable to delete Lexoria from startup folder.", "Lexoria Options Dialog", Box::error);
        EXPECT_EQ(removeFolder, d.text(IDC_STARTUP));
    });
    runOptionsDialog([&](OptionsDialogDriver& d) {
        ASSERT_TRUE(d.dialog());
        EXPECT_EQ(addFolder, d.text(IDC_STARTUP)) << "reopened after the shortcut went";
    });
}

TEST_F(OptionsDialog, ReportsAMissingStartupFolder) {
    RegistryValueGuard value(shellFoldersKey, "Startup");
    ASSERT_TRUE(value.remove());
    runOptionsDialog([&](OptionsDialogDriver& d) {
        expectBox(d.takeBox(), "Unable to determine name of startup folder.", "Lexoria Options Dialog", Box::error);
        ASSERT_TRUE(d.dialog());
        EXPECT_EQ("&Startup", d.text(IDC_STARTUP));
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Unable to determine name of startup folder.", "Lexoria Options Dialog", Box::error);
        EXPECT_EQ("&Startup", d.text(IDC_STARTUP));
    });
    EXPECT_FALSE(shortcutThere());
}

// Opens centred over its owner, kept on the screen.
TEST_F(OptionsDialog, OpensCentredOverItsOwner) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    enum Edge { centred, nearEdge, farEdge };
    const struct {
        RECT owner;
        Edge x, y;
    } cases[] = {
        {{200, 150, 800, 550}, centred, centred},
        {{-400, -300, 100, 100}, nearEdge, nearEdge},
        {{screenWidth - 100, screenHeight - 80, screenWidth + 400, screenHeight + 300}, farEdge, farEdge},
    };
    for (const auto& c : cases) {
        runOptionsDialog(c.owner, [&](OptionsDialogDriver& d) {
            ASSERT_TRUE(d.dialog());
            RECT dialog, owner;
            GetWindowRect(d.dialog(), &dialog);
            GetWindowRect(d.owner(), &owner);
            auto check = [](Edge edge, LONG low, LONG high, LONG ownerLow, LONG ownerHigh, LONG screen) {
                if (edge == nearEdge) return low == 0;
                if (edge == farEdge) return high == screen;
                return std::abs((low + high) - (ownerLow + ownerHigh)) <= 1;
            };
            EXPECT_TRUE(check(c.x, dialog.left, dialog.right, owner.left, owner.right, screenWidth)) << dialog.left;
            EXPECT_TRUE(check(c.y, dialog.top, dialog.bottom, owner.top, owner.bottom, screenHeight)) << dialog.top;
        });
    }
}

// A stand-in help viewer: the window the help call looks for, recording what it is sent.
struct HelpRequest {
    WORD command = 0;
    LONG context = 0;
    std::string file;
} helpSeen;

LRESULT CALLBACK helpViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const char*>(copy->lpData);
    // size, command, data, reserved, offset of the file name, offset of the data
    helpSeen.command = *reinterpret_cast<const WORD*>(bytes + 2);
    helpSeen.context = *reinterpret_cast<const LONG*>(bytes + 4);
    const WORD nameAt = *reinterpret_cast<const WORD*>(bytes + 12);
    helpSeen.file = nameAt ? bytes + nameAt : "";
    return TRUE;
}

TEST_F(OptionsDialog, HelpOpensTheOptionsTopic) {
    WNDCLASSA viewerClass = {};
    viewerClass.lpfnWndProc = helpViewerProc;
    viewerClass.hInstance = GetModuleHandleA(nullptr);
    viewerClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&viewerClass);
    HWND viewer = CreateWindowA("MS_WINHELP", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, viewerClass.hInstance, nullptr);
    ASSERT_TRUE(viewer);
    runOptionsDialog([&](OptionsDialogDriver& d) {
        ASSERT_TRUE(d.dialog());
        d.click(IDC_OPTIONS_HELP);
        EXPECT_FALSE(d.ended());
    });
    DestroyWindow(viewer);
    UnregisterClassA("MS_WINHELP", viewerClass.hInstance);
    EXPECT_EQ(HELP_CONTEXT, helpSeen.command);
    EXPECT_EQ(210, helpSeen.context);
    EXPECT_EQ("lexoria.hlp", helpSeen.file);
}
}  // namespace
