#pragma once
#include <string_view>
#include <vector>

#include "model/AnswerLetters.h"

// One right answer a card's text offers, and the parts of it in parentheses, which
// the learner may leave out: "(to) go" accepts "go" and "to go".
struct AnswerAlternative {
    TextSpan span;                        // as on the card, without the blanks at its ends
    std::vector<TextSpan> optionalParts;  // parentheses included
};

// The right answers in a card's text: each part between ";", "," and line breaks
// (not those within parentheses), and each line with several parts as a whole, so
// that a phrase with a comma in it is right when typed whole. A text with no
// answer in it offers the empty one.
std::vector<AnswerAlternative> answerAlternatives(std::string_view text);

// The ways `letters` of `alternative` may be typed, blanks settled: as on the card,
// and with each optional part in or out (the first few; later ones stay in) and
// the parentheses left out. A way that leaves nothing is none.
std::vector<AnswerLetters> optionalWays(const AnswerAlternative& alternative,
                                        const AnswerLetters& letters);
