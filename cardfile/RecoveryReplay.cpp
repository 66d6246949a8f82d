#include <utility>
#include <vector>

#include "cardfile/RecoveryEncoding.h"
#include "cardfile/RecoveryRecord.h"

namespace {

void setTexts(Card& card, std::string_view question, std::string_view answer,
              std::string_view info) {
    card.setQuestion(question);
    card.setAnswer(answer);
    card.setInfo(info);
}

// A texts change keeps the texts it replaced, so that it can be taken back.
void apply(CardBoxes& deck, ReadChange& read) {
    if (!read.texts) {
        deck.replay(read.change, read.forward);
        return;
    }
    Card& card = *read.change.card;
    std::string question(card.getQuestion()), answer(card.getAnswer()), info(card.getInfo());
    setTexts(card, read.question, read.answer, read.info);
    read.question = std::move(question);
    read.answer = std::move(answer);
    read.info = std::move(info);
}

void takeBack(CardBoxes& deck, std::vector<ReadChange>& applied) {
    for (auto it = applied.rbegin(); it != applied.rend(); ++it) {
        if (it->texts) {
            setTexts(*it->change.card, it->question, it->answer, it->info);
        } else {
            deck.replay(it->change, !it->forward);
        }
    }
}

}  // namespace

void CardNumbers::numberDeck(const CardBoxes& deck) {
    numbers_.clear();
    cards_.clear();
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            numberNew(card);
        }
    }
}

std::optional<std::uint32_t> CardNumbers::numberOf(const Card& card) const {
    const auto found = numbers_.find(&card);
    if (found == numbers_.end()) return std::nullopt;
    return found->second;
}

std::uint32_t CardNumbers::numberNew(const CardRef& card) {
    const auto number = static_cast<std::uint32_t>(cards_.size());
    numberAs(card, number);
    return number;
}

void CardNumbers::numberAs(const CardRef& card, std::uint32_t number) {
    if (number >= cards_.size()) cards_.resize(std::size_t{number} + 1);
    cards_[number] = card;
    numbers_[card.get()] = number;
}

CardRef CardNumbers::card(std::uint32_t number) const {
    return number < cards_.size() ? cards_[number] : nullptr;
}

// Each change finds its card where the ones before it left the deck, so each is
// made before the next is read.
bool replayEntry(CardBoxes& deck, CardNumbers& numbers, std::string_view payload) {
    EntryReader changes(payload, deck, numbers);
    std::vector<ReadChange> applied;
    while (changes.ok() && !changes.atEnd()) {
        ReadChange read;
        if (!changes.next(read)) {
            takeBack(deck, applied);
            return false;
        }
        apply(deck, read);
        applied.push_back(std::move(read));
    }
    if (!changes.ok()) {
        takeBack(deck, applied);
        return false;
    }
    return true;
}
