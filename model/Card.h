#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/CalendarDay.h"
#include "model/CardSource.h"

// Which of a card's texts.
enum class CardTextField { question, answer, info };

// One flash card. Texts are UTF-8, possibly holding CR LF line breaks; a card read
// from a UTF-8 file keeps whatever bytes it held, valid or not, until edited. A
// card read from a card file refers to its texts in the file's bytes (CardSource)
// until one is set, when the card takes a copy of its own. A card read from a code
// page 1252 file decodes its texts only when they are first asked for: most cards
// of a deck are never looked at between Open and Save, and a card nobody changed
// is written back from the file's own bytes.
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
    std::string_view getQuestion() const { return decoded().question_; }
    std::string_view getAnswer() const { return decoded().answer_; }
    std::string_view getInfo() const { return decoded().info_; }
    std::string_view getText(CardTextField field) const { return decoded().viewOf(field); }
    // The day the card entered its box, or noDay when that is not known.
    CalendarDay getDay() const { return day_; }
    bool isInit() const { return init_; }
    // No text was ever set: each is the one it was made or read with.
    bool keepsFirstTexts() const { return own_ == nullptr; }
    // The bytes a file in `encoding` held the text in, while the card still holds
    // it as read from such a file; nothing otherwise. Decodes nothing. Inline:
    // saving asks it for every text of the deck.
    std::optional<std::string_view> fileBytesOf(CardTextField field, CardEncoding encoding) const {
        const unsigned bit = bitOf(field);
        if (!isReadFrom(encoding) || (set_ & bit) != 0) {
            return std::nullopt;
        }
        return asRead(viewOf(field), bit);
    }
    bool isReadFrom(CardEncoding encoding) const {
        return source_ && source_->encoding() == encoding;
    }

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
    // Bits of set_ and decoded_: the three texts in CardTextField's order, then the mark.
    static constexpr unsigned markBit = 1u << 3;
    static constexpr unsigned bitOf(CardTextField field) {
        return 1u << static_cast<unsigned>(field);
    }

    const Card& decoded() const {
        if (undecoded_) {
            decode();
        }
        return *this;
    }
    void decode() const;
    std::string_view viewOf(CardTextField field) const {
        return field == CardTextField::question ? question_
               : field == CardTextField::answer ? answer_
                                                : info_;
    }
    // The text as the file held it, for one not set since.
    std::string_view asRead(std::string_view text, unsigned bit) const {
        return (decoded_ & bit) != 0 ? source_->originOf(text) : text;
    }
    // Points `text` at a copy of `value` held by the card itself.
    void keep(std::string_view& text, std::string OwnTexts::*copy, std::string_view value);
    void set(std::string_view& text, std::string OwnTexts::*copy, std::string_view value,
             CardTextField field);

    CardSource source_;
    // Made on the first text set; most cards never need it.
    std::unique_ptr<OwnTexts> own_;
    // Changed by decoding only, which gives the same texts in UTF-8.
    mutable std::string_view mark_;
    mutable std::string_view question_;
    mutable std::string_view answer_;
    mutable std::string_view info_;
    std::int32_t section_ = 0;
    std::int32_t number_ = 0;
    CalendarDay day_ = noDay;
    std::int32_t isNew_ = 0;
    bool init_ = false;
    // The texts are still the code page 1252 bytes of the file.
    mutable bool undecoded_ = false;
    // Which texts were decoded into the source, and which were set since reading.
    mutable std::uint8_t decoded_ = 0;
    std::uint8_t set_ = 0;
};
