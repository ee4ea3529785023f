// Lexoria.exe under each language's locale (LC_ALL; LEXORIA_TEST_LANGUAGE names the language
// expected): every caption the language's own and non-empty, each fitting its control as
// Uniscribe shapes it at 96 and 144 DPI, dialogs holding their controls; the mirrored Arabic
// window, a message box read wide, the "Language" value, and the options dialog relabelling.
#include <gtest/gtest.h>
#include <usp10.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "language/languagechoice.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "version.h"
#include "win32/gdiholders.h"

namespace {

using namespace lexoriaTest;

// The tag of the language this run's locale asks for ("de", "pt-BR" ...).
std::string expectedTag() {
    char tag[32] = "";
    GetEnvironmentVariableA("LEXORIA_TEST_LANGUAGE", tag, sizeof tag);
    return tag;
}

int scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

// Sent with a time-out: the program's thread may be busy, and a plain send would wait for ever.
LRESULT sendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

// ---- What Lexoria.exe carries for each language, read from its resources ----

HMODULE programModule() {
    static const TmoduleHolder module = programResources();
    return module.get();
}

// The text of that language; "" when it lacks it.
std::wstring programText(LANGID language, UINT id) {
    HMODULE module = programModule();
    HRSRC found =
        FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!found) return L"";
    const WCHAR* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
    const WCHAR* end = entry + SizeofResource(module, found) / sizeof(WCHAR);
    for (UINT skip = id % 16; skip > 0 && entry < end; --skip) entry += 1 + *entry;
    return entry < end ? std::wstring(entry + 1, *entry) : L"";
}

BOOL CALLBACK addLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<LANGID>*>(languages)->push_back(language);
    return TRUE;
}
// Every language with a table, in the order of their tags.
std::vector<LANGID> languagesByTag() {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(programModule(), MAKEINTRESOURCEW(6),
                           MAKEINTRESOURCEW(IDS_LANGUAGE_TAG / 16 + 1), addLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    std::sort(languages.begin(), languages.end(), [](LANGID a, LANGID b) {
        return programText(a, IDS_LANGUAGE_TAG) < programText(b, IDS_LANGUAGE_TAG);
    });
    return languages;
}
// The language whose table has the tag; 0 when none has.
LANGID languageOf(const std::string& tag) {
    for (LANGID language : languagesByTag())
        if (programText(language, IDS_LANGUAGE_TAG) == std::wstring(tag.begin(), tag.end()))
            return language;
    return 0;
}

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct Tcontrol {
    int id = 0;
    std::wstring text;
};
struct Tdialog {
    std::wstring caption;
    int pointSize = 0;
    LOGFONTW font = {};  // as the dialog manager makes it, at this process's DPI
    std::vector<Tcontrol> controls;
};
// The template with that id in the language, exactly (no English in its place), as the dialog
// manager builds it; no controls when the language has none.
Tdialog dialogOf(LANGID language, int id) {
    Tdialog dialog;
    HMODULE module = programModule();
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language);
    if (!found) return dialog;
    const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    // Built hidden: the style sits first in a DIALOG template, after 12 bytes in a DIALOGEX one.
    std::vector<BYTE> form(bytes, bytes + SizeofResource(module, found));
    const bool extended = reinterpret_cast<const WORD*>(form.data())[1] == 0xFFFF;
    reinterpret_cast<DWORD*>(form.data() + (extended ? 12 : 0))[0] &= ~WS_VISIBLE;
    HWND window =
        CreateDialogIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(form.data()),
                                   nullptr, ignoreMessages, 0);
    if (!window) return dialog;
    dialog.caption = windowTextW(window);
    GetObjectW(reinterpret_cast<HFONT>(sendTo(window, WM_GETFONT)), sizeof dialog.font,
               &dialog.font);
    TwindowDC screen(nullptr);
    dialog.pointSize =
        MulDiv(std::abs(dialog.font.lfHeight), 72, GetDeviceCaps(screen.get(), LOGPIXELSY));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        dialog.controls.push_back({static_cast<short>(GetDlgCtrlID(child)), windowTextW(child)});
    DestroyWindow(window);
    return dialog;
}

