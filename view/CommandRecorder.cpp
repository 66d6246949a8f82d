#include "view/CommandRecorder.h"

#include <algorithm>

namespace {
CardTexts textsOf(const Card& card) {
    return CardTexts{std::string(card.getQuestion()), std::string(card.getAnswer()),
                     std::string(card.getInfo())};
}

// Moving, inserting or removing a card changes the deck; the rest only navigates.
bool changesDeck(const DeckJournal& changes) {
    return std::any_of(changes.begin(), changes.end(), [](const DeckChange& change) {
        // A count of its own (a typed answer right on the first try) is learning
        // too: a step that Undo takes back and the recovery record keeps.
        return change.kind == DeckChange::Kind::moved ||
               change.kind == DeckChange::Kind::inserted ||
               change.kind == DeckChange::Kind::removed || change.kind == DeckChange::Kind::tallied;
    });
}
}  // namespace

void CommandRecorder::begin(DialogPort& dialog, CardBoxes* deck, const ShownCards& shown,
                            bool editing, CalendarDay today) {
    if (depth_++ > 0) {
        return;
    }
    features_.commandBegan(dialog);
    replayed_.clear();
    if (deck == nullptr) {
        return;
    }
    journal_.clear();
    settled_ = false;
    deck->setToday(today);
    start_ = shown;
    typedInto_.reset();
    if (editing) {
        typedInto_ = shown.shown;
        textsAtStart_ = textsOf(*typedInto_);
    }
}

void CommandRecorder::end(DialogPort& dialog, CardBoxes* deck, const CardFile& file,
                          const ShownCards& shown) {
    if (--depth_ > 0 || deck == nullptr) {
        return;
    }
    CommandEnd end{*deck,   file, shown.box, settled_, false, journal_,
                   nullptr, {},   {},        start_,   shown, replayed_};
    if (!settled_ && typedInto_) {
        CardTexts now = textsOf(*typedInto_);
        if (!(now == textsAtStart_)) {
            end.editedCard = typedInto_;
            end.textsBefore = std::move(textsAtStart_);
            end.textsAfter = std::move(now);
        }
    }
    end.changedDeck = !settled_ && (end.editedCard || changesDeck(journal_));
    features_.commandEnded(dialog, end);
    journal_.clear();
    typedInto_.reset();
    start_ = ShownCards{};
}

void CommandRecorder::startDeck(CardBoxes& deck, CalendarDay today) {
    journal_.clear();
    deck.setJournal(&journal_);
    deck.setToday(today);
    settled_ = true;
}
