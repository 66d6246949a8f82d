#include "tools/mqdeck/DeckStats.h"

#include <algorithm>

std::string formatStats(const CardBoxes& deck, int width) {
    std::size_t fullest = 0;
    std::size_t all = 0;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        fullest = std::max(fullest, deck.box(box).size());
        all += deck.box(box).size();
    }
    const std::size_t digits = std::to_string(fullest).size();
    const std::size_t lead = std::string("box 0 ").size() + digits + 1;
    // The last column stays free: a full line would wrap on some terminals.
    const auto columns = static_cast<std::size_t>(std::max(width, 1));
    const std::size_t room = columns > lead + 2 ? columns - lead - 1 : 1;
    std::string out;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        const std::size_t count = deck.box(box).size();
        const std::string number = std::to_string(count);
        out +=
            "box " + std::to_string(box) + " " + std::string(digits - number.size(), ' ') + number;
        if (count > 0) {
            // Rounded, but a box with cards always shows at least one "#".
            const std::size_t bar =
                std::max<std::size_t>(1, (count * room + fullest / 2) / fullest);
            out += " " + std::string(bar, '#');
        }
        out += '\n';
    }
    const std::size_t learned = deck.box(CardBoxes::lastBox).size();
    out += "learning (boxes 1 to 6): " + std::to_string(all - deck.box(0).size()) + "\n";
    out += "learned (box 6): " + std::to_string(learned) + "\n";
    out += "all boxes: " + std::to_string(all) + "\n";
    return out;
}
