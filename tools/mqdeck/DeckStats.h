#pragma once
#include <string>

#include "model/CardBoxes.h"
#include "model/Schedule.h"

// Cards per box, each with a bar of "#" scaled so that the fullest box fills a
// line of `width` columns, boxes 1 to 5 followed by their due cards; then the
// cards in boxes 1 to 6 (learning), in box 6 (learned), in all, and due today.
std::string formatStats(const CardBoxes& deck, int width, const DueSummary& due);

// One line "YYYY-MM-DD up U back B new N" per day with learning, oldest first,
// ending in " right R" on a day R typed answers were right on the first try.
std::string formatHistory(const LearningHistory& history);
