#include <gtest/gtest.h>

#include "model/Card.h"

namespace {

TEST(Card, ConstructorsSetTheirDefaultsAndFlags) {
    const Card placeholder;
    EXPECT_EQ(placeholder.getMark(), "-");
    EXPECT_EQ(placeholder.getSection(), 0);
    EXPECT_EQ(placeholder.getNumber(), 0);
    EXPECT_EQ(placeholder.getQuestion(), "");
    EXPECT_EQ(placeholder.getAnswer(), "");
    EXPECT_EQ(placeholder.getInfo(), "");
    EXPECT_EQ(placeholder.isInit(), 0);

    Card inserted(1);
    EXPECT_EQ(inserted.getMark(), "-");
    EXPECT_EQ(inserted.isInit(), 1);
    EXPECT_EQ(inserted.takeNew(), 1);
    EXPECT_EQ(inserted.takeNew(), 0);

    Card read("+", 3, 7, "domus", "house", "noun");
    EXPECT_EQ(read.getMark(), "+");
    EXPECT_EQ(read.getSection(), 3);
    EXPECT_EQ(read.getNumber(), 7);
    EXPECT_EQ(read.getQuestion(), "domus");
    EXPECT_EQ(read.getAnswer(), "house");
    EXPECT_EQ(read.getInfo(), "noun");
    EXPECT_EQ(read.isInit(), 1);
    EXPECT_EQ(read.takeNew(), 0);
}

TEST(Card, TextsKeepLineBreaksAndEightBitBytes) {
    const std::string twoLines = "erste Zeile\r\nzweite \xFC\x81";
    Card card("-", 0, 0, twoLines, twoLines, twoLines);
    EXPECT_EQ(card.getQuestion(), twoLines);
    card.setAnswer(twoLines + "\r\n");
    card.setInfo(std::string("a\0b", 3));
    EXPECT_EQ(card.getAnswer(), twoLines + "\r\n");
    EXPECT_EQ(card.getInfo().size(), 3u);
    Card emptied("-", 1, 1, "q", "a", "i");
    emptied.setQuestion("");
    EXPECT_EQ(emptied.getQuestion(), "");

    // A text set from the card's own texts survives the copy it replaces.
    card.setQuestion(card.getQuestion().substr(6));
    card.setInfo(card.getQuestion());
    EXPECT_EQ(card.getQuestion(), "Zeile\r\nzweite \xFC\x81");
    EXPECT_EQ(card.getInfo(), card.getQuestion());
    card.setMark("+");
    card.setMark(card.getMark());
    EXPECT_EQ(card.getMark(), "+");
    card.setMark("*");
    EXPECT_EQ(card.getMark(), "*");
}

TEST(Card, ReadCardsReferToTheirSourceUntilATextIsSet) {
    CardSource source =
        std::make_shared<CardSourceText>("+|question|answer|info", CardEncoding::utf8);
    const std::string_view text = source->fileBytes();
    Card card(source, text.substr(0, 1), 2, 5, text.substr(2, 8), text.substr(11, 6),
              text.substr(18));
    source.reset();  // the card keeps it
    EXPECT_EQ(card.getQuestion(), "question");
    EXPECT_EQ(card.getQuestion().data(), text.data() + 2);
    EXPECT_TRUE(card.keepsFirstTexts());
    card.setAnswer("own");
    EXPECT_EQ(card.getAnswer(), "own");
    EXPECT_EQ(card.getInfo(), "info");
    EXPECT_EQ(card.getMark(), "+");
    EXPECT_FALSE(card.keepsFirstTexts());
}

TEST(Card, ACodePage1252CardDecodesWhenAskedAndKeepsTheBytesOfWhatWasNotSet) {
    // The texts of a card as a code page 1252 file holds them: mark, question,
    // answer, info.
    const CardSource source =
        std::make_shared<CardSourceText>("+|\xA7|caf\xE9|tea|\x80 5", CardEncoding::cp1252);
    const std::string_view text = source->fileBytes();
    const struct {
        std::string_view mark;
        std::string_view decodedMark;
        bool lookFirst;
    } cases[] = {{text.substr(0, 1), "+", false},
                 {text.substr(0, 1), "+", true},
                 {text.substr(2, 1), "\xC2\xA7", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decodedMark);
        auto card = std::make_shared<Card>(source, c.mark, 1, 1, text.substr(4, 4),
                                           text.substr(9, 3), text.substr(13));
        if (c.lookFirst) {
            card->getAnswer();
        }
        const auto copy = card->copy();
        for (const Card* each : {card.get(), copy.get()}) {
            EXPECT_EQ(each->fileBytesOf(CardTextField::question, CardEncoding::cp1252),
                      text.substr(4, 4));
            EXPECT_EQ(each->getMark(), c.decodedMark);
            EXPECT_EQ(each->getQuestion(), "caf\xC3\xA9");
            EXPECT_EQ(each->getInfo(), "\xE2\x82\xAC 5");
            EXPECT_EQ(each->fileBytesOf(CardTextField::info, CardEncoding::cp1252),
                      text.substr(13));
            EXPECT_FALSE(each->fileBytesOf(CardTextField::info, CardEncoding::utf8));
            EXPECT_TRUE(each->keepsFirstTexts());
        }
        card->setAnswer("th\xC3\xA9");
        card->setMark("\xC3\xB8");
        EXPECT_FALSE(card->fileBytesOf(CardTextField::answer, CardEncoding::cp1252));
        EXPECT_EQ(card->fileBytesOf(CardTextField::question, CardEncoding::cp1252),
                  text.substr(4, 4));
        EXPECT_EQ(card->getQuestion(), "caf\xC3\xA9");
        EXPECT_EQ(card->getMark(), "\xC3\xB8");
        EXPECT_EQ(card->copy()->getAnswer(), "th\xC3\xA9");
    }
}

}  // namespace
