#include "tools/mqdeck/CardCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <optional>

#include "cardfile/CardFormat.h"
#include "cardfile/CardText.h"
#include "cardfile/HistoryBlock.h"
#include "model/CalendarDay.h"
#include "model/CardBoxes.h"
#include "model/Schedule.h"
#include "platform/TextCoding.h"
#include "tools/mqdeck/TextLines.h"

namespace {

const char* const overwriteQuestion = "the program asks \"Overwrite?\"";

struct ReadCard {
    std::size_t line;
    bool lead;  // marked "+"
    std::int32_t section;
    std::int32_t number;
};

// What a block without the field reads as, in the words of a finding.
std::string fallbackOf(CardField field) {
    switch (field) {
        case CardField::mark:
            return "mark \"" + std::string(formatOf(field).absent) + "\"";
        case CardField::section:
            return "box " + std::string(formatOf(field).absent);
        case CardField::number:
            return "number " + std::string(formatOf(field).absent);
        case CardField::question:
            return "empty question";
        case CardField::info:
            return "empty info";
        case CardField::answer:
            return "empty answer";
        case CardField::day:
            break;
    }
    return {};
}

// A tag as a finding quotes it.
std::string quoted(std::string_view tag) { return "\"" + std::string(tag) + "\""; }

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A value as a message shows it: on one line, cut short.
std::string shown(std::string_view value, CardEncoding encoding) {
    constexpr std::size_t longest = 40;
    std::size_t cut = std::min(value.size(), longest);
    while (encoding == CardEncoding::utf8 && cut < value.size() && cut > 0 &&
           isContinuationByte(value[cut])) {
        --cut;
    }
    std::string line(value.substr(0, cut));
    std::replace_if(line.begin(), line.end(), isLineBreak, ' ');
    std::string text = "\"";
    if (encoding == CardEncoding::utf8) {
        appendValidUtf8(text, line);
    } else {
        appendCp1252AsUtf8(text, line);
    }
    return text + (cut < value.size() ? "...\"" : "\"");
}

std::string hexBytes(std::string_view bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += text.empty() ? "" : " ";
        text += hex[byte >> 4];
        text += hex[byte & 0x0F];
    }
    return text;
}

// What atoi reads without leaving anything out: blanks, a sign, digits, blanks.
bool plainInteger(std::string_view value) {
    auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t at = 0;
    while (at < value.size() && isBlank(value[at])) {
        ++at;
    }
    at += at < value.size() && (value[at] == '+' || value[at] == '-') ? 1 : 0;
    const std::size_t digits = at;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9') {
        ++at;
    }
    if (at == digits) {
        return false;
    }
    while (at < value.size() && isBlank(value[at])) {
        ++at;
    }
    return at == value.size();
}

std::string lineList(const std::vector<const ReadCard*>& cards) {
    std::string text;
    for (const ReadCard* card : cards) {
        text += (text.empty() ? "" : ", ") + std::to_string(card->line);
    }
    return text;
}

class Checker {
public:
    // The reader leaves the byte-order mark out; the lines and columns told count it.
    explicit Checker(std::string_view bytes)
        : encoding_(startsWithByteOrderMark(bytes) ? CardEncoding::utf8 : CardEncoding::cp1252),
          markBytes_(encoding_ == CardEncoding::utf8 ? utf8ByteOrderMark.size() : 0),
          cardText_(bytes.substr(markBytes_)),
          lines_(bytes) {
        const std::size_t nul = markBytes_ + cardTextEnd(bytes.substr(markBytes_));
        if (nul < bytes.size()) {
            add(nul - markBytes_, "a NUL byte: the program reads nothing from here on (" +
                                      std::to_string(bytes.size() - nul) + " bytes)");
        }
        if (encoding_ == CardEncoding::utf8) {
            checkUtf8();
        }
    }

