#pragma once
#include <memory>
#include <string>

#include "model/CardBoxes.h"

// A generated deck as it looks after some learning: most cards new or in the low
// boxes, texts of a language deck with code page 1252 letters (in UTF-8, as cards
// hold them), some over two lines.
std::unique_ptr<CardBoxes> makeBenchDeck(int cards);

// The same deck as XML, one element per card with the six fields as children,
// for comparing with a general XML parser.
std::string deckAsXml(const CardBoxes& deck);

// The card text of a deck written the plain way, texts as they are held, into one
// string reserved to `size`: the yardstick for composing it.
std::string plainSerialise(const CardBoxes& deck, std::size_t size);
