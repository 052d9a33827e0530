"""Uniform and Weibull: special cases, the limits of the Weibull family, SciPy agreement."""
import math

import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d

INF, NAN = math.inf, math.nan
EPS = 2.220446049250313e-16


def check(value, expected):
    assert (math.isnan(value) and math.isnan(expected)) or value == expected, (value, expected)


# ---- uniform -----------------------------------------------------------------------

@pytest.mark.parametrize("args,expected", [
    ((0.5, 0, 1), 1), ((1, 0, 1), 1), ((0, 0, 1), 1), ((1.5, 0, 1), 0), ((-0.5, 0, 1), 0),
    ((0, 0, 0), NAN), ((0, 1, 0), NAN), ((NAN, 0, 1), NAN), ((0, NAN, 1), NAN),
    ((0, -INF, 1), 0), ((0, 0, INF), 0), ((0, -INF, INF), 0), ((3, 2, 6), 0.25),
    ((0, 0, 1e-20), 1e20),
])
def test_dunif(args, expected):
    check(d.dunif(*args), expected)


@pytest.mark.parametrize("args,expected", [
    ((1.5, 0, 1), -INF), ((0, -INF, 1), -INF), ((0, 0, 0), NAN), ((3, 2, 6), -native.log(4.0)),
    ((0, 0, 1e-20), -native.log_core(1e-20)),  # the support is narrower than EPS
])
def test_dunif_log(args, expected):
    check(d.dunif(*args, log=True), expected)


@pytest.mark.parametrize("args,expected", [
    ((0, 0, 1), 0), ((1, 0, 1), 1), ((-1, 0, 1), 0), ((2, 0, 1), 1), ((0.25, 0, 1), 0.25),
    ((0, -INF, INF), NAN), ((0, -INF, 1), NAN), ((-INF, -INF, 1), 0), ((5, 0, INF), 0),
    ((INF, 0, INF), 1), ((0, 1, 1), NAN), ((NAN, 0, 1), NAN),
])
def test_punif(args, expected):
    check(d.punif(*args), expected)


def test_punif_log_p():
    assert d.punif(0.25, 0, 1, log_p=True) == native.log(0.25)
    assert d.punif(0, 0, 1, log_p=True) == -INF
    assert d.punif(1e-17, 0, 1, log_p=True) == native.log_core(1e-17)
    assert math.isnan(d.punif(0, 1, 0, log_p=True))


@pytest.mark.parametrize("args,expected", [
    ((0, 2, 5), 2), ((1, 2, 5), 5), ((0.5, 2, 5), 3.5), ((0.5, 2, INF), NAN),
    ((0.5, -INF, 2), NAN), ((1.5, 0, 1), NAN), ((-0.1, 0, 1), NAN), ((0.5, 1, 1), NAN),
    ((NAN, 0, 1), NAN), ((0.1, -3, 0.7), (0.7 - -3) * 0.1 + -3),
])
def test_qunif(args, expected):
    check(d.qunif(*args), expected)


# ---- Weibull -----------------------------------------------------------------------

@pytest.mark.parametrize("args,expected", [
    ((0, 0.5, 1), INF), ((0, 1, 2), 0.5), ((0, 2, 1), 0), ((-1, 2, 1), 0), ((INF, 2, 1), 0),
    ((1, 0, 1), NAN), ((1, 1e-17, 1), NAN), ((1, 2, 1e-17), NAN), ((1, -2, 1), NAN),
    ((NAN, 2, 1), NAN), ((1, NAN, 1), NAN), ((1, 2, NAN), NAN),
])
def test_dweibull(args, expected):
    check(d.dweibull(*args), expected)


def test_dweibull_below_eps_takes_the_unguarded_logarithm():
    assert d.dweibull(1e-20, 2, 1) == pytest.approx(2e-20, rel=1e-13)
    assert d.dweibull(1e-20, 0.5, 1) == pytest.approx(5e9 * (1 - 1e-10), rel=1e-13)


