#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the header lines ("#separator:tab", "#html:true", "#guid column:1", ...)
// at the top of a delimited text say about the lines that follow.
struct DelimitedHeaders {
    char separator = 0;  // 0 when no header names one
    bool html = false;
    std::vector<std::size_t> skippedColumns;  // from 0: guid, note type, deck, tags
    std::size_t dataStart = 0;                // offset of the first line after them
};

// Reads the lines that begin with "#" before the first data line (empty lines
// among them are passed over). Unknown headers are ignored; a header this tool
// knows but cannot follow fails with a message naming its line.
bool readHeaders(std::string_view text, DelimitedHeaders& headers, std::string& error);

// The separator of the first data line at or after `from`: a tab when it has one
// outside quotes, else the more frequent of semicolon and comma (comma on a tie).
char detectSeparator(std::string_view text, std::size_t from);

struct DelimitedField {
    std::string value;      // unquoted, every line break made CR LF
    std::size_t begin = 0;  // the field's bytes in the text, quotes included
    std::size_t end = 0;
};

struct DelimitedRecord {
    std::size_t begin = 0;
    std::vector<DelimitedField> fields;  // entries past `count` are spare, kept for reuse
    std::size_t count = 0;
};

// Splits a text into records and fields as RFC 4180 has it: a field that begins
// with a quote runs to the matching quote, may hold separators, doubled quotes and
// line breaks; a quote elsewhere is an ordinary character. Empty lines hold no
// record.
class DelimitedReader {
public:
    DelimitedReader(std::string_view text, char separator, std::size_t start)
        : text_(text), separator_(separator), at_(start) {}

    // The next record; false at the end of the text or on an error (then `error`
    // is set and names the offset of the quote left open).
    bool next(DelimitedRecord& record, std::string& error, std::size_t& errorAt);

private:
    void readQuoted(DelimitedField& field);
    void readPlain(DelimitedField& field);

    std::string_view text_;
    char separator_;
    std::size_t at_;
};
