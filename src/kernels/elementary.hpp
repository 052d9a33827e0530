#pragma once
// Exponential, logarithm, power and square root built from fixed-depth continued
// fractions and a bounded Newton iteration.
#include <cstdint>

#include "kernels/lanes.hpp"

namespace kernels {

long double exp_int(std::int64_t n);  // e^n, extended precision
double exp(double x);
long double exp_ext(long double x);  // callers apply the guards of exp first
double expm1(double x);
double log_core(double x);  // ln x for x > 0, no guards
double log(double x);
double pow(double a, double b);  // a^b for a >= 0
double sqrt(double x);

// Forms with full relative precision where the ones above lose digits near 0, for the
// tails of distributions and the logarithms of probabilities: ln(1 + x) for x >= -1,
// e^x - 1, and ln(1 - e^l) for l <= 0 (the logarithm of a complement given as one).
double log1p_precise(double x);
double expm1_precise(double x);
double log1m_exp(double l);

// The continued fraction behind exp, at its fixed depth of 24 levels; meant for |r| < 2.
double exp_fraction(double r);

// The same kernels over a group of lanes, with the same bits in every lane.
Lanes<double> exp(const Lanes<double>& x);
Lanes<long double> exp_ext(const Lanes<long double>& x);
Lanes<double> expm1(const Lanes<double>& x);
Lanes<double> log_core(const Lanes<double>& x);
Lanes<double> log(const Lanes<double>& x);
Lanes<double> pow(const Lanes<double>& a, const Lanes<double>& b);

// The exponential and the logarithm over the fifty nodes of one quadrature, with their
// fractions on the widest vector unit of the processor (every unit gives the same bits).
inline constexpr int WIDE_LANE_COUNT = 50;
using WideLanes = Lanes<double, WIDE_LANE_COUNT>;
WideLanes exp(const WideLanes& x);
WideLanes log(const WideLanes& x);

namespace detail {

// Vector units from the narrowest; each processor with one has those before it.
enum class VectorUnit { baseline, avx2, avx512 };
bool processor_has(VectorUnit unit);
// The wide kernels on a unit the processor has, for the tests of every unit.
WideLanes exp_on(VectorUnit unit, const WideLanes& x);
WideLanes log_on(VectorUnit unit, const WideLanes& x);

}  // namespace detail

}  // namespace kernels
