#include <algorithm>

#include "view/ControlIds.h"
#include "view/MQMainView.h"

namespace {
int commandIdOfBox(int box) { return ids::box0Item + box; }

CardTexts textsOf(const Card& card) {
    return CardTexts{std::string(card.getQuestion()), std::string(card.getAnswer()),
                     std::string(card.getInfo())};
}

// Moving, inserting or removing a card changes the deck; the rest only navigates.
bool changesDeck(const DeckJournal& changes) {
    return std::any_of(changes.begin(), changes.end(), [](const DeckChange& change) {
        return change.kind == DeckChange::Kind::moved ||
               change.kind == DeckChange::Kind::inserted ||
               change.kind == DeckChange::Kind::removed;
    });
}
}  // namespace

MQMainView::Command::Command(MQMainView& view, DialogPort& dialog) : view_(view), dialog_(dialog) {
    view_.beginCommand(dialog_);
}

MQMainView::Command::~Command() { view_.endCommand(dialog_); }

ShownCards MQMainView::shownNow(DialogPort& dialog) {
    return ShownCards{getSelectedBox(dialog), activeCard_, view_.currentCard};
}

void MQMainView::beginCommand(DialogPort& dialog) {
    if (commandDepth_++ > 0) {
        return;
    }
    recovery_.commandBegins();
    replayLog_.clear();
    if (deck_ == nullptr) {
        return;
    }
    journal_.clear();
    historySettled_ = false;
    deck_->setToday(platform_.clock.today());
    commandStart_ = shownNow(dialog);
    // Only edit mode stores typing, and only into the card shown.
    typedIntoCard_.reset();
    if (isEditMode(dialog) == 1) {
        typedIntoCard_ = view_.currentCard;
        textsAtStart_ = textsOf(*typedIntoCard_);
    }
}

void MQMainView::endCommand(DialogPort& dialog) {
    if (--commandDepth_ > 0 || deck_ == nullptr) {
        return;
    }
    if (!historySettled_) {
        UndoStep step;
        if (typedIntoCard_) {
            CardTexts now = textsOf(*typedIntoCard_);
            if (!(now == textsAtStart_)) {
                step.editedCard = typedIntoCard_;
                step.textsBefore = std::move(textsAtStart_);
                step.textsAfter = std::move(now);
            }
        }
        const bool changed = step.editedCard || changesDeck(journal_);
        keepForRecovery(dialog, changed, journal_, step.editedCard);
        if (changed) {
            step.changes = std::move(journal_);
            step.before = std::move(commandStart_);
            step.after = shownNow(dialog);
            history_.record(std::move(step));
        } else {
            history_.recordNavigation(std::move(journal_));
        }
    } else if (!replayLog_.empty()) {
        keepReplayedForRecovery(dialog);
    }
    journal_.clear();
    typedIntoCard_.reset();
    commandStart_ = ShownCards{};
    showUndoState(dialog);
    refreshProgress(dialog);
}

void MQMainView::keepForRecovery(DialogPort& dialog, bool counts, const DeckJournal& changes,
                                 const CardRef& edited) {
    recovery_.commandEnded(*deck_, cardFile_, counts, getSelectedBox(dialog),
                           [&changes, &edited](RecordEntry& entry) {
                               for (const DeckChange& change : changes) entry.add(change, true);
                               if (edited) entry.addTexts(edited);
                           });
}

void MQMainView::keepReplayedForRecovery(DialogPort& dialog) {
    recovery_.commandEnded(*deck_, cardFile_, true, getSelectedBox(dialog),
                           [this](RecordEntry& entry) {
                               for (const auto& replayed : replayLog_.changes) {
                                   entry.add(replayed.change, replayed.forward);
                               }
                               if (replayLog_.editedCard) entry.addTexts(replayLog_.editedCard);
                           });
    replayLog_.clear();
}

void MQMainView::startHistory(DialogPort& dialog) {
    recovery_.restart();
    history_.clear();
    journal_.clear();
    deck_->setJournal(&journal_);
    deck_->setToday(platform_.clock.today());
    historySettled_ = true;
    showUndoState(dialog);
}

void MQMainView::showUndoState(DialogPort& dialog) {
    dialog.enableMenuItem(ids::undoItem, history_.canUndo());
    dialog.enableMenuItem(ids::redoItem, history_.canRedo());
}

bool MQMainView::paneTakesUndo(DialogPort& dialog) {
    if (deck_ == nullptr || isEditMode(dialog) == 0) {
        return false;
    }
    const int pane = dialog.focusedControl();
    if (pane != ids::questionPane && pane != ids::answerPane) {
        return false;
    }
    if (!dialog.isModified(pane)) {
        return false;
    }
    return dialog.controlText(pane) != faceText(*view_.currentCard, view_.faceIn(pane));
}

void MQMainView::onUndo(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    if (paneTakesUndo(dialog)) {
        dialog.undoTyping(dialog.focusedControl());
        return;
    }
    historySettled_ = true;
    if (const auto shown = history_.undo(*deck_, shownNow(dialog))) {
        showRestored(dialog, *shown);
    }
}

void MQMainView::onRedo(DialogPort& dialog) {
    if (deck_ == nullptr) {
        return;
    }
    historySettled_ = true;
    if (const auto shown = history_.redo(*deck_)) {
        showRestored(dialog, *shown);
    }
}

void MQMainView::showRestored(DialogPort& dialog, const ShownCards& shown) {
    activeCard_ = shown.active;
    view_.currentCard = shown.shown;
    const bool found = activeCard_->isInit() == 1;
    if (shown.box >= 0) {
        markSelectedBox(dialog, commandIdOfBox(shown.box));
        enableButtonsForBox(dialog, shown.box, found);
    }
    if (found) {
        showCurrentCard(dialog);
    } else {
        disableCardButtons(dialog);
        showNoCards(dialog);
        // Edit mode never stands without a card to write on; it ends here as it
        // does when Delete empties the box, rather than inserting a card.
        if (isEditMode(dialog) == 1) {
            toggleEditMode(dialog, platform_.messageBoxes);
        }
    }
    refreshCounts(dialog);
}
