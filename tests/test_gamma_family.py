"""Gamma, chi-squared, inverse gamma and exponential functions."""
import math

import numpy as np
import pytest
import scipy.special
import scipy.stats as st

import _distrova_testing as native
import distrova as d
from exact_values import EPS, INF, NAN, check, check_with_log


# Under the flag each value is its guarded logarithm; NaN stays NaN.
@pytest.mark.parametrize("name, args, expected", [
    ("dgamma", (0, 1, 2), 0.5), ("dgamma", (0, 0.5, 1), INF), ("dgamma", (0, 2, 1), 0),
    ("dgamma", (1, 0, 1), 0), ("dgamma", (1, 1, 1e-17), NAN), ("dgamma", (NAN, 2, 1), NAN),
    ("dchisq", (0, 2), 0.5), ("dchisq", (0, 1), INF), ("dchisq", (0, 3), 0), ("dchisq", (1, -1), NAN),
    ("dinvgamma", (1, 0, 1), INF), ("dinvgamma", (0, 2, 0), INF), ("dinvgamma", (1, 2, NAN), NAN),
    ("dexp", (-1, 2), 0), ("dexp", (INF, 2), 0), ("dexp", (1, INF), NAN), ("dexp", (1, 0), 0),
    ("pgamma", (0, 0, 1), 0), ("pgamma", (1, 0, 1), 1), ("pgamma", (INF, 2, 1), 1),
    ("pgamma", (1, INF, 1), 0), ("pgamma", (INF, 2, INF), NAN),
    ("pchisq", (5, 0), 1), ("pchisq", (5, INF), 0), ("pchisq", (1, NAN), NAN),
    ("pinvgamma", (1, 2, 1e16), NAN), ("pinvgamma", (0, 2, 1), 0), ("pinvgamma", (INF, 2, 1), 1),
    ("pexp", (0, 1), 0), ("pexp", (1, INF), 1), ("pexp", (1, -1), NAN),
    # A point beyond every multiple of the scale: x / scale overflows, the limit is 1.
    ("pgamma", (1e308, 2, 0.5), 1), ("pinvgamma", (1e-306, 2, 1000), 0),
])
def test_special_values(name, args, expected):
    check_with_log(getattr(d, name), args, expected)


# A zero power of a negligible point is 1, not 0 * -inf; a zero-dof chi-squared has no
# density away from 0; near 0 the inverse gamma's e^(-scale/x) wins over x^(-shape-1).
@pytest.mark.parametrize("x", [1e-17, 1e-300, 5e-324])
def test_densities_just_above_zero(x):
    assert d.dgamma(x, 1, 4) == pytest.approx(0.25, rel=1e-15, abs=0)
    assert d.dgamma(x, 1, 4, log=True) == pytest.approx(native.log(0.25), rel=1e-15, abs=0)
    assert d.dchisq(x, 2) == pytest.approx(0.5, rel=1e-15, abs=0)
    assert d.dchisq(x, 0) == 0 and d.dchisq(x, 0, log=True) == -INF
    assert d.dinvgamma(x, 2, 1) == 0 and d.dinvgamma(x, 2, 1, log=True) < -1e15
    assert d.dinvgamma(1e-17, 2, 3e-16) == pytest.approx(st.invgamma(2, scale=3e-16).pdf(1e-17), rel=1e-12)


@pytest.mark.parametrize("name, args, expected", [
    ("qgamma", (0, 2, 1), 0), ("qgamma", (1, 2, 1), INF), ("qgamma", (0.5, 0, 1), 0),
    ("qgamma", (0.5, INF, 1), NAN), ("qgamma", (1.1, 2, 1), NAN), ("qchisq", (0, 3), 0),
    ("qchisq", (1, 3), INF), ("qinvgamma", (0.5, 2, 0), 0), ("qinvgamma", (0.5, 0, 1), NAN),
    ("qexp", (0.5, 0), INF), ("qexp", (1e-17, 0), INF), ("qexp", (0, 0), 0), ("qexp", (0.5, -1), NAN),
    ("qgamma", (0.001, 3, 1), 0.19053337756840322),
])
def test_quantile_values(name, args, expected):
    check(getattr(d, name)(*args), expected)


