// The options dialog through Lexoria.exe on a shell of version 4 or later; the main window must not
// move or change its z-order while the dialog stores choices meant for the next start.
#include <gtest/gtest.h>

#include <memory>

#include "options/startupfolder.h"
#include "options_testing.h"
#include "resources/resource.h"

namespace {
using namespace lexoriaTest;
using optionsTest::ToptionsSession;
using Tbytes = std::vector<unsigned char>;

class ToptionsThroughProgram : public TwithoutProgramKey<> {
protected:
    TscratchFolder folder;
};

const int saved = IDC_POSITION_SAVED, centred = IDC_POSITION_CENTERED;
const int topLeft = IDC_POSITION_TOP_LEFT, topRight = IDC_POSITION_TOP_RIGHT;
const int bottomLeft = IDC_POSITION_BOTTOM_LEFT, bottomRight = IDC_POSITION_BOTTOM_RIGHT;

// The stored record as shown (radio checked and focused), and what OK or Cancel stores after a
// press (-1: all unchecked).
TEST_F(ToptionsThroughProgram, ShowsAndStoresTheRecord) {
    // clang-format off
    const struct { const char* name; Tbytes before; int shown; bool shownOnTop; int press;
                   bool onTop; int close; Tbytes after; } cases[] = {  // empty bytes: none stored
        {"nothing stored, OK", {}, centred, false, topRight, true, IDOK, startupRecord(3, 1, 0, 0)},
        {"nothing stored, Cancel", {}, centred, false, bottomLeft, true, IDCANCEL, {}},
        {"saved position kept", startupRecord(0, 1, -5, 300), saved, true, bottomRight, false, IDOK,
         startupRecord(5, 0, -5, 300)},
        {"Cancel keeps the record", startupRecord(4, 0, 1, 2), bottomLeft, false, topLeft, true,
         IDCANCEL, startupRecord(4, 0, 1, 2)},
        {"out of range shown centred", startupRecord(9, 2, 7, 8), centred, true, 0, true, IDOK,
         startupRecord(1, 1, 7, 8)},
        {"nothing checked stores 1", startupRecord(3, 0, 7, 8), topRight, false, -1, false, IDOK,
         startupRecord(1, 0, 7, 8)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        ASSERT_TRUE(c.before.empty() || setProgramValue("Startup", REG_BINARY, c.before.data(), 8));
        ToptionsSession session(folder);
        HWND dialog = session.dialog();
        ASSERT_TRUE(dialog);
        RECT mainRect, dialogRect, mainAfter;
        GetWindowRect(session.main, &mainRect);
        GetWindowRect(dialog, &dialogRect);
        const LONG mainStyle = GetWindowLongA(session.main, GWL_EXSTYLE);
        EXPECT_LE(std::abs(dialogRect.left + dialogRect.right - mainRect.left - mainRect.right), 1);
        EXPECT_LE(std::abs(dialogRect.top + dialogRect.bottom - mainRect.top - mainRect.bottom), 1);
        for (int id = saved; id <= bottomRight; ++id)
            EXPECT_EQ(id == c.shown, session.checked(id)) << id;
        EXPECT_EQ(c.shownOnTop, session.checked(IDC_ALWAYS_ON_TOP));
        EXPECT_EQ(c.shown, session.focusId());
        if (c.press > 0) session.send(c.press, BM_CLICK);
        for (int id = saved; c.press < 0 && id <= bottomRight; ++id) session.setCheck(id, false);
        session.setCheck(IDC_ALWAYS_ON_TOP, c.onTop);
        ASSERT_TRUE(session.closeWith(c.close));
        EXPECT_TRUE(session.noBox());
        Tbytes after;
        EXPECT_EQ(!c.after.empty(), getProgramValue("Startup", after));
        EXPECT_EQ(c.after, after);
        GetWindowRect(session.main, &mainAfter);
        EXPECT_TRUE(EqualRect(&mainRect, &mainAfter)) << "the running window does not move";
        EXPECT_EQ(mainStyle & WS_EX_TOPMOST,
                  GetWindowLongA(session.main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}

// The learning options as stored (none, a DWORD, another type), shown, and stored by OK or Cancel.
TEST_F(ToptionsThroughProgram, ShowsAndStoresTheLearningOptions) {
    struct Tvalue {
        DWORD type;
        Tbytes bytes;  // empty: no value
    };
    const Tvalue none = {REG_NONE, {}}, on = {REG_DWORD, {1, 0, 0, 0}},
                 off = {REG_DWORD, {0, 0, 0, 0}};
    const Tvalue two = {REG_DWORD, {2, 0, 0, 0}}, text = {REG_SZ, {'1', 0}};
    // clang-format off
    const struct { const char* name; Tvalue example, practice; bool shownExample, shownPractice;
                   bool setExample, setPractice; int close; Tvalue afterExample, afterPractice;
    } cases[] = {
        {"nothing stored, OK", none, none, false, false, true, false, IDOK, on, off},
        {"nothing stored, Cancel", none, none, false, false, true, true, IDCANCEL, none, none},
        {"both on, turned off", on, on, true, true, false, false, IDOK, off, off},
        {"any number is on", two, off, true, false, true, true, IDOK, on, on},
        {"another type is off", text, text, false, false, false, true, IDOK, off, on},
        {"Cancel keeps what was stored", two, text, true, false, false, true, IDCANCEL, two, text},
    };
    // clang-format on
    auto store = [](const char* name, const Tvalue& value) {
        return value.bytes.empty() ||
               setProgramValue(name, value.type, value.bytes.data(), DWORD(value.bytes.size()));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        ASSERT_TRUE(store("Show Example", c.example) && store("Practice", c.practice));
        ToptionsSession session(folder);
        ASSERT_TRUE(session.dialog());
        EXPECT_EQ(c.shownExample, session.checked(IDC_SHOW_EXAMPLE));
        EXPECT_EQ(c.shownPractice, session.checked(IDC_PRACTICE));
        EXPECT_EQ(IDC_POSITION_CENTERED, session.focusId()) << "the focus stays where it was";
        session.setCheck(IDC_SHOW_EXAMPLE, c.setExample);
        session.setCheck(IDC_PRACTICE, c.setPractice);
        ASSERT_TRUE(session.closeWith(c.close));
        EXPECT_TRUE(session.noBox());
        for (auto value : {std::make_pair("Show Example", c.afterExample),
                           std::make_pair("Practice", c.afterPractice)}) {
            Tbytes after;
            DWORD type = REG_NONE;
            EXPECT_EQ(!value.second.bytes.empty(), getProgramValue(value.first, after, &type));
            EXPECT_EQ(value.second.bytes, after) << value.first;
            EXPECT_EQ(value.second.type, type) << value.first;
        }
    }
}

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template: the older controls keep their places and tab order; the learning options and the
// language follow below the buttons.
TEST(OptionsTemplate, TheLearningOptionsAndTheLanguageFollowBelowTheButtons) {
    const auto program = programResources();
    ASSERT_NE(nullptr, program);
    HRSRC found = FindResourceA(program.get(), MAKEINTRESOURCEA(IDD_OPTIONS), RT_DIALOG);
    const auto* form =
        static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(program.get(), found)));
    ASSERT_NE(nullptr, form);
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), form, nullptr, ignoreMessages, 0);
    ASSERT_NE(nullptr, dialog);
    std::shared_ptr<void> destroy(nullptr, [&](void*) { DestroyWindow(dialog); });
    // clang-format off
    const struct { int id; RECT units; const char* caption; DWORD style; } controls[] = {
        {IDC_POSITION_SAVED, {10, 18, 80, 12}, "&Right Where I Left It", BS_AUTORADIOBUTTON | WS_GROUP},
        {IDC_POSITION_CENTERED, {10, 30, 80, 12}, "&Centered", BS_AUTORADIOBUTTON},
        {IDC_POSITION_TOP_LEFT, {95, 18, 80, 12}, "&Top Left", BS_AUTORADIOBUTTON},
        {IDC_POSITION_TOP_RIGHT, {95, 30, 80, 12}, "To&p Right", BS_AUTORADIOBUTTON},
        {IDC_POSITION_BOTTOM_LEFT, {180, 18, 80, 12}, "&Bottom Left", BS_AUTORADIOBUTTON},
        {IDC_POSITION_BOTTOM_RIGHT, {180, 30, 80, 12}, "Botto&m Right", BS_AUTORADIOBUTTON},
        {IDC_ALWAYS_ON_TOP, {10, 49, 60, 12}, "&Always On Top", BS_AUTOCHECKBOX | WS_GROUP},
        {IDC_STARTUP, {155, 50, 120, 14}, "&Startup", BS_PUSHBUTTON},
        {IDOK, {105, 71, 50, 14}, "OK", BS_DEFPUSHBUTTON | WS_GROUP},
        {IDCANCEL, {165, 71, 50, 14}, "Cancel", BS_PUSHBUTTON},
        {IDC_OPTIONS_HELP, {225, 71, 50, 14}, "&Help", BS_PUSHBUTTON},
        {IDC_SHOW_EXAMPLE, {10, 92, 265, 12}, "Show &Example Sentence", BS_AUTOCHECKBOX | WS_GROUP},
        {IDC_PRACTICE, {10, 104, 265, 12}, "Hide the &Definition Until I Ask", BS_AUTOCHECKBOX},
    };
    // clang-format on
    auto pixels = [&](RECT units) {
        RECT at = {units.left, units.top, units.left + units.right, units.top + units.bottom};
        MapDialogRect(dialog, &at);
        return at;
    };
    EXPECT_EQ("Options", windowText(dialog));
    EXPECT_EQ("Initial Window Position", windowText(GetWindow(dialog, GW_CHILD)));
    RECT client = {}, size = pixels({0, 0, 280, 142});
    GetClientRect(dialog, &client);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);
    HWND previous = nullptr;
    for (const auto& c : controls) {
        SCOPED_TRACE(c.caption);
        HWND control = GetDlgItem(dialog, c.id);
        ASSERT_NE(nullptr, control);
        RECT at = {}, expected = pixels(c.units);
        GetWindowRect(control, &at);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&at), 2);
        EXPECT_TRUE(EqualRect(&expected, &at));
        EXPECT_EQ(c.caption, windowText(control));
        const DWORD style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(c.style, style & (BS_TYPEMASK | WS_GROUP));
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_EQ(control, GetNextDlgTabItem(dialog, previous, FALSE)) << "in tab order";
        previous = control;
    }
    // The language's label and list last (their places inside the dialog: language_e2e_test).
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE);
    EXPECT_EQ("&Language:", windowText(GetDlgItem(dialog, IDC_LANGUAGE_LABEL)));
    EXPECT_EQ(CBS_DROPDOWNLIST, GetWindowLongA(list, GWL_STYLE) & 3);
    EXPECT_EQ(list, GetNextDlgTabItem(dialog, previous, FALSE)) << "in tab order";
}