@pytest.mark.parametrize("args,expected", [
    ((0, 0.5, 1), INF), ((0, 1, 2), native.log(0.5)), ((0, 2, 1), -INF), ((-1, 2, 1), -INF),
    ((INF, 2, 1), -INF), ((1, 0, 1), NAN), ((1e-20, 2, 1), native.log_core(2e-20)),
])
def test_dweibull_log(args, expected):
    check(d.dweibull(*args, log=True), expected)


@pytest.mark.parametrize("x", [1e-20, 1e-300, 5e-324, 2e-16])
@pytest.mark.parametrize("scale", [1.0, 4.0])
def test_dweibull_shape_one_near_zero_is_the_density_at_zero(x, scale):
    # The power term (shape - 1) ln t vanishes even where ln t is -inf.
    assert d.dweibull(x, 1, scale) == d.dweibull(0, 1, scale) == 1 / scale
    assert d.dweibull(x, 1, scale, log=True) == native.log(1 / scale)


@pytest.mark.parametrize("shape,scale", [(2, 1), (1e300, 1e-10), (INF, 1), (1.5, 1e-15)])
def test_dweibull_at_zero_with_shape_above_one_is_zero(shape, scale):
    assert d.dweibull(0, shape, scale) == 0
    assert d.dweibull(0, shape, scale, log=True) == -INF


@pytest.mark.parametrize("x,expected", [(2.5, INF), (0, 0), (2.4999999, 0), (3, 0), (INF, 0)])
def test_dweibull_infinite_shape_is_a_point_mass_at_the_scale(x, expected):
    assert d.dweibull(x, INF, 2.5) == expected
    assert d.dweibull(x, INF, 2.5, log=True) == (INF if expected else -INF)


@pytest.mark.parametrize("x", [0, 1e-20, 1, 1e300, INF])
@pytest.mark.parametrize("shape", [0.5, 1, 2, INF])
def test_dweibull_infinite_scale_leaves_no_density(x, shape):
    assert d.dweibull(x, shape, INF) == 0
    assert d.dweibull(x, shape, INF, log=True) == -INF


@pytest.mark.parametrize("args,expected", [
    ((1e-17, 2, 1), 0), ((0, 2, 1), 0), ((-1, 2, 1), 0), ((INF, 2, 1), 1), ((INF, 2, INF), NAN),
    ((1, INF, 1), 0.6321205588285577), ((2, INF, 1), 1), ((0.5, INF, 1), 0),
    ((1, 2, INF), 0), ((1, INF, INF), 0), ((INF, INF, 1), 1),
    ((1, 0, 1), NAN), ((1, 2, 0), NAN), ((NAN, 2, 1), NAN), ((1, 2, NAN), NAN),
])
def test_pweibull(args, expected):
    check(d.pweibull(*args), expected)


def test_pweibull_log_p():
    assert d.pweibull(1e-17, 2, 1, log_p=True) == pytest.approx(2 * math.log(1e-17), rel=1e-15)
    assert d.pweibull(1, INF, 1, log_p=True) == native.log(0.6321205588285577)
    assert d.pweibull(INF, 2, 1, log_p=True) == 0
    assert d.pweibull(1e-9, 1, 1, log_p=True) == pytest.approx(math.log(-math.expm1(-1e-9)),
                                                             rel=1e-12)


@pytest.mark.parametrize("args,expected", [
    ((0, 2, 3), 0), ((1, 2, 3), INF), ((0.3, INF, 3), 3), ((0.5, 1e-17, 1), NAN),
    ((0.5, 1, 1e-17), NAN), ((-0.1, 2, 3), NAN), ((1.1, 2, 3), NAN), ((NAN, 2, 3), NAN),
    ((0.5, NAN, 3), NAN),
])
def test_qweibull(args, expected):
    check(d.qweibull(*args), expected)


def test_qweibull_below_eps_is_the_root_of_p():
    assert d.qweibull(1e-300, 2, 3) == pytest.approx(3e-150, rel=1e-15)  # -ln(1 - p) below EPS


