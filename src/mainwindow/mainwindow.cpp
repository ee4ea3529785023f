// The main window: creation (word list, fonts, size, placement, children), the title band,
// navigation keys for the pane, the button commands, practice (the word alone until "&Show",
// "A&gain"), the interface language (captions, their width, the mirrored layout of a language
// read right to left), saving the position at exit, and sizing everything again when the window
// moves to a monitor with another scaling.
#include "mainwindow/mainwindow.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "about/aboutdialog.h"
#include "language/interfacetext.h"
#include "language/languagechoice.h"
#include "mainwindow/layout.h"
#include "mainwindow/panekeys.h"
#include "mainwindow/richpane.h"
#include "mainwindow/wordband.h"
#include "options/optionsdialog.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settingsstore.h"
#include "vocab/displaytext.h"
#include "vocab/wordstore.h"
#include "win32/displaydpi.h"
#include "win32/gdiholders.h"
#include "help/helpviewer.h"
#include "win32/programpath.h"
#include "win32/shapedtext.h"

HINSTANCE programInstance = nullptr;
const char* const mainWindowName = "Lexoria";

namespace {

// Character heights of the three fonts, in pixels at 96 DPI.
const int buttonFontHeight = 13;
const int titleFontHeight = 26;
const int paneFontHeight = 20;
// The title band's shadow edges, and its face: the class brush's light grey, so the word's
// opaque text box blends in.
const COLORREF bandShadowColour = RGB(128, 128, 128);
const COLORREF bandFaceColour = RGB(192, 192, 192);
const COLORREF wordColour = RGB(0, 0, 0);

// Every caption the button row may show, practice's included.
const UINT rowCaptions[] = {IDS_EXIT,    IDS_NEXT_WORD, IDS_SHOW, IDS_AGAIN,
                            IDS_OPTIONS, IDS_HELP,      IDS_ABOUT};

// Everything the one main window owns, from its creation to the end of the process.
struct TmainWindowState {
    std::wstring wordListPath;
    TwordDef entry;
    TgdiObject<HFONT> buttonFont;
    TgdiObject<HFONT> titleFont;
    TgdiObject<HFONT> paneFont;
    SIZE titleExtent = {};
    // The DPI the fonts and the layout were made for.
    int dpi = standardDpi;
    HWND pane = nullptr;
    HWND band = nullptr;
    // Set once WM_CREATE has placed the window: a window that failed half-way still sits at
    // (0, 0) and must not overwrite the saved position with that.
    bool created = false;
    // Set while "Next Word" loads an entry. The over-long-list warning shown meanwhile has no
    // owner, so the window still takes clicks under it; another "Next Word" then would build the
    // index again inside the first build.
    bool loading = false;
    // The learning options as last read, and the word on screen: its place in the offset index,
    // and whether its definition shows, which it always does unless practice hides it.
    TlearningOptions learning;
    int32_t entryNumber = -1;
    bool revealed = true;
};

TmainWindowState state;

// Practice's buttons, and the row in the interface language (defined with the other children
// below).
void showPracticeButtons(HWND window);
void holdDefaultButton(HWND window);
void changeButtonRow(HWND window);
void relabelButtons(HWND window);
void fitWindowToCaptions(HWND window);

void showError(HWND owner, UINT text, const wchar_t* caption) {
    showMessage(owner, interfaceText(text), caption, MB_OK | MB_ICONERROR);
}

// A message that names the list shows its path exactly, whatever script its folders are named in.
void showPathError(HWND owner, UINT text) {
    showMessage(owner, interfaceText(text, {state.wordListPath}), L"Lexoria", MB_OK | MB_ICONERROR);
}

void showLoadFailure(HWND window) { showPathError(window, IDS_LIST_UNLOADABLE); }

// The list lies beside the program. Its path stays wide, so any folder name works.
bool findWordList(HWND window) {
    std::wstring folder;
    if (!programFolderW(folder)) {
        showError(nullptr, IDS_NO_MODULE_PATH, L"Lexoria");
        return false;
    }
    state.wordListPath = folder + L"lexoria.lst";
    if (GetFileAttributesW(state.wordListPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        showPathError(window, IDS_LIST_MISSING);
        return false;
    }
    return true;
}

HFONT makeFont(const wchar_t* face, int height, int weight) {
    return CreateFontW(scaledForDpi(height, state.dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

// The buttons speak the interface language, in a face that has its letters (Arial in English).
HFONT makeButtonFont() {
    return makeFont(interfaceText(IDS_BUTTON_FACE).c_str(), buttonFontHeight, FW_NORMAL);
}

// The fonts for the DPI in state.dpi. The old ones go only after the controls have been given
// the new ones.
void createFonts() {
    state.buttonFont.reset(makeButtonFont());
    state.titleFont.reset(makeFont(L"Times New Roman", titleFontHeight, FW_BOLD));
    state.paneFont.reset(makeFont(L"Times New Roman", paneFontHeight, FW_NORMAL));
}

// The widest caption the row may show, without its mark: shaped, and as plain text, which a
// button may measure to place it (wider for unjoined Arabic letters).
int widestCaption(HDC dc) {
    TselectedObject font(dc, state.buttonFont.get());
    int widest = 0;
    for (UINT id : rowCaptions) {
        const std::wstring text = withoutMnemonic(interfaceText(id));
        TshapedText shaped(dc, text);
        SIZE plain = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &plain);
        widest = std::max({widest, shaped.width(), static_cast<int>(plain.cx)});
    }
    return widest;
}

// The window is as wide as the alphabet in the wider of the two text fonts needs, or as the
// button row needs for its captions when that is wider; the title font's extent also gives the
// band its height. Fonts, margins and frames are all at state.dpi.
Tsize measureWindowSize() {
    TwindowDC screen(nullptr);
    SIZE paneExtent = {};
    {
        TselectedObject font(screen.get(), state.titleFont.get());
        GetTextExtentPoint32A(screen.get(), measuringText, measuringTextLength, &state.titleExtent);
        font.select(state.paneFont.get());
        GetTextExtentPoint32A(screen.get(), measuringText, measuringTextLength, &paneExtent);
    }
    const int rowWidth =
        captionRowWidth(widestCaption(screen.get()), state.learning.practice, state.dpi);
    return mainWindowSize(state.titleExtent.cx, paneExtent.cx,
                          systemMetricForDpi(SM_CXDLGFRAME, state.dpi),
                          systemMetricForDpi(SM_CYDLGFRAME, state.dpi), state.dpi, rowWidth);
}

Trect trectOf(const RECT& at) {
    return Trect{at.left, at.top, at.right - at.left, at.bottom - at.top};
}

// A monitor less its taskbars; without monitor information, the primary one's.
Trect workAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info)) return trectOf(info.rcWork);
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return trectOf(area);
}

Trect primaryWorkArea() {
    const POINT origin = {0, 0};
    return workAreaOf(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    reinterpret_cast<std::vector<Trect>*>(areas)->push_back(workAreaOf(monitor));
    return TRUE;
}

std::vector<Trect> allWorkAreas() {
    std::vector<Trect> areas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) areas.push_back(primaryWorkArea());
    return areas;
}

// A saved position stays on the monitor it was saved on, or the nearest one that is still there.
Tpoint savedPlace(const TwindowSettings& settings, Tsize size) {
    const RECT saved = {settings.savedLeft, settings.savedTop, settings.savedLeft + size.width,
                        settings.savedTop + size.height};
    return savedWindowPosition(settings,
                               workAreaOf(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST)), size);
}

