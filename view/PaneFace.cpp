#include "view/PaneFace.h"

#include "view/ControlIds.h"

std::size_t choosePaneFace(std::size_t faces,
                           const std::function<std::size_t(std::size_t)>& missingIn) {
    std::size_t best = 0;
    std::size_t fewest = static_cast<std::size_t>(-1);
    for (std::size_t face = 0; face < faces && fewest != 0; ++face) {
        const std::size_t missing = missingIn(face);
        if (missing < fewest) {
            best = face;
            fewest = missing;
        }
    }
    return best;
}

std::u16string charactersToDraw(std::u16string_view text) {
    std::u16string drawn;
    for (const char16_t unit : text) {
        if (unit >= 0x20 && (unit < 0xD800 || unit > 0xDFFF)) drawn += unit;
    }
    return drawn;
}

bool isCardPane(int controlId) {
    return controlId == ids::questionPane || controlId == ids::answerPane;
}
