#include "platform/WholeNumber.h"

#include <limits>

std::optional<std::uint32_t> parseWholeNumber(std::string_view text, std::size_t longest) {
    if (text.empty() || text.size() > longest) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}
