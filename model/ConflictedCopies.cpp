#include "model/ConflictedCopies.h"

#include <algorithm>
#include <optional>

#include "model/MergeMatch.h"

namespace {

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && sameLetters(text.substr(0, start.size()), start);
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && sameLetters(text.substr(text.size() - end.size()), end);
}

bool contains(std::string_view text, std::string_view part) {
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (sameLetters(text.substr(at, part.size()), part)) {
            return true;
        }
    }
    return false;
}

// What lies between the deck's name without its extension and the extension.
std::optional<std::string_view> addedToName(std::string_view name, std::string_view stem,
                                            std::string_view extension) {
    if (name.size() <= stem.size() + extension.size() || !startsWith(name, stem) ||
        !endsWith(name, extension)) {
        return std::nullopt;
    }
    return name.substr(stem.size(), name.size() - stem.size() - extension.size());
}

// " (Laptop's conflicted copy 2026-12-08)"
bool saysConflictedCopy(std::string_view added) {
    return startsWith(added, " (") && endsWith(added, ")") && contains(added, "conflicted copy");
}

// "-LAPTOP"
bool isComputerName(std::string_view added) {
    const std::string_view name = added.substr(std::min<std::size_t>(1, added.size()));
    const auto allowed = [](char c) { return isCapital(c) || isDigit(c) || c == '-'; };
    return startsWith(added, "-") && !name.empty() && name.size() <= 15 &&
           std::all_of(name.begin(), name.end(), allowed) &&
           std::any_of(name.begin(), name.end(), isCapital);
}

// ".sync-conflict-20261208-101500-ABCDEFG"
bool isSyncConflict(std::string_view added) {
    constexpr std::string_view lead = ".sync-conflict-";
    constexpr std::string_view shape = "dddddddd-dddddd-xxxxxxx";
    if (!startsWith(added, lead) || added.size() != lead.size() + shape.size()) {
        return false;
    }
    const std::string_view rest = added.substr(lead.size());
    return std::equal(shape.begin(), shape.end(), rest.begin(), [](char kind, char c) {
        const bool letterOrDigit = isCapital(c) || (c >= 'a' && c <= 'z') || isDigit(c);
        return kind == 'd' ? isDigit(c) : kind == 'x' ? letterOrDigit : c == kind;
    });
}

}  // namespace

std::vector<std::string> conflictedCopyNames(std::string_view deckPath,
                                             const std::vector<std::string>& names) {
    const std::string_view deckName = deckPath.substr(deckPath.find_last_of("\\/") + 1);
    const std::size_t dot = deckName.rfind('.');
    const std::string_view stem = deckName.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : deckName.substr(dot);
    std::vector<std::string> copies;
    for (const std::string& name : names) {
        const auto added = addedToName(name, stem, extension);
        if (added &&
            (saysConflictedCopy(*added) || isComputerName(*added) || isSyncConflict(*added))) {
            copies.push_back(name);
        }
    }
    return copies;
}

bool sharesMostCards(const CardBoxes& deck, const CardBoxes& copy) {
    const DeckSide deckSide(deck);
    const DeckSide copySide(copy);
    const Matching matching = matchCards(nullptr, deckSide, copySide);
    const auto shared = std::count_if(
        matching.units.begin(), matching.units.end(),
        [](const MergeUnit& unit) { return unit.mine != none && unit.theirs != none; });
    const std::size_t smaller = std::min(deckSide.cards.size(), copySide.cards.size());
    return smaller > 0 && 2 * static_cast<std::size_t>(shared) > smaller;
}
