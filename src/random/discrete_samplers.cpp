#include "random/discrete_samplers.hpp"

#include "dists/poisson.hpp"
#include "kernels/constants.hpp"
#include "kernels/interrupt.hpp"

namespace rng {

namespace {

// A success probability must be a finite value in [0, 1].
bool invalid_probability(double prob) { return !(prob >= 0 && prob <= 1); }

}  // namespace

double rbern(double prob, Engine& engine) {
    if (invalid_probability(prob)) return kernels::NaN;
    return draw_open_unit(engine) <= prob ? 1.0 : 0.0;
}

// One open uniform per trial, in order, whatever the size of n_trials: the stream is
// that of n_trials Bernoulli draws.
double rbinom(std::int64_t n_trials, double prob, Engine& engine) {
    if (n_trials < 0 || invalid_probability(prob)) return kernels::NaN;
    interrupt::Poller poller;
    double successes = 0.0;
    for (std::int64_t i = 0; i < n_trials; ++i) {
        successes += draw_open_unit(engine) <= prob ? 1.0 : 0.0;
        poller.step();
    }
    return successes;
}

// Inversion at one open uniform, drawn once the rate is known to be valid.
double rpois(double rate, Engine& engine) {
    if (rate != rate || rate < 0) return kernels::NaN;
    const double u = draw_open_unit(engine);
    if (rate < kernels::EPS) return 0.0;
    return dists::poisson_count_search(u, rate);
}

}  // namespace rng
