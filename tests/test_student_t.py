"""Student t kernels and the t density, distribution and quantile functions."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
import distrova as d
from exact_values import EPS, INF, NAN, same

LARGE_DOF = 1e6


def working_digits(dof):
    return 40 + int(max(0.0, math.log10(dof)))


def t_tail(x, dof):
    """P(T > |x|) to high precision."""
    with mpmath.workdps(working_digits(dof)):
        x, n = abs(mpmath.mpf(x)), mpmath.mpf(dof)
        if x == 0:
            return mpmath.mpf(0.5)
        if x * x < 3:
            return (1 - mpmath.betainc(0.5, n / 2, 0, x * x / (n + x * x), regularized=True)) / 2
        return mpmath.betainc(n / 2, 0.5, 0, n / (n + x * x), regularized=True) / 2


def t_density(x, dof):
    with mpmath.workdps(working_digits(dof)):
        x, n = mpmath.mpf(x), mpmath.mpf(dof)
        return mpmath.exp(mpmath.loggamma((n + 1) / 2) - mpmath.loggamma(n / 2)
                          - mpmath.log(n * mpmath.pi) / 2 - (n + 1) / 2 * mpmath.log1p(x * x / n))


def t_quantile(p, dof):
    """The quantile at p < 1/2: a bracket of -x by halving or doubling, then a root of
    ln P(T > |x|) = ln p in ln|x|."""
    with mpmath.workdps(working_digits(dof)):
        log_p = mpmath.log(p)
        def miss(u):
            return mpmath.log(t_tail(-mpmath.exp(u), dof)) - log_p
        lo = hi = mpmath.mpf(0)
        while miss(lo) < 0:
            lo -= 1
        while miss(hi) > 0:
            hi += 1
        return -mpmath.exp(mpmath.findroot(miss, (lo, hi), solver="illinois", tol=mpmath.mpf(10)**-30))


# ---- values of the kernels ---------------------------------------------------------

@pytest.mark.parametrize("n", [EPS, 0.3, 1.0, 2.0, 3.0, 7.5, 1e6, 1e17])
def test_cdf_at_zero_is_one_half(n):
    assert native.student_t_cdf(0.0, n) == 0.5
    assert native.student_t_cdf(1e-300, n) == 0.5


def test_inverse_values():
    for n in [1.5, 2.5, 5.0, 1e3]:
        assert native.student_t_inv(1.0, n) == 0.0
    assert native.student_t_inv(2e-4, 5.0) == pytest.approx(9.67757, abs=1e-5)
    # The normal-deviate branch is unrefined: within 1e-6 of the exact quantile.
    assert native.student_t_inv(0.2, 5.0) == pytest.approx(float(-t_quantile(0.1, 5.0)), abs=1e-6)
    assert native.student_t_inv(0.6, 1.5) == pytest.approx(0.63963, abs=1e-5)
    assert all(math.isnan(native.student_t_inv(P, 0.6)) for P in [1e-10, 0.3, 1.0])


def switch_point(n):
    """The P at which e = (P U)^(2/n) equals 0.05 + a, to double rounding."""
    a = 1 / (n - 0.5)
    b = 48 / (a * a)
    c = ((20700 * a / b - 98) * a - 16) * a + 96.36
    u = math.sqrt(a) * n * 1.2533141373155002512 * ((94.5 / (b + c) - 3) / b + 1)
    return (0.05 + a) ** (n / 2) / u


@pytest.mark.parametrize("n", [3.0, 5.0, 12.0])
def test_inverse_refines_only_below_the_branch_switch(n):
    def miss(P):
        t = native.student_t_inv(P, n)
        return abs((1 - native.student_t_cdf(t, n)) - P / 2) / (P / 2)
    P = switch_point(n)
    assert miss(P * (1 - 1e-6)) < 1e-10  # tail branch, six Newton steps
    assert miss(P * (1 + 1e-6)) > 1e-8   # normal-deviate branch, as approximated


# ---- the functions -----------------------------------------------------------------

@pytest.mark.parametrize("call, expected", [
    (lambda: d.dt(0, 1), 1 / math.pi), (lambda: d.dt(INF, 3), 0.0), (lambda: d.dt(-INF, 3, True), -INF),
    (lambda: d.dt(1, 0), NAN), (lambda: d.dt(1, 1e-17), NAN), (lambda: d.dt(NAN, 3), NAN),
    (lambda: d.dt(0.7, INF), d.dnorm(0.7)), (lambda: d.dt(0.7, INF, True), d.dnorm(0.7, log=True)),
    (lambda: d.pt(0, 5), 0.5), (lambda: d.pt(1, 1), 0.75), (lambda: d.pt(INF, 5), 1.0),
    (lambda: d.pt(INF, 5, True), 0.0), (lambda: d.pt(-INF, 5), 0.0), (lambda: d.pt(-INF, 5, True), -INF),
    (lambda: d.pt(1.5, INF), d.pnorm(1.5)), (lambda: d.pt(1, NAN), NAN), (lambda: d.pt(1, -2), NAN),
    # Two degrees of freedom beyond the overflow of x^2: the limits, not 1/2.
    (lambda: d.pt(1e200, 2), 1.0), (lambda: d.pt(-1e200, 2), 0.0), (lambda: d.pt(-1e200, 2, True), -921.7271843781782),
    (lambda: d.qt(0, 4), -INF), (lambda: d.qt(1, 4), INF), (lambda: d.qt(0.5, 4), 0.0),
    (lambda: d.qt(0.75, 1), 1.0), (lambda: d.qt(0.9, 2), 0.8 / math.sqrt(0.18)),
    (lambda: d.qt(1e-4, 5), -9.677566300883202),
    (lambda: d.qt(0.3, INF), d.qnorm(0.3)), (lambda: d.qt(-0.1, 4), NAN), (lambda: d.qt(0.5, 0), NAN),
    # The median is 0 also where the root finder answers.
    (lambda: d.qt(0.5, 0.3), 0.0), (lambda: d.qt(0.5, 0.99), 0.0), (lambda: d.qt(0.5, 1e7), 0.0),
    # Beyond the doubles: P(T < -DBL_MAX) is near 1/2 at 2^-40 degrees of freedom.
    (lambda: d.qt(0.01, 2.0**-40), -INF), (lambda: d.qt(0.99, 2.0**-40), INF),
])
def test_stated_values(call, expected):
    got = call()
    assert same(got, expected) or got == pytest.approx(expected, rel=4e-16), (got, expected)


@pytest.mark.parametrize("dof", [0.3, 0.9, 1.0, 2.0, 3.5, 30.0, 1e6, 2e6, 1e17])
def test_symmetry_is_exact(dof):
    for p in [1e-20, 1e-9, 0.01, 0.3, 0.49]:
        assert d.qt(1 - p, dof) == -d.qt(p, dof) or 1 - (1 - p) != p
    if dof not in (1.0, 2.0):  # the closed forms are not mirrored bit for bit
        for x in [1e-9, 0.4, 2.5, 40.0, 1e9]:
            assert d.pt(x, dof) == 1 - d.pt(-x, dof)


@pytest.mark.parametrize("p, dof", [
    (1e-18, 5.0), (1e-300, 12.0), (1e-17, 2.0), (1 - 2.0**-53, 2.0), (1e-19, 1e6),
    (0.3, 0.8), (0.3, 0.6), (0.7, 0.3), (0.3, 1e7), (1e-250, 2e6),
    # Finite but meaningless approximations: about -1e22 and -1.8e25, where pt is 0.
    (2.0**-54, 2.5), (1e-13, 1.05),
])
def test_quantiles_the_literal_misses_come_from_the_root_finder(p, dof):
    q = d.qt(p, dof)
    lower, x = (p, q) if p < 0.5 else (1 - p, -q)
    assert math.isfinite(q) and x < 0
    # the module's own log tail at the result is the requested one, to its rounding
    assert d.pt(x, dof, True) == pytest.approx(math.log(lower), rel=1e-14)


def test_failing_quantiles_match_the_true_ones_where_pt_is_accurate():
    assert d.qt(1e-18, 5) == pytest.approx(-6243.88, abs=0.01)
    for p, dof in [(0.3, 0.8), (0.01, 0.6), (0.45, 0.3), (1e-20, 5.0), (0.1, 5.0)]:
        assert d.qt(p, dof) == pytest.approx(float(t_quantile(p, dof)), rel=1e-13)


def test_literal_formulas_up_to_a_million_degrees_of_freedom_then_the_large_forms():
    below, above = LARGE_DOF, math.nextafter(LARGE_DOF, INF)
    for x in [0.0, 0.3, -2.0, 5.0]:
        assert d.dt(x, below, True) == native.student_t_log_density(x, below)
        assert d.pt(x, below) == native.student_t_cdf(x, below)
        assert d.dt(x, above, True) == native.student_t_log_density_large_dof(x, above)
        assert d.pt(x, above) == native.student_t_cdf_large_dof(x, above)
        # The literal density is off by about 7e-10 here; the two sides still agree.
        assert d.dt(x, above) == pytest.approx(d.dt(x, below), rel=2e-9)


def test_accuracy_above_a_million_degrees_of_freedom():
    rng = np.random.default_rng(9)
    dofs = [math.nextafter(LARGE_DOF, INF), 3e6, 9e6, 1e9, 1e17, 1e300]
    points = [0.0, 1e-12, 0.3, 30.0, -30.0] + list(rng.uniform(-30, 30, 14))
    for dof in dofs:
        for x in points:
            x = float(x)
            assert d.dt(x, dof) == pytest.approx(float(t_density(x, dof)), rel=1e-12), (x, dof)
            tail = t_tail(x, dof)
            exact = tail if x < 0 else 1 - tail
            got = d.pt(x, dof)
            assert abs(got - exact) <= 1e-12 * tail + math.ulp(float(exact)), (x, dof)
    assert d.pt(0.3, 1e17) == pytest.approx(0.6179114221889526, abs=1e-15)
    assert d.dt(3, 1e17) < d.dt(0, 1e17) / 50


def test_quantile_accuracy_above_a_million_degrees_of_freedom():
    for dof in [math.nextafter(LARGE_DOF, INF), 1e8, 2.0**60]:
        for p in [1e-200, 1e-15, 1e-6, 0.025, 0.3, 0.4999]:
            assert d.qt(p, dof) == pytest.approx(float(t_quantile(p, dof)), rel=1e-12), (p, dof)


def test_literal_accuracy_in_the_centre():
    rng = np.random.default_rng(3)
    for dof in [1.0, 2.0, 2.5, 4.0, 11.0, 150.0]:
        for x in rng.uniform(-6, 6, 12):
            x = float(x)
            tail = t_tail(x, dof)
            exact = tail if x < 0 else 1 - tail
            assert d.pt(x, dof) == pytest.approx(float(exact), rel=1e-13, abs=1e-15)
            assert d.dt(x, dof) == pytest.approx(float(t_density(x, dof)), rel=1e-12)


# Quantiles the issue found wrong: the approximation unrefined, far tails cut off at EPS.
@pytest.mark.parametrize("p, dof", [(0.975, 5.0), (1e-12, 3.0), (0.001, 0.3), (1e-6, 0.5), (2.2e-16, 1.5),
                                    (1e-17, 1.0), (0.7, 1.5), (0.3, 2.5)])
def test_quantiles_once_wrong(p, dof):
    expected = float(t_quantile(p, dof)) if p < 0.5 else -float(t_quantile(1 - p, dof))
    assert d.qt(p, dof) == pytest.approx(expected, rel=1e-13)


@pytest.mark.parametrize("dof", [0.3, 1.0, 2.0, 5.0, 3e5, 1e7])
def test_tails_sum_to_one_and_quantiles_invert_the_small_log_tail(dof):
    x = np.array([-1e9, -30.0, -2.5, -0.3, 0.3, 2.5, 30.0, 1e9])
    bound = 1e-12 if dof <= 1e5 else 1e-9
    assert np.allclose(d.pt(x, dof) + d.pt(x, dof, lower_tail=False), 1, rtol=0, atol=bound)
    for lower in (True, False):
        logs = d.pt(x, dof, True, lower_tail=lower)
        small = logs < -0.7
        assert np.allclose(d.qt(logs[small], dof, lower_tail=lower, log_p=True), x[small], rtol=bound * 10, atol=0)


def test_log_lower_tail_is_non_decreasing_where_it_leaves_the_literal():
    # at 30 degrees of freedom: the floor of the difference from 1/2, the literal's own
    # switch at x^2 = dof, and its EPS
    for x in [np.linspace(-3.4, -3.37, 20001), np.linspace(-5.48, -5.475, 20001), -np.geomspace(1e5, 5e5, 20001)]:
        assert np.all(np.diff(d.pt(np.sort(x), 30.0, True)) >= 0)
