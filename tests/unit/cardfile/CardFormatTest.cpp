#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cardfile/CardFormat.h"
#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "cardfile/RecoveryRecord.h"
#include "fakes/FakeMessageBoxes.h"
#include "tools/mqdeck/CardCheck.h"
#include "tools/mqdeck/ImportParser.h"

namespace {

// A value of every field of the card format and how a card gives it back. The
// number is where the card stands in its box, which the record does not keep.
struct FieldCase {
    CardField field;
    std::string value;
    std::string (*read)(const Card&);
    bool recorded;
};

const FieldCase fieldCases[] = {
    {CardField::mark, "+", [](const Card& c) { return std::string(c.getMark()); }, true},
    {CardField::section, "3", [](const Card& c) { return std::to_string(c.getSection()); }, true},
    {CardField::number, "1", [](const Card& c) { return std::to_string(c.getNumber()); }, false},
    {CardField::question, "Who?", [](const Card& c) { return std::string(c.getQuestion()); }, true},
    {CardField::answer, "Me & you", [](const Card& c) { return std::string(c.getAnswer()); }, true},
    {CardField::info, "line\r\ntwo", [](const Card& c) { return std::string(c.getInfo()); }, true},
    {CardField::day, "2026-03-09",
     [](const Card& c) { return c.getDay() == noDay ? std::string() : formatDay(c.getDay()); },
     true},
};

const FieldCase* caseOf(CardField field) {
    const auto at = std::find_if(std::begin(fieldCases), std::end(fieldCases),
                                 [field](const FieldCase& c) { return c.field == field; });
    return at == std::end(fieldCases) ? nullptr : at;
}

// One block as the writer lays it out, the field `left` out.
std::string blockText(const FieldFormat* left = nullptr) {
    std::string text = std::string(cardtag::cardOpen) + std::string(cardtag::lineEnd);
    for (const FieldFormat& format : cardFields) {
        if (&format != left) {
            text += std::string(format.tags.open) + caseOf(format.field)->value +
                    std::string(format.tags.close) + std::string(cardtag::lineEnd);
        }
    }
    return text + std::string(cardtag::cardClose) + std::string(cardtag::lineEnd);
}

CardRef onlyCard(const CardBoxes& deck) {
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        if (!deck.box(box).empty()) return deck.box(box).front();
    }
    return nullptr;
}

// The card as the recovery record gives it back after recording it put into a deck.
CardRef throughRecord(const CardRef& card) {
    CardBoxes recorded;
    CardNumbers numbers;
    numbers.numberDeck(recorded);
    RecordEntry entry(numbers, true, LocalTime{}, card->getSection());
    entry.add(DeckChange(DeckChange::Kind::inserted, card->getSection(), card), true);
    const auto contents = parseRecord(recordHead(RecordHeader{}) + entry.framed());
    CardBoxes replayed;
    CardNumbers again;
    again.numberDeck(replayed);
    if (!contents || contents->entries.size() != 1 ||
        !replayEntry(replayed, again, contents->entries.front())) {
        return nullptr;
    }
    return onlyCard(replayed);
}

TEST(CardFormat, EveryFieldGoesThroughReadWriteCheckAndTheRecord) {
    const std::string block = blockText();
    FakeMessageBoxes boxes;
    CardBoxes deck;
    readCardText(deck, block, boxes);
    const CardRef card = onlyCard(deck);
    ASSERT_TRUE(card);
    EXPECT_EQ(composeCardText(deck), block);
    EXPECT_TRUE(checkCardText(block).findings.empty());
    const CardRef replayed = throughRecord(card);
    ASSERT_TRUE(replayed);

    for (const FieldFormat& format : cardFields) {
        SCOPED_TRACE(std::string(format.tags.open));
        const FieldCase* const field = caseOf(format.field);
        ASSERT_TRUE(field) << "a field of the format without a case here";
        EXPECT_EQ(field->read(*card), field->value);
        if (field->recorded) {
            EXPECT_EQ(field->read(*replayed), field->value);
        }
        // Without the field: its absent value, and the check names it unless optional.
        const std::string without = blockText(&format);
        CardBoxes bare;
        readCardText(bare, without, boxes);
        ASSERT_TRUE(onlyCard(bare));
        EXPECT_EQ(field->read(*onlyCard(bare)), std::string(format.absent));
        const CheckReport report = checkCardText(without);
        const bool named = std::any_of(
            report.findings.begin(), report.findings.end(), [&](const CheckFinding& finding) {
                return finding.text.find('"' + std::string(format.tags.open) + '"') !=
                       std::string::npos;
            });
        EXPECT_EQ(named, !format.optional);
        // The import refuses a text holding either tag: it would not read back.
        for (const std::string_view tag : {format.tags.open, format.tags.close}) {
            const ImportResult imported = parseImport("q\ta" + std::string(tag) + "\ti\r\n", false);
            EXPECT_FALSE(imported.ok) << tag;
            EXPECT_NE(imported.error.find(std::string(tag)), std::string::npos) << imported.error;
        }
    }
    EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
