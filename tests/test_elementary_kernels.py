"""Exponential, logarithm, power and square root kernels, through the test-only bindings."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native

INF, NAN = math.inf, math.nan
EPS = 2.0**-52
ULP = 2.0**-53


def extended(parts):
    """An extended result as an exact mpmath value (infinities come back as floats)."""
    if isinstance(parts, float):
        return mpmath.mpf(parts)
    sign, significand, exponent = parts
    with mpmath.workprec(max(mpmath.mp.prec, 64)):  # exact: a 64-bit significand
        return (-1) ** sign * mpmath.ldexp(mpmath.mpf(significand), exponent)


def same(a, b):
    return (math.isnan(a) and math.isnan(b)) or a == b


@pytest.mark.parametrize("x, expected", [
    (-INF, 0.0), (INF, INF), (NAN, NAN), (0.0, 1.0), (1e-17, 1.0), (-0.99 * EPS, 1.0),
    (1e19, INF), (-1e19, 0.0), (2.0**63, INF), (-(2.0**63), 0.0), (709.79, INF), (-746.0, 0.0),
])
def test_exp_guards_and_range(expected, x):
    assert same(native.exp(x), expected)


def test_exp_near_overflow_keeps_the_integer_power_extended():
    # e^710 alone exceeds DBL_MAX; the product with e^-0.3 is formed before rounding.
    assert math.isfinite(native.exp(709.7)) and math.isfinite(native.exp(709.78))
    assert native.exp(709.7) == pytest.approx(float(mpmath.exp(709.7)), rel=4e-15)
    assert 0 < native.exp(-740.0) < 1e-320  # subnormal, not flushed


def test_exp_accuracy():
    for x in np.concatenate([np.linspace(-708, 709.7, 1001), np.linspace(-2.5, 2.5, 1001)]):
        x = float(x)
        assert native.exp(x) == pytest.approx(float(mpmath.exp(x)), rel=4e-15), x


@pytest.mark.parametrize("x, n, r", [
    (2.7, 3, 2.7 - 3), (2.3, 2, 2.3 - 2), (3.5, 4, 3.5 - 4), (-2.7, -3, -2.7 + 3),
    (-2.3, -4, -2.3 + 4), (-3.5, -5, -3.5 + 5), (-4.0, -4, 0.0), (100.25, 100, 0.25),
])
def test_exp_is_one_extended_product_of_the_split(x, n, r):
    # Positive x: r in [-0.5, 0.5); negative x: r in [0, 0.5) or [1.5, 2).
    with mpmath.workprec(64):
        product = extended(native.exp_int(n)) * mpmath.mpf(native.exp_fraction(r))
    assert native.exp(x) == float(product)


def literal_exp_fraction(r):
    t = (1 + r / 23) - r / 24
    for k in range(23, 1, -1):
        t = (1 + r / (k - 1)) - (r / k) / t
    return 1 / (1 - r / t)


def test_exp_fraction_is_the_literal_fraction_to_the_bit():
    # The kernel forms each quotient r/k once and scales the even ones from the odd.
    rng = np.random.default_rng(24)
    r = np.concatenate([rng.uniform(-2, 2, 20000), rng.choice([-1.0, 1.0], 4000) * 10.0 ** rng.uniform(-323, 0.3, 4000),
                        [0.0, -0.0, 5e-324, -5e-324, 2.2250738585072014e-308, 1e-307, NAN, 2.0, -2.0]])
    got = native.exp_fraction(r)
    expected = np.array([literal_exp_fraction(float(v)) for v in r])
    assert got.tobytes() == expected.tobytes()


def power_by_squaring(n):
    # x87 arithmetic: 64-bit significand, round to nearest even.
    with mpmath.workprec(64):
        accumulator, base = mpmath.mpf(1), mpmath.mpf("2.7182818284590452354")
        while n != 1:
            if n & 1:
                accumulator *= base
            base *= base
            n >>= 1
        return base * accumulator


@pytest.mark.parametrize("n", [4, 5, 7, 12, 100, 709, 710, 1001])
def test_exp_int_square_and_multiply_bit_for_bit(n):
    assert extended(native.exp_int(n)) == power_by_squaring(n)
    with mpmath.workprec(64):
        assert extended(native.exp_int(-n)) == 1 / power_by_squaring(n)


def test_exp_int_table_holds_the_square_and_multiply_steps():
    # The powers up to 1024 in magnitude are formed once at compile time.
    with mpmath.workprec(64):
        for n in range(4, 1026):
            power = power_by_squaring(n)
            assert extended(native.exp_int(n)) == power and extended(native.exp_int(-n)) == 1 / power, n


def test_exp_int_table_and_ends():
    with mpmath.workprec(64):
        table = [mpmath.mpf(1), mpmath.mpf("2.7182818284590452354"),
                 mpmath.mpf("7.3890560989306502274"), mpmath.mpf("20.085536923187667742")]
    assert [extended(native.exp_int(n)) for n in range(4)] == table
    assert native.exp_int(2**63 - 1) == INF and extended(native.exp_int(-(2**63))) == 0
    assert native.exp_int(20000) == INF and extended(native.exp_int(-20000)) == 0


@pytest.mark.parametrize("x", [1.5, -1.9, 2.0, 7.25, -7.25, 700.5, -10000.5])
def test_exp_ext_precision(x):
    # The extended split, unlike the double one, still resolves e^-10000.5. The rounding
    # of e itself is raised to the n-th power, so the error grows with |x|.
    with mpmath.workdps(40):
        assert abs(extended(native.exp_ext(x)) / mpmath.exp(x) - 1) < (abs(x) + 4) * 2.0**-64


def test_exp_ext_beyond_the_split():
    assert native.exp_ext(1e30) == INF and extended(native.exp_ext(-1e30)) == 0


def test_expm1_switches_to_the_polynomial_at_1e_4():
    for x in [1e-5, -1e-5, 1e-4, -1e-4, 1e-300]:
        assert native.expm1(x) == pytest.approx(math.expm1(x), rel=2 * ULP)
    for x in [np.nextafter(1e-4, 1.0), 1e-3, -1e-3, 5.0]:
        assert native.expm1(float(x)) == native.exp(float(x)) - 1
    assert native.expm1(-INF) == -1 and math.isnan(native.expm1(NAN))


@pytest.mark.parametrize("x, expected", [
    (0.0, -INF), (-0.0, -INF), (1e-300, -INF), (EPS * (1 - ULP), -INF), (-1.0, NAN),
    (NAN, NAN), (INF, INF), (1 + 1e-17, 0.0), (1 - ULP, 0.0), (10.0, 2.302585092994046),
    (2.0, 0.6931471805599453), (100.0, 2 * 2.302585092994046),
])
def test_log_guards_and_table(x, expected):
    assert same(native.log(x), expected)


def test_log_core_outside_its_domain():
    assert native.log_core(0.0) == -INF and math.isnan(native.log_core(-1.0))
    assert math.isnan(native.log_core(NAN))
    assert native.log_core(5e-324) == pytest.approx(-744.4400719213812, rel=1e-15)


def test_log_accuracy():
    for x in np.concatenate([np.geomspace(EPS, 1e300, 2001), np.linspace(0.01, 20, 2001)]):
        x = float(x)
        expected = float(mpmath.log(x))
        assert native.log(x) == pytest.approx(expected, rel=2e-15, abs=1e-300), x


@pytest.mark.parametrize("a, b, expected", [
    (0.0, 0.0, NAN), (0.0, 2.0, 0.0), (0.0, -1.0, INF), (-1.0, 2.0, NAN), (4.0, 0.5, 2.0),
    (INF, 2.0, INF), (INF, -2.0, 0.0), (3.0, 0.0, 1.0), (NAN, 0.0, NAN), (1e-17, 1.0, 0.0),
])
def test_pow_edges(a, b, expected):
    assert same(native.pow(a, b), expected)


@pytest.mark.parametrize("x, expected", [
    (NAN, NAN), (-1.0, NAN), (INF, INF), (-0.0, 0.0), (1e-17, 0.0), (1.0, 1.0), (16.0, 4.0),
    (1 - ULP, 1 - ULP),  # within EPS of 1 the value itself, not the rounded root 1.0
])
def test_sqrt_guards(x, expected):
    assert same(native.sqrt(x), expected)


def test_sqrt_newton_accuracy():
    for x in np.geomspace(1.0, 1e300, 2001):
        assert native.sqrt(float(x)) == pytest.approx(math.sqrt(x), rel=2 * EPS)
    # The stopping test is relative to 1 + d: small roots are good in absolute terms only.
    for x in np.geomspace(EPS, 1.0, 2001):
        assert abs(native.sqrt(float(x)) - math.sqrt(x)) < 2 * EPS


def test_precise_forms_keep_full_relative_precision():
    x = np.concatenate([-np.geomspace(1e-300, 0.999999, 400), np.geomspace(1e-300, 1e300, 400), [0.0]])
    with mpmath.workdps(40):
        log1p = [float(mpmath.log1p(mpmath.mpf(v))) for v in x]
        expm1 = [float(mpmath.expm1(mpmath.mpf(v))) for v in x[x < 700]]
        l = -np.geomspace(1e-300, 700, 400)
        log1m_exp = [float(mpmath.log(-mpmath.expm1(v)) if v > -1 else mpmath.log1p(-mpmath.exp(v))) for v in l]
    np.testing.assert_allclose(native.log1p_precise(x), log1p, rtol=1e-15, atol=0)
    np.testing.assert_allclose(native.expm1_precise(x[x < 700]), expm1, rtol=1e-15, atol=0)
    np.testing.assert_allclose(native.log1m_exp(l), log1m_exp, rtol=1e-15, atol=0)
    assert native.log1p_precise(-1.0) == -math.inf and math.isnan(native.log1m_exp(1e-300))
