#pragma once
#include <iosfwd>
#include <string>

#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

// The tool's files, reached through the same file system the program's own save
// goes through. Each operation tells the user on `err` why it failed.

// Every byte of `path`; an empty file is read as such.
bool readInputFile(FileSystem& files, const std::string& path, std::string& bytes,
                   std::ostream& err);

// Reads a card file with the program's reader; the reader's questions go to
// `boxes`. Fails on a file that cannot be read or holds no text, as the program
// does, and when the reader was told not to go on.
bool readDeckFile(FileSystem& files, const std::string& path, CardBoxes& deck, MessageBoxes& boxes,
                  std::ostream& err);

// Saves a deck with the program's safe save.
bool saveDeckFile(FileSystem& files, const std::string& path, const CardBoxes& deck,
                  std::ostream& err);

// Saves any text with the program's safe save, so a failure leaves the old file
// as it was.
bool saveTextFile(FileSystem& files, const std::string& path, const std::string& bytes,
                  std::ostream& err);
