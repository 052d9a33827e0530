"""Poisson mass, distribution and quantile functions and the sums beneath them."""
import math
import time

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
import distrova as d
from exact_values import INF, NAN, check, check_with_log

INT64_MAX, INT64_MIN = 2**63 - 1, -2**63


@pytest.mark.parametrize("v, n, expected", [
    (NAN, 0, 1), (3.0, 3, 27), (1.5, 7, 1.5**7), (2.0, -3, 0.125), (0.5, INT64_MAX, INF),
    (2.0, INT64_MIN, 0), (1 + 2**-30, 2**40, INF),
])
def test_pow_int(v, n, expected):
    check(native.pow_int(v, n), expected)


@pytest.mark.parametrize("args, expected", [
    ((0, 0), 1), ((1, 0), 0), ((-1, 2), 0), ((3, INF), 0), ((0, NAN), NAN), ((0, -1), NAN),
])
def test_dpois(args, expected):
    check_with_log(d.dpois, args, expected)


def test_dpois_values():
    assert abs(d.dpois(2, 1) - math.exp(-1) / 2) <= 4 * math.ulp(0.18)
    assert abs(d.dpois(2, 1, log=True) - (-1 - math.log(2))) <= 8 * math.ulp(1.7)


@pytest.mark.parametrize("rate", [1e-17, 1e-300, 5e-324])
def test_dpois_at_zero_below_eps_is_e_to_the_minus_rate(rate):
    # The zero power of a rate whose logarithm is -inf counts as 1.
    assert d.dpois(0, rate) == 1 and d.dpois(0, rate, log=True) == -rate


def test_largest_count_takes_k_plus_one_as_two_to_the_63():
    assert d.dpois(INT64_MAX, 2.0, log=True) == (native.log_core(2.0) * 2.0**63 - 2.0) - native.lgamma(2.0**63)
    assert d.ppois(INT64_MAX, 1e18) == 1 - native.incomplete_gamma(2.0**63, 1e18)


@pytest.mark.parametrize("args, expected", [
    ((0, 0), 1), ((-1, 3), 0), ((3, INF), 0), ((3, NAN), NAN),
    ((15, 10), native.exp(-10) * (native.exp_partial_sum(15, 10) + 1)),
    ((16, 10), 1 - native.incomplete_gamma(17, 10)), ((3, 10.5), 1 - native.incomplete_gamma(4, 10.5)),
])
def test_ppois(args, expected):
    check_with_log(d.ppois, args, expected)


# The exact sum below rate 10 and count 15, the incomplete gamma function beyond; for
# large rates within three standard deviations, where the quadrature's window holds the
# mass (shapes up to 30 reach only four deviations down and miss up to 3e-9).
@pytest.mark.parametrize("rate, spread, tolerance", [
    (0.01, None, 1e-15), (0.7, None, 1e-15), (3.0, None, 1e-15), (10.0, None, 1e-14),
    (10.5, 3, 1e-12), (60.0, 3, 1e-13), (300.0, 3, 1e-12), (2500.0, 3, 1e-11),
])
def test_ppois_accuracy(rate, spread, tolerance):
    low, high = (0, 40) if spread is None else (rate - spread * math.sqrt(rate), rate + spread * math.sqrt(rate))
    k = np.arange(int(low), int(high))
    with mpmath.workdps(30):
        expected = [float(mpmath.gammainc(int(j) + 1, rate, mpmath.inf, regularized=True)) for j in k]
    np.testing.assert_allclose(d.ppois(k, rate), expected, rtol=0, atol=tolerance)


@pytest.mark.parametrize("args, expected", [
    ((0, 5), 0), ((1, 5), INF), ((1, 0), 0), ((0.5, 1e-17), 0), ((NAN, 5), NAN), ((1.1, 5), NAN),
    ((0.5, -1), NAN), ((0.5, INF), INF), ((0, INF), 0),
])
def test_qpois_ends(args, expected):
    check(d.qpois(*args), expected)


# A probability equal to F(k) moves the answer to k + 1; one just below it stays at k.
@pytest.mark.parametrize("rate", [0.3, 2.0, 4.0, 10.9, 11.0, 30.0, 100.0, 2500.0])
def test_qpois_at_the_steps_of_the_distribution_function(rate):
    for k in range(max(0, int(rate - 3 * math.sqrt(rate))), int(rate + 4 * math.sqrt(rate)) + 3):
        f = d.ppois(k, rate)
        if 0 < f < 1 and d.ppois(k - 1, rate) < math.nextafter(f, 0):
            assert d.qpois(f, rate) == k + 1 and d.qpois(math.nextafter(f, 0), rate) == k, (k, rate)
    assert d.qpois(0.5, 100) == 100 and d.ppois(99, 100) <= 0.5 < d.ppois(100, 100)


# Far from the normal start (tiny p puts it below 0) the search gallops past its first 64
# counts; where F rises steadily that gives the count the plain upward walk gives.
@pytest.mark.parametrize("p, rate", [(1e-50, 200.0), (1e-100, 300.0), (1e-140, 600.0)])
def test_qpois_gallop_finds_the_first_count(p, rate):
    k = 0
    while not p < native.poisson_cdf(k, rate):
        k += 1
    assert d.qpois(p, rate) == k > 64


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
        assert native.poisson_cdf(int(k) - 1, rate) <= p < native.poisson_cdf(int(k), rate)
