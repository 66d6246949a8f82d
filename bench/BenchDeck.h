#pragma once
#include <memory>
#include <string>

#include "model/CardBoxes.h"

// The texts a generated deck is made of: plain ASCII; a Western European language
// deck with code page 1252 letters (saved as code page 1252); or that deck with
// words in Greek, Cyrillic, Han and kana besides (saved as UTF-8).
enum class BenchTexts { ascii, cp1252, utf8 };

// The cards of boxes 1 to 6 entered their boxes on days spread over the year up
// to this one (the test clock's today).
CalendarDay benchDeckToday();

// Which cards of a generated deck carry the day they entered their box: those of
// boxes 1 to 6, as after some learning; every card; or none, as in a deck that was
// never learned with days (the day is the one field a card may lack).
enum class BenchDays { learned, every, none };

// A generated deck as it looks after some learning: most cards new or in the low
// boxes, some answers over two lines. Boxes, lengths and days are the same for
// every kind of texts.
std::unique_ptr<CardBoxes> makeBenchDeck(int cards, BenchTexts texts = BenchTexts::cp1252,
                                         BenchDays days = BenchDays::learned);

// The same deck as XML, one element per card with the fields as children (the day
// only for cards that have one), for comparing with a general XML parser.
std::string deckAsXml(const CardBoxes& deck);

// The card text of a deck written the plain way into one string reserved to `size`:
// texts appended as they are held, numbers through std::to_string and days through
// appendDay, then, for a code page 1252 file, the whole converted at once. The
// same bytes as the file, and the yardstick for composing it.
std::string plainSerialise(const CardBoxes& deck, std::size_t size, CardEncoding encoding);
