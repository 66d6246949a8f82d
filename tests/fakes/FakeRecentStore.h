#pragma once
#include <string>
#include <vector>

#include "platform/RecentStore.h"

// The kept list in memory; `failWith` makes every save fail with that code.
class FakeRecentStore : public RecentStore {
public:
    std::vector<std::string> load() override { return kept; }
    bool save(const std::vector<std::string>& paths, ErrorCode& error) override {
        ++saves;
        error = failWith;
        if (failWith == 0) kept = paths;
        return failWith == 0;
    }

    std::vector<std::string> kept;
    ErrorCode failWith = 0;
    int saves = 0;
};
