"""Rows of the accuracy suite (see accuracy_harness.py): gamma, chi-squared, inverse gamma,
exponential and Poisson. Shapes from 1e-12 to 1e7 (the uniform expansion's switch at 20
and the quadrature's window among them), points from 1e-300 to far beyond 3a."""
import math

import mpmath

from accuracy_harness import Row


def gamma_tails(a, x):
    """(P(a, x), Q(a, x)) at the working precision, the smaller one computed directly."""
    a, x = mpmath.mpf(a), mpmath.mpf(x)
    if x <= 0:
        return mpmath.mpf(0), mpmath.mpf(1)
    if x < a:
        lower = mpmath.exp(a * mpmath.log(x) - x - mpmath.loggamma(a + 1)) * mpmath.hyp1f1(1, a + 1, x, maxterms=10**7)
        return lower, 1 - lower
    upper = mpmath.gammainc(a, x, mpmath.inf, regularized=True)
    return 1 - upper, upper


def gamma_log_density(a, t):
    return (a - 1) * mpmath.log(t) - t - mpmath.loggamma(a)


def gamma_points(a):
    """Points in units of the scale: near 0, across the bulk in standard deviations, and
    beyond 3a."""
    s = math.sqrt(a)
    bulk = [a + z * s for z in (-30, -8, -3, -1, 0, 1, 3, 5.5, 8, 12, 30, 60)]
    return sorted({v for v in [1e-300, 1e-20, 2**-53, 1e-10, 0.01, 1.0, 3 * a, 10 * a + 50] + bulk if v > 0})


def digits(shape):
    return 50 if shape >= 1e-3 else 90


SHAPES = [1e-12, 0.01, 0.5, 1.0, 2.5, 9.5, 10.0, 25.0, 150.0, 1500.0, 2e5]

GAMMA = Row(
    "gamma", [(a, scale) for a in SHAPES for scale in (1.0,)] + [(0.5, 1e-3), (25.0, 7.0)],
    points=lambda a, scale: [v * scale for v in gamma_points(a)],
    density=lambda x, a, scale: mpmath.exp(gamma_log_density(a, x / scale)) / scale,
    tails=lambda x, a, scale: gamma_tails(a, x / scale),
    digits=lambda a, scale: digits(a))

CHISQ = Row(
    "chisq", [(2 * a,) for a in SHAPES if a > 1e-12] + [(1000.0,)],
    points=lambda dof: [2 * v for v in gamma_points(dof / 2)],
    density=lambda x, dof: mpmath.exp(gamma_log_density(dof / 2, x / 2)) / 2,
    tails=lambda x, dof: gamma_tails(dof / 2, x / 2),
    digits=lambda dof: digits(dof / 2))

INVGAMMA = Row(
    "invgamma", [(a, 1.0) for a in (0.01, 0.5, 3.0, 25.0, 1500.0)] + [(3.0, 1e-20)],
    points=lambda a, scale: [scale / v for v in gamma_points(a) if scale / v < 1e300],
    density=lambda x, a, scale: mpmath.exp(gamma_log_density(a, scale / x)) * scale / x**2,
    tails=lambda x, a, scale: tuple(reversed(gamma_tails(a, scale / x))),
    digits=lambda a, scale: digits(a))

EXP = Row(
    "exp", [(rate,) for rate in (1e-300, 1e-10, 1.0, 2.0, 3e5)],
    points=lambda rate: [v / rate for v in (1e-300, 1e-17, 1e-5, 0.1, 1.0, 10.0, 700.0, 1e4) if v / rate < 1e300],
    density=lambda x, rate: rate * mpmath.exp(-rate * x),
    tails=lambda x, rate: (-mpmath.expm1(-rate * x), mpmath.exp(-rate * x)))


def poisson_points(rate):
    s = math.sqrt(rate)
    return sorted({max(0, math.floor(rate + z * s)) for z in (-30, -8, -3, -1, 0, 1, 3, 8, 30)} | {0, 1, 2, 15, 16})


POIS = Row(
    "pois", [(rate,) for rate in (1e-17, 0.5, 4.0, 10.0, 10.5, 30.0, 100.0, 1000.0, 2e5)],
    points=poisson_points,
    density=lambda k, rate: mpmath.exp(k * mpmath.log(rate) - rate - mpmath.loggamma(k + 1)),
    tails=lambda k, rate: tuple(reversed(gamma_tails(k + 1, rate))),
    discrete="exceed")

ROWS = [GAMMA, CHISQ, INVGAMMA, EXP, POIS]
