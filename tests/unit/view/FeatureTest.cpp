#include "ViewFixture.h"

namespace {
// Writes down each moment as it reaches it.
struct MomentLog : Feature {
    void commandBegan(DialogPort&) override { log.push_back("began"); }
    void commandEnded(DialogPort&, CommandEnd& end) override {
        log.push_back(end.changedDeck ? "ended changed" : "ended");
    }
    void cardShown(DialogPort&, const CardView& view) override {
        log.push_back("shown " + std::string(view.currentCard->getQuestion()));
    }
    void answerRevealed(DialogPort&, const CardView&) override { log.push_back("revealed"); }
    void deckReplaced(DialogPort&, CardBoxes&) override { log.push_back("replaced"); }
    void deckSaved(DialogPort&) override { log.push_back("saved"); }
    void dayChanged(DialogPort&, const CardBoxes&, CalendarDay) override { log.push_back("day"); }
    std::vector<std::string> log;
};
}  // namespace

TEST_F(ViewTest, EveryMomentReachesAnAttachedFeatureInOrder) {
    MomentLog moments;
    view.attach(moments);
    open(cardFileText({{1, "a"}, {1, "b"}}));
    press(ids::showButton);
    press(ids::showButton);  // the info: no answer revealed
    press(ids::moveButton);
    clock.day += 1;
    view.onDayTick(dialog);
    boxes.answers.push_back(IDYES);
    press(ids::saveItem);
    EXPECT_EQ(moments.log, (std::vector<std::string>{"began", "replaced", "shown a?", "ended",
                                                     "began", "revealed", "ended", "began", "ended",
                                                     "began", "shown b?", "ended changed", "began",
                                                     "day", "ended", "began", "saved", "ended"}));
}
