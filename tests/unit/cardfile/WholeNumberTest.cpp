#include <gtest/gtest.h>

#include "platform/WholeNumber.h"

namespace {

TEST(WholeNumber, IsDigitsOnlyTheWholeTextWithinItsLengthAndRange) {
    const struct {
        const char* text;
        std::size_t longest;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"0", 10, 0u},          {"0042", 4, 42u}, {"4294967295", 10, 4294967295u},
        {"4294967296", 10, {}}, {"00042", 4, {}}, {"", 10, {}},
        {"+1", 10, {}},         {"-1", 10, {}},   {" 1", 10, {}},
        {"1 ", 10, {}},         {"1.5", 10, {}},  {"1e3", 10, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseWholeNumber(c.text, c.longest), c.value) << c.text;
    }
}

}  // namespace
