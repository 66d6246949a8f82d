#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/WinConstants.h"

// Records every box shown and answers from a script; an unscripted box gets the
// answer a user pressing Enter would give for its style.
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        WindowRef owner;
        std::string text;
        std::optional<std::string> caption;  // empty: the system's default caption
        unsigned type;
    };

    int show(WindowRef owner, const std::string& text, const char* caption,
             unsigned type) override {
        shown.push_back(
            {owner, text, caption ? std::optional<std::string>(caption) : std::nullopt, type});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return defaultAnswer(type);
    }

    void answer(int button) { answers.push_back(button); }
    std::size_t count() const { return shown.size(); }
    const Shown& last() const { return shown.back(); }
    void clear() { shown.clear(); }

    std::vector<Shown> shown;
    std::deque<int> answers;

private:
    static int defaultAnswer(unsigned type) {
        const bool secondIsDefault = (type & MB_DEFBUTTON2) != 0;
        switch (type & 0x0F) {
            case MB_YESNO:
                return secondIsDefault ? IDNO : IDYES;
            case MB_OKCANCEL:
                return secondIsDefault ? IDCANCEL : IDOK;
            default:
                return IDOK;
        }
    }
};
