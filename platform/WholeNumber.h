#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// A whole number as typed or stored: digits only, the whole text, so that a sign,
// a blank or a fraction makes it no number rather than a different one. Nothing
// as well for more than `longest` digits or a value that does not fit.
std::optional<std::uint32_t> parseWholeNumber(std::string_view text, std::size_t longest = 10);
