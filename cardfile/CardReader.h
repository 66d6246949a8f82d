#pragma once
#include <string>
#include <string_view>

#include "cardfile/CardFileText.h"
#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"

// Fills a new, empty deck from the text of a card file in UTF-8 (the text ends at its
// first NUL byte). Asks the user through `boxes` when no card block is found.
// The cards refer to their texts in the deck's own copy of the text.
void readCardText(CardBoxes& deck, std::string_view text, MessageBoxes& boxes);
// The same, keeping `text` itself as that copy.
void readCardText(CardBoxes& deck, std::string&& text, MessageBoxes& boxes);
void readCardText(CardBoxes& deck, const char* text, MessageBoxes& boxes);

// Reads a card file, of either kind, into a new deck, which takes the file's kind.
// The deck keeps the file's bytes.
void readCardFile(CardBoxes& deck, CardFileText&& file, MessageBoxes& boxes);
// The same from the bytes of a whole file.
void readCardFileBytes(CardBoxes& deck, std::string_view bytes, MessageBoxes& boxes);