def test_quantiles_within_units_of_the_last_place():
    assert abs(d.qchisq(0.5, 2) - 2 * math.log(2)) <= 4 * math.ulp(1.4)
    assert abs(d.qexp(0.5, 2) - math.log(2) / 2) <= math.ulp(0.35)


# The chi-squared is the gamma with scale 2 and the inverse gamma the gamma of 1/x,
# operation for operation.
def test_related_families_agree_bit_for_bit():
    rng = np.random.default_rng(5)
    x = np.concatenate([rng.uniform(0, 50, 300), np.geomspace(1e-20, 1e4, 100)])
    p = rng.uniform(0, 1, 100)
    for shape in [0.3, 1.0, 2.5, 7.0, 40.0]:
        assert np.array_equal(d.pchisq(x, 2 * shape), d.pgamma(x, shape, 2.0))
        assert np.array_equal(d.qchisq(p, 2 * shape), d.qgamma(p, shape, 2.0))
        assert np.array_equal(d.pinvgamma(x, shape, 3.0), 1 - d.pgamma(1 / x, shape, 1 / 3.0))
        assert np.array_equal(d.qinvgamma(p, shape, 3.0), 3.0 / d.qgamma(1 - p, shape, 1.0))


@pytest.mark.parametrize("shape", [0.2, 1.0, 2.5, 9.0, 50.0, 400.0])
def test_agreement_with_scipy(shape):
    x = st.gamma(shape).ppf(np.linspace(0.002, 0.998, 200))
    y = st.invgamma(shape).ppf(np.linspace(0.002, 0.998, 200))
    np.testing.assert_allclose(d.dgamma(x, shape, 3.0), st.gamma(shape, scale=3).pdf(x), rtol=1e-11)
    np.testing.assert_allclose(d.dchisq(x, 2 * shape), st.chi2(2 * shape).pdf(x), rtol=1e-11)
    np.testing.assert_allclose(d.dinvgamma(y, shape, 1.0), st.invgamma(shape).pdf(y), rtol=1e-11)
    # Within three standard deviations the quadrature's window holds the mass.
    np.testing.assert_allclose(d.pgamma(x, shape, 1.0), st.gamma(shape).cdf(x), rtol=0, atol=1e-12)
    # e^x - 1 beyond 1e-4 cancels: absolutely accurate, relatively not at small x.
    np.testing.assert_allclose(d.pexp(x, 1 / shape), st.expon(scale=shape).cdf(x), rtol=1e-13, atol=2e-16)


# Where the Halley steps fail (the lower tails the start misses by far) the answer is
# the first double at which the lower tail reaches p: the true quantile, also below EPS.
@pytest.mark.parametrize("p, shape", [(1e-4, 3), (1e-5, 3), (1e-5, 5), (1e-7, 10), (1e-10, 20),
                                      (1e-6, 2), (1 - 1e-8, 3), (1e-8, 0.5)])
def test_qgamma_is_sound_where_the_steps_fail(p, shape):
    q = d.qgamma(p, shape, 1.0)
    # the first double reaching p, to the rounding of the tails' logarithms it is found by
    lower = lambda x: native.incomplete_gamma_tail(shape, x, False)  # noqa: E731
    assert lower(q) >= p * (1 - 1e-14) and lower(math.nextafter(q, 0)) < p * (1 + 1e-14)
    assert q == pytest.approx(scipy.special.gammaincinv(shape, p), rel=1e-9, abs=0)
    assert d.qgamma(p, shape, 2.0) == 2 * q


# Below 1e-12 the literal 0 of x < EPS stays; the logarithm is the true one however small.
def test_log_flags():
    assert d.pgamma(1e-17, 2, 1) == 0 and d.pgamma(1e-17, 2, 1, True) == pytest.approx(-78.98104034235750, rel=1e-14)
    assert 0 < d.pgamma(1e-10, 2, 1) < EPS and d.pgamma(1e-10, 2, 1, log_p=True) == pytest.approx(-46.74484904050754, rel=1e-14)
    assert d.dgamma(1e4, 2, 1) == 0 and math.isfinite(d.dgamma(1e4, 2, 1, log=True))


