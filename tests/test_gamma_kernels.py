"""Log-gamma and the gamma-function kernels, through the test-only bindings."""
import math
import pathlib
import sys

import mpmath
import numpy as np
import pytest
import scipy.special

import _distrova_testing as native

INF, NAN = math.inf, math.nan


@pytest.mark.parametrize("x, expected, ulps", [
    (1.0, 0.0, 0), (1 + 1e-17, 0.0, 0), (0.0, INF, 0), (-1.0, INF, 0), (-0.5, INF, 0),
    (0.5, 0.5723649429247004, 4), (3.0, math.log(2), 8), (100.0, 359.1342053695754, 2),
    (1e-3, 6.907178885383854, 4),
])
def test_lgamma_values(x, expected, ulps):
    got = native.lgamma(x)
    assert got == expected or abs(got - expected) <= ulps * math.ulp(expected)


@pytest.mark.parametrize("x", [NAN, INF])
def test_lgamma_nan_for_nan_and_infinity(x):
    assert math.isnan(native.lgamma(x))


# The shifted argument x - 1 carries the rounding of its own formation, so tiny x are
# accurate only in absolute terms; from 1e-3 up the series holds to about 1e-14.
def test_lgamma_accuracy():
    for x in np.geomspace(1e-3, 1e300, 4000):
        x = float(x)
        expected = float(mpmath.loggamma(x))
        if abs(expected) > 0.1:
            assert native.lgamma(x) == pytest.approx(expected, rel=2e-14), x


# ---- incomplete gamma ----------------------------------------------------------------

EPS = 2.220446049250313e-16


def same(value, expected):
    return (math.isnan(value) and math.isnan(expected)) or value == expected


@pytest.mark.parametrize("a, x, expected", [
    (2, 0, 0), (2, -1, 0), (2, 1e-17, 0), (0, 1, 1), (0, EPS, 1), (1e-17, 3, 1), (NAN, 1, NAN),
    (1, NAN, NAN), (-1, 1, NAN), (2, 1, 0.2642411176571154), (5, 16, 0.999599562336624),
])
def test_incomplete_gamma_values(a, x, expected):
    assert same(native.incomplete_gamma(a, x), expected)


def test_incomplete_gamma_quadrature_and_upper_tail():
    assert native.incomplete_gamma(100, 90) == pytest.approx(0.15822098918643, abs=1e-14)
    assert abs(native.incomplete_gamma(30, 100) - 1) <= 2**-53


def below(v):
    return math.nextafter(v, -INF)


def above(v):
    return math.nextafter(v, INF)


# Each switch point and its neighbouring double picks its method, and the two methods
# agree there to their accuracy: a wrong level in a fraction shows as a jump.
@pytest.mark.parametrize("a, x, method, other, tolerance", [
    (below(10.0), 15.0, "lower", "quadrature", 1e-12),
    (10.0, 15.0, "quadrature", "lower", 1e-12),
    (2.5, below(12.5), "lower", "upper", 1e-11),
    (2.5, 12.5, "upper", "lower", 1e-11),
    (7.0, 17.0, "upper", "lower", 1e-11),
    # Above 3a the quadrature's window misses the mass beyond k_hi deviations.
    (10.0, 30.0, "quadrature", "upper", 2e-4),
    (10.0, above(30.0), "upper", "quadrature", 2e-4),
    (200.0, 600.0, "quadrature", "upper", 1e-11),
    (200.0, above(600.0), "upper", "quadrature", 1e-11),
])
def test_incomplete_gamma_switch_points(a, x, method, other, tolerance):
    got = native.incomplete_gamma(a, x)
    assert got == getattr(native, f"gamma_{method}" + ("_fraction" if method != "quadrature" else ""))(a, x)
    other_value = getattr(native, f"gamma_{other}" + ("_fraction" if other != "quadrature" else ""))(a, x)
    assert got == pytest.approx(other_value, abs=tolerance)


# The three methods transcribed from their written formulas, operation by operation in
# doubles (and in 64-bit mpmath for the extended scaling of the quadrature's nodes).
def prefactor(a, x):
    return native.exp((a * native.log_core(x) - x) - native.lgamma(a))


