#include "tools/mqdeck/ConsoleBoxes.h"

#include <ostream>

#include "platform/TextCoding.h"
#include "platform/WinConstants.h"

int ConsoleMessageBoxes::show(WindowRef /*owner*/, const std::string& text, const char* caption,
                              unsigned type) {
    err_ << "mqdeck: ";
    if (caption != nullptr) {
        err_ << cp1252ToUtf8(caption) << ": ";
    }
    err_ << cp1252ToUtf8(text) << '\n';
    if ((type & 0x0Fu) == MB_YESNO) {
        return goOn_ ? IDYES : IDNO;
    }
    return IDOK;
}
