#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/CardBoxes.h"

// The card file, described once. A file is text (code page 1252, or UTF-8 after a
// byte-order mark) that ends at its first NUL byte, holding card blocks
//
//   <C>
//   <M>+</M>
//   <S>2</S>
//   <N>1</N>
//   <Q>question</Q>
//   <A>answer</A>
//   <I>info</I>
//   <D>2026-03-09</D>
//   </C>
//
// and after the last of them the learning history (see cardfile/HistoryBlock.h).
// Tags are matched byte for byte. A reader takes each field from the first opening
// tag in the block and the first closing tag after it; the writer lays blocks out
// exactly as above, leaving out an optional field the card does not have. The
// reader, the writer, the check and the import's refusal of tags all take the
// format from here: adding a field is an entry in `cardFields` plus the code that
// gives the field its meaning.

struct FieldTags {
    std::string_view open;
    std::string_view close;
};

namespace cardtag {
constexpr std::string_view cardOpen = "<C>";
constexpr std::string_view cardClose = "</C>";
// A last card whose closing ">" was lost still ends here.
constexpr std::string_view cardCloseCut = "</C";
// The learning history: one block after the last card, outside every card block,
// where readers that predate it ignore it.
constexpr std::string_view historyOpen = "<H>";
constexpr std::string_view historyClose = "</H>";
// What the writer ends every line with.
constexpr std::string_view lineEnd = "\r\n";
}  // namespace cardtag

// The fields of a card block. Their order here is the order in which the reader
// takes them and the check names them; the written order is `cardFields`'.
enum class CardField { mark, section, number, question, info, answer, day };
constexpr std::size_t cardFieldCount = 7;

struct FieldFormat {
    CardField field;
    FieldTags tags;
    // Written only when the card has it: older readers skip it as an unknown tag,
    // and a card without it reads as it always did.
    bool optional;
    // What a block without the field reads as (an optional field reads as absent).
    std::string_view absent;
};

// The fields in the order the writer writes them.
constexpr std::array<FieldFormat, cardFieldCount> cardFields = {{
    {CardField::mark, {"<M>", "</M>"}, false, "-"},
    {CardField::section, {"<S>", "</S>"}, false, "0"},
    {CardField::number, {"<N>", "</N>"}, false, "0"},
    {CardField::question, {"<Q>", "</Q>"}, false, ""},
    {CardField::answer, {"<A>", "</A>"}, false, ""},
    {CardField::info, {"<I>", "</I>"}, false, ""},
    // The day the card entered its box.
    {CardField::day, {"<D>", "</D>"}, true, ""},
}};

constexpr const FieldFormat& formatOf(CardField field) {
    std::size_t at = 0;
    while (cardFields[at].field != field) {
        ++at;
    }
    return cardFields[at];
}
constexpr const FieldTags& tagsOf(CardField field) { return formatOf(field).tags; }

// The tag letter of every field tag: "<X>" and "</X>".
constexpr char tagLetter(CardField field) { return tagsOf(field).open[1]; }

// The mark of the card that leads its box, and of every other card.
constexpr std::string_view leadMark = "+";
constexpr std::string_view otherMark = "-";

// A section that is no box puts its card in box 1 (and the reader says so once).
constexpr bool isBoxSection(std::int32_t section) {
    return section >= 0 && section <= CardBoxes::lastBox;
}
constexpr std::int32_t boxOfSection(std::int32_t section) {
    return isBoxSection(section) ? section : 1;
}

// Where the text of a card file ends: at its first NUL byte, or its size.
constexpr std::size_t cardTextEnd(std::string_view text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text.size() : nul;
}
constexpr std::string_view cardTextOf(std::string_view text) {
    return text.substr(0, cardTextEnd(text));
}

// Every tag that would end or open something if a card's text held it: the card
// tags (the cut end included) and the field tags. Each begins with '<'.
constexpr std::size_t cardTagCount = 2 + 2 * cardFieldCount;
constexpr std::array<std::string_view, cardTagCount> allCardTags = [] {
    std::array<std::string_view, cardTagCount> tags{};
    tags[0] = cardtag::cardOpen;
    tags[1] = cardtag::cardCloseCut;
    for (std::size_t at = 0; at < cardFieldCount; ++at) {
        tags[2 + 2 * at] = cardFields[at].tags.open;
        tags[3 + 2 * at] = cardFields[at].tags.close;
    }
    return tags;
}();

// A few bytes of the written layout, put together from the tags above.
// Holds 24 bytes, so that a run of up to 16 can always be copied as 16.
class TagRun {
public:
    constexpr TagRun() = default;
    constexpr TagRun(std::string_view first, std::string_view second, std::string_view third = {},
                     std::string_view fourth = {}) {
        for (const std::string_view part : {first, second, third, fourth}) {
            for (const char c : part) {
                bytes_[size_++] = c;
            }
        }
    }
    constexpr std::string_view view() const { return {bytes_, size_}; }
    constexpr std::size_t size() const { return size_; }

private:
    char bytes_[24] = {};  // a run of more would not fit: compiling stops
    std::size_t size_ = 0;
};

// Whether the writer can write `next` (cardFieldCount: the card's end) right
// after `field` (indices into `cardFields`): only optional fields lie between them.
constexpr bool canFollow(std::size_t field, std::size_t next) {
    if (next <= field) {
        return false;
    }
    for (std::size_t between = field + 1; between < next; ++between) {
        if (!cardFields[between].optional) {
            return false;
        }
    }
    return true;
}

// The written layout: a block opens with `writtenOpen`; between a field's value
// and the next written one stand the tags of `writtenJoins[field][next]`, and
// after the last value those of `writtenJoins[field][cardFieldCount]`, which end
// with the card's end tag (and `writtenBlockEnd` follows).
struct WrittenJoin {
    TagRun run;
    bool possible = false;  // canFollow
};
constexpr TagRun writtenOpen{cardtag::cardOpen, cardtag::lineEnd, cardFields[0].tags.open};
constexpr std::string_view writtenBlockEnd = cardtag::lineEnd;
constexpr auto writtenJoins = [] {
    std::array<std::array<WrittenJoin, cardFieldCount + 1>, cardFieldCount> joins{};
    for (std::size_t field = 0; field < cardFieldCount; ++field) {
        for (std::size_t next = field + 1; next <= cardFieldCount; ++next) {
            const std::string_view opening =
                next < cardFieldCount ? cardFields[next].tags.open : cardtag::cardClose;
            joins[field][next] = {TagRun(cardFields[field].tags.close, cardtag::lineEnd, opening),
                                  canFollow(field, next)};
        }
    }
    return joins;
}();
static_assert(!cardFields[0].optional, "a written block opens with its first field");
