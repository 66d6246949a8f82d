#include "tools/mqdeck/ConsoleBoxes.h"

#include <ostream>

#include "platform/WinConstants.h"

int ConsoleMessageBoxes::show(WindowRef /*owner*/, const std::string& text, const char* caption,
                              unsigned type) {
    err_ << "mqdeck: ";
    if (caption != nullptr) {
        err_ << caption << ": ";
    }
    err_ << text << '\n';
    if ((type & 0x0Fu) == MB_YESNO) {
        return goOn_ ? IDYES : IDNO;
    }
    return IDOK;
}
