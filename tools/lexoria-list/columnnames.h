// Column names in the first row of a spreadsheet's export: the names that mean the word, the
// definition and the example.
#pragma once

#include "delimited.h"

class TcolumnNames {
public:
    int word = 0;  // the first column with such a name, counted from 1; 0 when none has one
    int definition = 0;
    int example = 0;
};

// True when a cell of the row, in any letter case and with blanks around it, is one of the names.
bool readColumnNames(const Trecord& row, TcolumnNames& names);

// True when the row is column names: every cell that is not empty is one, and they name both the
// word and the definition column.
bool isHeaderRow(const Trecord& row);
