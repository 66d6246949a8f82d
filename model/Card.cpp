#include "model/Card.h"

#include <utility>

namespace {
const SharedText& emptyText() {
    static const SharedText empty = makeText("");
    return empty;
}
}  // namespace

SharedText makeText(std::string text) {
    return std::make_shared<const std::string>(std::move(text));
}

Card::Card() : Card(0) { init_ = 0; }

Card::Card(std::int32_t newFlag)
    : mark_(makeText("-")),
      question_(emptyText()),
      answer_(emptyText()),
      info_(emptyText()),
      isNew_(newFlag),
      init_(1) {}

Card::Card(std::string mark, std::int32_t section, std::int32_t number, std::string question,
           std::string answer, std::string info)
    : Card(makeText(std::move(mark)), section, number, makeText(std::move(question)),
           makeText(std::move(answer)), makeText(std::move(info))) {}

Card::Card(SharedText mark, std::int32_t section, std::int32_t number, SharedText question,
           SharedText answer, SharedText info)
    : mark_(std::move(mark)),
      section_(section),
      number_(number),
      question_(std::move(question)),
      answer_(std::move(answer)),
      info_(std::move(info)),
      init_(1) {}

void Card::setMark(const std::string& mark) {
    mark_ = makeText(mark);
    changed_ = 1;
}

void Card::setSection(std::int32_t section) {
    section_ = section;
    changed_ = 1;
}

void Card::setQuestion(const std::string& question) {
    question_ = makeText(question);
    changed_ = 1;
}

void Card::setAnswer(const std::string& answer) {
    answer_ = makeText(answer);
    changed_ = 1;
}

void Card::setInfo(const std::string& info) {
    info_ = makeText(info);
    changed_ = 1;
}

std::int32_t Card::takeNew() {
    const std::int32_t wasNew = isNew_;
    isNew_ = 0;
    return wasNew;
}
