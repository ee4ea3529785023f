// The names people give the columns of a vocabulary sheet, in English, as flashcard programs and
// dictionaries call them.
#include "columnnames.h"

#include <string>

namespace {

const struct {
    const char* name;
    int TcolumnNames::*column;
} knownNames[] = {
    {"word", &TcolumnNames::word},          {"term", &TcolumnNames::word},
    {"front", &TcolumnNames::word},         {"headword", &TcolumnNames::word},
    {"vocabulary", &TcolumnNames::word},    {"definition", &TcolumnNames::definition},
    {"meaning", &TcolumnNames::definition}, {"back", &TcolumnNames::definition},
    {"gloss", &TcolumnNames::definition},   {"translation", &TcolumnNames::definition},
    {"example", &TcolumnNames::example},    {"example sentence", &TcolumnNames::example},
    {"sentence", &TcolumnNames::example},   {"usage", &TcolumnNames::example},
};

// The cell without the blanks around it, in lower case.
std::string cellName(const std::string& cell) {
    size_t first = cell.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    std::string name = cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

}  // namespace

bool readColumnNames(const Trecord& row, TcolumnNames& names) {
    names = TcolumnNames();
    if (!row.problem.empty()) return false;
    bool named = false;
    for (size_t i = 0; i < row.fields.size(); ++i) {
        std::string name = cellName(row.fields[i]);
        for (const auto& known : knownNames) {
            if (name != known.name) continue;
            int& column = names.*known.column;
            if (column == 0) column = static_cast<int>(i) + 1;
            named = true;
        }
    }
    return named;
}

// A word list's first word can be a column name too ("back", "front", "usage"): only a row of
// names alone, naming both columns a list cannot do without, is taken for column names.
bool isHeaderRow(const Trecord& row) {
    TcolumnNames names;
    if (!readColumnNames(row, names) || names.word == 0 || names.definition == 0) return false;
    for (const std::string& cell : row.fields) {
        std::string name = cellName(cell);
        bool known = name.empty();
        for (const auto& entry : knownNames) known = known || name == entry.name;
        if (!known) return false;
    }
    return true;
}
