#pragma once
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h"
#include "platform/RecoveryPlace.h"

// The recovery folder as a path prefix of the fake file system's files.
class FakeRecoveryPlace : public RecoveryPlace {
public:
    explicit FakeRecoveryPlace(FakeFileSystem& files) : files_(files) {}

    std::optional<std::string> folder(ErrorCode& error) override {
        if (failure != 0) {
            error = failure;
            return std::nullopt;
        }
        return path;
    }
    std::vector<std::string> fileNames(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& file : files_.files) {
            if (file.first.rfind(folder, 0) == 0 &&
                file.first.find('\\', folder.size()) == std::string::npos) {
                names.push_back(file.first.substr(folder.size()));
            }
        }
        return names;
    }
    std::string runName() override { return run; }

    std::string path = "C:\\Users\\me\\AppData\\Local\\Mnemoquill\\Recovery\\";
    std::string run = "run1";
    ErrorCode failure = 0;

private:
    FakeFileSystem& files_;
};
