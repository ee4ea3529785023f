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
    "usage: lexoria-list check [--codepage N] FILE\n"
    "       lexoria-list import [--format csv|tsv|anki] [--word N] [--def N] [--ex N]\n"
    "                           [--header | --no-header] [--codepage N | --ansi]\n"
    "                           [--skip-bad] INPUT OUTPUT\n"
    "       lexoria-list export [--codepage N] LIST OUTPUT.csv\n"
    "       lexoria-list stats [--codepage N] FILE\n";

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

// A code page that this build can convert into; its number has at most five digits (65001).
bool parseCodePage(const std::string& text, int& page) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    page = std::atoi(text.c_str());
    return TcodePage(page).usable();
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
        else if (argument == "--keep-bytes") options.convert = false;  // the default now
        else if (argument == "--ansi") options.convert = true;
        else if (argument == "--codepage") {
            valid = parseCodePage(arguments[++i], options.codePage);
            options.convert = true;
        } else if (argument.size() > 1 && argument[0] == '-') valid = false;
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

// The files of check, stats and export, and the code page of their lists' entries that are not
// UTF-8; false with the reason when the arguments don't fit.
bool parseListCommand(const std::vector<std::string>& arguments, size_t fileCount,
                      std::vector<std::string>& files, int& page, std::string& problem) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--codepage") {
            if (i + 1 == arguments.size() || !parseCodePage(arguments[++i], page)) {
                problem =
                    "cannot use --codepage" + (i < arguments.size() ? " " + arguments[i] : "");
                return false;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            problem = "cannot use " + argument;
            return false;
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() == fileCount) return true;
    problem =
        arguments[0] + (fileCount == 1 ? " needs one file" : " needs a LIST and an OUTPUT file");
    return false;
}

int runCheck(const std::string& path, int page, std::string& out) {
    TcheckReport report;
    checkListFile(path, report, TcodePage(page));
    out += formatReport(shownPath(path), report);
    return report.exitCode();
}

int runStats(const std::string& path, int page, std::string& out, std::string& err) {
    TfileHolder file = openFile(path, "rb");
    TlistStats stats;
    if (!file || !collectStats(file.get(), stats, TcodePage(page))) {
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
    if (command == "help" || command == "--help" || command == "-h") {
        out += usageText;
        return 0;
    }
    if (command == "check" || command == "stats" || command == "export") {
        std::vector<std::string> files;
        int page = 0;
        std::string problem;
        if (!parseListCommand(arguments, command == "export" ? 2 : 1, files, page, problem)) {
            return usageError(problem, err);
        }
        if (command == "check") return runCheck(files[0], page, out);
        if (command == "stats") return runStats(files[0], page, out, err);
        return runExport({page, files[0], files[1]}, out, err);
    }
    if (command == "import") {
        TimportOptions options;
        std::string problem;
        if (!parseImport(arguments, options, problem)) return usageError(problem, err);
        return runImport(options, out, err);
    }
    return usageError("cannot use the command line", err);
}
