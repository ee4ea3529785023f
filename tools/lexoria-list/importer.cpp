// Importing: read the input, split it into rows, map the columns, turn each row into an entry,
// then write the list beside its target, read it back with the program's reader, and only then
// put it in place.
#include "importer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/pendingoutput.h"
#include "base/platformfiles.h"
#include "checker.h"
#include "codepage.h"
#include "columnnames.h"
#include "delimited.h"
#include "fileio.h"
#include "html.h"
#include "listtext.h"
#include "listwriter.h"
#include "utf8text.h"
#include "base/textcompare.h"
#include "base/wholefile.h"
#include "vocab/wordlist.h"

namespace {

class Tsource {
public:
    std::vector<Trecord> records;
    bool anki = false;
    bool html = false;
    std::vector<int> metadataColumns;
};

class Tcolumns {
public:
    int word = 0;
    int definition = 0;
    int example = 0;  // 0 for none
};

std::string extensionOf(const std::string& path) {
    size_t dot = path.rfind('.');
    size_t folder = path.find_last_of("/\\");
    if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return "";
    return loweredAscii(path.substr(dot));
}

TinputFormat guessFormat(const std::string& path, const std::string& text) {
    if (hasAnkiHeader(text)) return TinputFormat::anki;
    std::string extension = extensionOf(path);
    if (extension == ".csv") return TinputFormat::csv;
    if (extension == ".tsv" || extension == ".tab") return TinputFormat::tsv;
    std::string firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find('\t') != std::string::npos) return TinputFormat::tsv;
    if (firstLine.find(',') != std::string::npos) return TinputFormat::csv;
    return TinputFormat::guess;
}

bool loadSource(const TimportOptions& options, Tsource& source, std::string& problem) {
    std::string text;
    if (readWholeFile(options.input, text) != TwholeFileRead::read) {
        problem = "cannot read " + shownPath(options.input);
        return false;
    }
    if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) {
        problem = shownPath(options.input) + " is UTF-16 text; save it as UTF-8 or ANSI text first";
        return false;
    }
    if (text.compare(0, byteOrderMarkSize, byteOrderMark) == 0) text.erase(0, byteOrderMarkSize);
    TinputFormat format = options.format;
    if (format == TinputFormat::guess) format = guessFormat(options.input, text);
    switch (format) {
    case TinputFormat::csv: source.records = splitRecords(text, ','); return true;
    case TinputFormat::tsv: source.records = splitRecords(text, '\t'); return true;
    case TinputFormat::anki: {
        TankiHeader header;
        if (!readAnkiHeader(text, header, problem)) {
            problem = shownPath(options.input) + ": " + problem;
            return false;
        }
        source.records =
            splitRecords(text.substr(header.dataStart), header.separator, header.dataLine);
        source.anki = true;
        source.html = header.html;
        source.metadataColumns = header.metadataColumns;
        return true;
    }
    case TinputFormat::guess: break;
    }
    problem = "cannot tell the format of " + shownPath(options.input) +
              "; give --format csv, tsv or anki";
    return false;
}

// A first row of column names is taken as such, unless --no-header makes it data;
// the columns it names count as given where the command line gives none. True when it names any.
// An Anki export names no columns in its notes (a tag "vocabulary" is no name), only in --header.
bool applyColumnNames(const Tsource& source, TimportOptions& options) {
    TcolumnNames names;
    bool mayName = options.header || (!options.noHeader && !source.anki);
    if (!mayName || source.records.empty()) return false;
    const Trecord& first = source.records.front();
    if (!(options.header || isHeaderRow(first)) || !readColumnNames(first, names)) return false;
    auto take = [&options](int named, int& given) {
        bool givenElsewhere = named == options.wordColumn || named == options.definitionColumn ||
                              named == options.exampleColumn;
        if (given < 0 && named > 0 && !givenElsewhere) given = named;
    };
    take(names.word, options.wordColumn);
    take(names.definition, options.definitionColumn);
    take(names.example, options.exampleColumn);
    return true;
}

