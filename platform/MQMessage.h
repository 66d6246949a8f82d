#pragma once
#include <cstdint>
#include <string>

#include "platform/MessageBoxes.h"

// The box for a failed platform call: the caller's text, ", err#: " and the code.
std::string composeErrorText(const std::string& text, std::int32_t code);
// A `note` goes on a line of its own below the code.
void showError(MessageBoxes& boxes, const std::string& text, std::int32_t code,
               const std::string& note = std::string());
