#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/StringResources.h"

// A string table set up by the test. Loads behave like the platform's: at most
// capacity - 1 characters come back, and an unknown id gives an empty text.
class FakeStrings : public StringResources {
public:
    std::string load(unsigned id, std::size_t capacity) override {
        loads.emplace_back(id, capacity);
        const auto it = table.find(id);
        if (it == table.end() || capacity == 0) return std::string();
        return it->second.substr(0, capacity - 1);
    }

    std::map<unsigned, std::string> table;
    std::vector<std::pair<unsigned, std::size_t>> loads;  // id and capacity of each load
};
