#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeTextKnowledge.h"
#include "model/AnswerCheck.h"
#ifdef _WIN32
#include "shell/Win32TextKnowledge.h"
#endif

namespace {
// The result line with the letters that differ in brackets.
std::string marked(const VerdictLine& line) {
    std::string text;
    std::size_t at = 0;
    for (const TextSpan& span : line.marked) {
        text.append(line.text, at, span.from - at).append("[");
        text.append(line.text, span.from, span.to - span.from).append("]");
        at = span.to;
    }
    return text.append(line.text, at);
}

template <class Knowledge>
class AnswerCheckTest : public ::testing::Test {
protected:
    Knowledge knowledge;
};
#ifdef _WIN32
// Under Windows every case runs against the system too, so the fake cannot drift.
using Knowledges = ::testing::Types<FakeTextKnowledge, Win32TextKnowledge>;
#else
using Knowledges = ::testing::Types<FakeTextKnowledge>;
#endif
TYPED_TEST_SUITE(AnswerCheckTest, Knowledges);

TYPED_TEST(AnswerCheckTest, EachVerdictWithItsLineAndMarks) {
    struct Case {
        const char* typed;
        const char* side;
        const char* line;  // the letters that differ in brackets
    };
    const Case cases[] = {
        // Case, white space and composition never count.
        {"House", "house", "Right."},
        {"  the \t house ", "the house", "Right."},
        {"e\u0301lite", "élite", "Right."},
        {"ΛΌΓΟΣ", "λόγος", "Right."},
        {"Vie\u0302\u0323t", "Việt", "Right."},
        // Accents of every script, even typed apart from their letters.
        {"elite", "élite", "Right, mind the accent: [é]lite"},
        {"elite", "e\u0301lite", "Right, mind the accent: [e\u0301]lite"},
        {"λογος", "λόγος", "Right, mind the accent: λ[ό]γος"},
        {"tieng Viet", "tiếng Việt", "Right, mind the accent: ti[ế]ng Vi[ệ]t"},
        {"ёлка", "елка", "Right, mind the accent: [е]лка"},
        {"Que tal", "¿Qué tal?", "Right, mind the accent: [¿]Qu[é] tal[?]"},
        // Punctuation of several scripts, gone or read as a blank.
        {"Qué tal", "¿Qué tal?", "Right, mind the punctuation: [¿]Qué tal[?]"},
        {"well known", "well-known", "Right, mind the punctuation: well[-]known"},
        {"Il a dit oui", "Il a dit « oui »", "Right, mind the punctuation: Il a dit [« ]oui[ »]"},
        {"こんにちは", "「こんにちは。」", "Right, mind the punctuation: [「]こんにちは[。」]"},
        {"Спасибо!", "спасибо", "Right, mind the punctuation: спасиб[о]"},
        // Letters of any script are never punctuation, and the kana voicing is a letter.
        {"ねこ", "いぬ", "Wrong: [いぬ]"},
        {"かっこう", "がっこう", "Wrong: [が]っこう"},
        {"ありがとお", "ありがとう", "Almost: ありがと[う]"},
        {"кот", "кит", "Wrong: к[и]т"},
        {"спасиба", "спасибо", "Almost: спасиб[о]"},
        // One slip in a word of five letters or more: changed, missing, extra, swapped.
        {"hause", "house", "Almost: h[o]use"},
        {"Strase", "Straße", "Almost: Stra[ß]e"},
        {"the hhouse", "the house", "Almost: the [h]ouse"},
        {"hosue", "house", "Almost: ho[us]e"},
        {"haus", "hous", "Wrong: h[o]us"},
        {"hoem", "home", "Wrong: ho[me]"},
        {"hxusx", "house", "Wrong: h[o]us[e]"},
        {"bighouse", "big house", "Wrong: big[ ]house"},
        // Several right answers, the closest named; parts in parentheses optional.
        {"walk", "go; walk, stroll", "Right."},
        {"Katze", "Hund\r\nKatze", "Right."},
        {"strol", "go; walk, stroll", "Almost: strol[l]"},
        {"wakl", "go; walk", "Wrong: wa[lk]"},
        {"yes, sir", "yes, sir", "Right."},
        {"go", "(to) go", "Right."},
        {"to go", "(to) go", "Right."},
        {"(to) go", "(to) go", "Right."},
        {"go away, off", "go (away, off); leave", "Right."},
        {"to", "(to) go", "Wrong: (to) [g]o"},
        // Nothing typed, or nothing to type.
        {"", "house", "Wrong: [house]"},
        {" ", "", "Right."},
    };
    for (const Case& c : cases) {
        const AnswerCheck check = checkAnswer(c.typed, c.side, {}, this->knowledge);
        EXPECT_EQ(marked(verdictLine(check, c.side)), c.line) << c.typed << " / " << c.side;
    }
}

TYPED_TEST(AnswerCheckTest, CaseAndAccentsCountWhenTheSettingsSaySo) {
    struct Case {
        bool ignoreCase;
        bool ignoreAccents;
        const char* typed;
        const char* side;
        AnswerVerdict verdict;
    };
    const Case cases[] = {
        {false, false, "House", "house", AnswerVerdict::almost},
        {false, false, "Go", "go", AnswerVerdict::wrong},
        {false, false, "ÉLITE", "élite", AnswerVerdict::wrong},
        {true, true, "elite", "élite", AnswerVerdict::right},
        {true, true, "tieng viet", "tiếng Việt", AnswerVerdict::right},
        {true, true, "Que tal", "¿Qué tal?", AnswerVerdict::rightButPunctuation},
        {true, true, "かっこう", "がっこう", AnswerVerdict::wrong},
    };
    for (const Case& c : cases) {
        const AnswerCheck check =
            checkAnswer(c.typed, c.side, {c.ignoreCase, c.ignoreAccents}, this->knowledge);
        EXPECT_EQ(check.verdict, c.verdict) << c.typed << " / " << c.side;
    }
}

TYPED_TEST(AnswerCheckTest, LongTextsCostTimeByTheirLengthNotItsSquare) {
    std::string side(40000, 'a');
    std::string typed = side;
    typed[20000] = 'b';
    EXPECT_EQ(checkAnswer(typed, side, {}, this->knowledge).verdict, AnswerVerdict::almost);
    typed.replace(10000, 20000, std::string(20000, 'c'));
    const AnswerCheck check = checkAnswer(typed, side, {}, this->knowledge);
    EXPECT_EQ(check.verdict, AnswerVerdict::wrong);
    EXPECT_EQ(check.differing, (std::vector<TextSpan>{{10000, 30000}}));
    EXPECT_EQ(checkAnswer(side, "house", {}, this->knowledge).verdict, AnswerVerdict::wrong);
}

#ifdef _WIN32
// Every character the fake knows, as the system knows it.
TEST(FakeTextKnowledge, AgreesWithTheSystem) {
    FakeTextKnowledge fake;
    Win32TextKnowledge system;
    std::string all;
    for (const auto& [character, parts] : FakeTextKnowledge::table()) {
        std::string whole;
        appendUtf8(whole, character);
        all += whole;
        EXPECT_EQ(system.decompose(whole), fake.decompose(whole)) << whole;
        EXPECT_EQ(system.compose(fake.decompose(whole)), whole) << whole;
    }
    all += "ABZ ÀÉÖÜ ΆΈΉΊΌΎΏΑΣΩ ς АЯЁ ƠƯĂ ẠỆ !?.,;:'\"-()«»¿¡·。、「」・—–‘’“”„…;؟،।\t\u00A0\u3000";
    EXPECT_EQ(system.foldCase(all), fake.foldCase(all));
    EXPECT_EQ(system.kinds(all), fake.kinds(all));
}
#endif
}  // namespace
