#include "reference/ReferenceReader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "cardfile/CardFormat.h"
#include "cardfile/CardText.h"
#include "platform/WinConstants.h"

namespace {

struct Block {
    std::size_t start = 0;
    std::size_t end = 0;
    bool found = false;
};

// The first `tag` that lies whole within [from, end). Searched with the standard
// library, not the reader's own search, so that a fault there shows as a difference.
std::size_t find(std::string_view text, std::string_view tag, std::size_t from, std::size_t end) {
    return from > end ? noTag : text.substr(0, end).find(tag, from);
}

std::optional<std::string_view> field(std::string_view text, const Block& block,
                                      const FieldTags& tags) {
    const std::size_t open = find(text, tags.open, block.start, block.end);
    if (open == noTag) {
        return std::nullopt;
    }
    const std::size_t value = open + tags.open.size();
    const std::size_t close = find(text, tags.close, value, block.end);
    if (close == noTag) {
        return std::nullopt;
    }
    return text.substr(value, close - value);
}

// As atoi reads it, held at the ends of the 32-bit range.
std::int32_t integer(std::string_view value) {
    std::size_t at = value.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string_view::npos) {
        return 0;
    }
    const bool negative = value[at] == '-';
    if (value[at] == '-' || value[at] == '+') {
        ++at;
    }
    std::int64_t result = 0;
    for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
        result = std::min<std::int64_t>(result * 10 + (value[at] - '0'), 1LL << 31);
    }
    result = negative ? -result : std::min<std::int64_t>(result, (1LL << 31) - 1);
    return static_cast<std::int32_t>(result);
}

// Code page 1252 from 0x80 to 0x9F; every other byte is the character of its value.
// The five bytes the code page leaves undefined are the C1 controls, as on Windows.
constexpr std::uint16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string cp1252AsUtf8(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const unsigned code = byte >= 0x80 && byte <= 0x9F ? cp1252High[byte - 0x80] : byte;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

}  // namespace

void referenceReadCardText(CardBoxes& deck, std::string_view whole, MessageBoxes& boxes) {
    const std::string_view text = cardTextOf(whole);
    const std::size_t size = text.size();
    deck.setAborted(0);
    bool asked = false;
    bool reported = false;
    std::size_t scan = 0;
    for (bool another = true; another;) {
        Block block;
        const std::size_t open = find(text, cardtag::cardOpen, scan, size);
        block.start = open == noTag ? scan : open;
        std::size_t end = noTag;
        if (open != noTag) {
            end = find(text, cardtag::cardClose, open, size);
            if (end == noTag) {
                end = find(text, cardtag::cardCloseCut, open, size);
            }
        }
        block.found = end != noTag;
        block.end = block.found ? end : size;
        const std::size_t next = find(text, cardtag::cardOpen, block.start + 1, size);
        another = next != noTag;
        scan = another ? next : scan;

        if (!block.found && !asked) {
            asked = true;
            if (boxes.show(noWindow,
                           "Couldn't find a card.If you proceed the file willbe over written. "
                           "Please ensureyou're using a right file!",
                           "Overwrite?", MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDNO) {
                deck.setAborted(1);
            }
        }
        const auto value = [&](CardField which) {
            return field(text, block, tagsOf(which)).value_or(formatOf(which).absent);
        };
        const std::int32_t section = integer(value(CardField::section));
        if (!isBoxSection(section) && !reported) {
            reported = true;
            boxes.show(noWindow, "Invalid section number found! Set number to section 1!", nullptr,
                       MB_OK);
        }
        const std::int32_t box = boxOfSection(section);
        auto card = std::make_shared<Card>(
            value(CardField::mark), box, integer(value(CardField::number)),
            value(CardField::question), value(CardField::answer), value(CardField::info));
        if (const auto day = field(text, block, tagsOf(CardField::day))) {
            card->setDay(parseDay(*day).value_or(noDay));
        }
        deck.boxForReading(box).push_back(std::move(card));
    }
    deck.setHasCards(1);
    for (int box = 1; box <= 6; ++box) {
        CardBoxes::Box& cards = deck.boxForReading(box);
        std::stable_sort(cards.begin(), cards.end(), [](const CardRef& a, const CardRef& b) {
            return a->getNumber() < b->getNumber();
        });
        const auto lead = std::find_if(cards.begin(), cards.end(), [](const CardRef& card) {
            return card->getMark() == leadMark;
        });
        if (lead != cards.end()) {
            std::rotate(cards.begin(), lead, cards.end());
        }
    }
}

void referenceReadCardFile(CardBoxes& deck, std::string_view bytes, MessageBoxes& boxes) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) {
        referenceReadCardText(deck, bytes.substr(byteOrderMark.size()), boxes);
        deck.setEncoding(CardEncoding::utf8);
    } else {
        referenceReadCardText(deck, cp1252AsUtf8(bytes), boxes);
        deck.setEncoding(CardEncoding::cp1252);
    }
}

std::string describeDeck(const CardBoxes& deck) {
    std::string out = "aborted " + std::to_string(deck.isAborted()) + ", hasCards " +
                      std::to_string(deck.hasCards()) + ", " +
                      (deck.encoding() == CardEncoding::utf8 ? "UTF-8" : "code page 1252") + "\n";
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        for (const CardRef& card : deck.box(box)) {
            out += std::to_string(box) + ": [";
            out.append(card->getMark()) += "] " + std::to_string(card->getSection()) + " " +
                                           std::to_string(card->getNumber()) + " [";
            out.append(card->getQuestion()) += "] [";
            out.append(card->getAnswer()) += "] [";
            out.append(card->getInfo()) += "] init " + std::to_string(card->isInit()) + " day " +
                                           std::to_string(card->getDay()) + "\n";
        }
    }
    return out;
}
