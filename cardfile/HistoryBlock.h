#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/LearningHistory.h"

// The learning history in a card file, after the last card:
//
//   <H>
//   2026-03-09 12 3 5
//   2026-03-10 7 0 2 6
//   </H>
//
// one line per day with learning, oldest first: the day, then the cards moved up,
// sent back and drawn new, and, on a day typed answers were checked right on the
// first try, how many; each line ended by CR LF like the rest of the file. A day
// without such answers has no fourth number, so a deck that never had its answers
// typed is written as before the count existed. It
// is plain ASCII, so a code page 1252 file stays one, and it holds no "<C>" or
// "</C", so the card blocks read as they did before it.

// Where the history block lies in the text of a card file: from its "<H>" to the
// end of its "</H>" (the end of the text without one).
struct HistorySpan {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string_view body;  // between the tags
};

// The last "<H>" that no card block follows; nothing in a file without history.
std::optional<HistorySpan> findHistoryBlock(std::string_view text);

// One line of the block: the day and its counts, or nothing when it is none.
struct HistoryLine {
    CalendarDay day;
    DayTally tally;
};
std::optional<HistoryLine> parseHistoryLine(std::string_view line);

// Adds the days of the text's history block to `history`; a line that does not
// read is left out.
void readHistoryBlock(std::string_view text, LearningHistory& history);

// The whole block, CR LF included; empty for an empty history.
std::string historyBlockText(const LearningHistory& history);
