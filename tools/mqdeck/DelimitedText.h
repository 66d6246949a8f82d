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
// outside quoted fields, else the more frequent of semicolon and comma (comma on a
// tie).
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

// Splits a text into records and fields. A field is quoted, as RFC 4180 has it,
// when it begins with a quote and its closing quote (one not doubled) is followed
// by the separator or the end of a line; it may then hold separators, doubled
// quotes and line breaks. Any other field is taken as it stands up to the next
// separator or line end, quotes and all: word lists begin fields with quoted
// phrases far more often than they mean to quote them. Empty lines hold no record.
class DelimitedReader {
public:
    DelimitedReader(std::string_view text, char separator, std::size_t start)
        : text_(text), separator_(separator), at_(start) {}

    // The next record; false at the end of the text.
    bool next(DelimitedRecord& record);

    // Fields read so far that began with a quote yet were taken as they stand.
    std::size_t fieldsAsTheyStand() const { return asTheyStand_; }
    // Where those of them begin whose quote no later quote closes.
    const std::vector<std::size_t>& unclosedQuotes() const { return unclosed_; }

private:
    void readQuoted(DelimitedField& field, std::size_t close);
    void readPlain(DelimitedField& field);

    std::string_view text_;
    char separator_;
    std::size_t at_;
    std::size_t asTheyStand_ = 0;
    std::vector<std::size_t> unclosed_;
};
