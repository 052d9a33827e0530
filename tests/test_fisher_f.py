"""F density, distribution and quantile functions, with their limits for infinite degrees
of freedom."""

import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d
from exact_values import INF, NAN, check, check_with_log, same


# Under the flag each value is its guarded logarithm; NaN stays NaN.
@pytest.mark.parametrize("name, args, expected", [
    ("df", (0, 1, 5), INF), ("df", (0, 2, 5), 1), ("df", (0, 3, 5), 0), ("df", (-1, 3, 5), 0),
    ("df", (INF, 1, 5), NAN), ("df", (INF, 3, 5), 0), ("df", (INF, 3, 0.5), NAN),
    ("df", (INF, INF, 1.5), NAN), ("df", (INF, INF, 2), 0), ("df", (INF, 3, INF), 0),
    ("df", (1, INF, INF), INF), ("df", (2, INF, INF), 0), ("df", (1, 0, 5), NAN),
    ("df", (1, 3, 1e-17), NAN), ("df", (NAN, 3, 5), NAN),
    ("pf", (0, 3, 5), 0), ("pf", (INF, 3, 5), 1), ("pf", (1, INF, INF), 0.5),
    ("pf", (1.5, INF, INF), 1), ("pf", (0.5, INF, INF), 0), ("pf", (1, -3, 5), NAN),
    ("pf", (1e300, 1e10, 5), 1),  # not inf/inf
    ("pf", (2, 3, 5), 0.7673760819999219),
])
def test_special_values(name, args, expected):
    check_with_log(getattr(d, name), args, expected)


# Where z = u/(1 + u) rounds to 1 or 0, u overflows, or a degree of freedom is vast, the
# densities stay ordinary numbers (mpmath values).
@pytest.mark.parametrize("args, log_density", [
    ((1e20, 3, 0.5), -59.264208600241473642), ((1e300, 1e10, 5), -2415.7083036841605),
    ((1, 1e30, 1), -1.4189385332046727), ((1 + 2**-52, 1e30, 2), -1.0000000000000002),
    ((1e10, 1e4, 5), -78.584059345819882), ((1e-300, 0.5, 3), 516.38206464826995),
])
def test_densities_at_rounded_ratios(args, log_density):
    assert d.df(*args, True) == pytest.approx(log_density, rel=1e-13)
    assert d.df(*args) == pytest.approx(np.exp(log_density), rel=1e-12, abs=1e-320)


@pytest.mark.parametrize("df1, df2", [(0.3, 0.5), (3.0, 4.0), (100.0, 0.3), (5.0, 2e4)])
def test_tails_sum_to_one_and_quantiles_invert_the_small_log_tail(df1, df2):
    x = np.array([1e-3, 0.5, 2.0, 50.0, 1e6])
    assert np.allclose(d.pf(x, df1, df2) + d.pf(x, df1, df2, lower_tail=False), 1, rtol=0, atol=1e-12)
    for lower in (True, False):
        logs = d.pf(x, df1, df2, True, lower_tail=lower)
        small = logs < -0.7
        back = d.qf(logs[small], df1, df2, lower_tail=lower, log_p=True)
        # the tail at the quantile answers the request within 1e-9 of it
        assert np.allclose(d.pf(back, df1, df2, True, lower_tail=lower), logs[small], rtol=0, atol=1e-9)


def test_log_lower_tail_is_non_decreasing_where_it_leaves_the_literal():
    # the literal's complement branch and its floor at 1e-3 (4, 0.3), its EPS (3, 4)
    for x, df1, df2 in [(np.linspace(0.14, 0.16, 20001), 4.0, 0.3), (np.geomspace(1e-12, 1e-8, 20001), 3.0, 4.0)]:
        assert np.all(np.diff(d.pf(x, df1, df2, True)) >= 0)


