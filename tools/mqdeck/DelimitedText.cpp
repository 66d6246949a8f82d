#include "tools/mqdeck/DelimitedText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "tools/mqdeck/TextLines.h"

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool readSeparator(std::string_view value, char& separator, std::string& error) {
    struct Named {
        const char* name;
        char separator;
    };
    static const Named named[] = {{"tab", '\t'}, {"comma", ','}, {"semicolon", ';'},
                                  {"pipe", '|'}, {"colon", ':'}, {"space", ' '}};
    const std::string name = lowered(trimmed(value));
    for (const Named& entry : named) {
        if (name == entry.name) {
            separator = entry.separator;
            return true;
        }
    }
    if (value.size() == 1 && value[0] != '"' && !isLineBreak(value[0])) {
        separator = value[0];
        return true;
    }
    error = "unknown separator \"" + std::string(value) + "\"";
    return false;
}

bool readHeader(std::string_view header, DelimitedHeaders& headers, std::string& error) {
    const std::size_t colon = header.find(':');
    if (colon == std::string_view::npos) {
        return true;
    }
    const std::string key = lowered(trimmed(header.substr(0, colon)));
    const std::string_view value = header.substr(colon + 1);
    if (key == "separator") {
        return readSeparator(value, headers.separator, error);
    }
    if (key == "html") {
        const std::string flag = lowered(trimmed(value));
        if (flag != "true" && flag != "false") {
            error = "\"#html:\" takes true or false, not \"" + std::string(value) + "\"";
            return false;
        }
        headers.html = flag == "true";
        return true;
    }
    if (key == "guid column" || key == "notetype column" || key == "deck column" ||
        key == "tags column") {
        const std::string number(trimmed(value));
        char* end = nullptr;
        const unsigned long column = std::strtoul(number.c_str(), &end, 10);
        if (number.empty() || *end != '\0' || column < 1 || column > 1000) {
            error = "\"#" + std::string(header.substr(0, colon)) +
                    ":\" takes a column number from 1, not \"" + std::string(value) + "\"";
            return false;
        }
        headers.skippedColumns.push_back(column - 1);
    }
    // Other headers ("#columns:", "#deck:", "#tags:" ...) say nothing cards need.
    return true;
}

// The first quote after the one at `open` that is not doubled, or npos.
std::size_t closingQuote(std::string_view text, std::size_t open) {
    std::size_t at = text.find('"', open + 1);
    while (at != std::string_view::npos && at + 1 < text.size() && text[at + 1] == '"') {
        at = text.find('"', at + 2);
    }
    return at;
}

bool endsField(std::string_view text, std::size_t at, std::string_view separators) {
    return at == text.size() || isLineBreak(text[at]) ||
           separators.find(text[at]) != std::string_view::npos;
}

}  // namespace

bool readHeaders(std::string_view text, DelimitedHeaders& headers, std::string& error) {
    std::size_t at = 0;
    std::size_t line = 1;
    while (at < text.size()) {
        if (const std::size_t empty = lineBreakLength(text, at)) {
            at += empty;
            ++line;
            continue;
        }
        if (text[at] != '#') {
            break;
        }
        std::size_t end = at;
        while (end < text.size() && !isLineBreak(text[end])) {
            ++end;
        }
        if (!readHeader(text.substr(at + 1, end - at - 1), headers, error)) {
            error = "line " + std::to_string(line) + ": " + error;
            return false;
        }
        at = end + lineBreakLength(text, end);
        ++line;
    }
    headers.dataStart = at;
    return true;
}

char detectSeparator(std::string_view text, std::size_t from) {
    std::size_t at = from;
    while (const std::size_t empty = lineBreakLength(text, at)) {
        at += empty;
    }
    std::size_t tabs = 0;
    std::size_t semicolons = 0;
    std::size_t commas = 0;
    bool fieldStart = true;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (isLineBreak(c)) {
            break;
        }
        if (c == '"' && fieldStart) {
            // The separator that ends a quoted field is not known yet: any candidate does.
            const std::size_t close = closingQuote(text, at);
            if (close != std::string_view::npos && endsField(text, close + 1, "\t;,")) {
                at = close;
                fieldStart = false;
                continue;
            }
        }
        fieldStart = c == '\t' || c == ';' || c == ',';
        tabs += c == '\t' ? 1 : 0;
        semicolons += c == ';' ? 1 : 0;
        commas += c == ',' ? 1 : 0;
    }
    if (tabs > 0) {
        return '\t';
    }
    return semicolons > commas ? ';' : ',';
}

bool DelimitedReader::next(DelimitedRecord& record) {
    while (const std::size_t empty = lineBreakLength(text_, at_)) {
        at_ += empty;
    }
    if (at_ >= text_.size()) {
        return false;
    }
    record.begin = at_;
    record.count = 0;
    for (;;) {
        if (record.count == record.fields.size()) {
            record.fields.emplace_back();
        }
        DelimitedField& field = record.fields[record.count++];
        field.value.clear();
        field.begin = at_;
        if (at_ < text_.size() && text_[at_] == '"') {
            const std::size_t close = closingQuote(text_, at_);
            if (close != std::string_view::npos &&
                endsField(text_, close + 1, std::string_view(&separator_, 1))) {
                readQuoted(field, close);
            } else {
                ++asTheyStand_;
                if (close == std::string_view::npos) {
                    unclosed_.push_back(at_);
                }
                readPlain(field);
            }
        } else {
            readPlain(field);
        }
        field.end = at_;
        if (at_ < text_.size() && text_[at_] == separator_) {
            ++at_;
            continue;
        }
        at_ += lineBreakLength(text_, at_);
        return true;
    }
}

// Leaves `at_` after the closing quote at `close`.
void DelimitedReader::readQuoted(DelimitedField& field, std::size_t close) {
    ++at_;
    const char stops[] = {'"', '\r', '\n'};
    while (at_ < close) {
        const std::size_t stop =
            std::min(close, text_.find_first_of(std::string_view(stops, sizeof stops), at_));
        field.value.append(text_.data() + at_, stop - at_);
        at_ = stop;
        if (at_ == close) {
            break;
        }
        if (text_[at_] == '"') {
            field.value += '"';
            at_ += 2;
        } else {
            field.value += "\r\n";
            at_ += lineBreakLength(text_, at_);
        }
    }
    at_ = close + 1;
}

void DelimitedReader::readPlain(DelimitedField& field) {
    const char stops[] = {separator_, '\r', '\n'};
    std::size_t stop = text_.find_first_of(std::string_view(stops, sizeof stops), at_);
    if (stop == std::string_view::npos) {
        stop = text_.size();
    }
    field.value.append(text_.data() + at_, stop - at_);
    at_ = stop;
}
