#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "model/DeckMerge.h"

namespace {

// A deck as text: "1: a b@3|2: c=x", boxes apart by "|", each card its question,
// "=answer" when it has one and "@day" when it has a day; front card first.
CardBoxes deckOf(const std::string& text) {
    CardBoxes deck;
    std::istringstream boxes(text);
    std::string box;
    while (std::getline(boxes, box, '|')) {
        std::istringstream words(box.substr(box.find(':') + 1));
        const int number = std::stoi(box);
        std::string word;
        while (words >> word) {
            const auto at = word.find('@');
            const auto is = word.find('=');
            const std::string question = word.substr(0, std::min(at, is));
            const std::string answer =
                is == std::string::npos ? "" : word.substr(is + 1, at - is - 1);
            auto card = std::make_shared<Card>("-", number, 0, question, answer, "");
            card->setDay(at == std::string::npos ? noDay : std::stoi(word.substr(at + 1)));
            deck.boxForReading(number).push_back(card);
        }
    }
    return deck;
}

std::string textOf(const CardBoxes& deck) {
    std::string text;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        if (deck.count(box) == 0) continue;
        text += (text.empty() ? "" : "|") + std::to_string(box) + ":";
        for (const CardRef& card : deck.box(box)) {
            EXPECT_EQ(card->getSection(), box);
            EXPECT_EQ(card->getMark(), card == deck.box(box).front() ? "+" : "-");
            text += " " + std::string(card->getQuestion());
            if (!card->getAnswer().empty()) text += "=" + std::string(card->getAnswer());
            if (card->getDay() != noDay) text += "@" + std::to_string(card->getDay());
        }
    }
    return text;
}

struct Row {
    const char* what;
    const char* base;  // nullptr: two copies without a base
    const char* mine;
    const char* theirs;
    const char* merged;
    MergeSummary summary;  // here, there, added, removed, edited on both
    // Merged with mine and theirs swapped, when not the same deck; here and there
    // swap in the summary, but for a tie, which goes to mine either way.
    const char* swapped;
    bool tie = false;
};

const Row rows[] = {
    {"empty decks", "", "", "", "", {}, nullptr},
    {"one card left alone", "1: a", "1: a", "1: a", "1: a", {}, nullptr},
    {"learned on one side",
     "1: a b",
     "1: b|2: a@5",
     "1: a b",
     "1: b|2: a@5",
     {1, 0, 0, 0, 0},
     nullptr},
    {"learned on both: the later day",
     "1: a",
     "2: a@5",
     "1: a@7",
     "1: a@7",
     {0, 1, 0, 0, 0},
     nullptr},
    {"moved on both on the same day: mine",
     "1: a b c",
     "1: b c|2: a@5",
     "1: b c a@5",
     "1: b c|2: a@5",
     {1, 0, 0, 0, 0},
     "1: b c a@5",
     true},
    {"typed on one side", "1: a=x", "1: a=y", "1: a=x", "1: a=y", {}, nullptr},
    {"typed on one side, learned on the other",
     "1: a=x b",
     "1: a=y b",
     "1: b|2: a=x@4",
     "1: b|2: a=y@4",
     {0, 1, 0, 0, 0},
     nullptr},
    {"typed differently on both: theirs behind mine",
     "1: a=x b",
     "1: a=y b",
     "1: a=z b",
     "1: a=y a=z b",
     {0, 0, 0, 0, 1},
     "1: a=z a=y b"},
    {"typed alike on both", "1: a=x", "1: a=y", "1: a=y", "1: a=y", {}, nullptr},
    {"added on either side",
     "1: a",
     "1: a b",
     "0: c|1: a",
     "0: c|1: a b",
     {0, 0, 2, 0, 0},
     nullptr},
    {"added alike on both", "", "0: a", "0: a", "0: a", {0, 0, 1, 0, 0}, nullptr},
    {"deleted on one side, left alone on the other",
     "1: a b",
     "1: a",
     "1: a b",
     "1: a",
     {0, 0, 0, 1, 0},
     nullptr},
    {"deleted on one side, learned on the other",
     "1: a b",
     "1: a",
     "1: a|2: b@3",
     "1: a|2: b@3",
     {0, 1, 0, 0, 0},
     nullptr},
    {"deleted on one side, typed on the other",
     "1: a b",
     "1: a",
     "1: a b=x",
     "1: a b=x",
     {},
     nullptr},
    {"added without answer: no edit of a deleted card",
     "1: a b",
     "1: a b",
     "1: a|2: x@3",
     "1: a|2: x@3",
     {0, 0, 1, 1, 0},
     nullptr},
    {"deleted on both", "1: a b", "1: a", "1: a", "1: a", {0, 0, 0, 1, 0}, nullptr},
    {"equal texts: the k-th to the k-th",
     "1: a a b",
     "1: b|2: a@3 a@5",
     "1: a b",
     "1: b|2: a@3 a@5",
     {2, 0, 0, 0, 0},
     nullptr},
    {"turned on one side: its current card",
     "1: a b c",
     "1: b c a",
     "1: a b c",
     "1: b c a",
     {},
     nullptr},
    {"turned on both: theirs", "1: a b c", "1: b c a", "1: c a b", "1: c a b", {}, "1: b c a"},
    {"moved by mine: behind the card it follows in mine",
     "1: a|2: x y",
     "2: x y a@5",
     "1: a|2: z@6 x y",
     "2: z@6 x y a@5",
     {1, 0, 1, 0, 0},
     "2: z@6 a@5 x y"},
    {"no base: the later day",
     nullptr,
     "1: a|2: b@3",
     "1: a b",
     "1: a|2: b@3",
     {1, 0, 0, 0, 0},
     nullptr},
    {"no base: the same day, mine",
     nullptr,
     "2: a@4",
     "3: a@4",
     "2: a@4",
     {1, 0, 0, 0, 0},
     "3: a@4",
     true},
    {"no base: a card on one side only",
     nullptr,
     "1: a b",
     "1: a c",
     "1: a b c",
     {0, 0, 2, 0, 0},
     "1: a c b"},
    {"no base: equal texts", nullptr, "1: a a", "1: a", "1: a a", {0, 0, 1, 0, 0}, nullptr},
};

