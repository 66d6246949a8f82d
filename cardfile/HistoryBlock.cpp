#include "cardfile/HistoryBlock.h"

#include "cardfile/CardFormat.h"
#include "platform/WholeNumber.h"

namespace {
// Digits only, so that a sign or a blank too many makes the line unreadable
// rather than a different count; as many as a count that fits takes.
std::optional<std::uint32_t> readCount(std::string_view word) {
    return parseWholeNumber(word, std::string_view::npos);
}

// The next word of `line` from `at` on, words parted by blanks or tabs.
std::string_view nextWord(std::string_view line, std::size_t& at) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (at < line.size() && isBlank(line[at])) {
        ++at;
    }
    const std::size_t start = at;
    while (at < line.size() && !isBlank(line[at])) {
        ++at;
    }
    return line.substr(start, at - start);
}

// Where the last card tag ("<C>" or "</C") begins, or npos. It lies near the end
// of the text, which is searched backwards only that far.
std::size_t lastCardTag(std::string_view text) {
    const std::size_t close = text.rfind(cardtag::cardCloseCut);
    const std::size_t from = close == std::string_view::npos ? 0 : close + 1;
    const std::size_t open = text.substr(from).rfind(cardtag::cardOpen);
    return open == std::string_view::npos ? close : from + open;
}

}  // namespace

std::optional<HistorySpan> findHistoryBlock(std::string_view text) {
    // A "<H>" before a card's tag lies in a card's text; no two tags overlap.
    const std::size_t lastCard = lastCardTag(text);
    const std::size_t from = lastCard == std::string_view::npos ? 0 : lastCard + 1;
    const std::size_t found = text.substr(from).rfind(cardtag::historyOpen);
    if (found == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t open = from + found;
    const std::size_t bodyStart = open + cardtag::historyOpen.size();
    const std::size_t close = text.find(cardtag::historyClose, bodyStart);
    HistorySpan span;
    span.start = open;
    span.end = close == std::string_view::npos ? text.size() : close + cardtag::historyClose.size();
    span.body =
        text.substr(bodyStart, (close == std::string_view::npos ? text.size() : close) - bodyStart);
    return span;
}

std::optional<HistoryLine> parseHistoryLine(std::string_view line) {
    std::size_t at = 0;
    const std::optional<CalendarDay> day = parseDay(nextWord(line, at));
    const std::optional<std::uint32_t> up = readCount(nextWord(line, at));
    const std::optional<std::uint32_t> back = readCount(nextWord(line, at));
    const std::optional<std::uint32_t> drawn = readCount(nextWord(line, at));
    const std::string_view fourth = nextWord(line, at);
    const std::optional<std::uint32_t> right =
        fourth.empty() ? std::optional<std::uint32_t>(0) : readCount(fourth);
    if (!day || !up || !back || !drawn || !right || !nextWord(line, at).empty()) {
        return std::nullopt;
    }
    return HistoryLine{*day, DayTally{*up, *back, *drawn, *right}};
}

void readHistoryBlock(std::string_view text, LearningHistory& history) {
    const std::optional<HistorySpan> span = findHistoryBlock(text);
    if (!span) {
        return;
    }
    std::string_view body = span->body;
    while (!body.empty()) {
        const std::size_t end = body.find_first_of("\r\n");
        if (const auto line = parseHistoryLine(body.substr(0, end))) {
            history.add(line->day, line->tally);
        }
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
    }
}

std::string historyBlockText(const LearningHistory& history) {
    if (history.empty()) {
        return {};
    }
    std::string text(cardtag::historyOpen);
    text += cardtag::lineEnd;
    for (const auto& [day, tally] : history.days()) {
        appendDay(text, day);
        for (const std::uint32_t count : {tally.up, tally.back, tally.drawn}) {
            text += ' ';
            text += std::to_string(count);
        }
        if (tally.rightFirstTry > 0) {
            text += ' ';
            text += std::to_string(tally.rightFirstTry);
        }
        text += cardtag::lineEnd;
    }
    text += cardtag::historyClose;
    text += cardtag::lineEnd;
    return text;
}
