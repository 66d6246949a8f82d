#include "model/Card.h"

#include <utility>

#include "platform/TextCoding.h"

namespace {
// The marks that the deck sets over and over, and the empty text: constants
// that a card can refer to without a copy of its own.
constexpr std::string_view leadMark = "+";
constexpr std::string_view otherMark = "-";
constexpr std::string_view emptyText = "";
}  // namespace

struct Card::OwnTexts {
    std::string mark;
    std::string question;
    std::string answer;
    std::string info;
};

Card::Card() : Card(0) { init_ = false; }

Card::Card(std::int32_t newFlag)
    : mark_(otherMark),
      question_(emptyText),
      answer_(emptyText),
      info_(emptyText),
      isNew_(newFlag),
      init_(true) {}

Card::Card(std::string_view mark, std::int32_t section, std::int32_t number,
           std::string_view question, std::string_view answer, std::string_view info)
    : section_(section), number_(number), init_(true) {
    keep(mark_, &OwnTexts::mark, mark);
    keep(question_, &OwnTexts::question, question);
    keep(answer_, &OwnTexts::answer, answer);
    keep(info_, &OwnTexts::info, info);
}

Card::Card(CardSource source, std::string_view mark, std::int32_t section, std::int32_t number,
           std::string_view question, std::string_view answer, std::string_view info)
    : source_(std::move(source)),
      mark_(mark),
      question_(question),
      answer_(answer),
      info_(info),
      section_(section),
      number_(number),
      init_(true),
      undecoded_(isReadFrom(CardEncoding::cp1252)) {
    // The reader asks every card for its mark, which is short.
    if (undecoded_ && firstHighByte(mark_) != mark_.size()) {
        decode();
    }
}

Card::~Card() = default;

void Card::decode() const {
    undecoded_ = false;
    const auto widen = [this](std::string_view& text, unsigned bit) {
        if (firstHighByte(text) != text.size()) {
            text = source_->decode(text);
            decoded_ |= bit;
        }
    };
    widen(question_, bitOf(CardTextField::question));
    widen(answer_, bitOf(CardTextField::answer));
    widen(info_, bitOf(CardTextField::info));
    widen(mark_, markBit);
}

std::shared_ptr<Card> Card::copy() const {
    // A copy of a card read from a file refers to the file's bytes, and decodes
    // them when asked, as the card did.
    auto card = keepsFirstTexts()
                    ? std::make_shared<Card>(source_, asRead(mark_, markBit), section_, number_,
                                             asRead(question_, bitOf(CardTextField::question)),
                                             asRead(answer_, bitOf(CardTextField::answer)),
                                             asRead(info_, bitOf(CardTextField::info)))
                    : std::make_shared<Card>(mark_, section_, number_, getQuestion(), getAnswer(),
                                             getInfo());
    card->day_ = day_;
    return card;
}

void Card::keep(std::string_view& text, std::string OwnTexts::*copy, std::string_view value) {
    if (!own_) {
        own_ = std::make_unique<OwnTexts>();
    }
    // Built aside first: `value` may be the very copy it replaces.
    std::string& held = (*own_).*copy;
    held = std::string(value);
    text = held;
}

void Card::set(std::string_view& text, std::string OwnTexts::*copy, std::string_view value,
               CardTextField field) {
    // Decoded first: the texts not set stay as the file held them.
    decoded();
    keep(text, copy, value);
    set_ |= bitOf(field);
}

void Card::setMark(std::string_view mark) {
    decoded();
    decoded_ &= ~markBit;
    if (mark == leadMark || mark == otherMark) {
        mark_ = mark == leadMark ? leadMark : otherMark;
    } else {
        keep(mark_, &OwnTexts::mark, mark);
    }
}

void Card::setSection(std::int32_t section) { section_ = section; }

void Card::setQuestion(std::string_view question) {
    set(question_, &OwnTexts::question, question, CardTextField::question);
}

void Card::setAnswer(std::string_view answer) {
    set(answer_, &OwnTexts::answer, answer, CardTextField::answer);
}

void Card::setInfo(std::string_view info) {
    set(info_, &OwnTexts::info, info, CardTextField::info);
}

std::int32_t Card::takeNew() {
    const std::int32_t wasNew = isNew_;
    isNew_ = 0;
    return wasNew;
}
