#include "platform/MQMessage.h"
#include "platform/WinConstants.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
int radioOfBox(int box) { return ids::box1Radio + box - 1; }
}  // namespace

void MQMainView::onDueOnly(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    dueCards_.setDueOnly(!dueCards_.dueOnly());
    dialog.checkMenuItem(ids::dueOnlyItem, dueCards_.dueOnly());
    // Turning it off leaves the card shown where it is.
    showDueCard(dialog, DueWalk::forward);
}

void MQMainView::onSchedule(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    BoxDaysTexts texts = dueCards_.dayTexts();
    BoxDays days;
    const BoxDaysCheck check = [&days](const BoxDaysTexts& typed) {
        return DueCards::check(typed, days);
    };
    if (!userWait_.whileAsking([&] { return dialog.askBoxDays(texts, check); })) {
        return;
    }
    ErrorCode error = 0;
    if (!dueCards_.keep(days, error)) {
        showError(platform_.messageBoxes, "The schedule can't be kept",
                  static_cast<std::int32_t>(error));
    }
    refreshCounts(dialog);
    showDueCard(dialog, DueWalk::forward);
}

void MQMainView::onDayTick(DialogPort& dialog) {
    // Never in the middle of a command that waits for the user.
    if (deck_ == nullptr || userWait_.waiting() || commandDepth_ > 0 ||
        dueCards_.shownFor() == platform_.clock.today()) {
        return;
    }
    const Command command(*this, dialog);
    refreshCounts(dialog);
    // A new day can only bring cards due, so a due card shown stays due.
    if (activeCard_->isInit() == 0) {
        showDueCard(dialog, DueWalk::forward);
    }
}

void MQMainView::showDueCard(DialogPort& dialog, DueWalk walk) {
    // Editing works on every card, due or not.
    if (deck_ == nullptr || !dueCards_.dueOnly() || isEditMode(dialog) == 1) {
        return;
    }
    const CalendarDay today = platform_.clock.today();
    const int box = getSelectedBox(dialog);
    const CardBoxes::Box& cards = deck_->box(box);
    // Going back, the front card was just brought up from the back; the due card
    // before it is the last due one behind it.
    std::optional<std::size_t> due;
    if (walk == DueWalk::backward && !cards.empty() &&
        !isDue(*cards.front(), box, dueCards_.days(), today)) {
        for (std::size_t index = cards.size(); index-- > 1 && !due;) {
            if (isDue(*cards[index], box, dueCards_.days(), today)) {
                due = index;
            }
        }
    } else {
        due = nextDueIndex(*deck_, box, 0, dueCards_.days(), today);
    }
    if (due) {
        deck_->setInit(activeCard_, 1);
        deck_->turnTo(box, *due, activeCard_);
        enableButtonsForBox(dialog, box, true);
        showActiveCard(dialog);
        return;
    }
    for (int other = BoxDays::firstBox; other <= BoxDays::lastBox; ++other) {
        if (nextDueIndex(*deck_, other, 0, dueCards_.days(), today)) {
            // As a click on its radio button would; that selection walks to the card.
            dialog.click(radioOfBox(other));
            return;
        }
    }
    deck_->setInit(activeCard_, 0);
    disableCardButtons(dialog);
    if (BoxDays::isScheduled(box)) {
        enableGetNewCard(dialog);
    }
    showNoCards(dialog);
}
