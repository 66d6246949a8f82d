#pragma once
#include <memory>
#include <string>

#include "cardfile/CardSave.h"
#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

// What a deck is saved as: UTF-8 when it came from a UTF-8 file or holds a
// character that code page 1252 lacks, else code page 1252, as card files always were.
CardEncoding savedEncoding(const CardBoxes& deck);

// The card file text of a whole deck, exactly as it is saved (a UTF-8 file begins
// with the byte-order mark).
std::string composeCardText(const CardBoxes& deck);
std::string composeCardText(const CardBoxes& deck, CardEncoding encoding);
// Large enough that writing a piece costs hardly more than writing its bytes (at
// 64 KiB a save took a third longer), small enough that a saved deck is never held
// twice.
constexpr std::size_t cardTextPieceBytes = 256 * 1024;

// The same text in consecutive pieces of about cardTextPieceBytes (a card is never
// split, so a very long card makes a longer piece), so that saving a large deck
// does not hold its text twice. False when `take` stopped it.
bool composeCardTextInPieces(const CardBoxes& deck, CardEncoding encoding, const PieceTaker& take);

// Saves `deck` under `fileName`, in the kind savedEncoding gives, which becomes
// the deck's. A failure is reported in one box and leaves the file on disk as it
// was. True when saved; `hash` then holds the content hash of the bytes saved.
bool writeDeckToFile(CardBoxes& deck, const std::string& fileName, FileSystem& files,
                     MessageBoxes& boxes, std::uint64_t* hash = nullptr);