// The other choices place the window on the primary monitor, where it was created.
void placeWindow(HWND window, const TwindowSettings& settings, Tsize size) {
    Tpoint at = settings.positionChoice == positionSaved
                    ? savedPlace(settings, size)
                    : mainWindowPosition(settings, primaryWorkArea(), size);
    bool onTop = settings.alwaysOnTop != 0;
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_TOP, at.x, at.y, size.width, size.height,
                 onTop ? 0 : SWP_NOZORDER);
}

// What the pane shows for the current entry: the one place that decides it. Nothing while
// practice hides the definition; the example after an empty line when it is chosen.
std::wstring paneContent() {
    if (!state.revealed) return std::wstring();
    std::wstring text = displayText(state.entry.definition, state.entry.encoding);
    if (state.learning.showExample && !state.entry.example.empty())
        text += L"\r\n\r\n" + displayText(state.entry.example, state.entry.encoding);
    return text;
}

// Gives the pane its content, from its top. Called only when what the pane shows changes: a
// definition of megabytes costs seconds to stream in, and each time a screen reader may speak.
void showPaneContent() {
    if (state.pane) fillPane(state.pane, paneContent());
}

TlearningOptions storedLearningOptions() {
    Tregistry key(programRootName, programSubkey, 1);
    return readLearningOptions(key);
}

