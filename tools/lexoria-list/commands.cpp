// Command-line parsing and dispatch for check, import, export and stats.
#include "commands.h"

#include <cstdlib>

#include "base/platformfiles.h"
#include "checker.h"
#include "codepage.h"
#include "fileio.h"
#include "importer.h"
#include "stats.h"

const char* const usageText =
    "usage: lexoria-list check FILE\n"
    "       lexoria-list import [--format csv|tsv|anki] [--word N] [--def N] [--ex N]\n"
    "                           [--header | --no-header] [--keep-bytes] [--codepage N]\n"
    "                           [--skip-bad] INPUT OUTPUT\n"
    "       lexoria-list export LIST OUTPUT.csv\n"
    "       lexoria-list stats FILE\n";

namespace {

const int usageStatus = 3;

int usageError(const std::string& problem, std::string& err) {
    err += "lexoria-list: " + problem + "\n" + usageText;
    return usageStatus;
}

bool parseColumn(const std::string& text, int& column) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    column = std::atoi(text.c_str());
    return true;
}

// A code page that this build can convert into.
bool parseCodePage(const std::string& text, int& page) {
    return parseColumn(text, page) && TcodePage(page).usable();
}

bool parseFormat(const std::string& text, TinputFormat& format) {
    if (text == "csv") format = TinputFormat::csv;
    else if (text == "tsv") format = TinputFormat::tsv;
    else if (text == "anki") format = TinputFormat::anki;
    else return false;
    return true;
}

// Fills the options from the arguments after "import"; false with the reason when they don't fit.
bool parseImport(const std::vector<std::string>& arguments, TimportOptions& options,
                 std::string& problem) {
    std::vector<std::string> files;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool takesValue = argument == "--format" || argument == "--word" || argument == "--def" ||
                          argument == "--ex" || argument == "--codepage";
        if (takesValue && i + 1 == arguments.size()) {
            problem = argument + " needs a value";
            return false;
        }
        bool valid = true;
        if (argument == "--format") valid = parseFormat(arguments[++i], options.format);
        else if (argument == "--word") valid = parseColumn(arguments[++i], options.wordColumn);
        else if (argument == "--def") valid = parseColumn(arguments[++i], options.definitionColumn);
        else if (argument == "--ex") valid = parseColumn(arguments[++i], options.exampleColumn);
        else if (argument == "--header") options.header = true;
        else if (argument == "--skip-bad") options.skipBad = true;
        else if (argument == "--no-header") options.noHeader = true;
        else if (argument == "--keep-bytes") options.keepBytes = true;
        else if (argument == "--ansi") options.keepBytes = false;  // converting is the default now
        else if (argument == "--codepage") valid = parseCodePage(arguments[++i], options.codePage);
        else if (argument.size() > 1 && argument[0] == '-') valid = false;
        else files.push_back(argument);
        if (!valid) {
            problem = "cannot use " + argument + (takesValue ? " " + arguments[i] : "");
            return false;
        }
    }
    if (options.header && options.noHeader) {
        problem = "--header and --no-header contradict each other";
        return false;
    }
    if (files.size() != 2) {
        problem = "import needs an INPUT and an OUTPUT file";
        return false;
    }
    options.input = files[0];
    options.output = files[1];
    return true;
}

int runCheck(const std::string& path, std::string& out) {
    TcheckReport report;
    checkListFile(path, report);
    out += formatReport(shownPath(path), report);
    return report.exitCode();
}

int runStats(const std::string& path, std::string& out, std::string& err) {
    TfileHolder file = openFile(path, "rb");
    TlistStats stats;
    if (!file || !collectStats(file.get(), stats)) {
        err += "lexoria-list: cannot read " + shownPath(path) + "\n";
        return 2;
    }
    out += formatStats(stats);
    return 0;
}

}  // namespace

int runCommand(const std::vector<std::string>& arguments, std::string& out, std::string& err) {
    if (arguments.empty()) return usageError("no command", err);
    const std::string& command = arguments[0];
    size_t count = arguments.size() - 1;
    if (command == "help" || command == "--help" || command == "-h") {
        out += usageText;
        return 0;
    }
    if (command == "check" && count == 1) return runCheck(arguments[1], out);
    if (command == "stats" && count == 1) return runStats(arguments[1], out, err);
    if (command == "export" && count == 2) return runExport(arguments[1], arguments[2], out, err);
    if (command == "import") {
        TimportOptions options;
        std::string problem;
        if (!parseImport(arguments, options, problem)) return usageError(problem, err);
        return runImport(options, out, err);
    }
    return usageError("cannot use the command line", err);
}
