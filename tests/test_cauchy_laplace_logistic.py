"""Cauchy, Laplace and logistic: special cases, quantile end points and SciPy agreement."""
import math

import mpmath
import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d

INF, NAN = math.inf, math.nan
LN2 = native.log(2.0)


def check(value, expected):
    assert (math.isnan(value) and math.isnan(expected)) or value == expected, (value, expected)


# ---- invalid input is NaN whatever the flag -----------------------------------------

@pytest.mark.parametrize("family", ["cauchy", "laplace", "logis"])
@pytest.mark.parametrize("args", [(NAN, 0, 1), (0, NAN, 1), (0, 0, NAN), (0, 0, -1),
                                  (0, 0, -INF)])
@pytest.mark.parametrize("flag", [False, True])
def test_nan_and_negative_scale(family, args, flag):
    assert math.isnan(getattr(d, "d" + family)(*args, flag))
    assert math.isnan(getattr(d, "p" + family)(*args, flag))


# ---- the shared quantile end points ------------------------------------------------

QUANTILE_END_POINTS = [
    ((NAN, 0, 1), NAN), ((0.3, NAN, 1), NAN), ((0.3, 0, NAN), NAN), ((0.3, 0, -1), NAN),
    ((-0.1, 0, 1), NAN), ((1.1, 0, 1), NAN), ((0.3, 1, INF), NAN), ((0, 1, INF), NAN),
    ((0.3, 1, 0), 1), ((0, 7, 0), 7), ((1, -INF, 0), -INF),
    ((0, 1, 1), -INF), ((0, INF, 1), NAN), ((0, -INF, 1), -INF),
    ((1, 1, 1), INF), ((1, -INF, 1), NAN), ((1, INF, 1), INF),
]


@pytest.mark.parametrize("family", ["cauchy", "laplace", "logis"])
@pytest.mark.parametrize("args,expected", QUANTILE_END_POINTS)
def test_quantile_end_points(family, args, expected):
    check(getattr(d, "q" + family)(*args), expected)


# ---- Cauchy ------------------------------------------------------------------------

@pytest.mark.parametrize("args,expected", [
    ((0, 0, 1), 0.3183098861837907), ((1, 0, 0), NAN), ((0, 0, 0), NAN),
    ((5, 0, INF), 0), ((INF, 0, INF), NAN), ((5, -INF, INF), NAN),
    ((INF, INF, 1), NAN), ((-INF, -INF, 0), NAN), ((INF, -INF, 1), 0), ((-INF, 0, 1), 0),
    ((0, INF, 0), 0),
])
def test_dcauchy_special_cases(args, expected):
    check(d.dcauchy(*args), expected)


def test_dcauchy_log_is_the_logarithm_of_the_density_or_formed_below_eps():
    assert d.dcauchy(0, 0, 1, log=True) == native.log(0.3183098861837907)
    assert d.dcauchy(INF, 0, 1, log=True) == -INF
    assert d.dcauchy(1e9, 0, 1, log=True) == pytest.approx(-math.log(math.pi) - 2 * math.log(1e9), rel=1e-15)
    assert math.isnan(d.dcauchy(1, 0, 0, log=True))


@pytest.mark.parametrize("args,expected", [
    ((0, 0, 1), 0.5), ((1, 0, 1), 0.75), ((-1, 0, 1), 0.25), ((1e-17, 0, 1), 0.5),
    ((1, 0, 0), 1), ((-1, 0, 0), 0), ((0, 0, 0), NAN),
    ((INF, -INF, 1), 1), ((INF, 0, 1), 1), ((-INF, 0, 1), 0), ((0, INF, 1), 0),
    ((0, -INF, 1), 1), ((INF, INF, 1), NAN), ((-INF, INF, 0), 0),
    ((3, 0, INF), 0.5), ((INF, 0, INF), NAN), ((0, -INF, INF), NAN),
])
def test_pcauchy_special_cases(args, expected):
    check(d.pcauchy(*args), expected)


def test_pcauchy_log_p():
    assert d.pcauchy(1, 0, 1, log_p=True) == native.log(0.75)
    assert d.pcauchy(-1e20, 0, 1, log_p=True) == pytest.approx(-math.log(math.pi * 1e20), rel=1e-15)


def test_qcauchy_values():
    assert d.qcauchy(0.5, 3, 2) == 3
    # The lower half mirrors the upper one through -tan(-d).
    assert d.qcauchy(0.25, 0, 1) == -d.qcauchy(0.75, 0, 1)
    assert d.qcauchy(0.75, 0, 1) == pytest.approx(1, rel=1e-15)
    # Near the pole of the tangent: the Laurent series.
    with mpmath.workdps(40):
        expected = float(mpmath.tan(mpmath.pi * (mpmath.mpf(0.999) - mpmath.mpf(0.5))))
    assert d.qcauchy(0.999, 0, 1) == pytest.approx(expected, rel=1e-15)
    # There the extended argument itself carries a rounding of up to 2^-64 against a
    # distance to pi/2 of about 3.5e-16.
    assert d.qcauchy(1 - 2**-53, 0, 1) == pytest.approx(2**53 / math.pi, rel=2e-4)


