#pragma once
#include <string>

#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

class CardFile;

// The card file text of a whole deck, exactly as it is saved.
std::string composeCardText(const CardBoxes& deck);

// Saves the deck of `cardFile` under its name; failures are reported in boxes and
// leave the file on disk as it was.
void writeCardFile(const CardFile& cardFile, FileSystem& files, MessageBoxes& boxes);
