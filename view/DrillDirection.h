#pragma once
#include <cstdint>
#include <memory>

#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "view/CardFaces.h"
#include "view/CardView.h"

// Which way the user drills the deck; kept for the user and back at the next start.
enum class DrillChoice : std::uint32_t { questionFirst = 0, answerFirst = 1, bothWays = 2 };

class DrillDirection {
public:
    DrillDirection(SettingsStore& store, RandomSource& random) : store_(store), random_(random) {}

    // The choice kept; anything but a known value is the first one.
    void load();
    DrillChoice choice() const { return choice_; }
    // Takes the choice for this run and keeps it for the next; false (with the
    // system's code) when it could not be kept.
    bool choose(DrillChoice choice, ErrorCode& error);

    // Turns the card `view` shows the way it is drilled. A card that comes to the
    // front takes the direction in effect, drawn half and half when drilling both
    // ways; it keeps it until another card is shown.
    void turn(CardView& view);
    // The card shown takes the direction in effect again.
    void redraw() { drawnFor_.reset(); }

    static int menuItem(DrillChoice choice);
    static DrillChoice fromMenuItem(int id);

private:
    SettingsStore& store_;
    RandomSource& random_;
    CardDirection directionForCard();

    DrillChoice choice_ = DrillChoice::questionFirst;
    std::weak_ptr<Card> drawnFor_;
};
