#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/CardBoxes.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

// Message boxes for a terminal: each box goes to `err` as one line, and the
// answer is the one that lets the work go on (Yes, or OK).
class ConsoleMessageBoxes : public MessageBoxes {
public:
    explicit ConsoleMessageBoxes(std::ostream& err) : err_(err) {}
    int show(WindowRef owner, const std::string& text, const char* caption, unsigned type) override;
    std::size_t count() const { return count_; }

private:
    std::ostream& err_;
    std::size_t count_ = 0;
};

// One JSON line per card: boxes 0 to 6, each from its front card to its back card.
void dumpDeck(const CardBoxes& deck, std::ostream& out);

// The whole tool, given its arguments without the program name; gives the exit
// code: 0 done, 1 a file could not be read or saved, 2 wrong arguments.
int runMqdeck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              FileSystem& files);
