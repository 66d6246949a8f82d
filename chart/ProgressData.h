#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/CalendarDay.h"
#include "model/LearningHistory.h"

class CardBoxes;
struct BoxDays;

// What the three progress charts show of a deck, as of one day.
struct ProgressData {
    static constexpr int boxCount = 7;
    static constexpr int days = 30;

    std::string deckName;  // UTF-8
    CalendarDay today = noDay;
    std::array<int, boxCount> boxes{};  // the cards in boxes 0 to 6 now
    std::vector<int> due;               // falling due on each of `days` days, today first
    std::vector<DayTally> learned;      // each of the last `days` days, today last

    bool operator==(const ProgressData& other) const {
        return deckName == other.deckName && today == other.today && boxes == other.boxes &&
               due == other.due && learned == other.learned;
    }
};

ProgressData progressData(const CardBoxes& deck, const BoxDays& days, CalendarDay today,
                          std::string deckName);

// The name a deck goes by: its file's base name without the extension; either
// kind of slash parts folders.
std::string deckNameOf(const std::string& path);
