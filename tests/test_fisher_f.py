"""F density, distribution and quantile functions, with their limits for infinite degrees
of freedom."""

import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d
from exact_values import INF, NAN, check, check_with_log


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


@pytest.mark.parametrize("args, expected", [
    ((0, 3, 5), 0), ((1, 3, 5), INF), ((0.3, INF, INF), 1), ((0.5, 3, 5), 0.9071462198190227),
    ((1.2, 3, 5), NAN), ((0.5, 0, 5), NAN), ((0.5, 3, NAN), NAN),
])
def test_qf_values(args, expected):
    check(d.qf(*args), expected)


@pytest.mark.parametrize("x", [1e-300, 1e-17, 0.3, 2.0, 40.0])
def test_limits_for_one_infinite_degree_of_freedom(x):
    assert d.pf(x, 3, INF) == d.pchisq(3 * x, 3)
    assert d.pf(x, 3, INF, True) == d.pchisq(3 * x, 3, True)
    assert d.pf(x, INF, 4) == 1 - d.pchisq(4 / x, 4)
    assert d.pf(x, INF, 4, True) == native.log(1 - d.pchisq(4 / x, 4))
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
    assert d.qf(p, INF, 4) == 4 / d.qchisq(1 - p, 4)
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
