#pragma once
#include <string_view>

#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"

// Fills a new, empty deck from the text of a card file (the text ends at its
// first NUL byte). Asks the user through `boxes` when no card block is found.
void readCardText(CardBoxes& deck, std::string_view text, MessageBoxes& boxes);
