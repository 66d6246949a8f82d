#include "bench/BenchDeck.h"

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "cardfile/CardFormat.h"
#include "model/CalendarDay.h"
#include "platform/TextCoding.h"

namespace {

// Written as code page 1252 bytes, as the deck always was, and held as the UTF-8
// texts cards hold, so that the deck saved in code page 1252 is the deck it was.
std::vector<std::string> inUtf8(std::vector<std::string> cp1252Words) {
    for (std::string& word : cp1252Words) {
        word = cp1252ToUtf8(word);
    }
    return cp1252Words;
}

// The three lists have as many words, so that every kind picks the same places.
const std::vector<std::string> westernWords = inUtf8({
    "domus",      "house",      "via",        "road",      "aqua",     "water",   "terra",
    "earth",      "amicus",     "friend",     "liber",     "book",     "der",     "die",
    "das",        "Stra\337e",  "M\344dchen", "B\374cher", "sch\366n", "caf\351", "na\357ve",
    "\200",       "Pr\374fung", "to",         "be",        "the",      "of",      "a",
    "noun",       "verb",       "(f.)",       "(m.)",      "(n.)",     "plural",  "genitive",
    "accusative", "irregular",  "see also",   "e.g.",      "100",      "1.",
});

const std::vector<std::string> asciiWords = {
    "domus",      "house",     "via",      "road",    "aqua",   "water",  "terra",
    "earth",      "amicus",    "friend",   "liber",   "book",   "der",    "die",
    "das",        "Strasse",   "Maedchen", "Buecher", "schoen", "cafe",   "naive",
    "EUR",        "Pruefung",  "to",       "be",      "the",    "of",     "a",
    "noun",       "verb",      "(f.)",     "(m.)",    "(n.)",   "plural", "genitive",
    "accusative", "irregular", "see also", "e.g.",    "100",    "1.",
};

// Greek, Cyrillic, Han and kana in place of the Latin words, and one character
// beyond the Basic Multilingual Plane.
const std::vector<std::string> scriptWords = [] {
    std::vector<std::string> words = westernWords;
    const std::vector<std::string> others = {
        "\xCF\x83\xCF\x80\xCE\xAF\xCF\x84\xCE\xB9",          // Greek: house
        "\xCE\xB4\xCF\x81\xCF\x8C\xCE\xBC\xCE\xBF\xCF\x82",  // Greek: road
        "\xD0\xB2\xD0\xBE\xD0\xB4\xD0\xB0",                  // Cyrillic: water
        "\xD0\xB7\xD0\xB5\xD0\xBC\xD0\xBB\xD1\x8F",          // Cyrillic: earth
        "\xD0\xB4\xD1\x80\xD1\x83\xD0\xB3",                  // Cyrillic: friend
        "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0",          // Cyrillic: book
        "\xE5\xAE\xB6",                                      // Han: house
        "\xE6\xB0\xB4",                                      // Han: water
        "\xE6\x9C\xAC\xE3\x82\x92\xE8\xAA\xAD\xE3\x82\x80",  // Japanese: to read a book
        "\xE3\x81\xBF\xE3\x81\x9A",                          // kana: water
        "\xF0\x9F\x93\x96",                                  // an open book
    };
    // domus, via, aqua, terra, amicus, liber, der, die, das, to, e.g.
    const std::size_t places[] = {0, 2, 4, 6, 8, 10, 12, 13, 14, 23, 38};
    for (std::size_t i = 0; i < others.size(); ++i) {
        words[places[i]] = others[i];
    }
    return words;
}();

const std::vector<std::string>& wordsFor(BenchTexts texts) {
    switch (texts) {
        case BenchTexts::ascii:
            return asciiWords;
        case BenchTexts::utf8:
            return scriptWords;
        case BenchTexts::cp1252:
            break;
    }
    return westernWords;
}

std::string phrase(std::mt19937& random, const std::vector<std::string>& words, int minWords,
                   int maxWords) {
    std::uniform_int_distribution<int> count(minWords, maxWords);
    std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
    std::string text;
    for (int n = count(random); n > 0; --n) {
        if (!text.empty()) {
            text += ' ';
        }
        text += words[pick(random)];
    }
    return text;
}

void appendEscaped(std::string& xml, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '<':
                xml += "&lt;";
                break;
            case '&':
                xml += "&amp;";
                break;
            default:
                xml += c;
        }
    }
}

}  // namespace

