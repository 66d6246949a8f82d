#include "ViewFixture.h"
#include "platform/WinConstants.h"

namespace {
// A card of box `box` whose question is `name`, dated `age` days before the fake
// clock's today (none: no day).
struct DatedCard {
    int box;
    std::string name;
    std::optional<int> age;
};

std::string datedDeck(std::initializer_list<DatedCard> cards) {
    std::string text;
    const CalendarDay today = FakeClock().today();
    for (const DatedCard& c : cards) {
        text += "<C><S>" + std::to_string(c.box) + "</S><Q>" + c.name + "</Q>";
        if (c.age) text += "<D>" + formatDay(today - *c.age) + "</D>";
        text += "</C>\r\n";
    }
    return text;
}

std::vector<std::string> dueFields(const FakeDialog& dialog) {
    std::vector<std::string> fields;
    for (int id = ids::box1Due; id <= ids::box5Due; ++id) fields.push_back(dialog.text(id));
    return fields;
}
}  // namespace

class DueCardsTest : public ViewTest {};

TEST_F(DueCardsTest, CountsAndLineFollowTheDeckTheScheduleAndTheDay) {
    settings.kept["Box3Days"] = 5;
    settings.kept["Box4Days"] = 3651;  // out of range: the default stays
    view.onInitDialog(dialog);
    open(datedDeck({{0, "n", {}},
                    {1, "a", 0},
                    {2, "b", 1},
                    {2, "c", 0},
                    {2, "d", 5},
                    {3, "e", 4},
                    {4, "f", {}},
                    {6, "t", 99}}));
    EXPECT_EQ(dueFields(dialog), (std::vector<std::string>{"1", "2", "0", "1", "0"}));
    EXPECT_EQ(dialog.text(ids::dueLine), "4 due today");
    EXPECT_EQ(count(2), "3");

    // Wrong values are refused with the dialog still up; the first right ones are kept.
    dialog.boxDaysAnswers = {
        {"0", "x", "5", "7", "14"}, {"0", "1", "5", "7", "3651"}, {"0", "9", "5", "7", "14"}};
    press(ids::scheduleItem);
    EXPECT_EQ(dialog.boxDaysShown.back(), (BoxDaysTexts{"0", "1", "5", "7", "14"}));
    EXPECT_EQ(
        dialog.boxDaysProblems,
        (std::vector<std::string>{"Box 2: please enter a whole number of days from 0 to 3650.",
                                  "Box 5: please enter a whole number of days from 0 to 3650."}));
    EXPECT_EQ(settings.kept["Box2Days"], 9u);
    EXPECT_EQ(dueFields(dialog), (std::vector<std::string>{"1", "0", "0", "1", "0"}));

    // Cancel changes nothing; a store that fails says so once and the days still hold.
    dialog.boxDaysAnswers.clear();
    press(ids::scheduleItem);
    EXPECT_EQ(dialog.text(ids::dueLine), "2 due today");
    settings.failWith = 5;
    dialog.boxDaysAnswers = {{"1", "9", "5", "7", "14"}};
    boxes.clear();
    press(ids::scheduleItem);
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(dialog.text(ids::dueLine), "1 due today");

    // A new day brings more cards due.
    clock.day += 1;
    view.onDayTick(dialog);
    EXPECT_EQ(dueFields(dialog), (std::vector<std::string>{"1", "0", "1", "1", "0"}));
}

TEST_F(DueCardsTest, DueCardsOnlyWalksTheDueCardsOfABoxThenTheLowestBoxWithDueCards) {
    open(datedDeck({{2, "b", 1}, {2, "c", 0}, {2, "d", 5}, {2, "f", 0}, {3, "g", 3}}));
    EXPECT_FALSE(dialog.itemChecked(ids::dueOnlyItem));
    dialog.click(ids::box2Radio);
    press(ids::nextButton);
    EXPECT_EQ(question(), "c");  // off: every card, as always

    press(ids::dueOnlyItem);
    EXPECT_TRUE(dialog.itemChecked(ids::dueOnlyItem));
    EXPECT_EQ(question(), "d");
    press(ids::nextButton);
    EXPECT_EQ(question(), "b");
    EXPECT_EQ(questionsIn(2), (std::vector<std::string>{"b", "c", "d", "f"}));
    EXPECT_EQ(view.deck()->box(2)[2]->getMark(), "-");  // the marks Next leaves
    press(ids::previousItem);
    EXPECT_EQ(question(), "d");
    press(ids::dueOnlyItem);
    press(ids::nextButton);
    EXPECT_EQ(question(), "f");  // off again: the next card, due or not
    press(ids::dueOnlyItem);
    EXPECT_EQ(question(), "b");

    press(ids::moveButton);  // b goes up, dated today: no longer due
    EXPECT_EQ(question(), "d");
    press(ids::moveButton);  // box 2 has nothing due left: box 3 is chosen
    EXPECT_TRUE(dialog.checked(ids::box3Radio));
    EXPECT_EQ(question(), "g");
    press(ids::moveButton);
    EXPECT_EQ(dialog.text(ids::dueLine), "Nothing due today. Next: 2 on 2026-12-09");
    EXPECT_EQ(cardButtons(), allOff);

    press(ids::undoItem);
    EXPECT_EQ(question(), "g");
    dialog.findAnswer = "c";
    press(ids::findItem);  // Find still finds any card
    EXPECT_EQ(question(), "c");
}

TEST_F(DueCardsTest, ProgressFollowsLearningUndoAndTheDayWhileOpenAndNeverChangesTheDeck) {
    const std::string text = datedDeck({{0, "n", {}}, {1, "a", 0}, {1, "b", 0}, {2, "c", 9}});
    open(text);
    press(ids::progressItem);
    ASSERT_TRUE(dialog.progress);
    EXPECT_EQ(dialog.progress->deckName, "deck");
    EXPECT_EQ(dialog.progress->boxes, (std::array<int, 7>{1, 2, 1, 0, 0, 0, 0}));
    EXPECT_EQ(dialog.progress->due[0], 3);
    EXPECT_FALSE(dialog.itemEnabled(ids::undoItem));

    press(ids::moveButton);
    press(ids::moveButton);
    press(ids::getNewCardItem);
    EXPECT_EQ(dialog.progress->learned.back(), (DayTally{2, 0, 1}));
    EXPECT_EQ(dialog.progress->boxes[2], 3);
    press(ids::undoItem);
    EXPECT_EQ(dialog.progress->learned.back(), (DayTally{2, 0, 0}));
    press(ids::redoItem);
    press(ids::box2Radio);
    press(ids::backButton);
    clock.day += 1;
    view.onDayTick(dialog);
    EXPECT_EQ(dialog.progress->learned[28], (DayTally{2, 1, 1}));
    EXPECT_EQ(dialog.progress->learned.back(), DayTally{});

    // Asked again, it comes to the front; closed, it is no longer drawn.
    press(ids::progressItem);
    EXPECT_EQ(dialog.progressShows, 2);
    dialog.progressOpen = false;
    const ProgressData last = *dialog.progress;
    press(ids::moveButton);
    EXPECT_EQ(*dialog.progress, last);

    // The history is saved after the cards.
    boxes.answer(IDYES);
    press(ids::saveItem);
    const std::string saved = files.files[deckPath];
    EXPECT_EQ(saved.substr(saved.find("<H>")), "<H>\r\n" + formatDay(clock.day - 1) + " 2 1 1\r\n" +
                                                   formatDay(clock.day) + " 1 0 0\r\n</H>\r\n");
}
