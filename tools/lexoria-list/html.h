// Plain text from the HTML in the fields of an Anki export.
#pragma once

#include <string>

// Line breaks for <br> and around block elements (div, p, li, ...), no other tags, HTML entities
// decoded (characters beyond ASCII as UTF-8, the export's own encoding), white space collapsed as
// a browser shows it, "[sound:...]" media references dropped, and the result trimmed.
std::string htmlToText(const std::string& html);
