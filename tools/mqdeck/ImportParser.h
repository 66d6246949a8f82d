#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ImportedCard {
    std::string question;  // UTF-8, line breaks CR LF
    std::string answer;
    std::string info;
};

struct ImportResult {
    bool ok = false;
    std::string error;  // when not ok: "line 3, column 7: ..."
    std::vector<ImportedCard> cards;
    std::size_t replaced = 0;           // characters of the cards written as "?"
    std::size_t extraColumns = 0;       // columns beyond question, answer and info
    std::size_t fieldsAsTheyStand = 0;  // fields that begin with a quote but are not quoted
    std::vector<std::size_t> unclosedQuoteLines;  // where such a quote is never closed
};

// The cards of a delimited text file (tab-, comma-, semicolon-separated ...),
// in the file's order, every character kept; `replace` writes "?" for those code
// page 1252 lacks instead; a field that begins with a quote which does not end
// it as a quoted field is kept as it stands. Fails, naming the line, on anything
// a card file cannot hold: a NUL, or one of the card format's own tags, which the
// format has no escape for; and on bytes that are no UTF-8 after a byte-order
// mark (unless `replace`).
ImportResult parseImport(std::string_view bytes, bool replace);
