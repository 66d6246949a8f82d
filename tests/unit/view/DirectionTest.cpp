#include <set>

#include "ViewFixture.h"

namespace {
// Every card's question ends in "?", its answer in "!" and its info in ".".
const std::string deckText =
    cardFileText({{0, "new"}, {1, "one"}, {1, "two"}, {2, "dog"}, {2, "cat"}, {3, "cow"}});
}  // namespace

class DirectionTest : public ViewTest {
protected:
    // The upper pane, the lower pane, and the lower pane after Show, as the sides
    // of the card they show: "q", "a" or "i".
    std::string sides() {
        const auto side = [this](const std::string& text) -> std::string {
            const Card& card = *view.view().currentCard;
            if (text == card.getQuestion()) return "q";
            if (text == card.getAnswer()) return "a";
            return text == card.getInfo() ? "i" : "?" + text;
        };
        std::string shown = side(question()) + side(answerPane());
        press(ids::showButton);
        shown += side(answerPane()) + (dialog.text(ids::showButton) == "&Info" ? "" : "!");
        press(ids::showButton);
        return shown + (side(answerPane()) == "i" ? "" : "!");
    }
};

TEST_F(DirectionTest, EachDirectionShowsAndStoresItsOwnSidesAfterEveryCommand) {
    const std::pair<int, std::string> directions[] = {{ids::questionFirstItem, "qia"},
                                                      {ids::answerFirstItem, "aiq"}};
    for (const auto& [item, expected] : directions) {
        SCOPED_TRACE(item);
        open(deckText);
        press(item);
        EXPECT_EQ(sides(), expected);
        for (int command : {ids::nextButton, ids::previousItem, ids::moveButton,
                            ids::getNewCardItem, ids::box2Radio, ids::backButton}) {
            command == ids::box2Radio ? dialog.click(command) : (void)press(command);
            EXPECT_EQ(sides(), expected) << command;
        }
        EXPECT_TRUE(dialog.itemChecked(item));
        EXPECT_EQ(settings.kept["Direction"],
                  static_cast<std::uint32_t>(item - ids::questionFirstItem));

        // Edit mode: each pane stores into the side it shows, the revealed side too.
        press(ids::editItem);
        const CardRef card = view.activeCard();
        dialog.type(ids::questionPane, "upper");
        press(ids::showButton);
        dialog.type(ids::answerPane, "revealed");
        press(ids::showButton);
        dialog.type(ids::answerPane, "lower");
        press(ids::nextButton);
        const bool answerFirst = item == ids::answerFirstItem;
        EXPECT_EQ(card->getQuestion(), answerFirst ? "revealed" : "upper");
        EXPECT_EQ(card->getAnswer(), answerFirst ? "upper" : "revealed");
        EXPECT_EQ(card->getInfo(), "lower");

        // An inserted card keeps each placeholder in its own field.
        press(ids::insertItem);
        dialog.type(ids::questionPane, "typed");
        press(ids::nextButton);
        const CardRef inserted = view.deck()->box(2).back();
        EXPECT_EQ(inserted->getQuestion(), answerFirst ? "empty question" : "typed");
        EXPECT_EQ(inserted->getAnswer(), answerFirst ? "typed" : "empty answer");
        press(ids::editItem);
    }
}

TEST_F(DirectionTest, BothWaysDrawsEachCardsDirectionOnceAndTheChoiceComesBack) {
    open(deckText);
    press(ids::bothWaysItem);
    std::set<std::string> seen;
    for (int next = 0; next < 20; ++next) {
        press(ids::nextButton);
        const std::string shown = sides();  // Show draws nothing anew
        EXPECT_TRUE(shown == "qia" || shown == "aiq") << shown;
        seen.insert(shown);
    }
    EXPECT_EQ(seen.size(), 2u);

    // Find shows the card it found in the direction in effect.
    press(ids::answerFirstItem);
    dialog.findAnswer = "cow";
    press(ids::findItem);
    EXPECT_EQ(question(), "cow!");

    FakeDialog next;
    MQMainView later(platform, recentStore);
    later.onInitDialog(next);
    EXPECT_TRUE(next.itemChecked(ids::answerFirstItem));
    EXPECT_FALSE(next.itemChecked(ids::questionFirstItem));
}
