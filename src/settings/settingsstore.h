// Reading and writing the "Startup" record, the two learning options ("Show Example",
// "Practice") and the interface language's "Language" tag through an open Tregistry on the
// program's key.
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

// Whether the pane shows the example sentence after the definition, and whether practice hides
// the definition until the learner asks for it. Both off unless chosen.
struct TlearningOptions {
    bool showExample = false;
    bool practice = false;
    bool operator==(const TlearningOptions& other) const {
        return showExample == other.showExample && practice == other.practice;
    }
    bool operator!=(const TlearningOptions& other) const { return !(*this == other); }
};

// A value that is missing or not a DWORD reads as off, any DWORD but 0 as on.
TlearningOptions readLearningOptions(Tregistry& key);
// Stores each option as the DWORD 1 or 0.
bool writeLearningOptions(Tregistry& key, const TlearningOptions& options);