// Columns not given take, in order, the columns that are neither given nor Anki's metadata.
bool chooseColumns(const TimportOptions& options, const Tsource& source, Tcolumns& columns,
                   std::string& problem) {
    size_t widest = 0;
    for (const Trecord& record : source.records) widest = std::max(widest, record.fields.size());
    std::vector<int> taken = source.metadataColumns;
    for (int given : {options.wordColumn, options.definitionColumn, options.exampleColumn}) {
        if (given > 0) taken.push_back(given);
    }
    std::vector<int> free;
    for (int column = 1; column <= static_cast<int>(widest); ++column) {
        if (std::find(taken.begin(), taken.end(), column) == taken.end()) free.push_back(column);
    }
    size_t next = 0;
    auto pick = [&](int given, bool optional) {
        if (given >= 0) return given;
        if (next < free.size()) return free[next++];
        // Past the free columns: the next columns beyond the widest row, which no row has.
        if (optional) return 0;
        return static_cast<int>(widest) + 1 + static_cast<int>(next++ - free.size());
    };
    columns.word = pick(options.wordColumn, false);
    columns.definition = pick(options.definitionColumn, false);
    columns.example = pick(options.exampleColumn, true);
    if (columns.word < 1 || columns.definition < 1 || columns.word == columns.definition ||
        (columns.example > 0 &&
         (columns.example == columns.word || columns.example == columns.definition))) {
        problem = "the word, definition and example need different columns, counted from 1";
        return false;
    }
    return true;
}

// Reads the rows of the input and decides which column holds what; the column names go.
bool readRows(const TimportOptions& options, Tsource& source, Tcolumns& columns, bool& namedColumns,
              std::string& problem) {
    if (!loadSource(options, source, problem)) return false;
    TimportOptions chosen = options;
    namedColumns = applyColumnNames(source, chosen);
    if (!chooseColumns(chosen, source, columns, problem)) return false;
    if ((options.header || namedColumns) && !source.records.empty()) {
        source.records.erase(source.records.begin());
    }
    return true;
}

// How the list is written: in UTF-8 with the mark, or in a code page. A field that is not valid
// UTF-8 is text in the page; each field is judged alone, so that one such byte does not turn the
// conversion off for the rest of the input.
class Tconversion {
public:
    bool html = false;
    bool utf8List = false;
    TcodePage page;
    bool utf8Text = false;   // the input holds UTF-8 beyond ASCII
    int codePageFields = 0;  // fields that are not UTF-8
};

// Text that is ASCII throughout reads the same either way, and is written as it was.
bool holdsUtf8Text(const Tsource& source) {
    for (const Trecord& record : source.records) {
        for (const std::string& field : record.fields) {
            if (lettersOf(field) == Tletters::utf8) return true;
        }
    }
    return false;
}

// Puts a field in the letters of the list. A code page's text stays as it is in a list of that
// page; everything else goes through UTF-8, where the HTML of an Anki export is read.
bool convertLetters(Tconversion& conversion, std::string& field, std::string& problem) {
    bool utf8 = lettersOf(field) != Tletters::other;
    if (!utf8) ++conversion.codePageFields;
    if (!utf8 && !conversion.html && !conversion.utf8List) return true;
    if (!utf8) field = conversion.page.toUtf8(field);
    if (conversion.html) field = htmlToText(field);
    if (conversion.utf8List) return true;
    std::string text;
    if (!conversion.page.fromUtf8(field, text, problem)) return false;
    field = text;
    return true;
}

bool takeField(const Trecord& record, int column, const char* name, Tconversion& conversion,
               std::string& field, std::string& problem) {
    if (column == 0) return true;
    if (static_cast<int>(record.fields.size()) < column) {
        problem = "the row has " + std::to_string(record.fields.size()) + " field" +
                  (record.fields.size() == 1 ? "" : "s") + ", but the " + name + " is field " +
                  std::to_string(column);
        return false;
    }
    field = record.fields[column - 1];
    if (field.find('\0') != std::string::npos) {
        problem = std::string("zero byte in the ") + name;
        return false;
    }
    if (!convertLetters(conversion, field, problem)) {
        problem = std::string("in the ") + name + ", " + problem;
        return false;
    }
    return true;
}

bool convertRow(const Trecord& record, const Tcolumns& columns, Tconversion& conversion,
                TwordDef& fields, std::string& problem) {
    if (!record.problem.empty()) {
        problem = record.problem;
        return false;
    }
    return takeField(record, columns.word, "word", conversion, fields.word, problem) &&
           takeField(record, columns.definition, "definition", conversion, fields.definition,
                     problem) &&
           takeField(record, columns.example, "example", conversion, fields.example, problem);
}

