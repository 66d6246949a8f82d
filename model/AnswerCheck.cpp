#include "model/AnswerCheck.h"

#include <tuple>

#include "model/AnswerAlternatives.h"
#include "model/LetterDistance.h"

namespace {
// A slip of one letter is "almost" only in a word this long: in a shorter one it
// makes another word too often ("cat" and "car").
constexpr std::size_t almostWordLength = 5;
// Wrong answers are told apart by closeness only this far.
constexpr std::size_t closenessCap = 64;

LetterKeys keys(const AnswerLetters& letters, bool plain) {
    LetterKeys keys;
    keys.reserve(letters.size());
    for (const AnswerLetter& letter : letters) keys.push_back(plain ? letter.plain : letter.exact);
    return keys;
}

bool same(const AnswerLetters& a, const AnswerLetters& b, bool plain) {
    return keys(a, plain) == keys(b, plain);
}

bool isBlank(std::string_view key) { return key == " "; }

// One slip, not across words, within a word long enough to tell the slip from another word.
bool isAlmost(const LetterKeys& expected, const LetterKeys& typed) {
    const std::optional<SingleSlip> slip = singleSlip(expected, typed);
    if (!slip || expected.empty()) return false;
    const std::size_t at = slip->at;
    const bool blankTouched =
        (at < expected.size() && slip->slip != Slip::extra && isBlank(expected[at])) ||
        (slip->slip == Slip::swapped && isBlank(expected[at + 1])) ||
        (slip->slip != Slip::missing && isBlank(typed[at]));
    if (blankTouched) return false;
    std::size_t first = std::min(at, expected.size() - 1);
    if (isBlank(expected[first]) && first > 0) --first;  // an extra letter ending a word
    std::size_t last = first;
    while (first > 0 && !isBlank(expected[first - 1])) --first;
    while (last + 1 < expected.size() && !isBlank(expected[last + 1])) ++last;
    return last + 1 - first >= almostWordLength;
}

struct Judgement {
    AnswerVerdict verdict;
    std::size_t distance;
    bool operator<(const Judgement& other) const {
        return std::tie(verdict, distance) < std::tie(other.verdict, other.distance);
    }
};

Judgement judge(const AnswerLetters& expected, const AnswerLetters& typed, bool ignoreAccents) {
    const bool plain = ignoreAccents;
    if (same(expected, typed, plain)) return {AnswerVerdict::right, 0};
    if (same(expected, typed, true)) return {AnswerVerdict::rightButAccent, 0};
    const AnswerLetters expectedBare = withoutPunctuation(expected, false);
    const AnswerLetters typedBare = withoutPunctuation(typed, false);
    const AnswerLetters expectedSpaced = withoutPunctuation(expected, true);
    const AnswerLetters typedSpaced = withoutPunctuation(typed, true);
    for (const bool form : {plain, true}) {
        if (same(expectedBare, typedBare, form) || same(expectedSpaced, typedSpaced, form)) {
            // Where both differ, the accent is what the learner should mind first.
            return {
                form == plain ? AnswerVerdict::rightButPunctuation : AnswerVerdict::rightButAccent,
                0};
        }
    }
    const LetterKeys e = keys(expectedBare, true), t = keys(typedBare, true);
    if (isAlmost(e, t)) return {AnswerVerdict::almost, 1};
    return {AnswerVerdict::wrong, cappedDistance(e, t, closenessCap)};
}

std::vector<TextSpan> differingSpans(const AnswerLetters& expected, const AnswerLetters& typed,
                                     bool plain) {
    const std::vector<bool> unmatched = unmatchedLetters(keys(expected, plain), keys(typed, plain));
    std::vector<TextSpan> spans;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (!unmatched[i]) continue;
        if (!spans.empty() && spans.back().to == expected[i].at.from) {
            spans.back().to = expected[i].at.to;
        } else {
            spans.push_back(expected[i].at);
        }
    }
    return spans;
}
}  // namespace

AnswerCheck checkAnswer(std::string_view typed, std::string_view side,
                        const AnswerSettings& settings, TextKnowledge& knowledge) {
    LetterReader reader(knowledge, settings.ignoreCase);
    AnswerLetters typedLetters = reader.read(typed, {0, typed.size()});
    settleBlanks(typedLetters);
    AnswerCheck best;
    AnswerLetters bestWay;
    std::optional<Judgement> bestJudgement;
    for (const AnswerAlternative& alternative : answerAlternatives(side)) {
        const AnswerLetters letters = reader.read(side, alternative.span);
        for (AnswerLetters& way : optionalWays(alternative, letters)) {
            const Judgement judgement = judge(way, typedLetters, settings.ignoreAccents);
            if (bestJudgement && !(judgement < *bestJudgement)) continue;
            bestJudgement = judgement;
            best.verdict = judgement.verdict;
            best.expected = alternative.span;
            bestWay = std::move(way);
        }
    }
    best.differing = differingSpans(bestWay, typedLetters, settings.ignoreAccents);
    return best;
}

namespace {
std::string_view verdictWords(AnswerVerdict verdict) {
    switch (verdict) {
        case AnswerVerdict::right:
            return "Right.";
        case AnswerVerdict::rightButAccent:
            return "Right, mind the accent: ";
        case AnswerVerdict::rightButPunctuation:
            return "Right, mind the punctuation: ";
        case AnswerVerdict::almost:
            return "Almost: ";
        case AnswerVerdict::wrong:
            break;
    }
    return "Wrong: ";
}
}  // namespace

VerdictLine verdictLine(const AnswerCheck& check, std::string_view side) {
    VerdictLine line{std::string(verdictWords(check.verdict)), {}};
    if (check.verdict == AnswerVerdict::right) return line;
    const std::size_t shift = line.text.size();
    line.text.append(side, check.expected.from, check.expected.to - check.expected.from);
    for (const TextSpan& span : check.differing) {
        line.marked.push_back(
            {span.from - check.expected.from + shift, span.to - check.expected.from + shift});
    }
    return line;
}
