#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

// The user's own settings that outlive the program, as named numbers. What they
// mean and which values are allowed is the core's business.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the number was never kept or cannot be read.
    virtual std::optional<std::uint32_t> loadNumber(const std::string& name) = 0;
    // False (with the system's code) when it could not be kept.
    virtual bool saveNumber(const std::string& name, std::uint32_t value, ErrorCode& error) = 0;
};
