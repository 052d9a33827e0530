"""Poisson mass, distribution and quantile functions and the sums beneath them."""
import math
import time

import mpmath
import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d

INF, NAN = math.inf, math.nan
EPS = 2.220446049250313e-16
INT64_MAX, INT64_MIN = 2**63 - 1, -2**63
FACTORIALS = [math.factorial(k) for k in range(17)]


def check(value, expected):
    assert (math.isnan(value) and math.isnan(expected)) or value == expected, (value, expected)


@pytest.mark.parametrize("v, n, expected", [
    (3.0, 0, 1), (0.0, 0, 1), (NAN, 0, 1), (3.0, 1, 3), (3.0, 2, 9), (3.0, 3, 27), (1.5, 5, 1.5**5),
    (2.0, -3, 0.125), (0.5, INT64_MAX, INF), (2.0, INT64_MIN, 0), (0.0, -2, INF),
    (1 + 2**-30, 2**40, INF), (-2.0, 11, -2048.0),
])
def test_pow_int(v, n, expected):
    check(native.pow_int(v, n), expected)


def test_partial_sums_add_from_the_last_term():
    for lam in np.geomspace(1e-3, 30, 200):
        lam = float(lam)
        terms = [lam, lam * lam * 0.5, lam * lam * lam / 6]
        terms += [native.pow_int(lam, k) / FACTORIALS[k] for k in range(4, 17)]
        for n in range(2, 17):
            expected = terms[n - 1]
            for t in reversed(terms[:n - 1]):
                expected += t
            assert native.exp_partial_sum(n, lam) == expected
    assert native.exp_partial_sum(1, 2.5) == 2.5 and native.exp_partial_sum(0, 2.5) == 0
    assert math.isnan(native.exp_partial_sum(17, 2.5))


# ---- mass and distribution function --------------------------------------------------

@pytest.mark.parametrize("args, expected", [
    ((0, 0), 1), ((1, 0), 0), ((-1, 2), 0), ((3, INF), 0), ((INT64_MIN, 2), 0), ((0, NAN), NAN),
    ((0, -1), NAN), ((5, 1e-17), 0),
])
def test_dpois(args, expected):
    check(d.dpois(*args), expected)
    check(d.dpois(*args, log=True), native.log(expected) if expected == expected else NAN)


@pytest.mark.parametrize("rate", [1e-17, 1e-300, 5e-324])
def test_dpois_at_zero_below_eps_is_e_to_the_minus_rate(rate):
    # The zero power of a rate whose logarithm is -inf counts as 1.
    assert d.dpois(0, rate) == 1 and d.dpois(0, rate, log=True) == -rate


def test_dpois_at_the_largest_count_has_a_finite_log():
    # lgamma(x + 1) there is taken at 2^63.
    for rate in [2.0, 2.0**63]:
        got = d.dpois(INT64_MAX, rate, log=True)
        assert got == (native.log_core(rate) * 2.0**63 - rate) - native.lgamma(2.0**63)
        assert math.isfinite(got)


def test_dpois_values():
    assert d.dpois(2, 1) == pytest.approx(math.exp(-1) / 2, abs=4 * math.ulp(0.18))
    assert d.dpois(2, 1, log=True) == pytest.approx(-1 - math.log(2), abs=8 * math.ulp(1.7))


@pytest.mark.parametrize("args, expected", [
    ((0, 0), 1), ((20, 0), 1), ((-1, 3), 0), ((3, INF), 0), ((3, NAN), NAN), ((3, -1), NAN),
    ((0, 2), native.exp(-2)), ((1, 2), native.exp(-2) * 3),
    ((15, 10), native.exp(-10) * (native.exp_partial_sum(15, 10) + 1)),
    ((16, 10), 1 - native.incomplete_gamma(17, 10)), ((3, 10.5), 1 - native.incomplete_gamma(4, 10.5)),
    ((INT64_MAX, 1e18), 1 - native.incomplete_gamma(2.0**63, 1e18)),
])
def test_ppois(args, expected):
    check(d.ppois(*args), expected)
    check(native.poisson_cdf(*args), expected)


def test_ppois_log_p():
    assert d.ppois(0, 40, log_p=True) == -INF  # e^-40 is below EPS
    assert d.ppois(3, 2, log_p=True) == native.log(d.ppois(3, 2))
    assert d.ppois(-1, 2, log_p=True) == -INF and math.isnan(d.ppois(1, NAN, log_p=True))


