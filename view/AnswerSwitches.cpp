#include "view/AnswerSwitches.h"

namespace {
// The registry values beside the other settings, in the order of AnswerSwitch.
const std::array<const char*, 3> valueNames = {"TypeAnswer", "AnswerIgnoreCase",
                                               "AnswerIgnoreAccents"};
}  // namespace

void AnswerSwitches::load() {
    for (std::size_t i = 0; i < valueNames.size(); ++i) {
        const std::optional<std::uint32_t> kept = store_.loadNumber(valueNames[i]);
        if (kept && *kept <= 1) on_[i] = *kept == 1;
    }
}

bool AnswerSwitches::toggle(AnswerSwitch which, ErrorCode& error) {
    bool& on = on_[index(which)];
    on = !on;
    return store_.saveNumber(valueNames[index(which)], on ? 1 : 0, error);
}
