#pragma once
#include <string>
#include <string_view>

// The plain UTF-8 text of a field that holds HTML: "<br>" (any case, with or
// without "/") is a line break, "<div>" and "</div>" start a line where a line
// has not just begun, other tags go, and character references are decoded. A
// "<" that starts no tag is kept.
std::string htmlToText(std::string_view html);

// A text as HTML that htmlToText() gives back exactly, with line breaks as "<br>".
std::string textToHtml(std::string_view text);
