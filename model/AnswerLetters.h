#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/TextKnowledge.h"

// A part of a text by its bytes.
struct TextSpan {
    std::size_t from = 0;
    std::size_t to = 0;
    bool operator==(const TextSpan& other) const { return from == other.from && to == other.to; }
};

// A letter as a reader sees one: a character with the accents it carries, in the
// two forms an answer is compared by, and where it stands in its text.
struct AnswerLetter {
    std::string exact;                           // composed; folded when case does not count
    std::string plain;                           // `exact` without its accents
    CharacterKind kind = CharacterKind::letter;  // never an accent: that rides on its letter
    TextSpan at;
};
using AnswerLetters = std::vector<AnswerLetter>;

// Reads texts into letters. It keeps the forms of every letter it has met, so a
// long text asks the system once for each different letter, not for each letter.
class LetterReader {
public:
    LetterReader(TextKnowledge& knowledge, bool ignoreCase)
        : knowledge_(knowledge), ignoreCase_(ignoreCase) {}
    // The letters of `text` within `span`, placed in `text`.
    AnswerLetters read(std::string_view text, TextSpan span);

private:
    struct Forms {
        std::string exact;
        std::string plain;
    };
    const Forms& forms(const std::string& letter);
    std::string withoutAccents(const std::string& letter);

    TextKnowledge& knowledge_;
    bool ignoreCase_;
    std::unordered_map<std::string, Forms> seen_;
};

// White space as a reader takes it: none at the ends, one blank for each run.
void settleBlanks(AnswerLetters& letters);

// The letters without their punctuation, or with each mark of it read as a blank
// (so that "well known" may stand for "well-known"), blanks settled.
AnswerLetters withoutPunctuation(const AnswerLetters& letters, bool asBlank);
