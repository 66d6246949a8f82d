#pragma once
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// Where the list of recently used card files outlives the program: per user, as
// UTF-8 paths, most recent first. The list's order and limits are the core's.
class RecentStore {
public:
    virtual ~RecentStore() = default;
    // Nothing when no list was kept yet, or it cannot be read.
    virtual std::vector<std::string> load() = 0;
    // Replaces the kept list with `paths`; false (with the system's code) when it
    // could not be written.
    virtual bool save(const std::vector<std::string>& paths, ErrorCode& error) = 0;
};
