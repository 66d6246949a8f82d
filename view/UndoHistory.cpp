#include "view/UndoHistory.h"

#include <algorithm>
#include <utility>

void UndoHistory::replay(CardBoxes& deck, const DeckChange& change, bool forward) {
    deck.replay(change, forward);
    if (log_) log_->changes.push_back({change, forward});
}

void UndoHistory::takeBack(CardBoxes& deck, const DeckJournal& changes, std::size_t keep) {
    for (std::size_t i = changes.size(); i > keep; --i) {
        replay(deck, changes[i - 1], false);
    }
}

void UndoHistory::setTexts(const CardRef& card, const CardTexts& texts) {
    card->setQuestion(texts.question);
    card->setAnswer(texts.answer);
    card->setInfo(texts.info);
    if (log_) log_->editedCard = card;
}

void UndoHistory::clear() {
    done_.clear();
    undone_.clear();
    baseNavigation_.clear();
}

void UndoHistory::record(UndoStep step) {
    undone_.clear();
    baseNavigation_.clear();
    done_.push_back(std::move(step));
    if (done_.size() > capacity) {
        done_.pop_front();
    }
}

void UndoHistory::recordNavigation(DeckJournal&& changes) {
    if (changes.empty() || (done_.empty() && undone_.empty())) {
        return;
    }
    DeckJournal& navigation = navigationOnTop();
    navigation.insert(navigation.end(), std::make_move_iterator(changes.begin()),
                      std::make_move_iterator(changes.end()));
}

std::optional<ShownCards> UndoHistory::undo(CardBoxes& deck, const ShownCards& now) {
    if (done_.empty()) {
        return std::nullopt;
    }
    UndoStep step = std::move(done_.back());
    done_.pop_back();
    // Kept, not dropped: a redo brings the deck back to exactly where this undo
    // found it, which the steps above this one were made on.
    takeBack(deck, step.navigation);
    takeBack(deck, step.changes);
    if (step.editedCard) {
        setTexts(step.editedCard, step.textsBefore);
    }
    step.after = now;
    step.navigationBelow = navigationOnTop().size();
    ShownCards shown = step.before;
    undone_.push_back(std::move(step));
    return shown;
}

std::optional<ShownCards> UndoHistory::redo(CardBoxes& deck) {
    if (undone_.empty()) {
        return std::nullopt;
    }
    UndoStep step = std::move(undone_.back());
    undone_.pop_back();
    DeckJournal& below = navigationOnTop();
    const std::size_t keep = std::min(below.size(), step.navigationBelow);
    takeBack(deck, below, keep);
    below.erase(below.begin() + static_cast<std::ptrdiff_t>(keep), below.end());
    if (step.editedCard) {
        setTexts(step.editedCard, step.textsAfter);
    }
    for (const DeckChange& change : step.changes) {
        replay(deck, change, true);
    }
    for (const DeckChange& change : step.navigation) {
        replay(deck, change, true);
    }
    ShownCards shown = step.after;
    done_.push_back(std::move(step));
    return shown;
}
