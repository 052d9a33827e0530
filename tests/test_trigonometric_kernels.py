"""Arctangent, tangent, hyperbolic tangent and ln(1 + x) kernels.

Where a result is fixed by its depth or series (not by the true function), the
reference re-evaluates that depth in doubles, or in mpmath at 64 bits for the
extended-precision parts, so a wrong threshold or depth shows up as a changed bit.
"""
import math

import mpmath
import numpy as np
import pytest
from mpmath import mpf

import _distrova_testing as native

INF, NAN = math.inf, math.nan


def ext(text):
    """Exact value of %La text (the extended kernels' output) as an mpf."""
    sign = -1 if text.startswith("-") else 1
    body = text.lstrip("+-")
    if body in ("inf", "nan"):
        return mpf(sign * float(body))
    significand, exponent = body[2:].split("p")
    whole, _, fraction = significand.partition(".")
    with mpmath.workprec(64):
        return sign * mpf((int(whole + fraction, 16), int(exponent) - 4 * len(fraction)))


def tan_of(x):
    """Kernel tangent of a double, or of an extended value given as text."""
    return ext(native.tan(x.hex() if isinstance(x, float) else x))


HALF_PI = ext(native.HALF_PI_EXT)
PI = ext(native.PI_EXT)


def bits(x):
    return np.float64(x).view(np.uint64)


def ulps(a, b):
    return abs(float(bits(abs(a))) - float(bits(abs(b))))


# ---- references at a given depth -------------------------------------------------

def atan_fraction(x, depth):
    a = x * x
    level = (2 * depth - 3) + ((depth - 1) ** 2) * a / (2 * depth - 1)
    for k in range(depth - 2, 0, -1):
        level = (2 * k - 1) + (k * k) * a / level
    return x / level


def atan_series(x, pairs):
    y = x * x
    c = {2: x * y}
    for j in range(2, pairs):
        c[j + 1] = (c[j] * y) * y
    total = None
    for j in range(pairs, 1, -1):
        term = 1 / ((4 * j - 5) * c[j]) - 1 / (((4 * j - 3) * c[j]) * y)
        total = term if total is None else term + total
    with mpmath.workprec(64):
        return float((HALF_PI - mpf(1 / x)) + mpf(total))


def power(base, n):
    accumulator = mpf(1)
    while n != 1:
        if n & 1:
            accumulator = accumulator * base
        base = base * base
        n >>= 1
    return base * accumulator


def tan_laurent(x):
    with mpmath.workprec(64):
        d = x - HALF_PI
        d5, d7 = power(d, 5), power(d, 7)
        return (((2 * d5 / 945 + d7 / 4725) + (d * d) * d / 45) + d / 3) + (-1 / d)


def tan_fraction(x, depth):
    with mpmath.workprec(64):
        y = x * x
        level = (2 * depth - 3) - y / (2 * depth - 1)
        for k in range(depth - 2, 0, -1):
            level = (2 * k - 1) - y / level
        return x / level


def log1p_series(x):
    return ((((x * x / 5 - 0.25 * x) * x + x / 3) * x - 0.5 * x) * x) + x


# ---- arctangent ------------------------------------------------------------------

def test_atan_special_values():
    assert math.copysign(1, native.atan(0.0)) == 1 and native.atan(0.0) == 0
    assert math.copysign(1, native.atan(-0.0)) == -1 and native.atan(-0.0) == 0
    assert native.atan(INF) == 1.5707963267948966
    assert native.atan(-INF) == -1.5707963267948966
    assert math.isnan(native.atan(NAN))
    assert native.atan(1.0) == 0.7853981633974483
    # One unit in the last place above the correctly rounded value: the fixed fraction
    # evaluated in double is the result, not the true arctangent.
    assert native.atan(0.25) == 0.24497866312686417


FRACTION_DEPTHS = [(0.5, 15, 25), (1.0, 25, 35), (1.5, 35, 45), (2.0, 45, 52)]
SERIES_PAIRS = [(3.0, 10, 9), (4.0, 9, 8), (5.0, 8, 7), (7.0, 7, 6), (11.0, 6, 5),
                (25.0, 5, 4), (100.0, 4, 3), (1000.0, 3, 2)]


@pytest.mark.parametrize("threshold,below,at", FRACTION_DEPTHS)
def test_atan_fraction_depth_switches_at_its_threshold(threshold, below, at):
    lower = math.nextafter(threshold, 0)
    assert native.atan(lower) == atan_fraction(lower, below)
    assert native.atan(threshold) == atan_fraction(threshold, at)


@pytest.mark.parametrize("threshold,below,at", SERIES_PAIRS)
def test_atan_series_length_switches_at_its_threshold(threshold, below, at):
    lower = math.nextafter(threshold, 0)
    assert native.atan(lower) == atan_series(lower, below)
    assert native.atan(threshold) == atan_series(threshold, at)


def test_atan_leaves_the_fraction_just_above_two_and_a_half():
    above = math.nextafter(2.5, INF)
    assert native.atan(2.5) == atan_fraction(2.5, 52)
    assert native.atan(above) == atan_series(above, 10)
    assert native.atan(1e300) == atan_series(1e300, 2)


ODD_POINTS = sorted({v for t in [0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 7, 11, 25, 100, 1000]
                     for v in (math.nextafter(t, 0), float(t), math.nextafter(t, INF))}
                    | {1e-300, 5e-324, 0.1, 0.7, 1.9, 2.6, 12.3, 1e5, 1e20, 1e160, 1e300, INF})


@pytest.mark.parametrize("x", ODD_POINTS)
def test_atan_is_odd_bit_for_bit(x):
    assert bits(native.atan(-x)) == bits(-native.atan(x))


