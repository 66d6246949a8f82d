#pragma once
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// Texts as sequences of letters, each letter one key: an edit is a letter, not a byte.
using LetterKeys = std::vector<std::string_view>;

// The one slip that turns `expected` into `typed`, where there is exactly one: a
// letter changed, missing or extra, or two neighbours swapped, at `at` (the first
// place the two differ, the same in both).
enum class Slip { changed, missing, extra, swapped };
struct SingleSlip {
    Slip slip;
    std::size_t at;
};
std::optional<SingleSlip> singleSlip(const LetterKeys& expected, const LetterKeys& typed);

// The edit distance, or `cap + 1` for anything beyond `cap`: the work grows with
// the texts times the cap, never with the texts squared.
std::size_t cappedDistance(const LetterKeys& a, const LetterKeys& b, std::size_t cap);

// Which letters of `expected` an alignment with `typed` does not match: changed or
// missing ones, and for an extra letter typed, the letter it follows. Past a few
// hundred thousand pairs of letters between the common start and end, the whole
// middle counts.
std::vector<bool> unmatchedLetters(const LetterKeys& expected, const LetterKeys& typed);
