#pragma once
#include <iosfwd>
#include <string>

#include "model/CardBoxes.h"
#include "platform/FileSystem.h"

// The tool's files, reached through the same file system the program's own save
// goes through. Each operation tells the user on `err` why it failed.

// Every byte of `path`; an empty file is read as such.
bool readInputFile(FileSystem& files, const std::string& path, std::string& bytes,
                   std::ostream& err);

// Reads a card file with the program's reader; its boxes go to `err`, and its
// question whether to go on is answered `goOn`. Fails on a file that cannot be
// read or holds no text, as the program does, and when the reader did not go on.
bool readDeckFile(FileSystem& files, const std::string& path, CardBoxes& deck, std::ostream& err,
                  bool goOn = true);

// Saves a deck with the program's safe save.
bool saveDeckFile(FileSystem& files, const std::string& path, CardBoxes& deck, std::ostream& err);

// Saves any text with the program's safe save, so a failure leaves the old file
// as it was.
bool saveTextFile(FileSystem& files, const std::string& path, const std::string& bytes,
                  std::ostream& err);
