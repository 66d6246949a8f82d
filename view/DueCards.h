#pragma once
#include <optional>
#include <string>

#include "model/Schedule.h"
#include "platform/SettingsStore.h"
#include "view/DialogPort.h"
#include "view/Feature.h"

// Which way Due Cards Only walks to a due card after a command: back for Previous.
enum class DueWalk { forward, backward };

// The box method's schedule as the user set it, and the Due Cards Only mode. The
// days per box outlive the program; the mode starts off at every start, so the
// program behaves as it always did until the user asks for it.
class DueCards : public Feature {
public:
    explicit DueCards(SettingsStore& store) : store_(store) {}

    // The days kept for the user; a value missing or out of range keeps its default.
    void load();
    const BoxDays& days() const { return days_; }
    BoxDaysTexts dayTexts() const;
    // The days typed into the Schedule dialog, or what is wrong with them.
    static std::optional<FieldProblem> check(const BoxDaysTexts& texts, BoxDays& days);
    // Takes the days for this run and keeps them for the next; false (with the
    // system's code) when they could not be kept.
    bool keep(const BoxDays& days, ErrorCode& error);

    bool dueOnly() const { return dueOnly_; }
    void setDueOnly(bool on) { dueOnly_ = on; }

    // Writes the due counts of boxes 1 to 5 and the line under them, as of `today`.
    void show(DialogPort& dialog, const CardBoxes& deck, CalendarDay today);
    // A new day can only bring cards due.
    void dayChanged(DialogPort& dialog, const CardBoxes& deck, CalendarDay today) override {
        show(dialog, deck, today);
    }
    // The day the counts were last shown for: a new day changes what is due.
    CalendarDay shownFor() const { return shownFor_; }

    // While Due Cards Only is on, turns the selected box to a due card and is true:
    // `active` is then that card, to come to the front. Else selects the lowest box
    // that has one, else shows that nothing is due.
    bool turnToDueCard(DialogPort& dialog, CardBoxes* deck, CardRef& active, CalendarDay today,
                       DueWalk walk) const;

private:
    SettingsStore& store_;
    BoxDays days_;
    bool dueOnly_ = false;
    CalendarDay shownFor_ = noDay;
};
