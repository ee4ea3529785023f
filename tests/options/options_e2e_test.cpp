// The options dialog through the real Lexoria.exe on a shell of major version 4 or later: opened
// from its "&Options" button and driven from this process with window messages. The main window
// must not move or change its z-order while the dialog stores choices meant for the next start.
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

// The stored record as the dialog shows it (radio button checked and focused, check box), then
// what "OK" or "Cancel" leaves stored after a radio button is pressed (-1: all unchecked).
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
        auto checked = [&](int id) { return session.send(id, BM_GETCHECK) == BST_CHECKED; };
        for (int id = saved; id <= bottomRight; ++id) EXPECT_EQ(id == c.shown, checked(id)) << id;
        EXPECT_EQ(c.shownOnTop, checked(IDC_ALWAYS_ON_TOP));
        EXPECT_EQ(c.shown, session.focusId());
        if (c.press > 0) session.send(c.press, BM_CLICK);
        for (int id = saved; c.press < 0 && id <= bottomRight; ++id)
            session.send(id, BM_SETCHECK, BST_UNCHECKED);
        session.send(IDC_ALWAYS_ON_TOP, BM_SETCHECK, c.onTop ? BST_CHECKED : BST_UNCHECKED);
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

// The shell's Startup folder value, written in wide characters.
void setStartupFolder(const std::wstring& folder) {
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const DWORD size = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
    SHSetValueW(HKEY_CURRENT_USER, key, L"Startup", REG_SZ, folder.c_str(), size);
}

// The shell's own Startup folder, then one the code page spells only as "Lukasz", which is not it.
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
