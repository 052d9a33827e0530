"""The log-beta function and the regularized incomplete beta, through the test-only bindings."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
from exact_values import NAN, check


# Zero below EPS; NaN for a NaN argument.
@pytest.mark.parametrize("args, expected", [
    ((0.01, 1.0, 1e-17), 0.0), ((2.0, 3.0, 1e-17), 0.0), ((1e3, 1e3, 1e-17), 0.0), ((1e-300, 5.0, 1e-17), 0.0),
    ((NAN, 1.0, 0.5), NAN), ((1.0, NAN, 0.5), NAN), ((1.0, 1.0, NAN), NAN),
])
def test_incomplete_beta_early_answers(args, expected):
    check(native.incomplete_beta(*args), expected)


@pytest.mark.parametrize("a, b", [(2.0, 3.0), (0.5, 0.5), (1.0, 1.0), (30.0, 0.2), (0.01, 7.0)])
def test_incomplete_beta_switch_point_is_continuous(a, b):
    # From x = (a + 1)/(a + b + 2) on the complement is taken; the direct fraction agrees.
    x = (a + 1) / ((a + b) + 2)
    above = math.nextafter(x, 1)
    for at in (x, above):
        assert native.incomplete_beta(a, b, at) == 1 - native.incomplete_beta_cf(b, a, 1 - at)
    assert native.incomplete_beta(a, b, x) == pytest.approx(native.incomplete_beta_cf(a, b, x), abs=5e-15)
    below = math.nextafter(x, 0)
    assert native.incomplete_beta(a, b, below) == native.incomplete_beta_cf(a, b, below)


def test_lbeta_is_the_sum_of_log_gammas():
    for a, b in [(0.5, 0.5), (2.0, 3.0), (1e-3, 1e5)]:
        expected = (native.lgamma(a) + native.lgamma(b)) - native.lgamma(a + b)
        assert native.lbeta(a, b) == expected


def test_incomplete_beta_accuracy_and_symmetry():
    rng = np.random.default_rng(5)
    for _ in range(400):
        a, b = (float(v) for v in np.exp(rng.uniform(math.log(0.05), math.log(200), 2)))
        x = float(rng.uniform())
        got = native.incomplete_beta(a, b, x)
        assert got == pytest.approx(float(mpmath.betainc(a, b, 0, x, regularized=True)),
                                    rel=1e-11, abs=1e-14), (a, b, x)
        assert got + native.incomplete_beta(b, a, 1 - x) == pytest.approx(1.0, abs=1e-14)


def test_incomplete_beta_truncates_for_huge_shapes():
    # The fraction stops at its last numerator and misses 1/2 visibly.
    assert abs(native.incomplete_beta(1e5, 1e5, 0.5) - 0.5) > 1e-5