TEST(DeckMerge, EachRuleFromBothSides) {
    for (const Row& row : rows) {
        for (const bool swap : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (swap ? ", sides swapped" : ""));
            const CardBoxes base = deckOf(row.base ? row.base : "");
            const CardBoxes mine = deckOf(swap ? row.theirs : row.mine);
            const CardBoxes theirs = deckOf(swap ? row.mine : row.theirs);
            const MergedDeck merged = mergeDecks(row.base ? &base : nullptr, mine, theirs);
            EXPECT_EQ(textOf(merged.deck), swap && row.swapped ? row.swapped : row.merged);
            MergeSummary expected = row.summary;
            if (swap && !row.tie) std::swap(expected.learnedHere, expected.learnedThere);
            EXPECT_EQ(merged.summary, expected) << mergeSummaryLine(merged.summary);
        }
    }
}

TEST(DeckMerge, HistoryCountsWhatEachSideAddedToTheBase) {
    const auto withHistory = [](std::initializer_list<std::pair<CalendarDay, DayTally>> days) {
        CardBoxes deck = deckOf("1: a");
        for (const auto& [day, tally] : days) deck.historyForReading().add(day, tally);
        return deck;
    };
    const CardBoxes base = withHistory({{1, {2, 1, 1, 1}}});
    // Mine took one Back of day 1 back with Undo and learned on day 2.
    const CardBoxes mine = withHistory({{1, {3, 0, 1, 2}}, {2, {1, 1, 0}}});
    const CardBoxes theirs = withHistory({{1, {2, 1, 3, 4}}});
    const LearningHistory::Days threeWay{{1, {3, 0, 3, 5}}, {2, {1, 1, 0}}};
    const LearningHistory::Days twoWay{{1, {3, 1, 3, 4}}, {2, {1, 1, 0}}};
    EXPECT_EQ(mergeDecks(&base, mine, theirs).deck.history().days(), threeWay);
    EXPECT_EQ(mergeDecks(nullptr, mine, theirs).deck.history().days(), twoWay);
    CardBoxes utf8 = deckOf("1: a");
    utf8.setEncoding(CardEncoding::utf8);
    EXPECT_EQ(mergeDecks(&base, mine, utf8).deck.encoding(), CardEncoding::utf8);
}

// Random copies of a random deck, each card's fate known by its name: every card
// of either copy must come out once as the rules say, or not at all where they
// delete it.
using Face = std::tuple<std::string, std::string, int, CalendarDay>;  // texts, box, day

struct Copy {
    std::map<int, Face> cards;  // by the base card it came from; added: 1000 on
    CardBoxes deck;
};