# Values the guards at EPS, the quadrature's window, lgamma's rounding at tiny shapes and
# the complement of a tail near 1 got plainly wrong, against their true values (mpmath).
@pytest.mark.parametrize("name, args, flags, expected", [
    ("pgamma", (30, 10, 1), {}, 0.9999928782491372), ("pgamma", (1e-20, 0.01, 1), {}, 0.634557920548997),
    ("pgamma", (1e-17, 0.1, 1), {}, 0.020972940561640427), ("pchisq", (1e-20, 0.2), {}, 0.009807455053275152),
    ("pgamma", (1.86e-12, 2.07e-12, 1), {}, 0.99999999994528322), ("ppois", (9, 30), {}, 7.121750862815577e-6),
    ("pchisq", (60, 20), {"lower_tail": False}, 7.1217508628155771e-06),
    ("pchisq", (100, 1), {"lower_tail": False}, 1.5239706048321052e-23),
    ("pchisq", (1e4, 3, True), {"lower_tail": False}, -4995.6205211816523),
    ("ppois", (30, 4), {"lower_tail": False}, 1.1732435431464345e-17),
    ("qgamma", (0.5, 0.01, 1), {}, 4.46553501891e-31), ("qexp", (1 - 2**-53, 1), {}, 36.7368005696771),
    ("qchisq", (-50.0, 3), {"lower_tail": False, "log_p": True}, 104.21378413153117),
    ("qchisq", (1 - 1e-15, 1000), {}, 1397.5770366795),
    ("qinvgamma", (1e-17, 3, 1), {}, 0.0216645912224), ("qinvgamma", (0.975, 0.01, 0.01), {}, 2.8387429386622e158),
    ("qpois", (1e-300, 100), {}, 0), ("qpois", (1e-20, 100), {}, 23), ("qgamma", (0.99999, 1e10, 1), {}, 10000426494.809),
    ("dgamma", (1e-17, 0.5, 1), {}, 178412411.6152771), ("dgamma", (1e-20, 2, 1), {}, 1e-20),
    ("dpois", (5, 1e-17), {}, 8.333333333333333e-88), ("dexp", (1e-17, 1e-300), {}, 1e-300),
    ("dinvgamma", (1e-17, 2, 1e-17), {}, 3.678794411714423e16),
])
def test_values_once_plainly_wrong(name, args, flags, expected):
    assert getattr(d, name)(*args, **flags) == pytest.approx(expected, rel=1e-11, abs=0)


# Both tails and their logarithms rise (or fall) steadily in x, across every switch of
# method and between the literal logarithm and the accurate one.
@pytest.mark.parametrize("shape", [1e-12, 1e-5, 0.3, 2.5, 9.99, 25.0, 350.0, 2500.0, 2e5])
def test_log_tails_are_monotone(shape):
    x = np.geomspace(1e-3 * shape, 30 * shape + 100, 20001)
    for values in [d.pgamma(x, shape, 1.0, True), -d.pgamma(x, shape, 1.0, True, lower_tail=False),
                   -d.pinvgamma(1 / x, shape, 1.0, True), d.ppois(np.floor(x), shape, True),
                   -d.ppois(np.floor(x), shape, True, lower_tail=False), d.pexp(x, 1 / shape, True)]:
        assert np.all(np.diff(values) >= 0)


# A quantile of either tail, plain or as a logarithm, gives back its probability.
@pytest.mark.parametrize("shape", [0.01, 3.0, 40.0, 1e6])
def test_quantiles_of_both_tails_invert_the_tails(shape):
    x = st.gamma(shape, scale=2.0).ppf([1e-10, 0.3, 0.5, 0.7, 1 - 1e-10])
    for lower_tail in (True, False):
        log_tail = d.pgamma(x, shape, 2.0, True, lower_tail=lower_tail)
        back = d.qgamma(log_tail, shape, 2.0, lower_tail=lower_tail, log_p=True)
        np.testing.assert_allclose(back, x, rtol=1e-9)
