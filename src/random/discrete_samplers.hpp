#pragma once
// Samplers of the discrete distributions; counts are returned as doubles.
#include <cstdint>

#include "random/engine.hpp"

namespace rng {

double rbern(double prob, Engine& engine);
double rbinom(std::int64_t n_trials, double prob, Engine& engine);
double rpois(double rate, Engine& engine);

}  // namespace rng
