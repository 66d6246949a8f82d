#include "model/LetterDistance.h"

#include <algorithm>
#include <cstdint>

namespace {
// The aligning table has a cell for each pair of letters in the differing middle.
constexpr std::size_t maxAlignedPairs = std::size_t{1} << 18;

bool sameFrom(const LetterKeys& a, std::size_t i, const LetterKeys& b, std::size_t j) {
    return a.size() - i == b.size() - j && std::equal(a.begin() + i, a.end(), b.begin() + j);
}

std::size_t commonStart(const LetterKeys& a, const LetterKeys& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

// The edit table of a[from, from + n) against b[from, from + m), row after row.
std::vector<std::uint32_t> editTable(const LetterKeys& a, const LetterKeys& b, std::size_t from,
                                     std::size_t n, std::size_t m) {
    std::vector<std::uint32_t> d((n + 1) * (m + 1));
    const auto cell = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
        return d[i * (m + 1) + j];
    };
    for (std::size_t i = 0; i <= n; ++i) cell(i, 0) = static_cast<std::uint32_t>(i);
    for (std::size_t j = 0; j <= m; ++j) cell(0, j) = static_cast<std::uint32_t>(j);
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const std::uint32_t change = a[from + i - 1] == b[from + j - 1] ? 0 : 1;
            cell(i, j) =
                std::min({cell(i - 1, j - 1) + change, cell(i - 1, j) + 1, cell(i, j - 1) + 1});
        }
    }
    return d;
}
}  // namespace

std::optional<SingleSlip> singleSlip(const LetterKeys& expected, const LetterKeys& typed) {
    const LetterKeys& a = expected;
    const LetterKeys& b = typed;
    const std::size_t i = commonStart(a, b);
    if (a.size() == b.size() && i < a.size()) {
        if (sameFrom(a, i + 1, b, i + 1)) return SingleSlip{Slip::changed, i};
        if (i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
            sameFrom(a, i + 2, b, i + 2)) {
            return SingleSlip{Slip::swapped, i};
        }
    } else if (a.size() == b.size() + 1 && sameFrom(a, i + 1, b, i)) {
        return SingleSlip{Slip::missing, i};
    } else if (b.size() == a.size() + 1 && sameFrom(a, i, b, i + 1)) {
        return SingleSlip{Slip::extra, i};
    }
    return std::nullopt;
}

std::size_t cappedDistance(const LetterKeys& a, const LetterKeys& b, std::size_t cap) {
    const std::size_t n = a.size(), m = b.size();
    const std::size_t beyond = cap + 1;
    if ((n > m ? n - m : m - n) > cap) return beyond;
    // Only the cells within `cap` of the diagonal can stay within the cap.
    std::vector<std::size_t> previous(m + 1, beyond), current(m + 1, beyond);
    for (std::size_t j = 0; j <= std::min(m, cap); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t first = i > cap ? i - cap : 0;
        const std::size_t last = std::min(m, i + cap);
        // The cells just outside the band are read by the next cells: beyond.
        current[first > 0 ? first - 1 : 0] = first > 0 ? beyond : i;
        if (last < m) current[last + 1] = beyond;
        std::size_t least = current[first > 0 ? first - 1 : 0];
        for (std::size_t j = std::max<std::size_t>(first, 1); j <= last; ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] =
                std::min({previous[j - 1] + change, previous[j] + 1, current[j - 1] + 1, beyond});
            least = std::min(least, current[j]);
        }
        if (least >= beyond) return beyond;  // no row below can come back within the cap
        std::swap(previous, current);
    }
    return previous[m];
}

std::vector<bool> unmatchedLetters(const LetterKeys& expected, const LetterKeys& typed) {
    const LetterKeys& a = expected;
    const LetterKeys& b = typed;
    std::vector<bool> unmatched(a.size(), false);
    const std::size_t start = commonStart(a, b);
    std::size_t end = 0;
    while (end < a.size() - start && end < b.size() - start &&
           a[a.size() - 1 - end] == b[b.size() - 1 - end]) {
        ++end;
    }
    const std::size_t n = a.size() - start - end, m = b.size() - start - end;
    const auto mark = [&](std::size_t i) { unmatched[std::min(i, a.size() - 1)] = true; };
    if (a.empty() || (n == 0 && m == 0)) return unmatched;
    if (n == 0 || n * m > maxAlignedPairs) {
        // Only extra letters, or too long to align: mark where they begin, or all.
        if (n == 0) mark(start > 0 ? start - 1 : 0);
        for (std::size_t i = 0; i < n; ++i) mark(start + i);
        return unmatched;
    }
    const std::vector<std::uint32_t> d = editTable(a, b, start, n, m);
    const auto cell = [&](std::size_t i, std::size_t j) { return d[i * (m + 1) + j]; };
    for (std::size_t i = n, j = m; i > 0 || j > 0;) {
        if (i > 0 && j > 0 &&
            cell(i, j) == cell(i - 1, j - 1) + (a[start + i - 1] == b[start + j - 1] ? 0 : 1)) {
            if (cell(i, j) != cell(i - 1, j - 1)) mark(start + i - 1);
            --i, --j;
        } else if (i > 0 && cell(i, j) == cell(i - 1, j) + 1) {
            mark(start + --i);
        } else {
            mark(start + i > 0 ? start + i - 1 : 0);  // an extra letter: the one it follows
            --j;
        }
    }
    return unmatched;
}
