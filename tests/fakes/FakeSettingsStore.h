#pragma once
#include <map>
#include <string>

#include "platform/SettingsStore.h"

// The kept numbers in memory; `failWith` makes every save fail with that code.
class FakeSettingsStore : public SettingsStore {
public:
    std::optional<std::uint32_t> loadNumber(const std::string& name) override {
        const auto it = kept.find(name);
        return it == kept.end() ? std::nullopt : std::optional<std::uint32_t>(it->second);
    }
    bool saveNumber(const std::string& name, std::uint32_t value, ErrorCode& error) override {
        error = failWith;
        if (failWith == 0) kept[name] = value;
        return failWith == 0;
    }

    std::map<std::string, std::uint32_t> kept;
    ErrorCode failWith = 0;
};
