#include "model/AnswerAlternatives.h"

#include <algorithm>

namespace {
// Each optional part doubles the ways to try; a card with more is a text, not a word.
constexpr std::size_t maxOptionalChoices = 4;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

TextSpan trimmed(std::string_view text, TextSpan span) {
    while (span.from < span.to && isBlank(text[span.from])) ++span.from;
    while (span.to > span.from && isBlank(text[span.to - 1])) --span.to;
    return span;
}

// The parentheses at the top level of `span`; one left open is plain text.
std::vector<TextSpan> parenthesized(std::string_view text, TextSpan span) {
    std::vector<TextSpan> parts;
    int depth = 0;
    for (std::size_t at = span.from; at < span.to; ++at) {
        if (text[at] == '(' && depth++ == 0) {
            parts.push_back({at, span.to});
        } else if (text[at] == ')' && depth > 0 && --depth == 0) {
            parts.back().to = at + 1;
        }
    }
    if (depth > 0) parts.pop_back();
    return parts;
}

void addAlternative(std::vector<AnswerAlternative>& alternatives, std::string_view text,
                    TextSpan span) {
    span = trimmed(text, span);
    if (span.from < span.to) alternatives.push_back({span, parenthesized(text, span)});
}

// Splits one line at the separators outside parentheses.
void addLine(std::vector<AnswerAlternative>& alternatives, std::string_view text, TextSpan line) {
    int depth = 0;
    std::size_t start = line.from;
    for (std::size_t at = line.from; at < line.to; ++at) {
        const char c = text[at];
        depth += c == '(' ? 1 : (c == ')' && depth > 0 ? -1 : 0);
        if (depth == 0 && (c == ';' || c == ',')) {
            addAlternative(alternatives, text, {start, at});
            start = at + 1;
        }
    }
    addAlternative(alternatives, text, {start, line.to});
    if (start != line.from) addAlternative(alternatives, text, line);
}

bool within(TextSpan inner, TextSpan outer) {
    return inner.from >= outer.from && inner.to <= outer.to;
}
}  // namespace

std::vector<AnswerAlternative> answerAlternatives(std::string_view text) {
    std::vector<AnswerAlternative> alternatives;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || text[at] == '\r' || text[at] == '\n') {
            addLine(alternatives, text, {start, at});
            start = at + 1;
        }
    }
    if (alternatives.empty()) alternatives.push_back({});
    return alternatives;
}

std::vector<AnswerLetters> optionalWays(const AnswerAlternative& alternative,
                                        const AnswerLetters& letters) {
    const std::vector<TextSpan>& parts = alternative.optionalParts;
    const std::size_t choices = std::min(parts.size(), maxOptionalChoices);
    // The text as on the card is right too, parentheses and all.
    std::vector<AnswerLetters> ways{letters};
    settleBlanks(ways.front());
    if (parts.empty()) return ways;
    for (unsigned leftOut = 0; leftOut < (1u << choices); ++leftOut) {
        AnswerLetters way;
        for (const AnswerLetter& letter : letters) {
            bool keep = true;
            for (std::size_t part = 0; part < parts.size() && keep; ++part) {
                const bool bracket =
                    letter.at.from == parts[part].from || letter.at.to == parts[part].to;
                const bool out = part < choices && (leftOut >> part & 1u) != 0;
                keep = !(within(letter.at, parts[part]) && (bracket || out));
            }
            if (keep) way.push_back(letter);
        }
        settleBlanks(way);
        if (!way.empty()) ways.push_back(std::move(way));
    }
    return ways;
}