void setStartupFolder(const std::wstring& folder) {
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const DWORD size = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
    SHSetValueW(HKEY_CURRENT_USER, key, L"Startup", REG_SZ, folder.c_str(), size);
}

// The shell's Startup folder, then one the code page spells only as "Lukasz", which is not it.
TEST_F(ToptionsThroughProgram, StartupButtonAddsThenRemovesTheShortcut) {
    std::wstring shellStartup;
    ASSERT_TRUE(getStartupFolder(shellStartup));
    const std::wstring polish = wideOf(folder.path()) + L"\\\u0141ukasz";
    ASSERT_TRUE(CreateDirectoryW(polish.c_str(), nullptr));
    std::shared_ptr<void> restore(nullptr, [&](void*) { setStartupFolder(shellStartup); });
    for (const std::wstring& startupFolder : {shellStartup, polish}) {
        setStartupFolder(startupFolder);
        const std::wstring shortcut = startupShortcutPath(startupFolder);
        DeleteFileW(shortcut.c_str());
        ToptionsSession session(folder);
        ASSERT_TRUE(session.dialog());
        EXPECT_EQ("Add to &Startup Folder", session.startupCaption());
        session.post(IDC_STARTUP);
        EXPECT_EQ("Lexoria has been added to the Startup Folder. | Lexoria", session.takeBox());
        EXPECT_TRUE(session.noBox());
        EXPECT_EQ("Remove from &Startup Folder", session.startupCaption());
        EXPECT_TRUE(
            checkLink(shortcut.c_str(), wideOf(folder.file("Lexoria.exe")).c_str(), "Lexoria"));
        session.post(IDC_STARTUP);
        EXPECT_EQ("Lexoria has been removed from the Startup Folder. | Lexoria", session.takeBox());
        EXPECT_TRUE(session.noBox());
        EXPECT_EQ("Add to &Startup Folder", session.startupCaption());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(shortcut.c_str()));
    }
}
}  // namespace