Copy changed(const std::map<int, Face>& base, std::mt19937& random, const std::string& side) {
    Copy copy;
    const auto roll = [&random](int n) { return static_cast<int>(random() % n); };
    for (auto [id, face] : base) {
        const int what = roll(6);
        if (what == 0) continue;  // deleted
        if (what == 1 || what == 3) std::get<1>(face) += side;
        if (what == 2 || what == 3) face = {std::get<0>(face), std::get<1>(face), roll(7), roll(3)};
        copy.cards[id] = face;
    }
    for (int added = roll(3); added > 0; --added) {
        const int id = roll(3);
        copy.cards[1000 + id] = {"new" + std::to_string(id), "", roll(7), roll(3)};
    }
    for (const auto& [id, face] : copy.cards) {
        const auto& [question, answer, box, day] = face;
        auto card = std::make_shared<Card>("-", box, 0, question, answer, "");
        card->setDay(day);
        auto& cards = copy.deck.boxForReading(box);
        cards.insert(cards.begin() + roll(static_cast<int>(cards.size()) + 1), card);
    }
    return copy;
}

std::multiset<Face> expectedFaces(const std::map<int, Face>& base, const Copy& mine,
                                  const Copy& theirs) {
    std::multiset<Face> faces;
    std::set<int> ids;
    for (const Copy* copy : {&mine, &theirs})
        for (const auto& card : copy->cards) ids.insert(card.first);
    for (const int id : ids) {
        const auto m = mine.cards.find(id), t = theirs.cards.find(id), b = base.find(id);
        const bool hasMine = m != mine.cards.end(), hasTheirs = t != theirs.cards.end();
        const bool hasBase = b != base.end();
        if (!hasMine || !hasTheirs) {
            const Face& only = hasMine ? m->second : t->second;
            if (!hasBase || only != b->second) faces.insert(only);
            continue;
        }
        const Face &mf = m->second, &tf = t->second;
        // Without a base, cards typed apart are two cards.
        if (!hasBase && std::get<1>(mf) != std::get<1>(tf)) {
            faces.insert({mf, tf});
            continue;
        }
        const Face bf = hasBase ? b->second : mf;
        const auto learning = [](const Face& f) {
            return std::make_pair(std::get<2>(f), std::get<3>(f));
        };
        const bool mineLearned =
            hasBase ? learning(mf) != learning(bf) : learning(mf) != learning(tf);
        const bool theirsLearned = hasBase ? learning(tf) != learning(bf) : mineLearned;
        const bool mineWins = mineLearned && (!theirsLearned || std::get<3>(mf) >= std::get<3>(tf));
        Face kept = mineWins ? mf : tf;
        const bool theirsTyped = std::get<1>(tf) != std::get<1>(bf);
        const bool mineTyped = std::get<1>(mf) != std::get<1>(bf);
        std::get<1>(kept) = theirsTyped && !mineTyped ? std::get<1>(tf) : std::get<1>(mf);
        faces.insert(kept);
        if (mineTyped && theirsTyped && std::get<1>(mf) != std::get<1>(tf)) {
            std::get<1>(kept) = std::get<1>(tf);
            faces.insert(kept);
        }
    }
    return faces;
}

TEST(DeckMerge, EveryCardOfRandomCopiesIsAccountedForOnce) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        std::map<int, Face> base;
        CardBoxes baseDeck;
        for (int id = static_cast<int>(random() % 12); id > 0; --id) {
            const int box = static_cast<int>(random() % 7);
            base[id] = {"q" + std::to_string(id), "a" + std::to_string(id), box, 1};
            auto card = std::make_shared<Card>("-", box, 0, std::get<0>(base[id]),
                                               std::get<1>(base[id]), "");
            card->setDay(1);
            baseDeck.boxForReading(box).push_back(card);
        }
        const Copy mine = changed(base, random, "m"), theirs = changed(base, random, "t");
        const bool hasBase = round % 4 != 0;
        const MergedDeck merged = mergeDecks(hasBase ? &baseDeck : nullptr, mine.deck, theirs.deck);
        std::multiset<Face> faces;
        for (int box = 0; box < CardBoxes::boxCount; ++box)
            for (const CardRef& card : merged.deck.box(box))
                faces.insert({std::string(card->getQuestion()), std::string(card->getAnswer()),
                              card->getSection(), card->getDay()});
        ASSERT_EQ(faces, expectedFaces(hasBase ? base : std::map<int, Face>{}, mine, theirs))
            << "round " << round << "\nmine " << textOf(mine.deck) << "\ntheirs "
            << textOf(theirs.deck);
    }
}

}  // namespace
