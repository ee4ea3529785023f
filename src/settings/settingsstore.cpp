// The "Startup" value: read whole and checked for size, written whole.
#include "settings/settingsstore.h"

namespace {
const char* const startupValue = "Startup";
}

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
