// What Lexoria.exe carries for each language, read from its resources as the tests expect to see
// it on the screen: a language's texts, and its dialog templates control by control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace languageTest {

// The program's string tables and dialog templates, read from a copy of Lexoria.exe loaded as
// data for as long as this lives.
class TprogramTexts {
public:
    TprogramTexts();
    ~TprogramTexts();
    TprogramTexts(const TprogramTexts&) = delete;
    TprogramTexts& operator=(const TprogramTexts&) = delete;

    // The language whose table has the tag; 0 when none has.
    LANGID languageOf(const std::string& tag) const;
    // Every language with a table, in the order of their tags.
    std::vector<LANGID> languagesByTag() const;
    // The text of that language; "" when it lacks it.
    std::wstring text(LANGID language, UINT id) const;

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
    // manager builds it; an empty dialog when the language has none.
    Tdialog dialog(LANGID language, int id) const;

private:
    HMODULE module = nullptr;
};

}  // namespace languageTest