// ---- The windows as shown ----

// The width Uniscribe lays the text out in with the font, as the band shapes its word (-1 when
// it cannot), and the characters the face has no glyph for.
struct Tshaped {
    int width = 0;
    std::wstring missing;
};
Tshaped shaped(const LOGFONTW& description, const std::wstring& text) {
    Tshaped result;
    if (text.empty()) return result;
    TgdiObject<HFONT> font(CreateFontIndirectW(&description));
    TwindowDC screen(nullptr);
    TselectedObject selected(screen.get(), font.get());
    const int length = static_cast<int>(text.size());
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(screen.get(), text.c_str(), length, glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (int i = 0; i < length; ++i)
        if (glyphs[i] == 0xFFFF) result.missing += text[i];
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    result.width = -1;
    if (FAILED(ScriptStringAnalyse(screen.get(), text.c_str(), length, length * 3 / 2 + 16, -1,
                                   SSA_GLYPHS | SSA_FALLBACK | SSA_LINK, 0, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, &analysis)))
        return result;
    if (const SIZE* size = ScriptString_pSize(analysis)) result.width = size->cx;
    ScriptStringFree(&analysis);
    return result;
}

// Where a control's text goes: its width less the frame of a push button (edge and focus
// rectangle), the box of a check box or radio button, or the margins of a group box's caption.
int roomFor(HWND control, int dpi) {
    RECT client = {};
    GetClientRect(control, &client);
    const int width = client.right;
    wchar_t name[16] = L"";
    GetClassNameW(control, name, 16);
    if (std::wstring(name) != L"Button") return width;
    switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_GROUPBOX: return width - 2 * scaled(8, dpi);
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return width - scaled(13, dpi) - scaled(4, dpi);
    default: return width - 2 * (scaled(2, dpi) + 1);
    }
}

// The text shows whole in the control, in letters its face has.
void expectFits(HWND control, const std::wstring& caption, const LOGFONTW& font, int dpi) {
    const Tshaped text = shaped(font, withoutMnemonic(caption));
    EXPECT_LE(text.width, roomFor(control, dpi))
        << testing::PrintToString(caption) << " at " << dpi << " DPI";
    EXPECT_EQ(L"", text.missing) << testing::PrintToString(caption) << " in "
                                 << testing::PrintToString(font.lfFaceName);
}

RECT screenRect(HWND window) {
    RECT at = {};
    GetWindowRect(window, &at);
    return at;
}

