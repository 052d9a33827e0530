"""Beta functions: special values, the limiting forms, the inverse and its fallback."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
import distrova as d
from exact_values import EPS, INF, NAN, check, check_with_log

@pytest.mark.parametrize("args, expected", [
    ((0.5, 1, 1), 1), ((0, 1, 3), 3), ((1, 2, 1), 2), ((0, 0.5, 0.5), INF), ((0, 2, 2), 0),
    ((1, 2, 0.5), INF), ((1, 2, 2), 0), ((1.5, 2, 2), 0), ((-0.1, 2, 2), 0),
    ((0.5, -1, 2), NAN), ((0.5, 2, -1), NAN), ((NAN, 2, 2), NAN), ((0.5, NAN, 2), NAN),
    # Zero and infinite shapes: +inf at the atoms, 0 elsewhere.
    ((0, 0, 0), INF), ((1, 0, 0), INF), ((0.5, 0, 0), 0), ((0, 0, 3), INF), ((0, 0, INF), INF),
    ((0.2, 0, 3), 0), ((1, 3, 0), INF), ((1, INF, 0), INF), ((0, 3, INF), INF), ((0.2, 3, INF), 0),
    ((0.5, INF, INF), INF), ((0.3, INF, INF), 0), ((1, INF, 3), INF), ((0.9, INF, 3), 0),
    # With a shape of 1 the guarded -inf of a logarithm within EPS of an end has no factor.
    ((1e-17, 1, 3), pytest.approx(3, rel=1e-15)), ((math.nextafter(1, 0), 2, 1), pytest.approx(2, rel=1e-15)),
    ((1e-300, 1, 1), pytest.approx(1, rel=1e-15)),
])
def test_dbeta(args, expected):
    check(d.dbeta(*args), expected)


@pytest.mark.parametrize("args, expected", [
    ((0, 0.5, 0.5), INF), ((0, 2, 2), -INF), ((1.5, 2, 2), -INF), ((0, 1, 3), native.log(3.0)),
    ((0.5, -1, 2), NAN), ((0.5, INF, INF), INF), ((0.3, INF, INF), -INF),
    ((1e-17, 1, 3), pytest.approx(native.log(3.0), rel=1e-15)),
    ((0.5, 20, 1.5), (1.5 - 1) * native.log(0.5) + ((20 - 1) * native.log(0.5) - native.lbeta(20.0, 1.5))),
])
def test_dbeta_log(args, expected):
    check(d.dbeta(*args, log=True), expected)


@pytest.mark.parametrize("args, expected", [
    ((0, 2, 3), 0), ((2, 2, 3), 1), ((-1, 2, 3), 0), ((1, 2, 3), 1),
    ((0.7, 0, 0), 0.5), ((0.5, INF, INF), 1), ((0.49, INF, INF), 0), ((0.2, 3, INF), 1),
    ((0.9, INF, 3), 0), ((0.1, 0, 5), 1), ((0.9, 5, 0), 0), ((0.9, INF, 0), 0),
    ((0.5, -1, 2), NAN), ((NAN, 2, 3), NAN), ((0.3, 2, 3), 0.348300000000001),
])
def test_pbeta(args, expected):
    check_with_log(d.pbeta, args, expected)


# Points within EPS of an end hold mass and density that the guards used to drop (the
# point 1e-17 at shapes 0.01 and 1 was once given probability 0).
@pytest.mark.parametrize("f, args", [
    (d.pbeta, (1e-17, 0.01, 1)), (d.pbeta, (1e-16, 0.01, 0.01)), (d.pbeta, (1e-20, 0.1, 3)),
    (d.pbeta, (1 - 2**-53, 3, 0.01)), (d.dbeta, (1e-17, 0.5, 0.5)), (d.dbeta, (1 - 2**-53, 2, 0.5)),
])
def test_points_next_to_the_ends(f, args):
    x, a, b = (mpmath.mpf(v) for v in args)
    with mpmath.workdps(40):
        true = (mpmath.betainc(a, b, 0, x, regularized=True) if f is d.pbeta
                else x ** (a - 1) * (1 - x) ** (b - 1) / mpmath.beta(a, b))
    assert f(*args) == pytest.approx(float(true), rel=1e-13)


@pytest.mark.parametrize("args, expected", [
    ((0.5, 0, 0), 0.5), ((0.2, 0, 0), 0), ((0.8, 0, 0), 1), ((0.3, INF, INF), 0.5),
    ((0.3, 2, INF), 0), ((0.3, 0, 2), 0), ((0.3, 2, 0), 1), ((0.3, INF, 2), 1),
    ((1.2, 2, 3), NAN), ((-0.1, 2, 3), NAN), ((0, 2, 3), 0), ((1, 2, 3), 1), ((0.5, 2, -1), NAN),
    ((NAN, 2, 3), NAN), ((0.5, NAN, 3), NAN), ((0.1, 2, 3), 0.14255931671003047),
])
def test_qbeta(args, expected):
    check(d.qbeta(*args), expected)


@pytest.mark.parametrize("a, b, p, x", [
    (0.5, 0.5, 0.3, 0.206107), (2, 3, 0.1, 0.142559), (10, 20, 0.999, 0.611272),
    (2, 2, 0.5, 0.5), (1, 3, 0.5, 1 - 0.5 ** (1 / 3)),
])
def test_incomplete_beta_inv_stated_values(a, b, p, x):
    got = native.incomplete_beta_inv(a, b, p)
    assert got == pytest.approx(x, abs=1e-6)
    assert native.incomplete_beta(a, b, got) == pytest.approx(p, abs=4e-15)


# Within EPS of 0 or 1 the quantile is an ordinary double, not the end it used to be.
@pytest.mark.parametrize("p, expected", [(0.0, 0), (-1.0, NAN), (1.0, 1), (1 - 1e-17, 1), (NAN, NAN),
                                         (1e-17, pytest.approx(1.2909944498469e-09, rel=1e-12)),
                                         (math.nextafter(1, 0), pytest.approx(0.99999697227, rel=1e-10))])
def test_incomplete_beta_inv_early_answers(p, expected):
    check(native.incomplete_beta_inv(2.0, 3.0, p), expected)


def test_incomplete_beta_inv_uniform_returns_p():
    for p in np.linspace(0.001, 0.999, 101):
        assert native.incomplete_beta_inv(1.0, 1.0, p) == pytest.approx(p, rel=1e-15)


def test_iteration_stops_at_a_repeating_state_with_the_same_result():
    rng = np.random.default_rng(10)
    for _ in range(3000):
        a, b = (float(v) for v in np.exp(rng.uniform(math.log(0.02), math.log(3e4), 2)))
        p = float(rng.choice([rng.uniform(), 10 ** rng.uniform(-15, -1), 1 - 10 ** rng.uniform(-15, -1)]))
        fast, plain = native.incomplete_beta_newton(a, b, p, True), native.incomplete_beta_newton(a, b, p, False)
        assert fast == plain or (math.isnan(fast) and math.isnan(plain)), (a, b, p)


def small_tail_reaches(a, b, p, x):
    """Whether x reaches p on the small tail, by the accurate logarithms of the tails."""
    if p <= 0.5:
        return native.incomplete_beta_log_tail(a, b, x, False) >= native.log(p)
    return native.incomplete_beta_log_tail(a, b, x, True) <= native.log(1 - p)


def smallest_reaching(a, b, p, x):
    return small_tail_reaches(a, b, p, x) and not small_tail_reaches(a, b, p, math.nextafter(x, 0))


def test_failed_iterations_answer_with_the_smallest_x_reaching_p():
    # The literal iteration returns its start of 0 here, and NaN after leaving [0, 1].
    x = d.qbeta(0.943, 0.061, 1.25)
    assert x == pytest.approx(0.29375, abs=1e-5) and smallest_reaching(0.061, 1.25, 0.943, x)
    p = d.pbeta(0.5, 20, 1.5)
    x = d.qbeta(p, 20, 1.5)
    assert x == pytest.approx(0.5, abs=1e-12) and smallest_reaching(20, 1.5, p, x)


def test_every_inverse_is_sound_or_the_smallest_reaching():
    rng = np.random.default_rng(8)
    for _ in range(1500):
        a, b = (float(v) for v in np.exp(rng.uniform(math.log(1e-3), math.log(1e4), 2)))
        p = float(rng.choice([rng.uniform(), 10 ** rng.uniform(-15, -1), 1 - 10 ** rng.uniform(-15, -1)]))
        x = native.incomplete_beta_inv(a, b, p)
        assert 0 <= x <= 1, (a, b, p, x)
        upper = p > 0.5
        achieved = native.incomplete_beta_log_tail(a, b, x, upper)
        sound = abs(achieved - (math.log1p(-p) if upper else math.log(p))) <= 1e-9
        # Otherwise the first double whose small tail reaches p lies within 1e-12 of x.
        first_is_near = (small_tail_reaches(a, b, p, min(1.0, x * (1 + 1e-12)))
                         and not small_tail_reaches(a, b, p, min(x * (1 - 1e-12), math.nextafter(x, 0))))
        assert sound or first_is_near, (a, b, p, x, achieved)


def test_quantile_inverts_the_distribution_function():
    # Tiny p accepts any x whose probability is within 4 EPS, and near 1 the upper tail
    # 1 - p keeps too few digits to find x again.
    rng = np.random.default_rng(9)
    for _ in range(300):
        a, b = (float(v) for v in rng.uniform(0.5, 50, 2))
        x = float(rng.uniform(0.01, 0.99))
        p = d.pbeta(x, a, b)
        assert p == pytest.approx(float(mpmath.betainc(a, b, 0, x, regularized=True)), rel=1e-11, abs=1e-15)
        if 1e-12 < p < 1 - 1e-6:
            assert d.qbeta(p, a, b) == pytest.approx(x, abs=1e-9), (a, b, x)
