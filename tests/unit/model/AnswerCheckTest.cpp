#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeTextKnowledge.h"
#include "model/AnswerCheck.h"
#ifdef _WIN32
#include "shell/Win32TextKnowledge.h"
#endif

namespace {
// The side's text with the letters that differ from `typed` in brackets.
std::string marked(std::string_view side, const AnswerCheck& check) {
    std::string text;
    std::size_t at = 0;
    for (const TextSpan& span : check.differing) {
        text.append(side, at, span.from - at).append("[");
        text.append(side, span.from, span.to - span.from).append("]");
        at = span.to;
    }
    return text.append(side, at);
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
        const char* line;
        const char* marks;  // the side with the differing letters in brackets
    };
    const Case cases[] = {
        // Case, white space and composition never count.
        {"House", "house", "Right.", "house"},
        {"  the \t house ", "the house", "Right.", "the house"},
        {"e\u0301lite", "élite", "Right.", "élite"},
        {"ΛΌΓΟΣ", "λόγος", "Right.", "λόγος"},
        {"Vie\u0302\u0323t", "Việt", "Right.", "Việt"},
        // Accents of every script, even typed apart from their letters.
        {"elite", "élite", "Right, mind the accent: élite", "[é]lite"},
        {"elite", "e\u0301lite", "Right, mind the accent: e\u0301lite", "[e\u0301]lite"},
        {"λογος", "λόγος", "Right, mind the accent: λόγος", "λ[ό]γος"},
        {"tieng Viet", "tiếng Việt", "Right, mind the accent: tiếng Việt", "ti[ế]ng Vi[ệ]t"},
        {"ёлка", "елка", "Right, mind the accent: елка", "[е]лка"},
        {"Que tal", "¿Qué tal?", "Right, mind the accent: ¿Qué tal?", "[¿]Qu[é] tal[?]"},
        // Punctuation of several scripts, gone or read as a blank.
        {"Qué tal", "¿Qué tal?", "Right, mind the punctuation: ¿Qué tal?", "[¿]Qué tal[?]"},
        {"well known", "well-known", "Right, mind the punctuation: well-known", "well[-]known"},
        {"Il a dit oui", "Il a dit « oui »", "Right, mind the punctuation: Il a dit « oui »",
         "Il a dit [« ]oui[ »]"},
        {"こんにちは", "「こんにちは。」", "Right, mind the punctuation: 「こんにちは。」",
         "[「]こんにちは[。」]"},
        {"Спасибо!", "спасибо", "Right, mind the punctuation: спасибо", "спасиб[о]"},
        // Letters of any script are never punctuation, and the kana voicing is a letter.
        {"ねこ", "いぬ", "Wrong: いぬ", "[いぬ]"},
        {"かっこう", "がっこう", "Wrong: がっこう", "[が]っこう"},
        {"ありがとお", "ありがとう", "Almost: ありがとう", "ありがと[う]"},
        {"кот", "кит", "Wrong: кит", "к[и]т"},
        {"спасиба", "спасибо", "Almost: спасибо", "спасиб[о]"},
        // One slip in a word of five letters or more: changed, missing, extra, swapped.
        {"hause", "house", "Almost: house", "h[o]use"},
        {"Strase", "Straße", "Almost: Straße", "Stra[ß]e"},
        {"the hhouse", "the house", "Almost: the house", "the [h]ouse"},
        {"hosue", "house", "Almost: house", "ho[us]e"},
        {"haus", "hous", "Wrong: hous", "h[o]us"},
        {"hoem", "home", "Wrong: home", "ho[me]"},
        {"hxusx", "house", "Wrong: house", "h[o]us[e]"},
        {"bighouse", "big house", "Wrong: big house", "big[ ]house"},
        // Several right answers, the closest named; parts in parentheses optional.
        {"walk", "go; walk, stroll", "Right.", "go; walk, stroll"},
        {"Katze", "Hund\r\nKatze", "Right.", "Hund\r\nKatze"},
        {"strol", "go; walk, stroll", "Almost: stroll", "go; walk, strol[l]"},
        {"wakl", "go; walk", "Wrong: walk", "go; wa[lk]"},
        {"yes, sir", "yes, sir", "Right.", "yes, sir"},
        {"go", "(to) go", "Right.", "(to) go"},
        {"to go", "(to) go", "Right.", "(to) go"},
        {"(to) go", "(to) go", "Right.", "(to) go"},
        {"go away, off", "go (away, off); leave", "Right.", "go (away, off); leave"},
        {"to", "(to) go", "Wrong: (to) go", "(to) [g]o"},
        // Nothing typed, or nothing to type.
        {"", "house", "Wrong: house", "[house]"},
        {" ", "", "Right.", ""},
    };
    for (const Case& c : cases) {
        const AnswerCheck check = checkAnswer(c.typed, c.side, {}, this->knowledge);
        EXPECT_EQ(verdictLine(check, c.side), c.line) << c.typed << " / " << c.side;
        EXPECT_EQ(marked(c.side, check), c.marks) << c.typed << " / " << c.side;
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
