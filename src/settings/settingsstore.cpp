// The "Startup" value, read whole and checked for size, written whole; the learning options as
// two DWORD values beside it; and the "Language" value.
#include "settings/settingsstore.h"

namespace {
const char* const startupValue = "Startup";
const char* const languageValue = "Language";
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

// "Language": the tag of the interface language the user chose, "" for the Windows default. A
// missing value, or one that is no string, is the Windows default too.
std::string readLanguageTag(Tregistry& key) {
    const char* tag = key.getString(languageValue);
    return tag ? tag : "";
}

bool writeLanguageTag(Tregistry& key, const std::string& tag) {
    return key.setString(languageValue, tag.c_str());
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
