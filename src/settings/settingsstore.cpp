// The "Startup" value, read whole and checked for size, written whole; the learning options as
// two DWORD values beside it.
#include "settings/settingsstore.h"

namespace {
const char* const startupValue = "Startup";
const char* const showExampleValue = "Show Example";
const char* const practiceValue = "Practice";

bool readSwitch(Tregistry& key, const char* name) {
    DWORD value = 0;
    return key.getDword(name, &value) && value != 0;
}
}  // namespace

bool readWindowSettings(Tregistry& key, TwindowSettings& settings) {
    unsigned char bytes[TwindowSettings::recordSize] = {};
    DWORD size = sizeof bytes;
    if (!key.getBinary(startupValue, bytes, &size)) {
        settings = TwindowSettings();
        return false;
    }
    return settings.fromBytes(bytes, size);
}

bool writeWindowSettings(Tregistry& key, const TwindowSettings& settings) {
    unsigned char bytes[TwindowSettings::recordSize];
    settings.toBytes(bytes);
    return key.setBinary(startupValue, bytes, sizeof bytes);
}

TlearningOptions readLearningOptions(Tregistry& key) {
    TlearningOptions options;
    options.showExample = readSwitch(key, showExampleValue);
    options.practice = readSwitch(key, practiceValue);
    return options;
}

bool writeLearningOptions(Tregistry& key, const TlearningOptions& options) {
    return key.setDword(showExampleValue, options.showExample ? 1 : 0) &&
           key.setDword(practiceValue, options.practice ? 1 : 0);
}
