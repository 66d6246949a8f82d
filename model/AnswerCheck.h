#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/AnswerLetters.h"
#include "platform/TextKnowledge.h"

struct AnswerSettings {
    bool ignoreCase = true;
    bool ignoreAccents = false;  // then an accent missed is plainly right
};

// From best to worst; the first three count as right, the others as wrong.
enum class AnswerVerdict { right, rightButAccent, rightButPunctuation, almost, wrong };
inline bool countsAsRight(AnswerVerdict verdict) {
    return verdict <= AnswerVerdict::rightButPunctuation;
}

// A typed answer judged against the side it stands for.
struct AnswerCheck {
    AnswerVerdict verdict = AnswerVerdict::wrong;
    TextSpan expected;                // the right answer it was closest to, in the side's text
    std::vector<TextSpan> differing;  // the letters of the side's text that differ, merged
};

// Judges `typed` against `side` (the card's text, which may offer several right
// answers) as a teacher would: white space and composition never count, case only
// when asked, accents and punctuation as a lesser slip, one slip in a long word as
// "almost", which still counts as wrong.
AnswerCheck checkAnswer(std::string_view typed, std::string_view side,
                        const AnswerSettings& settings, TextKnowledge& knowledge);

// The verdict as the result line says it, and the letters of the right answer in
// it that differ from the typed one.
struct VerdictLine {
    std::string text;
    std::vector<TextSpan> marked;
};
VerdictLine verdictLine(const AnswerCheck& check, std::string_view side);
