// hlpctx: gives a help file numeric contexts by writing its |CTXOMAP internal file.
//
//   hlpctx INPUT.hlp OUTPUT.hlp NUMBER=CONTEXT-STRING...
//
// Each NUMBER is mapped to the topic that carries CONTEXT-STRING, so that a program can open
// that topic with WinHelp's HELP_CONTEXT command. Any |CTXOMAP already in INPUT is replaced.
// OUTPUT may be INPUT; it is replaced only when the whole new file has been written.
#include "contextmap.h"
#include "fileio.h"

#include "base/toolmain.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "hlpctx: %s\n", message.c_str());
    return 1;
}

int run(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: hlpctx INPUT.hlp OUTPUT.hlp NUMBER=CONTEXT-STRING...\n");
        return 2;
    }
    const std::string inputPath = argv[1];
    const std::string outputPath = argv[2];
    std::string error;
    std::vector<TmapRequest> requests;
    for (int i = 3; i < argc; ++i) {
        TmapRequest request;
        if (!parseMapRequest(argv[i], request, error)) {
            return fail(error);
        }
        requests.push_back(request);
    }
    Tbytes input;
    Tbytes output;
    if (!readHelpFile(inputPath, input, error)) {
        return fail(error);
    }
    if (!rewriteWithContextMap(input, requests, output, error)) {
        return fail(inputPath + ": " + error);
    }
    if (!writeFileAtomically(outputPath, output, error)) {
        return fail(error);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int failureStatus = 1;
    return runTool("hlpctx", failureStatus, run, argc, argv);
}
