#include "tools/mqdeck/DeckStats.h"

#include <algorithm>
#include <array>

std::string formatStats(const CardBoxes& deck, int width, const DueSummary& due) {
    std::size_t fullest = 0;
    std::size_t all = 0;
    std::array<std::string, CardBoxes::boxCount> dueText;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        fullest = std::max(fullest, deck.box(box).size());
        all += deck.box(box).size();
        if (BoxDays::isScheduled(box)) {
            dueText[static_cast<std::size_t>(box)] =
                "  (" +
                std::to_string(due.perBox[static_cast<std::size_t>(box - BoxDays::firstBox)]) +
                " due)";
        }
    }
    const std::size_t digits = std::to_string(fullest).size();
    const std::size_t lead = std::string("box 0 ").size() + digits + 1;
    // The last column stays free: a full line would wrap on some terminals.
    const auto columns = static_cast<std::size_t>(std::max(width, 1));
    const std::size_t widest = columns > lead + 2 ? columns - lead - 1 : 1;
    // Rounded, but a box with cards always shows at least one "#".
    const auto barOf = [fullest](std::size_t count, std::size_t room) {
        return count == 0 ? 0 : std::max<std::size_t>(1, (count * room + fullest / 2) / fullest);
    };
    // The bars share one scale: only when a due count would not fit after its bar
    // do they all get shorter, so a deck whose counts fit keeps its bars.
    const auto fits = [&](std::size_t room) {
        for (int box = BoxDays::firstBox; box <= BoxDays::lastBox; ++box) {
            const std::size_t count = deck.box(box).size();
            if (count > 0 &&
                barOf(count, room) + dueText[static_cast<std::size_t>(box)].size() > widest) {
                return false;
            }
        }
        return true;
    };
    std::size_t room = widest;
    while (room > 1 && !fits(room)) {
        --room;
    }
    std::string out;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        const std::size_t count = deck.box(box).size();
        const std::string number = std::to_string(count);
        out +=
            "box " + std::to_string(box) + " " + std::string(digits - number.size(), ' ') + number;
        if (count > 0) {
            out += " " + std::string(barOf(count, room), '#');
        }
        out += dueText[static_cast<std::size_t>(box)] + '\n';
    }
    const std::size_t learned = deck.box(CardBoxes::lastBox).size();
    out += "learning (boxes 1 to 6): " + std::to_string(all - deck.box(0).size()) + "\n";
    out += "learned (box 6): " + std::to_string(learned) + "\n";
    out += "all boxes: " + std::to_string(all) + "\n";
    out += "due today: " + std::to_string(due.total) + "\n";
    return out;
}

std::string formatHistory(const LearningHistory& history) {
    std::string out;
    for (const auto& [day, tally] : history.days()) {
        appendDay(out, day);
        out += " up " + std::to_string(tally.up) + " back " + std::to_string(tally.back) + " new " +
               std::to_string(tally.drawn);
        if (tally.rightFirstTry > 0) {
            out += " right " + std::to_string(tally.rightFirstTry);
        }
        out += '\n';
    }
    return out;
}
