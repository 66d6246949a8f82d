#pragma once
#include <string>

#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

class CardFile;

// The card file text of a whole deck, exactly as it is saved.
std::string composeCardText(const CardBoxes& deck);

// Saves `deck` under `fileName`. Failures are reported in boxes and leave the
// file on disk as it was.
void writeDeckToFile(const CardBoxes& deck, const std::string& fileName, FileSystem& files,
                     MessageBoxes& boxes);

// Saves the deck of the current card file; does nothing while there is none.
void writeCardFile(const CardFile& cardFile, FileSystem& files, MessageBoxes& boxes);