// The start's word; in practice, the word left unrevealed at the last exit comes first, and every
// word comes hidden.
bool loadStartWord() {
    state.revealed = !state.learning.practice;
    if (!state.learning.practice)
        return loadNextWord(state.wordListPath, state.entry, state.entryNumber);
    return loadPracticeStartWord(state.wordListPath, state.entry, state.entryNumber);
}

// A language read right to left mirrors the window: its children stand right to left, "E&xit" at
// the right end. They are not mirrored themselves: the pane keeps a definition's own direction,
// and each caption reads in its own.
void mirrorForLanguage(HWND window) {
    const LONG_PTR mirrored = WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR wanted = interfaceReadsRightToLeft() ? style | mirrored : style & ~mirrored;
    if (wanted != style) SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
}

LRESULT onCreate(HWND window) {
    if (!findWordList(window)) return -1;
    Tregistry key(programRootName, programSubkey, 1);
    state.learning = readLearningOptions(key);
    if (!loadStartWord()) {
        showLoadFailure(window);
        return -1;
    }
    state.dpi = windowDpi(window);
    createFonts();
    Tsize size = measureWindowSize();
    // A missing or malformed record leaves the defaults: centred, not on top.
    TwindowSettings settings;
    readWindowSettings(key, settings);
    placeWindow(window, settings, size);
    mirrorForLanguage(window);
    createChildWindows(window);
    showPaneContent();
    if (state.learning.practice) showPracticeButtons(window);
    else SetFocus(GetDlgItem(window, IDC_EXIT));
    state.created = true;
    return 0;
}

// Where the window comes back when it is restored, on the screen: a minimised window is parked
// far off, and is saved where it will reappear.
RECT restoredRect(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    RECT outer = {};
    if (!GetWindowPlacement(window, &placement)) {
        GetWindowRect(window, &outer);
        return outer;
    }
    outer = placement.rcNormalPosition;
    const Tpoint corner = screenFromWorkspace(Tpoint{outer.left, outer.top}, primaryWorkArea());
    OffsetRect(&outer, corner.x - outer.left, corner.y - outer.top);
    return outer;
}

// The caption bar, frame included, of the window at that place.
bool captionReachableAt(const RECT& outer) {
    const int height =
        systemMetricForDpi(SM_CYDLGFRAME, state.dpi) + systemMetricForDpi(SM_CYCAPTION, state.dpi);
    const std::vector<Trect> areas = allWorkAreas();
    return captionReachable(Trect{outer.left, outer.top, outer.right - outer.left, height},
                            areas.data(), static_cast<int>(areas.size()));
}

void savePosition(HWND window) {
    Tregistry key(programRootName, programSubkey, 0);
    TwindowSettings settings;
    // Read afresh: the options dialog may have changed the choice during the run.
    if (!readWindowSettings(key, settings) || settings.positionChoice != positionSaved) return;
    const RECT outer = restoredRect(window);
    // A window whose caption is off every work area could not be dragged back: not kept.
    if (!captionReachableAt(outer)) return;
    settings.savedLeft = static_cast<int16_t>(outer.left);
    settings.savedTop = static_cast<int16_t>(outer.top);
    if (!writeWindowSettings(key, settings)) showError(window, IDS_SETTINGS_NOT_SAVED, L"WndProc");
}

// Every way the window ends comes here (Exit, Alt+F4, a failed load), so the help viewers close
// with it on each of them.
void onDestroy(HWND window) {
    quitHelp(window);
    if (state.created) savePosition(window);
    // The learner has not seen this word's definition: the next start shows it again.
    if (state.created && !state.revealed) storeUnrevealedWord(state.entryNumber);
    state.buttonFont.reset();
    state.titleFont.reset();
    state.paneFont.reset();
    PostQuitMessage(0);
}

