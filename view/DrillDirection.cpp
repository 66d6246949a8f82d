#include "view/DrillDirection.h"

#include "view/ControlIds.h"

namespace {
const char valueName[] = "Direction";
}  // namespace

void DrillDirection::load() {
    const std::optional<std::uint32_t> kept = store_.loadNumber(valueName);
    choice_ = kept && *kept <= static_cast<std::uint32_t>(DrillChoice::bothWays)
                  ? static_cast<DrillChoice>(*kept)
                  : DrillChoice::questionFirst;
}

bool DrillDirection::choose(DrillChoice choice, ErrorCode& error) {
    choice_ = choice;
    return store_.saveNumber(valueName, static_cast<std::uint32_t>(choice), error);
}

void DrillDirection::turn(CardView& view) {
    if (drawnFor_.lock() != view.currentCard) {
        view.direction = directionForCard();
        drawnFor_ = view.currentCard;
    }
}

CardDirection DrillDirection::directionForCard() {
    switch (choice_) {
        case DrillChoice::questionFirst:
            break;
        case DrillChoice::answerFirst:
            return CardDirection::answerFirst;
        case DrillChoice::bothWays:
            return (random_.next() & 1u) != 0 ? CardDirection::answerFirst
                                              : CardDirection::questionFirst;
    }
    return CardDirection::questionFirst;
}

int DrillDirection::menuItem(DrillChoice choice) {
    return ids::questionFirstItem + static_cast<int>(choice);
}

DrillChoice DrillDirection::fromMenuItem(int id) {
    return static_cast<DrillChoice>(id - ids::questionFirstItem);
}
