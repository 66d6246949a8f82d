#pragma once
#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

// Takes one piece of a text; false stops the text from going on.
using PieceTaker = std::function<bool(const std::string& piece)>;
// Hands a text to `take` in consecutive pieces, so that a large text need never be
// held whole. Gives false when `take` stopped it. Every call gives the same text.
using TextPieces = std::function<bool(const PieceTaker& take)>;

// Saves `text` as the card file `fileName`. It succeeds wherever emptying the file
// and writing it in place would, and on every failure the file keeps its old bytes
// (or, when only an overwrite in place was left and it failed, the box names the
// complete copy that was kept). Reports a failure in one box; true when saved.
bool saveCardText(const TextPieces& text, const std::string& fileName, FileSystem& files,
                  MessageBoxes& boxes);
bool saveCardText(const std::string& text, const std::string& fileName, FileSystem& files,
                  MessageBoxes& boxes);

// The box for a card file that could not be created or opened for writing.
void reportCreateFailure(ErrorCode error, MessageBoxes& boxes);
