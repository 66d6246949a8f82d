#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

// The Open and Save dialogs answering from a script; with nothing scripted the
// user cancels. Every owner the dialogs were shown with is kept.
class FakeFileDialogs : public FileDialogs {
public:
    std::optional<std::string> chooseFileToOpen(WindowRef owner) override {
        openOwners.push_back(owner);
        return next(openAnswers);
    }
    std::optional<std::string> chooseFileToSave(WindowRef owner) override {
        saveOwners.push_back(owner);
        return next(saveAnswers);
    }

    void openWillChoose(const std::string& path) { openAnswers.push_back(path); }
    void openWillCancel() { openAnswers.push_back(std::nullopt); }
    void saveWillChoose(const std::string& path) { saveAnswers.push_back(path); }
    void saveWillCancel() { saveAnswers.push_back(std::nullopt); }

    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<WindowRef> openOwners;
    std::vector<WindowRef> saveOwners;

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
