#include "bench/BenchDeck.h"

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

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

const std::vector<std::string> words = inUtf8({
    "domus",      "house",      "via",        "road",      "aqua",     "water",   "terra",
    "earth",      "amicus",     "friend",     "liber",     "book",     "der",     "die",
    "das",        "Stra\337e",  "M\344dchen", "B\374cher", "sch\366n", "caf\351", "na\357ve",
    "\200",       "Pr\374fung", "to",         "be",        "the",      "of",      "a",
    "noun",       "verb",       "(f.)",       "(m.)",      "(n.)",     "plural",  "genitive",
    "accusative", "irregular",  "see also",   "e.g.",      "100",      "1.",
});

std::string phrase(std::mt19937& random, int minWords, int maxWords) {
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

std::unique_ptr<CardBoxes> makeBenchDeck(int cards) {
    auto deck = std::make_unique<CardBoxes>();
    std::mt19937 random(20240611);
    std::discrete_distribution<int> box({30, 25, 15, 10, 8, 7, 5});
    std::bernoulli_distribution twoLines(0.1);
    for (int i = 0; i < cards; ++i) {
        const int section = box(random);
        std::string answer = phrase(random, 6, 34);
        if (twoLines(random)) {
            answer += "\r\n" + phrase(random, 3, 12);
        }
        CardBoxes::Box& boxCards = deck->boxForReading(section);
        const auto number = static_cast<std::int32_t>(boxCards.size() + 1);
        boxCards.push_back(std::make_shared<Card>(std::string(number == 1 ? "+" : "-"), section,
                                                  number, phrase(random, 2, 12), answer,
                                                  phrase(random, 2, 14)));
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
            xml += "</I>\r\n</card>\r\n";
            ++position;
        }
    }
    xml += "</deck>\r\n";
    return xml;
}

std::string plainSerialise(const CardBoxes& deck, std::size_t size) {
    std::string text;
    text.reserve(size);
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        int position = 1;
        for (const CardRef& card : deck.box(box)) {
            text += "<C>\r\n<M>";
            text += position == 1 ? "+" : "-";
            text += "</M>\r\n<S>";
            text += std::to_string(card->getSection());
            text += "</S>\r\n<N>";
            text += std::to_string(position);
            text += "</N>\r\n<Q>";
            text += card->getQuestion();
            text += "</Q>\r\n<A>";
            text += card->getAnswer();
            text += "</A>\r\n<I>";
            text += card->getInfo();
            text += "</I>\r\n</C>\r\n";
            ++position;
        }
    }
    return text;
}