// The dialog shows the template of the language, control by control, each text whole and each
// control inside the dialog's client area.
void expectDialogInLanguage(HWND dialog, LANGID language, int templateId, int dpi) {
    const Tdialog expected = dialogOf(language, templateId);
    ASSERT_FALSE(expected.controls.empty()) << "no template " << templateId;
    EXPECT_EQ(expected.caption, windowTextW(dialog));
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(expected.controls.size(), children.size());
    LOGFONTW font = expected.font;  // as the dialog manager makes it from the template
    font.lfHeight = -MulDiv(expected.pointSize, dpi, 72);
    RECT client = {};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (client.left > client.right) std::swap(client.left, client.right);  // mirrored
    for (size_t i = 0; i < children.size(); ++i) {
        const Tcontrol& control = expected.controls[i];
        SCOPED_TRACE(testing::Message() << "control " << control.id);
        EXPECT_EQ(control.id, static_cast<short>(GetDlgCtrlID(children[i])));
        const RECT at = screenRect(children[i]);
        EXPECT_TRUE(at.left >= client.left && at.top >= client.top && at.right <= client.right &&
                    at.bottom <= client.bottom);
        std::wstring caption = control.text;
        if (control.id == IDC_STARTUP) caption = programText(language, IDS_ADD_TO_FOLDER);
        if (control.id == IDC_PRODUCT_NAME) caption = L"Lexoria";
        if (control.id == IDC_VERSION) caption = L"" LEXORIA_VERSION;
        if (control.id == IDC_LANGUAGE) {
            // "Windows default" in the language, then every language in its own name, by tag.
            std::vector<std::wstring> items, names{programText(language, IDS_WINDOWS_DEFAULT)};
            for (LANGID carried : languagesByTag())
                names.push_back(programText(carried, IDS_LANGUAGE_NAME));
            RECT box = {};
            GetClientRect(children[i], &box);
            const int room = box.right - scaled(16, dpi) - 2 * scaled(2, dpi) - 2;
            for (WPARAM item = 0; item < WPARAM(sendTo(children[i], CB_GETCOUNT)); ++item) {
                wchar_t text[256] = L"";
                sendTo(children[i], CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
                items.push_back(text);
                EXPECT_LE(shaped(font, text).width, room) << testing::PrintToString(items.back());
            }
            EXPECT_EQ(names, items);
            continue;
        }
        const std::wstring shown = windowTextW(children[i]);
        EXPECT_EQ(caption, shown);
        EXPECT_TRUE(control.id == IDC_TITLE_BITMAP || !shown.empty());
        // English's older options controls keep their places whatever Wine's stand-in face
        // measures ("&Always On Top" needs two pixels more); the rest are measured.
        if (language != englishLanguageId || templateId != IDD_OPTIONS ||
            control.id >= IDC_SHOW_EXAMPLE)
            expectFits(children[i], shown, font, dpi);
    }
}

// The main window's buttons, left to right as the tab order has them, with their texts.
struct Tbutton {
    int id, text;
};
const Tbutton mainButtons[] = {{IDC_EXIT, IDS_EXIT},
                               {IDC_NEXT_WORD, IDS_NEXT_WORD},
                               {IDC_OPTIONS, IDS_OPTIONS},
                               {IDC_HELP_BUTTON, IDS_HELP},
                               {IDC_ABOUT, IDS_ABOUT}};

// The row as shown: the five buttons, or in practice six, the second saying "&Show" until the
// definition shows.
std::vector<Tbutton> shownButtons(HWND window) {
    std::vector<Tbutton> row(std::begin(mainButtons), std::end(mainButtons));
    if (!GetDlgItem(window, IDC_AGAIN)) return row;
    // "A&gain" is enabled only while the definition shows.
    if (!IsWindowEnabled(GetDlgItem(window, IDC_AGAIN))) row[1].text = IDS_SHOW;
    row.insert(row.begin() + 2, Tbutton{IDC_AGAIN, IDS_AGAIN});
    return row;
}

void expectMainWindowInLanguage(HWND window, LANGID language, int dpi) {
    LOGFONTW font = {};  // Arial's place taken by the language's face, 13 pixels at 96 DPI
    font.lfHeight = scaled(13, dpi);
    font.lfWeight = FW_NORMAL;
    programText(language, IDS_BUTTON_FACE).copy(font.lfFaceName, LF_FACESIZE - 1);
    for (const Tbutton& button : shownButtons(window)) {
        SCOPED_TRACE(testing::Message() << "button " << button.id);
        HWND control = GetDlgItem(window, button.id);
        ASSERT_NE(nullptr, control);
        const std::wstring shown = windowTextW(control);
        EXPECT_EQ(programText(language, button.text), shown);
        expectFits(control, shown, font, dpi);
    }
}

// Opens a dialog from its button and hands it to the check; closes it with the command given.
void withDialog(TlexoriaProcess& run, HWND window, int button,
                const std::function<void(HWND)>& check, int closeWith = IDCANCEL) {
    clickButton(window, button);
    HWND dialog = run.waitForDialog(5000);
    ASSERT_NE(nullptr, dialog) << button;
    check(dialog);
    PostMessageA(dialog, WM_COMMAND, closeWith, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
}

// Mirrored or not: the window's layout, and "E&xit" at the right end of the row or the left.
void expectRowDirection(HWND window, bool rightToLeft) {
    EXPECT_EQ(rightToLeft, (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
    const RECT exit = screenRect(GetDlgItem(window, IDC_EXIT));
    for (const Tbutton& button : mainButtons) {
        if (button.id == IDC_EXIT) continue;
        EXPECT_EQ(rightToLeft, screenRect(GetDlgItem(window, button.id)).right <= exit.left)
            << button.id;
    }
}

class TlanguageRun : public TprogramRun<> {
protected:
    void SetUp() override {
        TprogramRun::SetUp();
        useList(wordList(3));
        language = languageOf(expectedTag());
        ASSERT_NE(0, language) << "no language " << expectedTag();
    }
    LANGID language = 0;
};

// In practice the row holds six buttons, the second saying "&Show" and then "&Next Word".
TEST_F(TlanguageRun, EveryCaptionIsTheLanguagesOwnAndFitsAt96And144Dpi) {
    for (int dpi : {96, 144})
        for (DWORD practice : {0, 1}) {
            SCOPED_TRACE(testing::Message() << dpi << " DPI, practice " << practice);
            ASSERT_TRUE(setProgramValue("Practice", REG_DWORD, &practice, sizeof practice));
            TlogPixels pixels(dpi);
            TlexoriaProcess run;
            // In practice the pane stays empty until "Show": the band has its word first.
            HWND window = run.start(folder.path()) ? run.waitForWordWindow() : nullptr;
            ASSERT_NE(nullptr, window);
            expectMainWindowInLanguage(window, language, dpi);
            if (practice) {
                clickButton(window, IDC_NEXT_WORD);
                ASSERT_TRUE(
                    waitUntil([&] { return IsWindowEnabled(GetDlgItem(window, IDC_AGAIN)); }));
                expectMainWindowInLanguage(window, language, dpi);
            } else {
                for (int templateId : {IDD_OPTIONS, IDD_ABOUT})
                    withDialog(run, window, templateId == IDD_OPTIONS ? IDC_OPTIONS : IDC_ABOUT,
                               [&](HWND dialog) {
                                   expectDialogInLanguage(dialog, language, templateId, dpi);
                               });
            }
            exitThroughButton(run, window);
        }
}

// The message names the list's path as it is, in the language's words, read back wide. (Wine
// keeps nothing of MB_RTLREADING and MB_RIGHT in the box, and mirrors every box of its own accord
// under a locale read right to left, so how an Arabic box reads is not checked here.)
TEST_F(TlanguageRun, MessageBoxReadsInTheLanguage) {
    ASSERT_TRUE(DeleteFileA(listFile().c_str()));
    TlexoriaProcess run;
    ASSERT_TRUE(run.start(folder.path()));
    HWND box = run.waitForDialog();
    ASSERT_NE(nullptr, box);
    const std::wstring text =
        fillParts(programText(language, IDS_LIST_MISSING), {wideOf(listFile())});
    EXPECT_EQ(text, messageBoxTextW(box));
    EXPECT_EQ(L"Lexoria", windowTextW(box));
    pressOk(box);
    EXPECT_EQ(0, run.waitForExit());
}

// ---- The "Language" value ----

// The program's own English texts, which English must show byte for byte whatever the locale.
const char* const englishButtons[] = {"E&xit", "&Next Word", "&Options", "&Help", "&About"};
// "en" under a German locale gives the program's English texts, "de" under an English one
// German, and a tag the program does not carry, like none, the locale's language.
TEST_F(TlanguageRun, LanguageValueChoosesOverTheDisplayLanguage) {
    if (expectedTag() != "en" && expectedTag() != "de") GTEST_SKIP() << "for en and de only";
    const struct {
        const char* stored;
        std::string shown;
    } cases[] = {{"en", "en"}, {"de", "de"}, {"xx", expectedTag()}, {"", expectedTag()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(setProgramValue("Language", REG_SZ, c.stored, DWORD(strlen(c.stored) + 1)));
        TlexoriaProcess run;
        HWND window = start(run);
        ASSERT_NE(nullptr, window);
        expectMainWindowInLanguage(window, languageOf(c.shown), 96);
        if (c.shown == "en") {
            for (size_t i = 0; i < std::size(mainButtons); ++i)
                EXPECT_EQ(englishButtons[i], windowText(GetDlgItem(window, mainButtons[i].id)));
            withDialog(run, window, IDC_OPTIONS, [&](HWND dialog) {
                expectDialogInLanguage(dialog, languageOf("en"), IDD_OPTIONS, 96);
            });
        }
        exitThroughButton(run, window);
    }
}

// ---- Right to left ----

// The horizontal middle of the dark pixels in a part of the screen; -1 when there are none.
int inkCentre(const RECT& part) {
    TwindowDC screen(nullptr);
    int left = part.right, right = part.left - 1;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) {
            const COLORREF c = GetPixel(screen.get(), x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96)
                left = std::min(left, x), right = std::max(right, x);
        }
    return right < left ? -1 : (left + right) / 2;
}

// The window and both dialogs are mirrored, "E&xit" stands at the right end of the row, the
// band still centres its word, and the pane keeps the definition's own direction.
TEST_F(TlanguageRun, ArabicMirrorsTheWindowAndItsDialogs) {
    if (expectedTag() != "ar") GTEST_SKIP() << "for Arabic only";
    TlexoriaProcess run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    expectRowDirection(window, true);
    RECT inside = screenRect(GetDlgItem(window, IDC_TITLE_BAND));
    InflateRect(&inside, -scaled(10, 96), -2);
    EXPECT_TRUE(waitUntil([&] { return inkCentre(inside) >= 0; }));
    EXPECT_NEAR((inside.left + inside.right) / 2, inkCentre(inside), 2);
    HWND pane = GetDlgItem(window, IDC_DEFINITION);
    EXPECT_EQ(0, GetWindowLongW(pane, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING));
    for (int button : {IDC_OPTIONS, IDC_ABOUT})
        withDialog(run, window, button, [&](HWND dialog) {
            EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << button;
        });
    exitThroughButton(run, window);
}

// ---- A language chosen in the options dialog ----

std::string storedLanguage() {
    std::vector<unsigned char> bytes;
    if (!getProgramValue("Language", bytes)) return "<none>";
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

// OK relabels the running window at once, in the language's width and direction; Cancel changes
// nothing.
TEST_F(TlanguageRun, LanguageChosenInOptionsRelabelsTheRunningWindow) {
    if (expectedTag() != "en") GTEST_SKIP() << "for en only";
    TlexoriaProcess run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    const struct {
        const char* chosen;
        int closeWith;
        std::string shown, stored;
    } steps[] = {{"de", IDOK, "de", "de"}, {"", IDOK, "en", ""},     {"ja", IDCANCEL, "en", ""},
                 {"ar", IDOK, "ar", "ar"}, {"ja", IDOK, "ja", "ja"}, {"", IDOK, "en", ""}};
    const std::vector<LANGID> languages = languagesByTag();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.chosen + std::string(step.closeWith == IDOK ? " OK" : " Cancel"));
        // The item of the tag, after "Windows default" ("").
        const WPARAM item =
            *step.chosen ? std::find(languages.begin(), languages.end(), languageOf(step.chosen)) -
                               languages.begin() + 1
                         : 0;
        withDialog(
            run, window, IDC_OPTIONS,
            [&](HWND dialog) { sendTo(GetDlgItem(dialog, IDC_LANGUAGE), CB_SETCURSEL, item); },
            step.closeWith);
        ASSERT_TRUE(drainPosted(window));
        expectMainWindowInLanguage(window, languageOf(step.shown), 96);
        EXPECT_EQ(step.stored, storedLanguage());
        expectRowDirection(window, step.shown == "ar");
    }
    exitThroughButton(run, window);
}

}  // namespace
