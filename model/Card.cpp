#include "model/Card.h"

#include <utility>

Card::Card() = default;

Card::Card(std::int32_t newFlag) : isNew_(newFlag), init_(1) {}

Card::Card(std::string mark, std::int32_t section, std::int32_t number, std::string question,
           std::string answer, std::string info)
    : mark_(std::move(mark)),
      section_(section),
      number_(number),
      question_(std::move(question)),
      answer_(std::move(answer)),
      info_(std::move(info)),
      init_(1) {}

void Card::setMark(const std::string& mark) {
    mark_ = mark;
    changed_ = 1;
}

void Card::setSection(std::int32_t section) {
    section_ = section;
    changed_ = 1;
}

void Card::setQuestion(const std::string& question) {
    question_ = question;
    changed_ = 1;
}

void Card::setAnswer(const std::string& answer) {
    answer_ = answer;
    changed_ = 1;
}

void Card::setInfo(const std::string& info) {
    info_ = info;
    changed_ = 1;
}

std::int32_t Card::takeNew() {
    const std::int32_t wasNew = isNew_;
    isNew_ = 0;
    return wasNew;
}