void onSetFocus(HWND window) {
    if (state.learning.practice) holdDefaultButton(window);
    LRESULT defaultId = SendMessageA(window, DM_GETDEFID, 0, 0);
    int id = defaultId ? LOWORD(defaultId) : IDC_EXIT;
    SetFocus(GetDlgItem(window, id));
}

// The DC's state, clip region included, put back when the holder goes.
class TsavedDC {
public:
    explicit TsavedDC(HDC dc) : target(dc), saved(SaveDC(dc)) {}
    ~TsavedDC() {
        if (saved) RestoreDC(target, saved);
    }
    TsavedDC(const TsavedDC&) = delete;
    TsavedDC& operator=(const TsavedDC&) = delete;

private:
    HDC target;
    int saved;
};

void drawLine(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

std::wstring shownWord() { return displayText(state.entry.word, state.entry.encoding); }

// The word, centred in a sunken frame: grey top and left edges, white bottom and right. Drawn in
// the main window's coordinates.
void drawTitleBand(HWND window, HDC dc) {
    TgdiObject<HPEN> greyPen(CreatePen(PS_SOLID, 1, bandShadowColour));
    RECT client = {};
    GetClientRect(window, &client);
    TselectedObject font(dc, state.titleFont.get());
    TbandFrame band =
        titleBandFrame(Tsize{client.right, client.bottom}, state.titleExtent.cy, state.dpi);

    TselectedObject pen(dc, greyPen.get());
    drawLine(dc, band.left, band.top, band.left, band.bottom);
    drawLine(dc, band.left, band.top, band.right, band.top);
    pen.select(GetStockObject(WHITE_PEN));
    drawLine(dc, band.left, band.bottom, band.right, band.bottom);
    drawLine(dc, band.right, band.top, band.right, band.bottom);

    SetTextColor(dc, wordColour);
    SetBkColor(dc, bandFaceColour);
    // A word wider than the band is cut off at the inside of the frame, whose lines stay whole.
    TsavedDC clipped(dc);
    IntersectClipRect(dc, band.left + 1, band.top + 1, band.right, band.bottom);
    drawBandWord(dc, titleWordOrigin(band, state.dpi), shownWord());
}

// The band's window asks for its drawing: its face, then the frame and the word, moved into the
// main window's coordinates.
void onDrawItem(HWND window, const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_TITLE_BAND) return;
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    // The band spans the client's whole width, in a mirrored window too, where mapping its corner
    // gives the far edge: only its top is looked up.
    POINT corner = {0, 0};
    MapWindowPoints(item.hwndItem, window, &corner, 1);
    corner.x = 0;
    POINT previousOrigin = {};
    OffsetViewportOrgEx(item.hDC, -corner.x, -corner.y, &previousOrigin);
    drawTitleBand(window, item.hDC);
    SetViewportOrgEx(item.hDC, previousOrigin.x, previousOrigin.y, nullptr);
}

// The band draws itself. A repaint of the window's own area brings the pane back to its top by
// scrolling it there: the text is already in it.
void onPaint(HWND window) {
    RECT update;
    if (!GetUpdateRect(window, &update, FALSE)) return;
    TpaintSession paint(window);
    if (state.pane) scrollPaneToTop(state.pane);
}

void onKeyDown(WPARAM key) {
    uint32_t request = 0;
    if (state.pane && paneScrollRequest(static_cast<unsigned>(key), request))
        SendMessageA(state.pane, WM_VSCROLL, request, 0);
}

void exitProgram(HWND window) { DestroyWindow(window); }

// The word that follows: the rotation's next, or in practice a word coming back, after marking
// the one on screen to come back when "A&gain" asks.
TagainResult loadFollowingWord(bool again) {
    const std::wstring& path = state.wordListPath;
    if (!state.learning.practice)
        return loadNextWord(path, state.entry, state.entryNumber) ? TagainResult::moved
                                                                  : TagainResult::failed;
    if (again)
        return loadPracticeAgainWord(path, state.entryNumber, state.entry, state.entryNumber);
    return loadPracticeNextWord(path, state.entry, state.entryNumber) ? TagainResult::moved
                                                                      : TagainResult::failed;
}

