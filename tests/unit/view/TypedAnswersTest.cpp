#include "ViewFixture.h"
#include "fakes/FakeTextKnowledge.h"
#include "view/AnswerCommands.h"

namespace {
const std::string card =
    "<C>\r\n<S>2</S>\r\n<Q>Haus</Q>\r\n<A>house</A>\r\n<I>noun</I>\r\n</C>\r\n";

// The controller with Type the Answer attached, as the shell has it.
class TypedAnswersTest : public ViewTest {
protected:
    TypedAnswersTest() {
        view.attach(answers);
        dialog.commandSink = [this](int id) { command(id); };
        answers.start(dialog);
    }
    void command(int id) { dispatchDialogCommand(answers, view, dialog, id); }
    // The entry as a card leaves it: empty, with the focus, and nothing judged.
    void expectFreshEntry() {
        EXPECT_TRUE(dialog.answerEntryShown);
        EXPECT_EQ(dialog.text(ids::answerEntry), "");
        EXPECT_EQ(dialog.text(ids::resultLine), "");
        EXPECT_EQ(dialog.focus, ids::answerEntry);
        EXPECT_EQ(dialog.defaultButton, ids::nextButton);
    }

    FakeTextKnowledge knowledge;
    TypedAnswers answers{settings, knowledge, boxes};
};

TEST_F(TypedAnswersTest, EnterChecksRevealsAndThenPressesTheSuggestedButtonBothWays) {
    open(card + card + card + card);
    command(ids::box2Radio);
    EXPECT_FALSE(dialog.answerEntryShown);  // off at the first start: the dialog as before
    command(ids::typeAnswerItem);
    EXPECT_TRUE(dialog.itemChecked(ids::typeAnswerItem));
    EXPECT_EQ(settings.kept["TypeAnswer"], 1u);
    expectFreshEntry();
    struct Case {
        int direction;
        const char* typed;
        const char* line;
        int suggested;
        const char* revealed;
    };
    const Case cases[] = {
        {ids::questionFirstItem, "House", "Right.", ids::moveButton, "house"},
        {ids::questionFirstItem, "hause", "Almost: house", ids::backButton, "house"},
        {ids::answerFirstItem, "haus", "Right.", ids::moveButton, "Haus"},
        {ids::answerFirstItem, "Maus", "Wrong: Haus", ids::backButton, "Haus"},
    };
    int moved = 0;
    for (const Case& c : cases) {
        command(c.direction);
        expectFreshEntry();
        dialog.type(ids::answerEntry, c.typed);
        EXPECT_TRUE(controlTakesUndo(answers, view, dialog));
        command(ids::answerEnteredCommand);
        EXPECT_EQ(dialog.text(ids::resultLine), c.line) << c.typed;
        EXPECT_EQ(answerPane(), c.revealed) << c.typed;
        EXPECT_EQ(dialog.defaultButton, c.suggested) << c.typed;
        command(ids::answerEnteredCommand);
        moved += c.suggested == ids::moveButton ? 1 : 0;
        EXPECT_EQ(count(3), std::to_string(moved)) << c.typed;
        EXPECT_EQ(view.deck()->history().on(clock.day).rightFirstTry, unsigned(moved)) << c.typed;
        expectFreshEntry();
    }
}

TEST_F(TypedAnswersTest, SettingsAndTheModeAreKeptAndEditingIgnoresTheMode) {
    open(card + card);
    command(ids::box2Radio);
    command(ids::typeAnswerItem);
    command(ids::ignoreCaseItem);
    EXPECT_EQ(settings.kept["AnswerIgnoreCase"], 0u);
    dialog.type(ids::answerEntry, "House");
    command(ids::showButton);  // Show checks as Enter does
    EXPECT_EQ(dialog.text(ids::resultLine), "Almost: house");
    EXPECT_EQ(dialog.resultMarks, (std::vector<TextSpan>{{8, 9}}));
    command(ids::backButton);  // box 1 now: Back has nowhere to send a card, Next is suggested
    command(ids::box1Radio);
    dialog.type(ids::answerEntry, "mouse");
    command(ids::answerEnteredCommand);
    EXPECT_EQ(dialog.defaultButton, ids::nextButton);
    command(ids::box2Radio);

    command(ids::editItem);
    EXPECT_FALSE(dialog.answerEntryShown);
    EXPECT_EQ(dialog.defaultButton, ids::nextButton);
    command(ids::nextButton);
    command(ids::showButton);
    EXPECT_FALSE(answers.verdict());
    command(ids::editItem);
    expectFreshEntry();

    TypedAnswers afterRestart{settings, knowledge, boxes};
    FakeDialog fresh;
    afterRestart.start(fresh);
    EXPECT_TRUE(fresh.itemChecked(ids::typeAnswerItem));
    EXPECT_FALSE(fresh.itemChecked(ids::ignoreCaseItem));
    EXPECT_FALSE(fresh.itemChecked(ids::ignoreAccentsItem));
    EXPECT_TRUE(fresh.answerEntryShown);
}
}  // namespace
