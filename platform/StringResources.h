#pragma once
#include <cstddef>
#include <string>

// The program's string table. `capacity` counts the terminator, as the
// platform's buffer size does, so at most capacity - 1 characters come back.
class StringResources {
public:
    virtual ~StringResources() = default;
    virtual std::string load(unsigned id, std::size_t capacity) = 0;
};
