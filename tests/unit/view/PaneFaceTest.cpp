#include <gtest/gtest.h>

#include <vector>

#include "view/PaneFace.h"

namespace {

TEST(PaneFace, FirstFaceLackingNothingElseTheOneLackingFewest) {
    const struct {
        std::vector<std::size_t> missing;  // per face, best first
        std::size_t chosen;
        std::size_t asked;  // faces asked before the choice was sure
    } cases[] = {
        {{0, 0, 3}, 0, 1}, {{4, 0, 0}, 1, 2}, {{4, 2, 3}, 1, 3}, {{2, 2}, 0, 2}, {{5}, 0, 1},
    };
    for (const auto& c : cases) {
        std::size_t asked = 0;
        EXPECT_EQ(choosePaneFace(c.missing.size(),
                                 [&](std::size_t face) { return ++asked, c.missing[face]; }),
                  c.chosen);
        EXPECT_EQ(asked, c.asked);
    }
    // Only what a face is asked for a glyph of: no line breaks, no surrogate halves.
    EXPECT_EQ(charactersToDraw(u"\u6771\r\n\xD83D\xDE00 a\t"), u"\u6771 a");
}

}  // namespace
