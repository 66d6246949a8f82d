#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A character reference whose character code page 1252 cannot hold.
struct UnheldEntity {
    std::size_t count = 0;  // how many such references the text had; each became "?"
    std::string first;      // the first of them as written, "&#x4E2D;"
    std::uint32_t codePoint = 0;
};

// The plain code page 1252 text of a field that holds HTML: "<br>" (any case,
// with or without "/") is a line break, "<div>" and "</div>" start a line where
// a line has not just begun, other tags go, and character references are
// decoded. A "<" that starts no tag is kept.
std::string htmlToText(std::string_view html, UnheldEntity& unheld);

// A code page 1252 text as HTML that htmlToText() gives back exactly, with line
// breaks as "<br>".
std::string textToHtml(std::string_view text);