@pytest.mark.parametrize("args, expected", [
    ((-INF, 3, 5, True, True), 0), ((0.0, 3, 5, False, True), 0), ((-INF, 3, 5, False, True), INF),
    ((0.1, 3, 5, True, True), NAN), ((1 - 2**-53, 3, 4, True, False), 173274340.21437675),
    ((0, 3, 5), 0), ((1, 3, 5), INF), ((0.3, INF, INF), 1), ((0.5, 3, 5), 0.9071462198190227),
    ((1.2, 3, 5), NAN), ((0.5, 0, 5), NAN), ((0.5, 3, NAN), NAN),
])
def test_qf_values(args, expected):
    if len(args) == 5:
        got = d.qf(*args[:3], lower_tail=args[3], log_p=args[4])
        assert same(got, expected) or got == pytest.approx(expected, rel=1e-12), got
    else:
        check(d.qf(*args), expected)


@pytest.mark.parametrize("x", [1e-300, 1e-17, 0.3, 2.0, 40.0])
def test_limits_for_one_infinite_degree_of_freedom(x):
    assert d.pf(x, 3, INF) == d.pchisq(3 * x, 3)
    assert d.pf(x, 3, INF, True) == d.pchisq(3 * x, 3, True)
    assert d.pf(x, INF, 4) == 1 - d.pchisq(4 / x, 4)
    log_upper = d.pchisq(4 / x, 4, True, lower_tail=False)
    assert d.pf(x, INF, 4, True) == pytest.approx(log_upper, rel=1e-12, abs=1e-12)
    # A gamma distribution with shape df1/2 and scale 2/df1; an inverse gamma with shape
    # and scale df2/2.
    for log in (False, True):
        assert d.df(x, 3, INF, log) == d.dgamma(x, 1.5, 2 / 3, log)
        assert d.df(x, INF, 4, log) == d.dinvgamma(x, 2.0, 2.0, log)


def test_limiting_densities_near_zero():
    # A zero power of the guarded logarithm counts as 0; with df1 infinite ln x is taken
    # without the guard, so e^(-e/x) wins.
    assert d.df(1e-17, 2, INF) == pytest.approx(1, rel=1e-15)
    assert d.df(1e-17, 2, INF, True) == pytest.approx(0, abs=1e-15)
    assert d.df(1e-17, INF, 5) == 0
    assert -1e18 < d.df(1e-17, INF, 5, True) < -1e17


def test_limits_agree_with_large_degrees_of_freedom():
    for x in [0.2, 0.9, 1.7, 4.0]:
        assert d.df(x, 3, INF) == pytest.approx(d.df(x, 3, 1e7), rel=1e-5)
        assert d.df(x, 1e7, 4) == pytest.approx(d.df(x, INF, 4), rel=1e-5)
        assert d.pf(x, 3, INF) == pytest.approx(d.pf(x, 3, 1e7), rel=1e-5)


@pytest.mark.parametrize("p", [1e-12, 0.01, 0.3, 0.5, 0.97])
def test_quantile_limits(p):
    assert d.qf(p, 3, INF) == d.qchisq(p, 3) / 3
    assert d.qf(p, INF, 4) == 4 / d.qchisq(p, 4, lower_tail=False)
    assert d.qf(p, INF, INF) == 1


def test_agreement_with_scipy():
    rng = np.random.default_rng(11)
    for df1, df2 in [(1.0, 1.0), (3.0, 5.0), (0.5, 7.5), (12.0, 2.0), (40.0, 60.0)]:
        x = rng.exponential(2.0, size=30)
        for xi in x:
            xi = float(xi)
            assert d.df(xi, df1, df2) == pytest.approx(st.f.pdf(xi, df1, df2), rel=1e-11)
            assert d.pf(xi, df1, df2) == pytest.approx(st.f.cdf(xi, df1, df2), rel=1e-11, abs=1e-15)
        for p in rng.uniform(0.001, 0.999, size=20):
            assert d.pf(d.qf(float(p), df1, df2), df1, df2) == pytest.approx(float(p), rel=1e-9)
