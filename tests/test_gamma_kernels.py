"""Log-gamma and the gamma-function kernels, through the test-only bindings."""
import math
import pathlib
import subprocess
import sys

import mpmath
import numpy as np
import pytest
import scipy.special

import _distrova_testing as native
from exact_values import INF, NAN, same


@pytest.mark.parametrize("x, expected, ulps", [
    (1.0, 0.0, 0), (1 + 1e-17, 0.0, 0), (0.0, INF, 0), (-1.0, INF, 0), (-0.5, INF, 0),
    (0.5, 0.5723649429247004, 4), (3.0, math.log(2), 8), (100.0, 359.1342053695754, 2),
    (1e-3, 6.907178885383854, 4), (NAN, NAN, 0), (INF, NAN, 0),
])
def test_lgamma_values(x, expected, ulps):
    got = native.lgamma(x)
    assert same(got, expected) or abs(got - expected) <= ulps * math.ulp(expected)


# The shifted argument x - 1 carries the rounding of its own formation, so tiny x are
# accurate only in absolute terms; from 1e-3 up the series holds to about 1e-14.
def test_lgamma_accuracy():
    for x in np.geomspace(1e-3, 1e300, 4000):
        x = float(x)
        expected = float(mpmath.loggamma(x))
        if abs(expected) > 0.1:
            assert native.lgamma(x) == pytest.approx(expected, rel=2e-14), x


# ---- incomplete gamma and its inverse --------------------------------------------------

@pytest.mark.parametrize("a, x, expected, tolerance", [
    (2, 0, 0, 0), (2, -1, 0, 0), (0, 1, 1, 0), (NAN, 1, NAN, 0), (-1, 1, NAN, 0),
    (2, 1, 0.2642411176571154, 0), (5, 16, 0.999599562336624, 0), (100, 90, 0.15822098918643, 1e-14),
    (30, 100, 1, 2**-53),
])
def test_incomplete_gamma_values(a, x, expected, tolerance):
    got = native.incomplete_gamma(a, x)
    assert same(got, expected) or abs(got - expected) <= tolerance


METHODS = {"lower": native.gamma_lower_fraction, "upper": native.gamma_upper_fraction,
           "quadrature": native.gamma_quadrature}


# Each switch point and its neighbouring double pick their method; the two methods agree
# there. At 3a the quadrature's window would leave out 1.2e-4 of mass above it: that
# value is taken from the tails instead (None), and agrees with the upper fraction.
@pytest.mark.parametrize("a, x, method, other, tolerance", [
    (math.nextafter(10, 0), 15.0, "lower", "quadrature", 1e-12), (10.0, 15.0, "quadrature", "lower", 1e-12),
    (2.5, math.nextafter(12.5, 0), "lower", "upper", 1e-11), (2.5, 12.5, "upper", "lower", 1e-11),
    (10.0, 30.0, None, "upper", 1e-15), (10.0, math.nextafter(30, INF), "upper", None, 1e-15),
    (200.0, 600.0, None, "upper", 1e-15),
])
def test_incomplete_gamma_switch_points(a, x, method, other, tolerance):
    got = native.incomplete_gamma(a, x)
    assert method is None or got == METHODS[method](a, x)
    assert other is None or abs(got - METHODS[other](a, x)) <= tolerance


def test_stored_rule_is_the_generated_table():
    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "scripts"))
    import gauss_legendre_table as generator
    table = native.gauss_legendre_table()
    assert table == [((int(sign < 0), *node), (0, *weight))
                     for sign, node, weight in generator.rows_in_stored_order()]
    # The two rows quoted as a check, to the digits quoted.
    quoted = [("-0.0310983383271888761", "0.0621766166553472623"),
              ("0.9988664044200710502", "0.0029086225531551410")]
    with mpmath.workdps(40):
        for row, values in zip([table[0], table[-1]], quoted):
            for (sign, significand, exponent), value in zip(row, values):
                assert abs((-1) ** sign * mpmath.ldexp(significand, exponent) - mpmath.mpf(value)) < 1e-19


# Where the methods are accurate: the fractions away from their slow corners, the
# quadrature for moderate shapes within three standard deviations of the mean.
@pytest.mark.parametrize("a_range, spread, tolerance", [
    ((0.05, 10), 2.0, 1e-13), ((30, 100), 3.0, 1e-12), ((100, 1000), 3.0, 1e-11),
])
def test_incomplete_gamma_accuracy(a_range, spread, tolerance):
    rng = np.random.default_rng(3)
    for a in np.exp(rng.uniform(*np.log(a_range), 60)):
        x = max(a + rng.uniform(-spread, spread) * math.sqrt(a), 0.01)
        with mpmath.workdps(30):
            expected = float(mpmath.gammainc(a, 0, x, regularized=True))
        assert abs(native.incomplete_gamma(a, x) - expected) <= tolerance, (a, x)


