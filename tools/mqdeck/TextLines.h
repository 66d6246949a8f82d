#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Line breaks are LF, CR LF or a CR on its own: files come from Windows, from
// POSIX systems and from old spreadsheet programs alike.
inline bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

// The length of the line break at `at`: 2 for CR LF, 1 for a CR or LF, else 0.
std::size_t lineBreakLength(std::string_view text, std::size_t at);

// The text with every line break made CR LF, as card texts hold them.
std::string withCrLf(std::string_view text);

struct TextPosition {
    std::size_t line = 1;    // from 1
    std::size_t column = 1;  // from 1, in UTF-8 characters; a byte that is no UTF-8 counts as one
};

// Where each line of a text starts, so that positions found while working on
// the text can be told to the user as line and column. Refers to `text`.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    TextPosition at(std::size_t offset) const;
    std::size_t lineOf(std::size_t offset) const;

private:
    std::string_view text_;
    std::vector<std::size_t> starts_;
};