@pytest.mark.parametrize("p", [1e-300, 1e-17, 0.3, 1 - 1e-17, 1])
def test_qweibull_infinite_scale_is_infinite(p):
    assert d.qweibull(p, 2, INF) == INF
    assert d.qweibull(0, 2, INF) == 0


@pytest.mark.parametrize("p", [5e-5, 1e-4, 2e-4, 0.3])
def test_qweibull_log1p_branches(p):
    # Shape 1 makes the quantile scale * -ln(1 - p) up to the power's rounding.
    assert d.qweibull(p, 1, 2) == pytest.approx(-2 * native.log1p(-p), rel=1e-15)
    assert d.qweibull(p, 1, 2) == pytest.approx(-2 * math.log1p(-p), rel=1e-12)


# ---- agreement with SciPy ----------------------------------------------------------

@pytest.mark.parametrize("a,b", [(0.0, 1.0), (-3.0, 7.5), (1e6, 1e6 + 3)])
def test_uniform_agreement_with_scipy(a, b):
    x = np.linspace(a - 1, b + 1, 301)
    p = np.linspace(0, 1, 301)
    dist = st.uniform(loc=a, scale=b - a)
    np.testing.assert_allclose(d.dunif(x, a, b), dist.pdf(x), rtol=1e-12)
    np.testing.assert_allclose(d.punif(x, a, b), dist.cdf(x), rtol=1e-12, atol=1e-15)
    np.testing.assert_allclose(d.qunif(p, a, b), dist.ppf(p), rtol=1e-12)


@pytest.mark.parametrize("shape", [0.5, 1.0, 2.5, 10.0])
@pytest.mark.parametrize("scale", [0.3, 1.0, 40.0])
def test_weibull_agreement_with_scipy(shape, scale):
    x = scale * np.geomspace(1e-3, 4, 300)
    p = np.concatenate([np.geomspace(1e-10, 0.5, 100), 1 - np.geomspace(1e-10, 0.5, 100)])
    dist = st.weibull_min(shape, scale=scale)
    # Powers are exp(b ln a): their error grows with b ln a, up to about 2e-13 here.
    np.testing.assert_allclose(d.dweibull(x, shape, scale), dist.pdf(x), rtol=1e-11, atol=1e-300)
    np.testing.assert_allclose(d.dweibull(x, shape, scale, log=True), dist.logpdf(x),
                               rtol=1e-11, atol=1e-13)
    np.testing.assert_allclose(d.pweibull(x, shape, scale), dist.cdf(x), rtol=1e-11)
    # 1 - p is a double: near p = 1 the quantile inherits its rounding.
    tolerance = (1e-11 + 2.3e-16 / (1 - p) / shape) * dist.ppf(p)
    assert (np.abs(d.qweibull(p, shape, scale) - dist.ppf(p)) <= tolerance).all()


@pytest.mark.parametrize("family,params,x", [
    ("unif", (-3.0, 7.5), np.linspace(-3, 7.5, 301)[1:-1]),
    ("unif", (-1e308, 1e308), np.linspace(-1, 1, 301)[1:-1] * 1e308),
    ("weibull", (0.5, 3.0), 3 * np.geomspace(1e-300, 2e5, 301)),
    ("weibull", (2.5, 1e-5), 1e-5 * np.geomspace(1e-30, 25, 301)),
])
def test_tails_add_up_and_quantiles_invert_them(family, params, x):
    p, q = getattr(d, "p" + family), getattr(d, "q" + family)
    # The lower tail keeps its literal 0 below EPS while within its absolute accuracy.
    np.testing.assert_allclose(p(x, *params) + p(x, *params, lower_tail=False), 1, rtol=0, atol=1e-12)
    for lower_tail in (True, False):
        tails = p(x, *params, True, lower_tail=lower_tail)
        back = q(tails, *params, lower_tail=lower_tail, log_p=True)
        np.testing.assert_allclose(p(back, *params, True, lower_tail=lower_tail), tails, rtol=1e-9, atol=1e-12)