# ---- Laplace -----------------------------------------------------------------------

@pytest.mark.parametrize("args,expected", [
    ((0, 0, 0), INF), ((1, 0, 0), 0), ((0, 0, INF), 0),
    ((INF, 0, INF), 0), ((INF, INF, 1), NAN), ((-INF, -INF, 0), NAN), ((INF, 0, 1), 0),
    ((0, -INF, 0), 0),
])
def test_dlaplace_special_cases(args, expected):
    check(d.dlaplace(*args), expected)


def test_dlaplace_log():
    assert d.dlaplace(0, 0, 1, log=True) == -LN2 == -0.6931471805599453
    assert d.dlaplace(1, 0, 0, log=True) == -INF
    assert d.dlaplace(0, 0, 0, log=True) == INF
    assert d.dlaplace(800, 0, 1) == 0
    assert d.dlaplace(0, 0, 1e-17) == pytest.approx(0.5e17, rel=1e-14)  # 2 sigma below EPS
    assert d.dlaplace(800, 0, 1, log=True) == pytest.approx(-800 - LN2, rel=1e-15)


@pytest.mark.parametrize("args,expected", [
    ((0, 0, 1), 0.5), ((2, 1, 0), 1), ((1, 1, 0), 0.5), ((0, 1, 0), 0),
    ((INF, 0, 1), 1), ((0, -INF, 1), 1), ((0, INF, 1), 0), ((-INF, 0, 1), 0),
    ((0, 0, INF), 0.5), ((INF, 0, INF), NAN), ((INF, INF, 1), NAN), ((-INF, INF, 0), 0),
    ((40, 0, 1), 1),
])
def test_plaplace_special_cases(args, expected):
    check(d.plaplace(*args), expected)


def test_plaplace_log_p():
    assert d.plaplace(-100, 0, 1, log_p=True) == -100 - LN2
    assert d.plaplace(0, 0, 1, log_p=True) == native.log(0.5)


def test_qlaplace_values():
    assert d.qlaplace(0.5, 2, 1) == 2
    assert d.qlaplace(0.75, 0, 1) == -native.log(0.5)
    assert d.qlaplace(0.25, 0, 1) == native.log(0.5)
    # 1 - 2|p - 1/2| below EPS would reach the infinite end: the tail's own form answers.
    assert d.qlaplace(2**-54, 0, 1) == pytest.approx(math.log(2**-53), rel=1e-15)
    assert d.qlaplace(1 - 2**-53, 0, 1) == -native.log(2**-52)


# ---- logistic ----------------------------------------------------------------------

@pytest.mark.parametrize("args,expected", [
    ((0, 0, 0), INF), ((1, 0, 0), 0), ((INF, 0, 1), 0), ((-INF, 0, 1), 0),
    ((INF, INF, 1), NAN), ((0, 0, INF), 0), ((INF, 0, INF), 0),
])
def test_dlogis_special_cases(args, expected):
    check(d.dlogis(*args), expected)


@pytest.mark.parametrize("args", [
    (-1e308, 1e308, 1.0),  # w = +inf
    (1.0, 0.0, 1e-310),    # w = -inf
    (-1000.0, 0.0, 1.0),   # e^w overflows
    (-1.0, 0.0, 1e-300),   # e^w overflows with a scale below EPS
])
def test_dlogis_far_from_mu_is_zero_not_nan(args):
    assert d.dlogis(*args) == 0
    x, mu, sigma = args
    finite = abs((x - mu) / sigma) < INF  # then the log density is -|z| - ln sigma
    assert d.dlogis(*args, log=True) == (pytest.approx(-abs(x - mu) / sigma - math.log(sigma)) if finite else -INF)


def test_dlogis_log():
    assert d.dlogis(0, 0, 1, log=True) == -2 * LN2
    assert d.dlogis(1, 0, 0, log=True) == -INF
    assert d.dlogis(700, 0, 1, log=True) == pytest.approx(-700, rel=1e-15)


@pytest.mark.parametrize("args,expected", [
    ((0, 0, 1), 0.5), ((2, 0, 1), 0.8807970779778824), ((1e-20, 0, 1), 0.5),
    ((1, 1, 0), 0.5), ((2, 1, 0), 1), ((0, 1, 0), 0), ((0, INF, 1), 0), ((0, -INF, 1), 1),
    ((INF, 0, 1), 1), ((-INF, 0, 1), 0), ((0, 0, INF), 0.5), ((INF, 0, INF), NAN),
    ((-INF, -INF, 1), NAN), ((1e308, -1e308, 1e308), 0.8807970779778824),
])
def test_plogis_special_cases(args, expected):
    check(d.plogis(*args), expected)