    CheckReport run() {
        const std::string_view text = cardText_.text();
        if (text.empty()) {
            report_.findings.push_back(
                {1,
                 "no text: the program cannot open the file (\"Couldn't read any card datas!\")"});
            return std::move(report_);
        }
        std::size_t scan = 0;
        CardBlock block;
        bool another = true;
        while (another) {
            another = cardText_.nextCardBlock(scan, block);
            checkBlock(block);
        }
        const std::optional<HistorySpan> history = findHistoryBlock(text);
        if (history && history->start >= covered_) {
            reportOutside(covered_, history->start);
            checkHistory(*history);
            reportOutside(history->end, text.size());
        } else {
            reportOutside(covered_, text.size());
        }
        checkBoxes();
        std::stable_sort(
            report_.findings.begin(), report_.findings.end(),
            [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
        return std::move(report_);
    }

private:
    void add(std::size_t offset, std::string text) {
        report_.findings.push_back({lines_.lineOf(markBytes_ + offset), std::move(text)});
    }

    // One finding a line: a file saved in another code page has such bytes in
    // every line that holds a letter beyond ASCII.
    void checkUtf8() {
        const std::string_view text = cardText_.text();
        std::size_t lastLine = 0;
        for (std::size_t done = 0, bad = firstInvalidUtf8(text); bad != std::string_view::npos;
             bad = firstInvalidUtf8(text.substr(done))) {
            const std::size_t at = done + bad;
            std::uint32_t ignored = 0;
            done = at + 1;
            while (done < text.size() && decodeUtf8(text, done, ignored) == 0) {
                ++done;
            }
            const TextPosition position = lines_.at(markBytes_ + at);
            if (position.line != lastLine) {
                lastLine = position.line;
                constexpr std::size_t mostShown = 8;
                const std::string_view run = text.substr(at, done - at);
                const bool one = run.size() == 1;
                std::string what = (one ? "the byte " : "the bytes ") +
                                   hexBytes(run.substr(0, mostShown)) +
                                   (run.size() > mostShown ? " ..." : "");
                what += one ? " is no UTF-8 (kept as it is)" : " are no UTF-8 (kept as they are)";
                report_.findings.push_back({position.line, std::move(what), position.column});
            }
        }
    }

    void checkBlock(const CardBlock& block) {
        const std::string_view text = cardText_.text();
        const bool opened = text.substr(block.start, cardtag::cardOpen.size()) == cardtag::cardOpen;
        const std::size_t tagEnd =
            !block.found ? text.size()
            : text.substr(block.end, cardtag::cardClose.size()) == cardtag::cardClose
                ? block.end + cardtag::cardClose.size()
                : block.end + cardtag::cardCloseCut.size();
        if (!opened) {
            add(block.start, "no card (" + quoted(cardtag::cardOpen) +
                                 ") at all: " + std::string(overwriteQuestion) +
                                 ", and Yes makes one card of whatever fields the text holds");
        } else {
            reportOutside(covered_, block.start);
            if (!block.found) {
                add(block.start,
                    "the card has no end (" + quoted(cardtag::cardClose) +
                        "): its fields are looked for up to the end of the file, and " +
                        std::string(overwriteQuestion) + " before it reads the file");
            } else if (tagEnd - block.end == cardtag::cardCloseCut.size() &&
                       block.end != previousEnd_) {
                add(block.end, "the card ends in " + quoted(cardtag::cardCloseCut) +
                                   " without its " +
                                   quoted(cardtag::cardClose.substr(cardtag::cardCloseCut.size())) +
                                   " (accepted)");
            }
            if (block.start < previousEnd_) {
                add(block.start, "a " + quoted(cardtag::cardOpen) + " inside the card of line " +
                                     std::to_string(previousLine_) + ", before its end: " +
                                     (block.found ? "both cards end at line " +
                                                        std::to_string(lines_.lineOf(block.end))
                                                  : std::string("neither card has an end")));
            }
            previousEnd_ = block.end;
            previousLine_ = lines_.lineOf(block.start);
        }
        covered_ = std::max(covered_, tagEnd);
        readFields(block, opened);
    }

    // The fields in the order the reader takes them.
    void readFields(const CardBlock& block, bool opened) {
        missing_.clear();
        std::array<std::optional<std::string_view>, cardFieldCount> values;
        for (std::size_t at = 0; at < cardFieldCount; ++at) {
            values[at] = field(block, static_cast<CardField>(at));
        }
        const auto value = [&values](CardField which) {
            return values[static_cast<std::size_t>(which)];
        };
        const auto mark = value(CardField::mark);
        const auto section = value(CardField::section);
        const auto number = value(CardField::number);
        const auto day = value(CardField::day);
        if (opened && !missing_.empty()) {
            add(block.start, "fields missing, the defaults are taken: " + missing_);
        }

        ReadCard card{lines_.lineOf(block.start), mark && *mark == leadMark, 0, 0};
        if (mark && *mark != leadMark && *mark != otherMark) {
            addAt(*mark, "mark " + shown(*mark, encoding_) + " is neither " + quoted(leadMark) +
                             " nor " + quoted(otherMark) + ": the card does not lead its box");
        }
        if (section) {
            card.section = readInteger(*section);
            if (!plainInteger(*section)) {
                addAt(*section, "section " + shown(*section, encoding_) + " reads as " +
                                    std::to_string(card.section));
            }
            if (!isBoxSection(card.section)) {
                addAt(*section, "section " + std::to_string(card.section) +
                                    " is no box 0 to 6: the card goes to box 1, and the program "
                                    "says \"Invalid section number found! Set number to section "
                                    "1!\"");
                card.section = boxOfSection(card.section);
            }
        }
        if (number) {
            card.number = readInteger(*number);
            if (!plainInteger(*number)) {
                addAt(*number, "number " + shown(*number, encoding_) + " reads as " +
                                   std::to_string(card.number));
            }
        }
        if (day && !parseDay(*day)) {
            addAt(*day, "day " + shown(*day, encoding_) +
                            " is no date YYYY-MM-DD: the card is read without a day" +
                            (BoxDays::isScheduled(card.section) ? ", so it counts as due" : ""));
        }
        ++report_.counts[static_cast<std::size_t>(card.section)];
        cards_.push_back(card);
    }

    // A missing field is told, but for an optional one: older cards lack it.
    std::optional<std::string_view> field(const CardBlock& block, CardField which) {
        const FieldFormat& format = formatOf(which);
        auto value = cardText_.fieldValue(block, format.tags);
        if (!value && !format.optional) {
            const bool open = cardText_.find(format.tags.open, block.start, block.end) != noTag;
            missing_ += missing_.empty() ? "" : ", ";
            missing_ += quoted(format.tags.open);
            if (open) {
                missing_ += " without " + quoted(format.tags.close);
            }
            missing_ += " (" + fallbackOf(which) + ")";
        }
        return value;
    }

    void addAt(std::string_view value, std::string text) {
        add(static_cast<std::size_t>(value.data() - cardText_.text().data()), std::move(text));
    }

    void reportOutside(std::size_t from, std::size_t to) {
        const std::string_view text = cardText_.text();
        for (std::size_t at = from; at < to; ++at) {
            const char c = text[at];
            if (c != ' ' && c != '\t' && !isLineBreak(c)) {
                std::size_t lineEnd = at;
                while (lineEnd < to && !isLineBreak(text[lineEnd])) {
                    ++lineEnd;
                }
                add(at, "text outside any card is ignored: " +
                            shown(text.substr(at, lineEnd - at), encoding_));
                return;
            }
        }
    }

    void checkHistory(const HistorySpan& history) {
        const std::string_view text = cardText_.text();
        const std::size_t bodyStart = static_cast<std::size_t>(history.body.data() - text.data());
        if (text.substr(history.end - std::min(history.end, cardtag::historyClose.size()),
                        cardtag::historyClose.size()) != cardtag::historyClose) {
            add(history.start, "the learning history has no end (" + quoted(cardtag::historyClose) +
                                   "): it is read up to the end of the file");
        }
        for (std::size_t at = 0; at < history.body.size();) {
            std::size_t end = history.body.find_first_of("\r\n", at);
            end = end == std::string_view::npos ? history.body.size() : end;
            const std::string_view line = history.body.substr(at, end - at);
            if (line.find_first_not_of(" \t") != std::string_view::npos &&
                !parseHistoryLine(line)) {
                add(bodyStart + at,
                    "a day of the learning history that is no \"YYYY-MM-DD U B N [R]\" "
                    "(cards moved up, sent back, drawn new, right on the first try) is "
                    "ignored: " +
                        shown(line, encoding_));
            }
            at = end + 1;
        }
    }

    // The reader orders boxes 1 to 6 by number and lets the first "+" card lead;
    // box 0 keeps the file's order whatever its numbers and marks.
    void checkBoxes() {
        for (int box = 1; box <= CardBoxes::lastBox; ++box) {
            std::vector<const ReadCard*> cards;
            for (const ReadCard& card : cards_) {
                if (card.section == box) {
                    cards.push_back(&card);
                }
            }
            if (cards.empty()) {
                continue;
            }
            std::stable_sort(cards.begin(), cards.end(), [](const ReadCard* a, const ReadCard* b) {
                return a->number < b->number;
            });
            const std::string name = "box " + std::to_string(box);
            std::vector<const ReadCard*> leads;
            std::copy_if(cards.begin(), cards.end(), std::back_inserter(leads),
                         [](const ReadCard* card) { return card->lead; });
            if (leads.empty()) {
                report_.findings.push_back(
                    {cards.front()->line, name + " has no card marked \"+\": the card of line " +
                                              std::to_string(cards.front()->line) +
                                              " (lowest number) leads it"});
            } else if (leads.size() > 1) {
                report_.findings.push_back(
                    {leads[1]->line, name + " has " + std::to_string(leads.size()) +
                                         " cards marked \"+\" (lines " + lineList(leads) +
                                         "): the one of line " + std::to_string(leads[0]->line) +
                                         " leads it"});
            }
            for (auto run = cards.begin(); run != cards.end();) {
                const auto end = std::find_if(run, cards.end(), [&](const ReadCard* card) {
                    return card->number != (*run)->number;
                });
                if (end - run > 1) {
                    const std::vector<const ReadCard*> same(run, end);
                    report_.findings.push_back(
                        {same[1]->line, name + ": number " + std::to_string((*run)->number) +
                                            " is on more than one card (lines " + lineList(same) +
                                            "): they keep their order in the file"});
                }
                run = end;
            }
        }
    }

    CardEncoding encoding_;
    std::size_t markBytes_;
    CardText cardText_;
    LineIndex lines_;
    CheckReport report_;
    std::vector<ReadCard> cards_;
    std::string missing_;
    std::size_t covered_ = 0;  // end of the cards seen so far, end tags included
    std::size_t previousEnd_ = 0;
    std::size_t previousLine_ = 0;
};

}  // namespace

CheckReport checkCardText(std::string_view bytes) { return Checker(bytes).run(); }
