#pragma once
#include <string>
#include <string_view>

#include "model/CardBoxes.h"
#include "platform/MessageBoxes.h"

// The card reader as plainly as the card file format can be written down: each
// block and each field is searched afresh from the block's start, cards copy
// their texts. The reader proper must give the same decks and the same boxes.
// Quadratic on damaged texts: for checking the reader on small texts only.
void referenceReadCardText(CardBoxes& deck, std::string_view text, MessageBoxes& boxes);

// The bytes of a whole card file: after the UTF-8 byte-order mark the texts as they
// are, else every byte a code page 1252 character. The deck takes the file's kind.
void referenceReadCardFile(CardBoxes& deck, std::string_view bytes, MessageBoxes& boxes);

// Everything a read leaves in a deck, its kind and one line per card, for comparing
// two reads.
std::string describeDeck(const CardBoxes& deck);