def density(a, t):
    return native.exp(((a - 1) * native.log(t) - t) - native.lgamma(a))


def lower_fraction(a, x):
    level = a + 54
    for k in range(54, 0, -1):
        constant = (a + k) - 1 if k >= 7 else a + (k - 1)
        numerator = -((((k + 1) // 2) + a) - 1) * x if k % 2 else (k // 2) * x
        if k < 7:
            numerator = [-a * x, x, -(a + 1) * x, 2 * x, -(a + 2) * x, 3 * x][k - 1]
        level = constant + numerator / level
    return prefactor(a, x) / level


def upper_fraction(a, x):
    level = (x + 199) - a
    for k in range(99, 0, -1):
        level = (((2 * k - 1) - a) + x) + ((a - k) * k) / level
    return 1 - prefactor(a, x) / level


def quadrature(a, x):
    s = native.sqrt(a)
    k_hi, k_lo = next((hi, lo) for bound, hi, lo in [(30, 5, 4), (40, 5, 5), (50, 5, 6), (70, 6, 7),
                                                     (90, 7, 8), (300, 8, 9), (800, 9, 10),
                                                     (INF, 10, 11)] if a <= bound)
    upper = min(x, k_hi * s + a)
    lower = max(min(x, a) - k_lo * s, 0.0)
    width, mid = upper - lower, (upper + lower) * 0.5
    total = 0.0
    with mpmath.workprec(64):
        for node, weight in reversed(stored_rule()):
            point = float(mpmath.mpf(mid) + (mpmath.mpf(width) * node) * 0.5)
            factor = float((mpmath.mpf(width) * weight) * 0.5)
            total += factor * density(a, point)
    return total


def from_parts(parts):
    sign, significand, exponent = parts
    return (-1) ** sign * mpmath.ldexp(significand, exponent)


def stored_rule():
    return [(from_parts(n), from_parts(w)) for n, w in native.gauss_legendre_table()]


# A reading that differs in one rounding shows in only a few cases in a thousand.
def test_methods_follow_the_written_arithmetic():
    rng = np.random.default_rng(7)
    for a in np.concatenate([rng.uniform(0.01, 10, 1500), np.geomspace(10, 1e5, 1000)]):
        a = float(a)
        for x in [float(a * rng.uniform(0.01, 2)), float(a + rng.uniform(0, 25))]:
            assert native.gamma_lower_fraction(a, x) == lower_fraction(a, x), (a, x)
            assert native.gamma_upper_fraction(a, x) == upper_fraction(a, x), (a, x)
    for a in np.geomspace(10, 1e6, 60):
        x = float(a * rng.uniform(0.5, 3))
        assert native.gamma_quadrature(a, x) == quadrature(a, x), (a, x)


def test_stored_rule_is_the_generated_table():
    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "scripts"))
    import gauss_legendre_table as generator
    expected = [((int(sign < 0), *node), (0, *weight))
                for sign, node, weight in generator.rows_in_stored_order()]
    assert native.gauss_legendre_table() == expected
    rule = stored_rule()
    assert float(rule[0][0]) == -0.0310983383271888761 and float(rule[1][1]) == 0.0621766166553472623
    assert float(rule[-1][0]) == 0.9988664044200710502 and float(rule[-1][1]) == 0.0029086225531551410


# Where the functions are accurate: the fractions away from their slow corners, the
# quadrature for moderate shapes within three standard deviations of the mean.
@pytest.mark.parametrize("a_range, spread, tolerance", [
    ((0.05, 10), 2.0, 1e-13), ((30, 100), 3.0, 1e-12), ((100, 1000), 3.0, 1e-11),
])
def test_incomplete_gamma_accuracy(a_range, spread, tolerance):
    rng = np.random.default_rng(3)
    for _ in range(60):
        a = float(np.exp(rng.uniform(*np.log(a_range))))
        x = max(a + rng.uniform(-spread, spread) * math.sqrt(a), 0.01)
        with mpmath.workdps(30):
            expected = float(mpmath.gammainc(a, 0, x, regularized=True))
        assert abs(native.incomplete_gamma(a, x) - expected) <= tolerance, (a, x)


# ---- inverse -------------------------------------------------------------------------

@pytest.mark.parametrize("a, p, expected", [
    (2, 0, 0), (2, 1e-17, 0), (2, 1, INF), (2, 1 - 1e-17, INF), (1e-300, 1, INF), (0, 0.5, 0),
    (1e-17, 0.5, 0), (2, 1.5, NAN), (NAN, 0.5, NAN), (2, NAN, NAN),
])
def test_incomplete_gamma_inv_ends(a, p, expected):
    assert same(native.incomplete_gamma_inv(a, p), expected)


@pytest.mark.parametrize("a, p, expected", [(3, 0.5, 2.6740603137235595), (3, 0.001, 0.19053337756840322)])
def test_incomplete_gamma_inv_values(a, p, expected):
    assert native.incomplete_gamma_inv(a, p) == pytest.approx(expected, abs=4 * math.ulp(expected))


def literal_inverse(a, p):
    """The start and the 36 Halley steps as written, without the fallback."""
    if a > 1:
        g, sgn = (-2 * native.log(1 - p), -1) if p > 0.5 else (-2 * native.log(p), 1)
        t = native.sqrt(g)
        ratio = ((2.515517 + 0.802853 * t + 0.010328 * (t * t))
                 / (1 + 1.432788 * t + 0.189269 * (t * t) + 0.001308 * ((t * t) * t)))
        ell = 1 - 1 / (9 * a) - sgn * (t - ratio) / (3 * native.sqrt(a))
        x = max(((ell * ell) * ell) * a, 1e-4)
    else:
        g = 1 - 0.253 * a - 0.12 * (a * a)
        x = native.pow(p / g, 1 / a) if p < g else 1 - native.log(1 - (p - g) / (1 - g))
    densities = []  # at x_0, x_1, ...; step k >= 2 uses the one at x_(k-2)
    with np.errstate(all="ignore"):
        for step in range(36):
            densities.append(np.float64(density(a, x)))
            f = densities[max(step - 1, 0)]
            r = (native.incomplete_gamma(a, x) - p) / f
            q = 1 - (((r * 0.5) * ((a - 1) / x - 1)) * f) / f
            x = x - r / (1.2 if q > 1.2 else 0.8 if q < 0.8 else q)
    return float(x)


# Sound results are the literal iteration's; every other one is the first double at
# which P reaches p (the steps run below 0 where the start misses the lower tail).
def test_incomplete_gamma_inv_is_literal_where_sound_else_first_reaching():
    fallbacks = 0
    for a in [0.05, 0.5, 1, 1.5, 3, 5, 9.5, 10, 31, 120, 2000]:
        for p in np.concatenate([np.geomspace(1e-14, 0.5, 25), 1 - np.geomspace(1e-14, 0.5, 25)]):
            p = float(p)
            x = native.incomplete_gamma_inv(a, p)
            literal = literal_inverse(a, p)
            if literal >= 0 and not native.quantile_misses(native.incomplete_gamma(a, literal), p):
                assert x == literal, (a, p)
            else:
                fallbacks += 1
                assert native.incomplete_gamma(a, x) >= p > native.incomplete_gamma(a, below(x)), (a, p)
    assert 20 < fallbacks < 300


@pytest.mark.parametrize("a, p", [(3, 1e-4), (3, 1e-5), (5, 1e-5), (0.5, 1e-8), (10, 1e-7), (3, 1 - 1e-8)])
def test_incomplete_gamma_inv_where_the_steps_fail(a, p):
    assert math.isnan(literal_inverse(a, p)) or native.quantile_misses(
        native.incomplete_gamma(a, literal_inverse(a, p)), p)
    x = native.incomplete_gamma_inv(a, p)
    assert native.incomplete_gamma(a, x) >= p > native.incomplete_gamma(a, below(x))
    if x > EPS:  # below EPS P is 0 by its guard, and the answer is where it turns positive
        assert x == pytest.approx(scipy.special.gammaincinv(a, p), rel=1e-9, abs=0)