# The exact sum below rate 10 and count 15, the incomplete gamma function beyond; for
# large rates within three standard deviations, where the quadrature's window holds the
# mass (shapes up to 30 reach only four deviations down and miss up to 3e-9).
@pytest.mark.parametrize("rate, spread, tolerance", [
    (0.01, None, 1e-15), (0.7, None, 1e-15), (3.0, None, 1e-15), (10.0, None, 1e-14),
    (10.5, 3, 1e-12), (60.0, 3, 1e-13), (300.0, 3, 1e-12), (2500.0, 3, 1e-11),
])
def test_ppois_accuracy(rate, spread, tolerance):
    if spread is None:
        k = np.arange(0, 40)
    else:
        k = np.arange(int(rate - spread * math.sqrt(rate)), int(rate + spread * math.sqrt(rate)))
    with mpmath.workdps(30):
        expected = [float(mpmath.gammainc(int(j) + 1, rate, mpmath.inf, regularized=True)) for j in k]
    np.testing.assert_allclose(d.ppois(k, rate), expected, rtol=0, atol=tolerance)


# ---- quantile ------------------------------------------------------------------------

@pytest.mark.parametrize("args, expected", [
    ((0, 5), 0), ((1, 5), INF), ((1, 0), 0), ((0.5, 1e-17), 0), ((0.5, 0), 0), ((NAN, 5), NAN),
    ((0.5, NAN), NAN), ((-0.1, 5), NAN), ((1.1, 5), NAN), ((0.5, -1), NAN), ((0.5, INF), INF),
    ((0, INF), 0), ((1e-300, INF), INF),
])
def test_qpois_ends(args, expected):
    check(d.qpois(*args), expected)


# A probability equal to F(k) moves the answer to k + 1; one just below it stays at k.
@pytest.mark.parametrize("rate", [0.3, 2.0, 4.0, 10.9, 11.0, 30.0, 100.0, 2500.0])
def test_qpois_at_the_steps_of_the_distribution_function(rate):
    for k in range(max(0, int(rate - 3 * math.sqrt(rate))), int(rate + 4 * math.sqrt(rate)) + 3):
        f = d.ppois(k, rate)
        if 0 < f < 1 and d.ppois(k - 1, rate) < math.nextafter(f, 0):
            assert d.qpois(f, rate) == k + 1, (k, rate)
            assert d.qpois(math.nextafter(f, 0), rate) == k, (k, rate)
    assert d.qpois(d.ppois(1, 2), 2) == 2


def test_qpois_from_the_normal_start():
    k = d.qpois(0.5, 100)
    assert k == 100 and d.ppois(99, 100) <= 0.5 < d.ppois(100, 100)


def linear_search(p, rate, start=0):
    k = start
    while not p < native.poisson_cdf(k, rate):
        k += 1
    return k


# Far from the normal start (tiny p makes it -inf) the search gallops past its first 64
# counts; where F rises steadily that gives the count the plain upward walk gives.
@pytest.mark.parametrize("rate", [200.0, 300.0, 600.0])
@pytest.mark.parametrize("p", [1e-17, 1e-100])
def test_qpois_gallop_finds_the_first_count(p, rate):
    assert d.qpois(p, rate) == linear_search(p, rate) > 64


# Where the search start does not exist or F is noise, every call still ends quickly
# with a count at which F crosses p (or the normal quantile beyond the 64-bit counts).
@pytest.mark.parametrize("p, rate", [
    (1e-20, 1e6), (0.5, 1e15), (1e-300, 1e12), (1 - 1e-16, 1e9), (0.5, 5e18), (0.5, 1e19), (0.3, 1e300),
])
def test_qpois_hostile_rates_answer_quickly(p, rate):
    start = time.monotonic()
    k = d.qpois(p, rate)
    assert time.monotonic() - start < 0.5
    if k - 3 >= 2.0**63:
        assert k == d.qnorm(p, rate, native.sqrt(rate))
    elif k < 2.0**53:  # beyond, the count itself has no exact double
        k = int(k)
        assert native.poisson_cdf(k - 1, rate) <= p < native.poisson_cdf(k, rate)
