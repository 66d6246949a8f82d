#include "view/DueCards.h"

#include "platform/WholeNumber.h"
#include "view/CardView.h"
#include "view/ControlIds.h"

namespace {
int radioOfBox(int box) { return ids::box1Radio + box - 1; }

std::string valueName(int box) { return "Box" + std::to_string(box) + "Days"; }

// Whole days only, as typed: no sign, no blanks, no fraction.
std::optional<std::int32_t> wholeDays(const std::string& text) {
    const std::optional<std::uint32_t> days = parseWholeNumber(text, 4);
    return days ? std::optional<std::int32_t>(static_cast<std::int32_t>(*days)) : std::nullopt;
}
}  // namespace

void DueCards::load() {
    for (int box = BoxDays::firstBox; box <= BoxDays::lastBox; ++box) {
        const std::optional<std::uint32_t> kept = store_.loadNumber(valueName(box));
        if (kept && *kept <= static_cast<std::uint32_t>(BoxDays::maxDays)) {
            days_.days[static_cast<std::size_t>(box - BoxDays::firstBox)] =
                static_cast<std::int32_t>(*kept);
        }
    }
}

BoxDaysTexts DueCards::dayTexts() const {
    BoxDaysTexts texts;
    for (std::size_t field = 0; field < texts.size(); ++field) {
        texts[field] = std::to_string(days_.days[field]);
    }
    return texts;
}

std::optional<FieldProblem> DueCards::check(const BoxDaysTexts& texts, BoxDays& days) {
    for (std::size_t field = 0; field < texts.size(); ++field) {
        const std::optional<std::int32_t> value = wholeDays(texts[field]);
        if (!value || *value > BoxDays::maxDays) {
            return FieldProblem{field, "Box " + std::to_string(field + 1) +
                                           ": please enter a whole number of days from 0 to " +
                                           std::to_string(BoxDays::maxDays) + "."};
        }
        days.days[field] = *value;
    }
    return std::nullopt;
}

bool DueCards::keep(const BoxDays& days, ErrorCode& error) {
    days_ = days;
    for (int box = BoxDays::firstBox; box <= BoxDays::lastBox; ++box) {
        const auto value = static_cast<std::uint32_t>(days.of(box));
        if (!store_.saveNumber(valueName(box), value, error)) {
            return false;
        }
    }
    return true;
}

void DueCards::show(DialogPort& dialog, const CardBoxes& deck, CalendarDay today) {
    const DueSummary summary = summarizeDue(deck, days_, today);
    for (std::size_t field = 0; field < summary.perBox.size(); ++field) {
        dialog.setControlText(ids::box1Due + static_cast<int>(field),
                              std::to_string(summary.perBox[field]));
    }
    dialog.setControlText(ids::dueLine, dueLine(summary));
    shownFor_ = today;
}

bool DueCards::turnToDueCard(DialogPort& dialog, CardBoxes* deck, CardRef& active,
                             CalendarDay today, DueWalk walk) const {
    // Editing works on every card, due or not.
    if (deck == nullptr || !dueOnly_ || isEditMode(dialog)) {
        return false;
    }
    const int box = getSelectedBox(dialog);
    // Going back, the front card was just brought up from the back; the due card
    // before it is the last due one behind it.
    const std::optional<std::size_t> due = walk == DueWalk::backward
                                               ? previousDueIndex(*deck, box, 0, days_, today)
                                               : nextDueIndex(*deck, box, 0, days_, today);
    if (due) {
        deck->setInit(active, true);
        deck->turnTo(box, *due, active);
        enableButtonsForBox(dialog, box, true);
        return true;
    }
    for (int other = BoxDays::firstBox; other <= BoxDays::lastBox; ++other) {
        if (nextDueIndex(*deck, other, 0, days_, today)) {
            // As a click on its radio button would; that selection walks to the card.
            dialog.click(radioOfBox(other));
            return false;
        }
    }
    deck->setInit(active, false);
    disableCardButtons(dialog);
    if (BoxDays::isScheduled(box)) {
        enableGetNewCard(dialog);
    }
    showNoCards(dialog);
    return false;
}
