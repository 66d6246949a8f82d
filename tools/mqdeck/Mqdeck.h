#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "model/CardBoxes.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

// One JSON line per card: boxes 0 to 6, each from its front card to its back card.
void dumpDeck(const CardBoxes& deck, std::ostream& out);

// The whole tool, given its arguments without the program name; gives the exit
// code: 0 done, 1 failed (a file could not be read or saved, or check found
// something), 2 wrong arguments.
int runMqdeck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              FileSystem& files, Clock& clock);
