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
    const CalendarDay today = platform_.clock.today();
    if (deck_ == nullptr || userWait_.waiting() || command_.running() ||
        dueCards_.shownFor() == today) {
        return;
    }
    const Command command(*this, dialog);
    features_.dayChanged(dialog, *deck_, today);
    // A new day can only bring cards due, so a due card shown stays due.
    if (!activeCard_->isInit()) {
        showDueCard(dialog, DueWalk::forward);
    }
}

void MQMainView::showDueCard(DialogPort& dialog, DueWalk walk) {
    // Editing works on every card, due or not.
    if (deck_ == nullptr || !dueCards_.dueOnly() || isEditMode(dialog)) {
        return;
    }
    const CalendarDay today = platform_.clock.today();
    const int box = getSelectedBox(dialog);
    // Going back, the front card was just brought up from the back; the due card
    // before it is the last due one behind it.
    const std::optional<std::size_t> due =
        walk == DueWalk::backward ? previousDueIndex(*deck_, box, 0, dueCards_.days(), today)
                                  : nextDueIndex(*deck_, box, 0, dueCards_.days(), today);
    if (due) {
        deck_->setInit(activeCard_, true);
        deck_->turnTo(box, *due, activeCard_);
        enableButtonsForBox(dialog, box, true);
        bringToFront(dialog, activeCard_);
        return;
    }
    for (int other = BoxDays::firstBox; other <= BoxDays::lastBox; ++other) {
        if (nextDueIndex(*deck_, other, 0, dueCards_.days(), today)) {
            // As a click on its radio button would; that selection walks to the card.
            dialog.click(radioOfBox(other));
            return;
        }
    }
    deck_->setInit(activeCard_, false);
    disableCardButtons(dialog);
    if (BoxDays::isScheduled(box)) {
        enableGetNewCard(dialog);
    }
    showNoCards(dialog);
}
