// The "Startup" value: read whole and checked for size, written whole; and the "Language" value.
#include "settings/settingsstore.h"

namespace {
const char* const startupValue = "Startup";
const char* const languageValue = "Language";
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