@pytest.mark.parametrize("a, p, expected, tolerance", [
    (2, 0, 0, 0), (2, 1, INF, 0), (1e-300, 1, INF, 0), (0, 0.5, 0, 0), (2, 1.5, NAN, 0),
    (3, 0.5, 2.6740603137235595, 4 * 2**-51), (3, 0.001, 0.19053337756840322, 0),
])
def test_incomplete_gamma_inv_values(a, p, expected, tolerance):
    got = native.incomplete_gamma_inv(a, p)
    assert same(got, expected) or abs(got - expected) <= tolerance


# Where the Halley steps fail (NaN, negative, or missing p) the answer is the first
# double at which the tail reaches p; every answer is one or the other.
def test_incomplete_gamma_inv_is_sound_or_first_reaching():
    fallbacks = 0
    for a in [0.05, 0.5, 1, 1.5, 3, 5, 9.5, 10, 31, 120, 2000]:
        for p in np.concatenate([np.geomspace(1e-14, 0.5, 25), 1 - np.geomspace(1e-14, 0.5, 25)]):
            x = native.incomplete_gamma_inv(a, p)
            ratio = native.incomplete_gamma_tail(a, x, p > 0.5) / min(p, 1 - p)
            if not (ratio > 0 and abs(math.log(ratio)) <= 1e-9):
                fallbacks += 1
                tail = lambda v: native.incomplete_gamma_tail(a, v, p > 0.5)  # noqa: E731
                small = min(p, 1 - p)
                reached, before = tail(x), tail(math.nextafter(x, 0))
                assert (reached >= small * (1 - 1e-14) and before < small * (1 + 1e-14)) if p <= 0.5 else \
                    (reached <= small * (1 + 1e-14) and before > small * (1 - 1e-14)), (a, p, x)
    # judged by the accurate tails, the first double reaching p is within 1e-9 of it too
    assert fallbacks == 0


# Beyond shape 1e10 the quadrature's density has lost its digits (from about 1e15 its sum
# leaves [0, 1]); the cube-root normal approximation is accurate there.
def test_incomplete_gamma_for_huge_shapes():
    rng = np.random.default_rng(13)
    for a in np.exp(rng.uniform(math.log(1.0000001e10), math.log(1e300), 200)):
        x = a + rng.uniform(-6, 6) * math.sqrt(a)
        assert abs(native.incomplete_gamma(a, x) - scipy.special.gammainc(a, x)) <= 1e-12, (a, x)


def test_stirling_remainder_and_deviance_keep_relative_precision():
    x = np.geomspace(1e-3, 1e300, 300)
    m = x * np.exp(np.random.default_rng(5).normal(scale=np.geomspace(1e-12, 3, 300)))
    with mpmath.workdps(240):  # ln Gamma(1e100) less its leading terms
        remainder = [float(mpmath.loggamma(v) - ((v - 0.5) * mpmath.log(v) - v + mpmath.log(mpmath.sqrt(2 * mpmath.pi))))
                     if v < 1e100 else float(1 / (12 * v)) for v in map(mpmath.mpf, x)]
    with mpmath.workdps(60):
        deviance = [float(a * mpmath.log(a / b) + b - a) for a, b in zip(map(mpmath.mpf, x), map(mpmath.mpf, m))]
    np.testing.assert_allclose(native.stirling_remainder(x[x > 1]), np.array(remainder)[x > 1], rtol=1e-12)
    np.testing.assert_allclose(native.deviance(x, m), deviance, rtol=1e-12)
    assert native.deviance(0.0, 2.5) == 2.5 and native.deviance(3.0, 3.0) == 0.0


def test_stored_series_are_the_generated_tables():
    script = pathlib.Path(__file__).resolve().parent.parent / "scripts" / "gamma_series_tables.py"
    assert subprocess.run([sys.executable, str(script), "--check"]).returncode == 0


def test_lgamma1p_keeps_relative_precision():
    a = np.concatenate([-np.geomspace(0.5, 1e-300, 200), np.geomspace(1e-300, 0.5, 200), [0.7, 3.0]])
    with mpmath.workdps(40):  # below 1e-20 the series' first term is exact to 1e-20
        expected = [float(mpmath.loggamma(1 + mpmath.mpf(v)) if abs(v) > 1e-20 else -mpmath.euler * v) for v in a]
    np.testing.assert_allclose(native.lgamma1p(a), expected, rtol=1e-14)