// Reads the written list back as Lexoria will: the checker finds nothing, and every entry reads
// back as the importer meant it.
bool verifyList(const std::string& path, const std::vector<TwordDef>& expected,
                const TcodePage& page, std::string& problem) {
    TcheckReport report;
    checkListFile(path, report, page);
    for (const Tfinding& finding : report.findings) {
        if (finding.severity == Tseverity::note) continue;
        problem = "line " + std::to_string(finding.line) + ": " + finding.text;
        return false;
    }
    TfileHolder file = openFile(path, "rb");
    std::vector<int32_t> offsets;
    bool overLong = false;
    if (!file || !scanEntryOffsets(file.get(), offsets, overLong) ||
        offsets.size() != expected.size()) {
        problem = "the entries do not read back";
        return false;
    }
    for (size_t i = 0; i < offsets.size(); ++i) {
        TwordDef read;
        const TwordDef& meant = expected[i];
        if (!readEntryAt(file.get(), offsets[i], read) || read.word != meant.word ||
            read.definition != meant.definition || read.example != meant.example) {
            problem = "entry " + std::to_string(i + 1) + " does not read back as written";
            return false;
        }
    }
    return true;
}

// Refuses an output that is the input (a new file cannot be: it is created under a fresh name).
bool outputAllowed(const std::string& input, const std::string& output, std::string& err) {
    if (sameFile(input, output)) {
        err += "lexoria-list: " + shownPath(output) + " is the input file; name another output\n";
        return false;
    }
    return true;
}

bool writeOutput(TpendingOutput& pending, const std::string& bytes, const std::string& output,
                 std::string& err) {
    if (!pending.write(bytes)) {
        err += "lexoria-list: cannot write a new file beside " + shownPath(output) + "\n";
        return false;
    }
    return true;
}

bool commitOutput(TpendingOutput& pending, const std::string& output, std::string& err) {
    if (!pending.commit()) {
        err += "lexoria-list: cannot replace " + shownPath(output) + " with " +
               shownPath(pending.temporaryPath()) + "\n";
        return false;
    }
    return true;
}

// Turns every row into list text; bad rows are reported and counted, the others appended.
class TconvertedList {
public:
    std::string text;
    std::vector<TwordDef> expected;  // each entry as the reader will give it back
    int badRows = 0;
};

// Enough bad rows to see what is wrong; a file of nothing else would fill memory with messages.
const int shownBadRows = 100;

// Where the list is in a code page, Lexoria takes an entry whose bytes are valid UTF-8 beyond
// ASCII for UTF-8 ("\xC3\xA9" in 1252 is "é" then, not "Ã©"); in the UTF-8 page that is the
// reading meant.
bool readsAsMeant(const TwordDef& read, const Tconversion& conversion, std::string& problem) {
    if (conversion.utf8List || conversion.page.isUtf8() ||
        entryEncoding(read, false) != TtextEncoding::utf8)
        return true;
    problem = "its bytes in code page " + std::to_string(conversion.page.number()) +
              " read as UTF-8 too, and Lexoria would show them so; without --codepage or "
              "--ansi the list is written in UTF-8";
    return false;
}

void convertRows(const Tsource& source, const Tcolumns& columns, Tconversion& conversion,
                 const std::string& inputName, TconvertedList& converted, std::string& err) {
    const TcodePage* linePage = conversion.utf8List ? nullptr : &conversion.page;
    for (const Trecord& record : source.records) {
        TwordDef fields;
        std::string problem;
        if (convertRow(record, columns, conversion, fields, problem)) {
            std::string entry;
            TwordDef read = appendEntry(entry, fields, linePage);
            if (read.word.empty()) {
                problem = "the word is empty";
            } else if (!readsAsMeant(read, conversion, problem)) {
            } else if (static_cast<int>(converted.expected.size()) == maxEntries) {
                problem = "Lexoria shows at most " + std::to_string(maxEntries) + " entries";
            } else {
                converted.text += entry;
                converted.expected.push_back(read);
                continue;
            }
        }
        if (++converted.badRows <= shownBadRows) {
            err += inputName + ":" + std::to_string(record.line) + ": bad row: " + problem + "\n";
        }
    }
    if (converted.badRows > shownBadRows) {
        err += inputName + ": " + std::to_string(converted.badRows - shownBadRows) +
               " more bad rows\n";
    }
}

bool writeVerifiedList(const std::string& output, const TconvertedList& converted,
                       const Tconversion& conversion, std::string& err) {
    TpendingOutput pending(output);
    std::string mark = conversion.utf8List ? byteOrderMark : "";
    if (!writeOutput(pending, mark + converted.text, output, err)) return false;
    std::string problem;
    if (!verifyList(pending.temporaryPath(), converted.expected, conversion.page, problem)) {
        err += "lexoria-list: the written list does not read back as meant (" + problem +
               "); nothing written\n";
        return false;
    }
    return commitOutput(pending, output, err);
}

