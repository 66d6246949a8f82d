#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The program's arguments (its command line less its own name) split as
// CommandLineToArgvW splits them: blanks outside quotes come between arguments;
// 2n backslashes before a quote are n backslashes and the quote opens or closes
// a quoted stretch, 2n+1 are n and a literal quote; a third quote in a row inside
// quotes is a literal one; other backslashes are themselves.
std::vector<std::string> splitArguments(std::string_view arguments);

// The card file named on the command line, as given; nothing when none is.
std::optional<std::string> deckArgument(std::string_view arguments);

// `path` as an absolute path, a relative one taken from `workingFolder` the way
// Windows takes it ("\x" from the folder's drive or share, "C:x" from C:'s root
// when the folder lies on another drive); "." and ".." steps are walked.
std::string absolutePath(const std::string& path, const std::string& workingFolder);
