// An entry's text as the wide characters the windows show: UTF-8 decoded, code page bytes read
// through the system's ANSI code page as they always were.
#pragma once

#include <string>

#include "vocab/entrytext.h"

std::wstring displayText(const std::string& field, TtextEncoding encoding);
