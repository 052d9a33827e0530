#pragma once
// Binomial distribution with n_trials trials and success probability prob, and the
// Bernoulli distribution (one trial). Counts are whole numbers held
// in doubles (others give NaN); results are doubles.
#include <cstdint>

namespace dists {

double dbinom(double x, double n_trials, double prob, bool log);
double pbinom(double x, double n_trials, double prob, bool log_p, bool lower_tail = true);
double qbinom(double p, double n_trials, double prob, bool lower_tail = true, bool log_p = false);
double dbern(double x, double prob, bool log);
double pbern(double x, double prob, bool log_p, bool lower_tail = true);
double qbern(double p, double prob, bool lower_tail = true, bool log_p = false);

}  // namespace dists
