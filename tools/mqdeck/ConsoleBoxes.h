#pragma once
#include <iosfwd>
#include <string>

#include "platform/MessageBoxes.h"

// Message boxes for a terminal: each box goes to `err` as one line. A question
// is answered Yes when `goOn`, else No; a notice is answered OK.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    explicit ConsoleMessageBoxes(std::ostream& err, bool goOn = true) : err_(err), goOn_(goOn) {}
    int show(WindowRef owner, const std::string& text, const char* caption, unsigned type) override;

private:
    std::ostream& err_;
    bool goOn_;
};
