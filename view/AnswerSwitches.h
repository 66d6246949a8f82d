#pragma once
#include <array>

#include "model/AnswerCheck.h"
#include "platform/SettingsStore.h"

// The typed answer's switches, kept for the user and back at the next start: the
// mode itself, and how lenient its checks are; in the order of their menu items.
enum class AnswerSwitch { typeAnswer, ignoreCase, ignoreAccents };

class AnswerSwitches {
public:
    explicit AnswerSwitches(SettingsStore& store) : store_(store) {}

    // The switches kept; one never kept is as at the first start.
    void load();
    bool isOn(AnswerSwitch which) const { return on_[index(which)]; }
    // Turns it over for this run and keeps it for the next; false (with the
    // system's code) when it could not be kept.
    bool toggle(AnswerSwitch which, ErrorCode& error);
    AnswerSettings settings() const {
        return {isOn(AnswerSwitch::ignoreCase), isOn(AnswerSwitch::ignoreAccents)};
    }

private:
    static std::size_t index(AnswerSwitch which) { return static_cast<std::size_t>(which); }

    SettingsStore& store_;
    // Off at the first start; case ignored, accents counted, as a teacher would.
    std::array<bool, 3> on_{false, true, false};
};
