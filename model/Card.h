#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/CalendarDay.h"

// The text of a card file as the deck keeps it. Cards read from it refer to their
// texts there instead of copying them, and share it, so it lives exactly as long
// as the last such card: also after its deck is gone, for a card that the
// controller still holds.
using CardSource = std::shared_ptr<const std::string>;

// One flash card. Texts are UTF-8, possibly holding CR LF line breaks; a card read
// from a UTF-8 file keeps whatever bytes it held, valid or not, until edited. A
// card read from a card file refers to its texts in the file's text until one is
// set, when the card takes a copy of its own.
class Card {
public:
    // The controller's placeholder: no card to show (not init).
    Card();
    // A card made by Insert: empty texts, the given new flag, init.
    explicit Card(std::int32_t newFlag);
    // A card holding copies of the given texts. Note the order: question, answer, info.
    Card(std::string_view mark, std::int32_t section, std::int32_t number,
         std::string_view question, std::string_view answer, std::string_view info);
    // A card read from `source`: each text lies within it or is a constant.
    Card(CardSource source, std::string_view mark, std::int32_t section, std::int32_t number,
         std::string_view question, std::string_view answer, std::string_view info);
    // Views refer into the card's own copies: a copied card would refer into another's.
    Card(const Card&) = delete;
    Card& operator=(const Card&) = delete;
    ~Card();
    // Another card with the same texts, box and day. It still refers to the card
    // file's text where this one does, so a deck built from others (a merge) costs
    // no copy of the texts nobody edited.
    std::shared_ptr<Card> copy() const;

    std::string_view getMark() const { return mark_; }
    std::int32_t getSection() const { return section_; }
    std::int32_t getNumber() const { return number_; }
    std::string_view getQuestion() const { return question_; }
    std::string_view getAnswer() const { return answer_; }
    std::string_view getInfo() const { return info_; }
    // The day the card entered its box, or noDay when that is not known.
    CalendarDay getDay() const { return day_; }
    bool isInit() const { return init_; }
    // No text was ever set: each is the one it was made or read with.
    bool keepsFirstTexts() const { return own_ == nullptr; }

    void setMark(std::string_view mark);
    void setSection(std::int32_t section);
    void setQuestion(std::string_view question);
    void setAnswer(std::string_view answer);
    void setInfo(std::string_view info);
    void setDay(CalendarDay day) { day_ = day; }
    void setInit(bool init) { init_ = init; }
    // Reads the new flag and clears it.
    std::int32_t takeNew();

private:
    struct OwnTexts;
    // Points `text` at a copy of `value` held by the card itself.
    void keep(std::string_view& text, std::string OwnTexts::*copy, std::string_view value);

    CardSource source_;
    // Made on the first text set; most cards never need it.
    std::unique_ptr<OwnTexts> own_;
    std::string_view mark_;
    std::string_view question_;
    std::string_view answer_;
    std::string_view info_;
    std::int32_t section_ = 0;
    std::int32_t number_ = 0;
    CalendarDay day_ = noDay;
    std::int32_t isNew_ = 0;
    bool init_ = false;
};
