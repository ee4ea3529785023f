// Reading and writing the "Startup" record, and the interface language's "Language" tag, through
// an open Tregistry on the program's key.
#pragma once

#include <string>

#include "settings/registry.h"
#include "settings/windowsettings.h"

// True when a valid 8-byte record was read; otherwise the record holds the defaults.
bool readWindowSettings(Tregistry& key, TwindowSettings& settings);
bool writeWindowSettings(Tregistry& key, const TwindowSettings& settings);

// The stored tag of the interface language ("de", "pt-BR"); "" for the Windows default.
std::string readLanguageTag(Tregistry& key);
bool writeLanguageTag(Tregistry& key, const std::string& tag);
