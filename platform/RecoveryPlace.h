#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// Where the user's recovery records lie, and this run's name for its own.
class RecoveryPlace {
public:
    virtual ~RecoveryPlace() = default;
    // The folder, made when missing, ending in a separator; nothing (and the
    // system's code) when it cannot be had.
    virtual std::optional<std::string> folder(ErrorCode& error) = 0;
    // The names of the files in `folder`, without the folder.
    virtual std::vector<std::string> fileNames(const std::string& folder) = 0;
    // A name no other run of the program has had or will have.
    virtual std::string runName() = 0;
};
