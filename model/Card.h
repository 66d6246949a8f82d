#pragma once
#include <cstdint>
#include <memory>
#include <string>

// A card text. Texts are never changed in place, only replaced, so cards read
// from one stretch of a damaged file (where many overlapping blocks all take the
// same field) can share it instead of each holding a copy of their own.
using SharedText = std::shared_ptr<const std::string>;
SharedText makeText(std::string text);

// One flash card. Texts are 8-bit strings in code page 1252, possibly holding
// CR LF line breaks; each card owns its own copies.
class Card {
public:
    // The controller's placeholder: no card to show (init 0).
    Card();
    // A card made by Insert: empty texts, the given new flag, init 1.
    explicit Card(std::int32_t newFlag);
    // A card read from a card file. Note the order: question, answer, info.
    Card(std::string mark, std::int32_t section, std::int32_t number, std::string question,
         std::string answer, std::string info);
    Card(SharedText mark, std::int32_t section, std::int32_t number, SharedText question,
         SharedText answer, SharedText info);

    const std::string& getMark() const { return *mark_; }
    std::int32_t getSection() const { return section_; }
    std::int32_t getNumber() const { return number_; }
    const std::string& getQuestion() const { return *question_; }
    const std::string& getAnswer() const { return *answer_; }
    const std::string& getInfo() const { return *info_; }
    std::int32_t isInit() const { return init_; }
    std::int32_t isChanged() const { return changed_; }

    void setMark(const std::string& mark);
    void setSection(std::int32_t section);
    void setQuestion(const std::string& question);
    void setAnswer(const std::string& answer);
    void setInfo(const std::string& info);
    void setInit(std::int32_t init) { init_ = init; }
    // Reads the new flag and clears it.
    std::int32_t takeNew();

private:
    SharedText mark_;
    std::int32_t section_ = 0;
    std::int32_t number_ = 0;
    SharedText question_;
    SharedText answer_;
    SharedText info_;
    std::int32_t isNew_ = 0;
    std::int32_t changed_ = 0;
    std::int32_t init_ = 0;
};
