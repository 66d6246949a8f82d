#pragma once
#include <cstdint>

// Chance, as uniformly drawn 32-bit numbers.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::uint32_t next() = 0;
};
