// Reading and writing the "Startup" record through an open Tregistry on the program's key.
#pragma once

#include "settings/registry.h"
#include "settings/windowsettings.h"

// True when a valid 8-byte record was read; otherwise the record holds the defaults.
bool readWindowSettings(Tregistry& key, TwindowSettings& settings);
bool writeWindowSettings(Tregistry& key, const TwindowSettings& settings);