// What the import made of the input, so that a guess the user did not mean shows at once.
std::string readingNotes(bool namedColumns, const Tcolumns& columns,
                         const Tconversion& conversion) {
    std::string notes;
    if (namedColumns) {
        std::string example = columns.example > 0 ? std::to_string(columns.example) : "none";
        notes += "the first row names the columns: word " + std::to_string(columns.word) +
                 ", definition " + std::to_string(columns.definition) + ", example " + example +
                 " (--no-header reads the row as data)\n";
    }
    std::string page = "code page " + std::to_string(conversion.page.number());
    if (conversion.utf8List) {
        notes +=
            "the text is UTF-8: writing a UTF-8 list with a byte-order mark (--codepage N "
            "converts it into a code page instead)\n";
    } else if (conversion.utf8Text) {
        notes += "the text is UTF-8: converting it into " + page + "\n";
    }
    int fields = conversion.codePageFields;
    if (fields > 0) {
        notes +=
            std::to_string(fields) + (fields == 1 ? " field is" : " fields are") + " not UTF-8: " +
            (conversion.utf8List ? "converted from " + page : "kept, as text in " + page) + "\n";
    }
    return notes;
}

}  // namespace

int runImport(const TimportOptions& options, std::string& out, std::string& err) {
    Tsource source;
    Tcolumns columns;
    std::string problem;
    if (!outputAllowed(options.input, options.output, err)) return 2;
    bool namedColumns = false;
    if (!readRows(options, source, columns, namedColumns, problem)) {
        err += "lexoria-list: " + problem + "\n";
        return 2;
    }
    Tconversion conversion;
    conversion.html = source.html;
    conversion.utf8Text = holdsUtf8Text(source);
    conversion.utf8List = !options.convert && conversion.utf8Text;
    conversion.page = TcodePage(options.codePage);
    TconvertedList converted;
    convertRows(source, columns, conversion, shownPath(options.input), converted, err);
    out += readingNotes(namedColumns, columns, conversion);
    int badRows = converted.badRows;
    if (badRows > 0 && !options.skipBad) {
        err += "lexoria-list: " + std::to_string(badRows) + " bad row" + (badRows == 1 ? "" : "s") +
               "; nothing written (--skip-bad leaves them out)\n";
        return 2;
    }
    if (converted.expected.empty()) {
        err += "lexoria-list: no rows to import from " + shownPath(options.input) +
               "; nothing written\n";
        return 2;
    }
    if (!writeVerifiedList(options.output, converted, conversion, err)) return 2;
    out += "imported " + std::to_string(converted.expected.size()) + " entries from " +
           shownPath(options.input) + " into " + shownPath(options.output);
    if (badRows > 0)
        out +=
            ", leaving out " + std::to_string(badRows) + (badRows == 1 ? " bad row" : " bad rows");
    out += "\n";
    return badRows > 0 ? 1 : 0;
}

int runExport(const TexportOptions& options, std::string& out, std::string& err) {
    const std::string& listPath = options.list;
    const std::string& output = options.output;
    if (!outputAllowed(listPath, output, err)) return 2;
    TfileHolder file = openFile(listPath, "rb");
    std::vector<int32_t> offsets;
    bool overLong = false;
    if (!file || !scanEntryOffsets(file.get(), offsets, overLong)) {
        err += "lexoria-list: cannot read " + shownPath(listPath) + "\n";
        return 2;
    }
    TlistLetters letters;
    letters.page = TcodePage(options.codePage);
    // Marked, so that a spreadsheet opens it in the right letters; named columns, so that a first
    // word such as "back" is not taken for a column name.
    std::string csv = std::string(byteOrderMark) + "word,definition,example\r\n";
    for (int32_t offset : offsets) {
        TwordDef entry;
        if (!readEntryAt(file.get(), offset, entry)) {
            err += "lexoria-list: cannot read the entry at byte " + std::to_string(offset) + "\n";
            return 2;
        }
        const TtextEncoding shown = entry.encoding;
        csv +=
            csvRecord({letters.asUtf8(entry.word, shown), letters.asUtf8(entry.definition, shown),
                       letters.asUtf8(entry.example, shown)});
    }
    if (offsets.empty()) {
        err += "lexoria-list: " + shownPath(listPath) + " has no entries; nothing written\n";
        return 2;
    }
    TpendingOutput pending(output);
    if (!writeOutput(pending, csv, output, err) || !commitOutput(pending, output, err)) return 2;
    out += "exported " + std::to_string(offsets.size()) + " entries from " + shownPath(listPath) +
           " into " + shownPath(output);
    if (overLong)
        out += " (the entries past the first " + std::to_string(maxEntries) +
               " are never shown, and left out)";
    out += "\n";
    return 0;
}