def test_plogis_beyond_the_faithful_tanh_is_zero_or_one():
    h18 = 36.0  # h = x / (2 sigma)
    above = math.nextafter(h18, INF)
    assert d.plogis(h18, 0, 1) == (1 + native.tanh(18.0)) * 0.5
    assert d.plogis(above, 0, 1) == 1
    assert d.plogis(-above, 0, 1) == 0
    assert d.plogis(-above, 0, 1, log_p=True) == pytest.approx(-above, rel=1e-15)
    xs = np.concatenate([np.linspace(-3000, 3000, 601), [1e200, -1e200, 1e160, -1e160]])
    values = d.plogis(xs, 0, 1)
    assert ((values >= 0) & (values <= 1)).all()
    assert (values[xs > 36] == 1).all() and (values[xs < -36] == 0).all()


def test_qlogis_values():
    assert d.qlogis(0.5, 0, 1) == 0
    assert d.qlogis(1e-17, 0, 1) == pytest.approx(math.log(1e-17), rel=1e-15)
    assert d.qlogis(0.75, 1, 0) == 1
    assert d.qlogis(0.75, 0, 1) == native.log(3.0)
    assert d.qlogis(0.75, 2, 3) == native.log(3.0) * 3 + 2


# ---- agreement with SciPy ----------------------------------------------------------

X = np.linspace(-30, 30, 601)
P = np.concatenate([np.geomspace(1e-12, 0.5, 200), 1 - np.geomspace(1e-12, 0.5, 200)])
FAMILIES = [("cauchy", st.cauchy), ("laplace", st.laplace), ("logis", st.logistic)]
LOCATION_SCALES = [(0.0, 1.0), (2.5, 0.3), (-40.0, 7.0)]


@pytest.mark.parametrize("family,reference", FAMILIES)
@pytest.mark.parametrize("mu,sigma", LOCATION_SCALES)
def test_agreement_with_scipy(family, reference, mu, sigma):
    x = X * sigma + mu
    dist = reference(loc=mu, scale=sigma)
    # Probabilities are formed as 1/2 + (1 - g)/2 or (1 + tanh)/2: far in the lower
    # tail they carry the cancellation of that sum, an absolute error near EPS.
    np.testing.assert_allclose(getattr(d, "d" + family)(x, mu, sigma), dist.pdf(x),
                               rtol=1e-12, atol=1e-300)
    np.testing.assert_allclose(getattr(d, "d" + family)(x, mu, sigma, log=True),
                               dist.logpdf(x), rtol=1e-12)
    np.testing.assert_allclose(getattr(d, "p" + family)(x, mu, sigma), dist.cdf(x),
                               rtol=1e-12, atol=1e-15)
    # p - 1/2 (or 1 - p) is a double: a quantile far in a tail inherits its rounding,
    # a relative error up to about EPS / min(p, 1 - p).
    quantiles, expected = getattr(d, "q" + family)(P, mu, sigma), dist.ppf(P)
    tolerance = (1e-12 + 2.3e-16 / np.minimum(P, 1 - P)) * np.abs(expected) + 1e-12 * sigma
    assert (np.abs(quantiles - expected) <= tolerance).all()


# ---- both tails ----------------------------------------------------------------------

@pytest.mark.parametrize("family", ["cauchy", "laplace", "logis"])
@pytest.mark.parametrize("mu,sigma", LOCATION_SCALES)
def test_tails_add_up_and_quantiles_invert_them(family, mu, sigma):
    p, q = getattr(d, "p" + family), getattr(d, "q" + family)
    x = X * sigma + mu
    np.testing.assert_allclose(p(x, mu, sigma) + p(x, mu, sigma, lower_tail=False), 1, rtol=1e-15)
    for lower_tail in (True, False):
        tails = p(x, mu, sigma, True, lower_tail=lower_tail)
        back = q(tails, mu, sigma, lower_tail=lower_tail, log_p=True)
        np.testing.assert_allclose(p(back, mu, sigma, True, lower_tail=lower_tail), tails, rtol=1e-9, atol=1e-12)


@pytest.mark.parametrize("family,switch", [("cauchy", -20000.000000097632), ("laplace", -11.50000000000595),
                                           ("logis", -10.50000000000425)])
@pytest.mark.parametrize("mu,sigma", [(0.0, 1.0), (0.0, 0.25), (-0.0, 8.0)])  # x = mu + sigma z exact
def test_lower_log_tail_keeps_rising_where_its_form_changes(family, switch, mu, sigma):
    # The literal logarithm above the switch, the tail's own below: no step down beyond
    # the literal's own rounding (the logistic's tanh wavers by a unit or two).
    x = mu + sigma * switch
    near = [x]
    for _ in range(3000):
        near = [math.nextafter(near[0], -INF)] + near + [math.nextafter(near[-1], INF)]
    logs = getattr(d, "p" + family)(np.array(near), mu, sigma, True)
    below, above = logs[np.array(near) < x], logs[np.array(near) >= x]
    assert below.max() - above.min() <= np.max(np.maximum.accumulate(above) - above)


def test_cauchy_quantiles_beyond_the_doubles_are_infinite():
    assert d.qcauchy(1e-320, 0, 1) == -INF and d.qcauchy(1e-320, 0, 1, lower_tail=False) == INF
    assert d.qcauchy(-800.0, 0, 1e-300, log_p=True) == pytest.approx(-math.exp(800 - math.log(1e300)) / math.pi, rel=1e-9)
