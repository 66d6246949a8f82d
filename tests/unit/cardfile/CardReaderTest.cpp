#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cardfile/CardReader.h"
#include "cardfile/CardText.h"
#include "cardfile/HistoryBlock.h"
#include "fakes/FakeMessageBoxes.h"
#include "reference/ReferenceReader.h"

namespace {

const char* const overwriteText =
    "Couldn't find a card.If you proceed the file willbe over written. Please ensureyou're "
    "using a right file!";
const char* const sectionText = "Invalid section number found! Set number to section 1!";

std::string card(const std::string& mark, const std::string& section, const std::string& number,
                 const std::string& question) {
    return "<C>\r\n<M>" + mark + "</M>\r\n<S>" + section + "</S>\r\n<N>" + number + "</N>\r\n<Q>" +
           question + "</Q>\r\n</C>\r\n";
}

// The questions of a box, front to back.
std::vector<std::string> questions(const CardBoxes& deck, int box) {
    std::vector<std::string> result;
    for (const CardRef& c : deck.box(box)) {
        result.emplace_back(c->getQuestion());
    }
    return result;
}

using Texts = std::vector<std::string>;

TEST(CardReader, OrdersLearningBoxesByNumberLedByThePlusCardButKeepsBoxZeroInFileOrder) {
    const std::string text = "leading junk\r\n\r\n" + card("-", "3", "5", "five") +
                             card("-", "3", "2", "two") + card("-", "3", "2", "two again") +
                             card("-", "2", "3", "b3") + card("+", "2", "2", "b2") +
                             card("-", "2", "1", "b1") + card("+", "0", "9", "z9") +
                             card("-", "0", "1", "z1") + "between and after";
    CardBoxes deck;
    FakeMessageBoxes boxes;
    readCardText(deck, text, boxes);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(questions(deck, 3), (Texts{"two", "two again", "five"}));
    EXPECT_EQ(questions(deck, 2), (Texts{"b2", "b3", "b1"}));
    EXPECT_EQ(questions(deck, 0), (Texts{"z9", "z1"}));
    EXPECT_EQ(deck.hasCards(), 1);
    EXPECT_EQ(deck.isAborted(), 0);
    const Card& lead = *deck.box(2).front();
    EXPECT_EQ(lead.getMark(), "+");
    EXPECT_EQ(lead.getNumber(), 2);
}

TEST(CardReader, TakesTheHistoryBlockAfterTheLastCardAndOnlyLinesThatRead) {
    const std::string one = card("+", "1", "1", "q");
    const std::string kept = "<H>\r\n2026-03-09 1 2 3\r\n</H>\r\n";
    const struct {
        const char* name;
        std::string text;
        std::string history;  // as the writer writes it
    } cases[] = {
        {"as written", one + kept, kept},
        {"LF only, blanks, no end tag", one + "<H>\n 2026-03-09\t1 2 3 \n\n2026-03-10 0 0 1",
         "<H>\r\n2026-03-09 1 2 3\r\n2026-03-10 0 0 1\r\n</H>\r\n"},
        {"a day twice adds up", one + "<H>\r\n2026-03-09 1 0 0\r\n2026-03-09 0 2 3\r\n</H>", kept},
        {"lines that do not read",
         one + "<H>\r\n2026-02-30 1 1 1\r\n2026-03-01 1 1\r\n2026-03-01 1 1 1 1\r\n"
               "2026-03-01 -1 0 0\r\n2026-03-01 +1 0 0\r\n2026-03-01 1 0 99999999999\r\n"
               "3/1/2026 1 1 1\r\n2026-03-01 0 0 0\r\n2026-03-09 1 2 3\r\n</H>\r\n",
         kept},
        {"in the text of a card", card("+", "1", "1", kept), ""},
        {"a card after it", kept + one, ""},
        {"the last of two", one + "<H>\r\n2026-01-01 9 9 9\r\n</H>\r\n" + kept, kept},
        {"none", one, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CardBoxes deck;
        FakeMessageBoxes boxes;
        readCardText(deck, c.text, boxes);
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_EQ(deck.count(1), 1);
        EXPECT_EQ(historyBlockText(deck.history()), c.history);
    }
}

TEST(CardReader, MissingOrUnclosedFieldsTakeDefaultsAndValuesAreVerbatim) {
    const std::string text =
        "<C><Q>only</Q></C>"
        "<C><X>?</X><I>info</I><S> 4 boxes</S><A>two\r\nlines </A><Q>first</Q><Q>second</Q>"
        "<M></M><N>7</C>"
        "<C><S>letters</S><Q>unclosed</C>";
    CardBoxes deck;
    FakeMessageBoxes boxes;
    readCardText(deck, text, boxes);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(deck.count(0), 2);
    const Card& only = *deck.box(0)[0];
    EXPECT_EQ(only.getMark(), "-");
    EXPECT_EQ(only.getSection(), 0);
    EXPECT_EQ(only.getNumber(), 0);
    EXPECT_EQ(only.getQuestion(), "only");
    EXPECT_EQ(only.getAnswer(), "");
    EXPECT_EQ(only.getInfo(), "");
    const Card& unclosed = *deck.box(0)[1];
    EXPECT_EQ(unclosed.getQuestion(), "");
    ASSERT_EQ(deck.count(4), 1);
    const Card& mixed = *deck.box(4).front();
    EXPECT_EQ(mixed.getMark(), "");
    EXPECT_EQ(mixed.getNumber(), 0);
    EXPECT_EQ(mixed.getQuestion(), "first");
    EXPECT_EQ(mixed.getAnswer(), "two\r\nlines ");
    EXPECT_EQ(mixed.getInfo(), "info");
}

TEST(CardReader, SectionOutsideTheBoxesIsReportedOnceAndGoesToBoxOne) {
    const std::string text = card("-", "7", "1", "seven") + card("-", "-1", "2", "minus") +
                             card("-", "6", "1", "six") + card("-", "99999999999", "3", "huge") +
                             card("-", "-4294967296", "4", "wraps to zero in 64 bits");
    CardBoxes deck;
    FakeMessageBoxes boxes;
    readCardText(deck, text, boxes);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().owner, noWindow);
    EXPECT_EQ(boxes.last().text, sectionText);
    EXPECT_FALSE(boxes.last().caption.has_value());
    EXPECT_EQ(boxes.last().type, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(questions(deck, 1), (Texts{"seven", "minus", "huge", "wraps to zero in 64 bits"}));
    EXPECT_EQ(deck.box(1).front()->getSection(), 1);
    EXPECT_EQ(questions(deck, 6), (Texts{"six"}));
}

TEST(CardReader, IntegersReadLikeAtoiAndSaturate) {
    EXPECT_EQ(readInteger(" \t\r\n3 and words"), 3);
    EXPECT_EQ(readInteger("+12x"), 12);
    EXPECT_EQ(readInteger("-0012"), -12);
    EXPECT_EQ(readInteger(""), 0);
    EXPECT_EQ(readInteger("- 5"), 0);
    EXPECT_EQ(readInteger("x5"), 0);
    EXPECT_EQ(readInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(readInteger("2147483648"), INT32_MAX);
    EXPECT_EQ(readInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(readInteger("-99999999999999999999999"), INT32_MIN);
}

TEST(CardReader, TextWithoutAnyCardAsksOnceAndNoAborts) {
    for (const int answer : {IDYES, IDNO}) {
        CardBoxes deck;
        FakeMessageBoxes boxes;
        boxes.answer(answer);
        readCardText(deck, "\r\nno cards here <Q>q</Q>", boxes);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().owner, noWindow);
        EXPECT_EQ(boxes.last().text, overwriteText);
        EXPECT_EQ(boxes.last().caption, std::optional<std::string>("Overwrite?"));
        EXPECT_EQ(boxes.last().type,
                  static_cast<unsigned>(MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2));
        EXPECT_EQ(deck.isAborted(), answer == IDNO ? 1 : 0);
        EXPECT_EQ(deck.hasCards(), 1);
        EXPECT_EQ(questions(deck, 0), (Texts{"q"}));
    }
}

TEST(CardReader, BlocksWithoutAnEndAskOnlyOnceAndTheFirstAnswerHolds) {
    // The first block ends; the next three do not.
    const std::string text = card("-", "1", "1", "ended") + "<C><Q>a</Q><C><Q>b</Q><C><Q>c</Q>";
    for (const int first : {IDYES, IDNO}) {
        CardBoxes deck;
        FakeMessageBoxes boxes;
        boxes.answer(first);
        boxes.answer(first == IDYES ? IDNO : IDYES);
        readCardText(deck, text, boxes);
        EXPECT_EQ(boxes.count(), 1u);
        EXPECT_EQ(deck.isAborted(), first == IDNO ? 1 : 0);
        EXPECT_EQ(questions(deck, 0), (Texts{"a", "b", "c"}));
        EXPECT_EQ(questions(deck, 1), (Texts{"ended"}));
    }
}

TEST(CardReader, EndsAndOverlapsFollowTheFormat) {
    CardBoxes deck;
    FakeMessageBoxes boxes;
    // A "<C>" inside an unfinished block starts a second block ending at the same
    // "</C>"; the first takes its answer from beyond the second "<C>". The final
    // "</C" lost its ">", and the NUL ends the text.
    readCardText(deck,
                 std::string("<C><Q>one</Q><C><A>two</A></C>\r\n<C><S>2</S><Q>cut</Q></C") + '\0' +
                     "<C><Q>after NUL</Q></C>",
                 boxes);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(deck.count(0), 2);
    EXPECT_EQ(deck.box(0)[0]->getQuestion(), "one");
    EXPECT_EQ(deck.box(0)[0]->getAnswer(), "two");
    EXPECT_EQ(deck.box(0)[1]->getQuestion(), "");
    EXPECT_EQ(deck.box(0)[1]->getAnswer(), "two");
    EXPECT_EQ(questions(deck, 2), (Texts{"cut"}));
}

TEST(CardReader, BuildingBlocksReportBlocksAndFields) {
    CardText text("ab<C><Q>x</Q></C><C><Q>y</C");
    std::size_t scan = 0;
    CardBlock block;
    EXPECT_TRUE(text.nextCardBlock(scan, block));
    EXPECT_EQ(block.start, 2u);
    EXPECT_EQ(block.end, 13u);
    EXPECT_TRUE(block.found);
    EXPECT_EQ(scan, 17u);
    EXPECT_EQ(text.fieldValue(block, tagsOf(CardField::question)),
              std::optional<std::string_view>("x"));
    EXPECT_FALSE(text.nextCardBlock(scan, block));
    EXPECT_EQ(text.fieldValue(block, tagsOf(CardField::question)), std::nullopt);
    // Going back is still answered correctly.
    scan = 0;
    EXPECT_TRUE(text.nextCardBlock(scan, block));
    EXPECT_EQ(block.end, 13u);
    EXPECT_EQ(findTag("<Q><Q>", 1, "<Q>", 4), noTag);
    EXPECT_EQ(findTag("<Q><Q>", 1, "<Q>", 5), 3u);
}

std::string describeBoxes(const FakeMessageBoxes& boxes) {
    std::string out;
    for (const FakeMessageBoxes::Shown& box : boxes.shown) {
        out +=
            box.text + " | " + box.caption.value_or("-") + " | " + std::to_string(box.type) + "\n";
    }
    return out;
}

// Texts where blocks overlap, end early, end twice or not at all, and where a
// written block is not quite what the writer writes; the fuzz target does the
// same comparison at large.
TEST(CardReader, GivesWhatThePlainReferenceReaderGives) {
    const auto written = [](const std::string& question) {
        return "<C>\r\n<M>+</M>\r\n<S>2</S>\r\n<N>1</N>\r\n<Q>" + question +
               "</Q>\r\n<A>a</A>\r\n<I>i</I>\r\n</C>\r\n";
    };
    const std::string whole = written("w");
    const std::vector<std::string> texts = {
        whole + written("a<b") + written("<Q>inner") + written("</C") + written("<C>"),
        "<C><Q>a</Q><C><A>b</Q></A></C><C><I>unended</I>",
        "<C><Q>x</C><C><Q>y</C",
        "<C><Q>1</C<C><Q>2</Q></C>",
        "<C><M>+<C></M><S>3</S></C<C><S>-9</S>",
        "</C><Q>q</Q><S>9</S></C",
        "<C><S>7</S><C><Q></C>x</Q></C><C>",
        whole.substr(0, whole.size() - 3) + whole.substr(0, 40),
        whole.substr(0, whole.size() - 2) + card("-", "3", "1", "q") + whole,
        whole.substr(0, 60) + whole,
        // Days: as written, in another place, twice, not a date, and cut.
        whole.substr(0, whole.size() - 6) + "<D>2026-12-08</D>\r\n</C>\r\n" + whole,
        "<C><D>2024-02-29</D><Q>leap</Q></C><C><Q>x</Q><D>2025-02-29</D></C>",
        "<C><D>2026-1-08</D><D>2026-01-08</D></C><C><D> 2026-01-08</D></C><C><D>2026-01-08",
        whole.substr(0, whole.size() - 6) + "<D>9999-12-31</D></C>" + whole,
    };
    for (const std::string& text : texts) {
        CardBoxes deck, reference;
        FakeMessageBoxes boxes, referenceBoxes;
        readCardText(deck, text, boxes);
        referenceReadCardText(reference, text, referenceBoxes);
        EXPECT_EQ(describeDeck(deck), describeDeck(reference)) << text;
        EXPECT_EQ(describeBoxes(boxes), describeBoxes(referenceBoxes)) << text;
    }
}

// Each damaged pattern makes a search that restarts per block rescan the rest of
// the text for every block: with this many blocks that takes minutes, not seconds.
TEST(CardReader, DamagedTextsAreReadInLinearTime) {
    const std::size_t blocks = 100000;
    std::string noEnds, sharedEnd, unclosedFields;
    for (std::size_t i = 0; i < blocks; ++i) {
        noEnds += "<C>";
        sharedEnd += "<C>";
        unclosedFields += "<C><Q>";
    }
    noEnds += "<Q>last</Q>";
    sharedEnd += "<Q>shared</Q></C>";
    unclosedFields += "</C>";
    for (const std::string* text : {&noEnds, &sharedEnd, &unclosedFields}) {
        CardBoxes deck;
        FakeMessageBoxes boxes;
        readCardText(deck, *text, boxes);
        EXPECT_LE(boxes.count(), 1u);
        ASSERT_EQ(deck.count(0), static_cast<int>(blocks));
    }
}

// Every block before the one long field takes that field as its own question; a
// copy per card would need tens of gigabytes here.
TEST(CardReader, OverlappingBlocksShareTheFieldTheyAllTake) {
    const std::size_t blocks = 20000;
    std::string text;
    for (std::size_t i = 0; i < blocks; ++i) text += "<C>";
    const std::string longQuestion(1 << 20, 'q');
    text += "<Q>" + longQuestion + "</Q></C>";
    CardBoxes deck;
    FakeMessageBoxes boxes;
    readCardText(deck, text, boxes);
    ASSERT_EQ(deck.count(0), static_cast<int>(blocks));
    EXPECT_EQ(deck.box(0).front()->getQuestion(), longQuestion);
    EXPECT_EQ(deck.box(0).front()->getQuestion().data(), deck.box(0).back()->getQuestion().data());

    // Editing one of them leaves the others as they were.
    deck.box(0).front()->setQuestion("edited");
    EXPECT_EQ(deck.box(0).back()->getQuestion(), longQuestion);
}

// A card taken out of the deck (Delete) stays valid while the controller holds it,
// also after the deck and the text it was read from are gone.
TEST(CardReader, ACardOutlivesItsDeckAndTheTextItWasReadFrom) {
    auto deck = std::make_unique<CardBoxes>();
    FakeMessageBoxes boxes;
    std::string text = card("+", "1", "1", "kept") + card("-", "1", "2", "other");
    readCardText(*deck, std::move(text), boxes);
    CardRef kept = deck->box(1).front();
    ASSERT_TRUE(deck->removeFirst(1));
    deck.reset();
    EXPECT_EQ(kept->getQuestion(), "kept");
    EXPECT_EQ(kept->getMark(), "+");
    kept->setInfo("edited later");
    EXPECT_EQ(kept->getInfo(), "edited later");
}

}  // namespace
