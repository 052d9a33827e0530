#pragma once
// Binomial distribution with n_trials trials and success probability prob, and the
// Bernoulli distribution (one trial). Counts are 64-bit integers; results are doubles.
#include <cstdint>

namespace dists {

double dbinom(std::int64_t x, std::int64_t n_trials, double prob, bool log);
double pbinom(std::int64_t x, std::int64_t n_trials, double prob, bool log_p);
double qbinom(double p, std::int64_t n_trials, double prob);
double dbern(std::int64_t x, double prob, bool log);
double pbern(std::int64_t x, double prob, bool log_p);
double qbern(double p, double prob);

}  // namespace dists