void moveOn(HWND window, bool again) {
    if (state.loading) return;
    state.loading = true;
    const TagainResult result = loadFollowingWord(again);
    state.loading = false;
    if (result == TagainResult::full) {
        showMessage(window, interfaceText(IDS_QUEUE_FULL), L"Lexoria", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (result == TagainResult::failed) {
        showLoadFailure(window);
        DestroyWindow(window);
        return;
    }
    state.revealed = !state.learning.practice;
    // Only what changed is drawn again: the band's word and the pane's text.
    setBandWord(state.band, shownWord());
    showPaneContent();
    if (state.learning.practice) showPracticeButtons(window);
}

void revealDefinition(HWND window) {
    state.revealed = true;
    showPaneContent();
    showPracticeButtons(window);
}

// "&Show" while the definition is hidden, "&Next Word" once it shows.
void onSecondButton(HWND window) {
    if (state.revealed) moveOn(window, false);
    else revealDefinition(window);
}

// Only a definition the learner has seen can be sent back.
void onAgain(HWND window) {
    if (state.learning.practice && state.revealed) moveOn(window, true);
}

// A change of the learning options applies as the dialog closes: the example comes or goes for
// the word on screen; practice turned on hides from the next word on, and turned off shows the
// definition at once.
void applyLearningOptions(HWND window, const TlearningOptions& chosen) {
    if (chosen == state.learning) return;
    const std::wstring shown = paneContent();
    const bool practiceChanged = chosen.practice != state.learning.practice;
    state.learning = chosen;
    if (!chosen.practice) state.revealed = true;
    if (practiceChanged) changeButtonRow(window);
    if (paneContent() != shown) showPaneContent();
}

// A language chosen in the dialog applies as it closes: the captions in its words and face, the
// width they need, and the mirrored layout when it reads right to left. Nothing changes when the
// language is the one shown.
void applyInterfaceLanguage(HWND window) {
    std::string tag;
    {
        Tregistry key(programRootName, programSubkey, 1);
        tag = readLanguageTag(key);
    }
    const LANGID chosen = chooseInterfaceLanguage(tag);
    if (chosen == interfaceLanguage()) return;
    useInterfaceLanguage(chosen);
    mirrorForLanguage(window);
    // The old font goes once every button has the new one.
    TgdiObject<HFONT> oldButtonFont(state.buttonFont.release());
    state.buttonFont.reset(makeButtonFont());
    relabelButtons(window);
    fitWindowToCaptions(window);
}

void openOptions(HWND window) {
    interfaceDialogBox(window, IDD_OPTIONS, optionsDialogProc);
    applyLearningOptions(window, storedLearningOptions());
    applyInterfaceLanguage(window);
}

void openHelp(HWND window) { showHelpTopic(window, HELP_CONTEXT_MAIN); }

void openAbout(HWND window) { interfaceDialogBox(window, IDD_ABOUT, aboutDialogProc); }

// The whole wParam is compared, so only notifications with code 0 (clicks) are commands.
bool onCommand(HWND window, WPARAM command) {
    switch (command) {
    case IDC_EXIT:
    case IDCANCEL: exitProgram(window); return true;
    case IDC_OPTIONS: openOptions(window); return true;
    case IDC_HELP_BUTTON: openHelp(window); return true;
    case IDC_ABOUT: openAbout(window); return true;
    case IDC_NEXT_WORD: onSecondButton(window); return true;
    case IDC_AGAIN: onAgain(window); return true;
    default: return false;
    }
}

struct TbuttonLayout {
    UINT caption;
    int id;
    DWORD style;
    TbuttonSlot slot;
};

// Created left to right, which is also the tab order; "A&gain" only in practice.
const TbuttonLayout buttons[] = {
    {IDS_EXIT, IDC_EXIT, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, exitSlot},
    {IDS_NEXT_WORD, IDC_NEXT_WORD, WS_TABSTOP | BS_PUSHBUTTON, nextWordSlot},
    {IDS_AGAIN, IDC_AGAIN, WS_TABSTOP | BS_PUSHBUTTON, againSlot},
    {IDS_OPTIONS, IDC_OPTIONS, WS_TABSTOP | BS_PUSHBUTTON, optionsSlot},
    {IDS_HELP, IDC_HELP_BUTTON, WS_TABSTOP | BS_PUSHBUTTON, helpSlot},
    {IDS_ABOUT, IDC_ABOUT, WS_TABSTOP | BS_PUSHBUTTON, aboutSlot},
};

const TbuttonLayout& layoutOf(int id) {
    return *std::find_if(std::begin(buttons), std::end(buttons),
                         [id](const TbuttonLayout& button) { return button.id == id; });
}

Trect buttonPlace(Tsize client, TbuttonSlot slot) {
    return buttonRect(client, slot, state.dpi, state.learning.practice);
}

HWND createChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, const Trect& at) {
    return CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left,
                           at.top, at.width, at.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance,
                           nullptr);
}

void setFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Without the pane the window still works: title band and buttons, an empty area between.
void createDefinitionPane(HWND window, const Trect& at) {
    state.pane =
        createPaneWindow(window, WS_BORDER | WS_VSCROLL | WS_GROUP | ES_MULTILINE | ES_READONLY,
                         IDC_DEFINITION, at);
    if (!state.pane) {
        const std::wstring why = decimal(GetLastError());
        showMessage(nullptr, interfaceText(IDS_NO_PANE, {why}), L"createChildWindows", MB_OK);
        return;
    }
    setFont(state.pane, state.paneFont.get());
}

Tsize clientSize(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return Tsize{client.right, client.bottom};
}

void moveChild(HWND child, const Trect& at) {
    SetWindowPos(child, nullptr, at.left, at.top, at.width, at.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND createButton(HWND window, const TbuttonLayout& button, Tsize client) {
    HWND control = createChild(window, L"BUTTON", interfaceText(button.caption), button.style,
                               button.id, buttonPlace(client, button.slot));
    setFont(control, state.buttonFont.get());
    return control;
}

void layOutButtons(HWND window, Tsize client) {
    for (const TbuttonLayout& button : buttons) {
        HWND control = GetDlgItem(window, button.id);
        if (!control) continue;
        moveChild(control, buttonPlace(client, button.slot));
        setFont(control, state.buttonFont.get());
    }
}

// A new caption, announced as the button's name changes: the focused second button's caption
// tells a screen reader what pressing it does now.
void setCaption(HWND button, UINT id) {
    const std::wstring caption = interfaceText(id);
    wchar_t shown[64] = L"";
    GetWindowTextW(button, shown, 64);
    if (caption == shown) return;
    SetWindowTextW(button, caption.c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, button, OBJID_CLIENT, CHILDID_SELF);
}

// The default button: the second one in practice, "E&xit" otherwise. A Tab onto another button
// makes that one look like the default meanwhile; styles change only where they differ.
void holdDefaultButton(HWND window) {
    const int defaultId = state.learning.practice ? IDC_NEXT_WORD : IDC_EXIT;
    for (const TbuttonLayout& button : buttons) {
        HWND control = GetDlgItem(window, button.id);
        const LONG_PTR style = button.id == defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (control && (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) != style)
            SendMessageA(control, BM_SETSTYLE, static_cast<WPARAM>(style), TRUE);
    }
}

// In practice: the second button says what it does, "A&gain" works only on a definition that
// shows, and the second button is the default with the focus.
void showPracticeButtons(HWND window) {
    HWND second = GetDlgItem(window, IDC_NEXT_WORD);
    setCaption(second, state.revealed ? IDS_NEXT_WORD : IDS_SHOW);
    holdDefaultButton(window);
    SetFocus(second);
    EnableWindow(GetDlgItem(window, IDC_AGAIN), state.revealed);
}

// "A&gain" comes with practice, right after the second button in the tab order, which follows
// the order of the windows; without practice the row is the five buttons as ever.
void changeButtonRow(HWND window) {
    const Tsize client = clientSize(window);
    HWND again = GetDlgItem(window, IDC_AGAIN);
    if (!state.learning.practice && again) DestroyWindow(again);
    if (state.learning.practice && !again) {
        again = createButton(window, layoutOf(IDC_AGAIN), client);
        SetWindowPos(again, GetDlgItem(window, IDC_NEXT_WORD), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    fitWindowToCaptions(window);
    if (state.learning.practice) return showPracticeButtons(window);
    setCaption(GetDlgItem(window, IDC_NEXT_WORD), IDS_NEXT_WORD);
    holdDefaultButton(window);
    SetFocus(GetDlgItem(window, IDC_EXIT));
}

// Every button in the interface language and the button font; in practice the second one says
// what it does now.
void relabelButtons(HWND window) {
    for (const TbuttonLayout& button : buttons) {
        HWND control = GetDlgItem(window, button.id);
        if (!control) continue;
        setCaption(control, button.caption);
        setFont(control, state.buttonFont.get());
    }
    if (state.learning.practice)
        setCaption(GetDlgItem(window, IDC_NEXT_WORD), state.revealed ? IDS_NEXT_WORD : IDS_SHOW);
}

// The children again at the window's new size and DPI, with the new fonts.
void layOutChildren(HWND window) {
    const Tsize size = clientSize(window);
    if (state.pane) {
        moveChild(state.pane, definitionPaneRect(size, state.titleExtent.cy, state.dpi));
        setFont(state.pane, state.paneFont.get());
    }
    if (state.band) {
        // As createWordBand places it: the frame's rows across the whole client width.
        const TbandFrame frame = titleBandFrame(size, state.titleExtent.cy, state.dpi);
        moveChild(state.band, Trect{0, frame.top, size.width, frame.bottom - frame.top + 1});
    }
    layOutButtons(window, size);
}

// The window as wide as its captions need (or its alphabet, as ever) for the row it shows now, in
// the same place, and everything in it laid out and drawn again for that width.
void fitWindowToCaptions(HWND window) {
    const Tsize size = measureWindowSize();
    SetWindowPos(window, nullptr, 0, 0, size.width, size.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOutChildren(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The window moved to a monitor with another scaling: new fonts and layout for its DPI, in the
// place and at the size the system suggests, so the window neither jumps nor changes size twice.
void onDpiChanged(HWND window, WPARAM dpis, LPARAM suggested) {
    const RECT* at = reinterpret_cast<const RECT*>(suggested);
    if (!at || HIWORD(dpis) == 0) return;
    // Deleted on return, after every control has been given its new font.
    TgdiObject<HFONT> oldButtonFont(state.buttonFont.release());
    TgdiObject<HFONT> oldTitleFont(state.titleFont.release());
    TgdiObject<HFONT> oldPaneFont(state.paneFont.release());
    state.dpi = HIWORD(dpis);
    createFonts();
    measureWindowSize();
    SetWindowPos(window, nullptr, at->left, at->top, at->right - at->left, at->bottom - at->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    layOutChildren(window);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void createChildWindows(HWND window) {
    const Tsize size = clientSize(window);
    createDefinitionPane(window, definitionPaneRect(size, state.titleExtent.cy, state.dpi));
    for (const TbuttonLayout& button : buttons) {
        if (button.id == IDC_AGAIN && !state.learning.practice) continue;
        createButton(window, button, size);
    }
    state.band = createWordBand(window, IDC_TITLE_BAND,
                                titleBandFrame(size, state.titleExtent.cy, state.dpi), size.width,
                                shownWord());
}

HWND definitionPane() { return state.pane; }

namespace {
LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_DESTROY: onDestroy(window); return 0;
    case WM_SETFOCUS: onSetFocus(window); return 0;
    case WM_PAINT: onPaint(window); return 0;
    case WM_DRAWITEM: onDrawItem(window, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_KEYDOWN: onKeyDown(wParam); return 0;
    case WM_DPICHANGED: onDpiChanged(window, wParam, lParam); return 0;
    case DM_GETDEFID:
        // In practice the second button is the default; otherwise there is none, and the focus
        // goes to "E&xit".
        if (state.learning.practice) return MAKELRESULT(IDC_NEXT_WORD, DC_HASDEFID);
        break;
    case WM_NCCREATE: enableNonClientScaling(window); break;
    case WM_COMMAND:
        if (onCommand(window, wParam)) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// Nothing may unwind into the system's code: a window that ran out of memory while it was being
// created refuses its creation, and any other message is simply dropped.
LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        return message == WM_CREATE ? -1 : 0;
    }
}
