#pragma once
#include <cstddef>
#include <string>

// The program's string table, as UTF-8. `capacity` counts the terminator, as the
// platform's buffer size does, so at most capacity - 1 UTF-16 units come back
// (which may take more bytes).
class StringResources {
public:
    virtual ~StringResources() = default;
    virtual std::string load(unsigned id, std::size_t capacity) = 0;
};