CalendarDay benchDeckToday() { return dayFromDate(2026, 12, 8); }

std::unique_ptr<CardBoxes> makeBenchDeck(int cards, BenchTexts texts, BenchDays days) {
    const std::vector<std::string>& words = wordsFor(texts);
    auto deck = std::make_unique<CardBoxes>();
    std::mt19937 random(20240611);
    std::discrete_distribution<int> box({30, 25, 15, 10, 8, 7, 5});
    std::bernoulli_distribution twoLines(0.1);
    std::uniform_int_distribution<CalendarDay> daysAgo(0, 364);
    for (int i = 0; i < cards; ++i) {
        const int section = box(random);
        std::string answer = phrase(random, words, 6, 34);
        if (twoLines(random)) {
            answer += "\r\n" + phrase(random, words, 3, 12);
        }
        CardBoxes::Box& boxCards = deck->boxForReading(section);
        const auto number = static_cast<std::int32_t>(boxCards.size() + 1);
        auto card = std::make_shared<Card>(std::string(number == 1 ? "+" : "-"), section, number,
                                           phrase(random, words, 2, 12), answer,
                                           phrase(random, words, 2, 14));
        const CalendarDay ago = daysAgo(random);
        if (days == BenchDays::every || (days == BenchDays::learned && section > 0)) {
            card->setDay(benchDeckToday() - ago);
        }
        boxCards.push_back(std::move(card));
    }
    deck->setHasCards(1);
    return deck;
}

std::string deckAsXml(const CardBoxes& deck) {
    std::string xml = "<deck>\r\n";
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        int position = 1;
        for (const CardRef& card : deck.box(box)) {
            xml += "<card>\r\n<M>";
            xml += position == 1 ? "+" : "-";
            xml += "</M>\r\n<S>" + std::to_string(card->getSection()) + "</S>\r\n<N>" +
                   std::to_string(position) + "</N>\r\n<Q>";
            appendEscaped(xml, card->getQuestion());
            xml += "</Q>\r\n<A>";
            appendEscaped(xml, card->getAnswer());
            xml += "</A>\r\n<I>";
            appendEscaped(xml, card->getInfo());
            if (card->getDay() != noDay) {
                xml += "</I>\r\n<D>" + formatDay(card->getDay()) + "</D>\r\n</card>\r\n";
            } else {
                xml += "</I>\r\n</card>\r\n";
            }
            ++position;
        }
    }
    xml += "</deck>\r\n";
    return xml;
}

std::string plainSerialise(const CardBoxes& deck, std::size_t size, CardEncoding encoding) {
    std::string text;
    text.reserve(size);
    if (encoding == CardEncoding::utf8) {
        text += utf8ByteOrderMark;
    }
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        int position = 1;
        for (const CardRef& card : deck.box(box)) {
            // The runs of tags as the format gives them, in the written order:
            // mark, section, number, question, answer, info, day, end.
            text += writtenOpen.view();
            text += position == 1 ? leadMark : otherMark;
            text += writtenJoins[0][1].run.view();
            text += std::to_string(card->getSection());
            text += writtenJoins[1][2].run.view();
            text += std::to_string(position);
            text += writtenJoins[2][3].run.view();
            text += card->getQuestion();
            text += writtenJoins[3][4].run.view();
            text += card->getAnswer();
            text += writtenJoins[4][5].run.view();
            text += card->getInfo();
            if (card->getDay() != noDay) {
                text += writtenJoins[5][6].run.view();
                appendDay(text, card->getDay());
                text += writtenJoins[6][7].run.view();
            } else {
                text += writtenJoins[5][7].run.view();
            }
            text += writtenBlockEnd;
            ++position;
        }
    }
    if (encoding == CardEncoding::cp1252) {
        convertUtf8ToCp1252(text, 0);
    }
    return text;
}
