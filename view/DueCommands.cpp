#include "platform/MQMessage.h"
#include "platform/WinConstants.h"
#include "view/ControlIds.h"
#include "view/MQMainView.h"

void MQMainView::onDueOnly(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    dueCards_.setDueOnly(!dueCards_.dueOnly());
    dialog.checkMenuItem(ids::dueOnlyItem, dueCards_.dueOnly());
    // Turning it off leaves the card shown where it is.
    walkToDueCard(dialog, DueWalk::forward);
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
    walkToDueCard(dialog, DueWalk::forward);
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
        walkToDueCard(dialog, DueWalk::forward);
    }
}

void MQMainView::walkToDueCard(DialogPort& dialog, DueWalk walk) {
    if (dueCards_.turnToDueCard(dialog, deck_, activeCard_, platform_.clock.today(), walk)) {
        bringToFront(dialog, activeCard_);
    }
}