def test_atan_close_to_the_true_arctangent():
    xs = np.concatenate([np.geomspace(1e-8, 1e8, 401), np.linspace(0.01, 30, 300)])
    worst = max(ulps(native.atan(x), float(mpmath.atan(x))) for x in xs)
    assert worst <= 4


# ---- tangent ---------------------------------------------------------------------

def test_tan_at_the_pole_and_one_step_beside_it():
    assert tan_of(native.HALF_PI_EXT) == mpf("1.633124e16")
    # One extended step away, |d| = 2^-63 is no longer below EPS_EXT: the series runs.
    above = native.next_extended_text(native.HALF_PI_EXT, "2")
    below = native.next_extended_text(native.HALF_PI_EXT, "1")
    assert tan_of(above) == tan_laurent(ext(above))
    assert tan_of(above) == pytest.approx(-2.0**63, rel=1e-15)
    assert tan_of(below) == pytest.approx(2.0**63, rel=1e-15)


def tan_branch_cases():
    # The thresholds are the doubles 1.55, 1.6, 1.4 and 1, compared in extended precision.
    cases = []
    for point, toward, at_branch, beside_branch in [
            (1.55, "2", 45, "laurent"), (1.6, "1", 45, "laurent"),
            (1.4, "2", 35, 45), (1.0, "2", 25, 35)]:
        cases.append((point.hex(), at_branch))
        cases.append((native.next_extended_text(point.hex(), toward), beside_branch))
    return cases + [("1.57", "laurent"), ("1.54", 45), ("0.5", 25), ("-1.5", 25)]


@pytest.mark.parametrize("x,branch", tan_branch_cases())
def test_tan_branches(x, branch):
    value = ext(native.extended_text(x))
    expected = tan_laurent(value) if branch == "laurent" else tan_fraction(value, branch)
    assert tan_of(x) == expected


@pytest.mark.parametrize("x", ["0x1p-40", "0.1", "0.5", "0.9", "1.2", "1.45", "1.5", "1.54",
                               "1.56", "1.57", "1.5707", "1.59", "1.65", "2.0"])
def test_tan_close_to_the_true_tangent(x):
    value = ext(native.extended_text(x))
    with mpmath.workprec(200):
        # Near the pole the kernel is the tangent about the extended pi/2, whose own
        # rounding (about 2.5e-20) would dominate the comparison there.
        near_pole = 1.55 < value < 1.6
        expected = -mpmath.cot(value - HALF_PI) if near_pole else mpmath.tan(value)
        assert tan_of(x) == pytest.approx(expected, rel=2e-18)


def test_tan_reduces_arguments_beyond_pi():
    with mpmath.workprec(64):
        shifted = mpf(0.5) + 3 * PI
    expected = tan_of(0.5)
    assert tan_of(mpmath.nstr(shifted, 25)) == pytest.approx(expected, rel=1e-17)
    assert tan_of(1e6) == pytest.approx(mpmath.tan(mpf(1e6)), rel=1e-12)


@pytest.mark.parametrize("x", ["nan", "inf", "-inf", "3e19", "1e30", "1e4000"])
def test_tan_gives_nan_where_no_reduction_is_meaningful(x):
    assert native.tan(x).lstrip("-") == "nan"


def test_tan_of_negative_arguments_mirrors_the_short_fraction():
    assert tan_of(-0.5) + tan_of(0.5) == 0
    assert tan_of(0.0) == 0


# ---- hyperbolic tangent ----------------------------------------------------------

def test_tanh_values():
    assert native.tanh(1.0) == 0.761594155955765
    assert native.tanh(20.0) == 1.0
    assert native.tanh(31.0) == 1.0000000000000004
    assert math.isnan(native.tanh(NAN))
    assert math.isnan(native.tanh(1e155))
    assert native.tanh(1000.0) == pytest.approx(1.79, abs=0.01)


@pytest.mark.parametrize("z", [1e-300, 1e-8, 0.3, 1.0, 2.5, 7.0, 17.9, 18.0, 25.0, 31.0, 1e3])
def test_tanh_is_odd_bit_for_bit(z):
    assert bits(native.tanh(-z)) == bits(-native.tanh(z))


def test_tanh_is_faithful_up_to_eighteen():
    zs = np.concatenate([np.geomspace(1e-6, 18, 300), np.linspace(0.01, 18, 300)])
    values = [native.tanh(z) for z in zs]
    assert max(abs(v) for v in values) <= 1
    assert max(ulps(v, float(mpmath.tanh(z))) for v, z in zip(values, zs)) <= 3


def test_tanh_hovers_at_one_then_grows():
    assert all(ulps(native.tanh(z), 1.0) <= 1 for z in np.linspace(18.2, 30, 200))
    assert all(native.tanh(z) > 1 for z in np.linspace(31, 1e6, 50))


# ---- ln(1 + x) -------------------------------------------------------------------

@pytest.mark.parametrize("x", [-1e-4, 1e-4, -5e-5, 3e-7, -1e-300, 0.0])
def test_log1p_uses_the_series_up_to_one_ten_thousandth(x):
    assert native.log1p(x) == log1p_series(x)


@pytest.mark.parametrize("x", [math.nextafter(-1e-4, -1), math.nextafter(1e-4, 1), -0.5,
                               -0.9, -1e-3, 2.0])
def test_log1p_uses_the_logarithm_beyond(x):
    assert native.log1p(x) == native.log(1 + x)


def test_log1p_at_minus_one_and_nan():
    assert native.log1p(-(1 - 1e-17)) == -INF
    assert native.log1p(-1 + 1e-17) == -INF
    assert math.isnan(native.log1p(NAN))
    assert math.isnan(native.log1p(-2.0))
