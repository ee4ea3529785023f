// File input and atomic file output for the help file tool, with its messages.
#include "fileio.h"

#include "base/pendingoutput.h"
#include "base/wholefile.h"

bool readHelpFile(const std::string& path, Tbytes& data, std::string& error) {
    std::string bytes;
    switch (readWholeFile(path, bytes)) {
    case TwholeFileRead::read: data.assign(bytes.begin(), bytes.end()); return true;
    case TwholeFileRead::isFolder: error = path + " is a folder, not a file"; return false;
    case TwholeFileRead::cannotOpen: error = "cannot open " + path; return false;
    case TwholeFileRead::cannotRead: break;
    }
    error = "cannot read " + path;
    return false;
}

bool writeFileAtomically(const std::string& path, const Tbytes& data, std::string& error) {
    TpendingOutput output(path);
    if (!output.write(data.data(), data.size())) {
        error = "cannot write a new file beside " + path;
        return false;
    }
    if (!output.commit()) {
        error = "cannot replace " + path + " with " + output.temporaryPath();
        return false;
    }
    return true;
}
