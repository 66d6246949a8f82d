#pragma once
#include <random>

#include "platform/RandomSource.h"

// The same draws every run.
class FakeRandom : public RandomSource {
public:
    std::uint32_t next() override { return static_cast<std::uint32_t>(engine()); }
    std::mt19937 engine{20261208};
};
