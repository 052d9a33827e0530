"""Normal and log-normal density, distribution and quantile functions."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
import distrova

INF, NAN = math.inf, math.nan
EPS = 2.0**-52
ULP1 = 2.0**-53


def same(a, b):
    return (math.isnan(a) and math.isnan(b)) or a == b


@pytest.mark.parametrize("name", ["dnorm", "pnorm", "dlnorm", "plnorm"])
@pytest.mark.parametrize("args", [(NAN, 0, 1), (0, NAN, 1), (0, 0, NAN), (1, 0, -1),
                                  (NAN, INF, INF)])
@pytest.mark.parametrize("flag", [False, True])
def test_invalid_input_is_nan_under_either_flag(name, args, flag):
    assert math.isnan(getattr(distrova, name)(*args, flag))


@pytest.mark.parametrize("name", ["qnorm", "qlnorm"])
@pytest.mark.parametrize("args", [(NAN, 0, 1), (0.5, NAN, 1), (0.5, 0, NAN), (0.5, 0, -1),
                                  (-0.1, 0, 1), (1.1, 0, 1), (0.5, 0, INF), (0.0, 0, INF)])
def test_invalid_quantile_input_is_nan(name, args):
    assert math.isnan(getattr(distrova, name)(*args))


@pytest.mark.parametrize("x, mu, sigma, density", [
    (1, 1, 0, INF), (2, 1, 0, 0.0), (INF, INF, 1, NAN), (-INF, -INF, 0, NAN),
    (0, 0, INF, 0.0), (INF, INF, INF, 0.0), (INF, 0, 1, 0.0), (0, -INF, 1, 0.0),
    (INF, 1, 0, 0.0),
])
def test_dnorm_special_values(x, mu, sigma, density):
    assert same(distrova.dnorm(x, mu, sigma), density)
    expected_log = NAN if math.isnan(density) else (-INF if density == 0 else density)
    assert same(distrova.dnorm(x, mu, sigma, log=True), expected_log)


def test_dnorm_log_density_stays_finite_where_the_density_underflows():
    assert distrova.dnorm(40) == 0.0
    assert distrova.dnorm(0, log=True) == -0.9189385332046728
    assert distrova.dnorm(40, log=True) == -800.9189385332047
    assert distrova.dnorm(0) == pytest.approx(0.3989422804014327, rel=2 * ULP1)
    # A scale below EPS is an ordinary scale: the density at the centre is 1 / (sigma sqrt(2 pi)).
    assert distrova.dnorm(0, 0, 1e-17) == pytest.approx(3.989422804014327e16, rel=4 * ULP1)


def test_dnorm_accuracy():
    for mu, sigma in [(0, 1), (3, 0.25), (-1e3, 50.0)]:
        for z in np.linspace(-37, 37, 297):
            x = mu + sigma * z
            expected = mpmath.npdf(x, mu, sigma)
            # The rounding of z is magnified by z^2 / 2 in the exponent.
            assert distrova.dnorm(x, mu, sigma) == pytest.approx(
                float(expected), rel=2e-15 + 4e-16 * z * z), (x, mu, sigma)
            assert distrova.dnorm(x, mu, sigma, log=True) == pytest.approx(
                float(mpmath.log(expected)), rel=4 * ULP1, abs=4 * ULP1)


@pytest.mark.parametrize("x, mu, sigma, probability", [
    (INF, INF, 1, NAN), (-INF, -INF, INF, NAN), (1, 0, INF, 0.5), (INF, 0, INF, 1.0),
    (0, -INF, INF, 1.0), (-INF, 0, INF, 0.0), (0, INF, INF, 0.0), (5, 5, 0, 1.0),
    (4.9, 5, 0, 0.0), (INF, 5, 0, 1.0), (INF, 0, 1, 1.0), (-INF, 0, 1, 0.0), (0, INF, 1, 0.0),
    (0, -INF, 1, 1.0), (0, 0, 1, 0.5), (1e-300, 0, 1, 0.5),
])
def test_pnorm_special_values(x, mu, sigma, probability):
    assert same(distrova.pnorm(x, mu, sigma), probability)
    expected_log = {0.0: -INF, 1.0: 0.0}.get(probability, NAN)
    if probability == 0.5:
        assert distrova.pnorm(x, mu, sigma, log_p=True) == pytest.approx(-math.log(2))
    else:
        assert same(distrova.pnorm(x, mu, sigma, log_p=True), expected_log)


def test_pnorm_lower_tail_is_a_difference_near_one_in_extended_precision():
    # (1 - (1 - A)) / 2 with 1 - A in [1/2, 1): always a multiple of 2^-65.
    for z in np.linspace(-9.2, -3.0, 300):
        p = distrova.pnorm(z)
        assert p * 2.0**65 == int(p * 2.0**65)
    assert distrova.pnorm(-9) == pytest.approx(1.1e-19, rel=0.03)
    assert distrova.pnorm(-9.3) == 0.0 and distrova.pnorm(-10) == 0.0
    # The logarithm is that of the plain value down to z = -5.99, formed as a tail below.
    assert distrova.pnorm(-5.99, log_p=True) == native.log(distrova.pnorm(-5.99))
    assert distrova.pnorm(-9, log_p=True) == pytest.approx(float(mpmath.log(mpmath.ncdf(-9))), rel=1e-15)


def test_pnorm_accuracy():
    for mu, sigma in [(0, 1), (2.5, 3.0)]:
        for z in np.linspace(-9, 9, 721):
            x = mu + sigma * z
            expected = float(mpmath.ncdf(x, mu, sigma))
            # Below the centre the complement keeps the absolute error of the
            # small-argument fraction, largest near its switch point (z = -2.97).
            # The rounding of z moves a lower tail by a relative z^2 times it.
            absolute = 2e-16 if -3 < z < 0 else 1e-19
            relative = 4 * ULP1 * (1 + z * z)
            assert distrova.pnorm(x, mu, sigma) == pytest.approx(expected, rel=relative,
                                                                 abs=absolute), x
            if expected > 1e-15:
                assert distrova.pnorm(x, mu, sigma, log_p=True) == pytest.approx(
                    math.log(expected), rel=1e-15, abs=relative + absolute / expected)


@pytest.mark.parametrize("p, mu, sigma, quantile", [
    (0.5, 0, 1, 0.0), (0.0, 0, 1, -INF), (1.0, 0, 1, INF),
    (0.0, INF, 1, NAN), (1.0, -INF, 1, NAN), (1.0, INF, 1, INF), (0.0, -INF, 1, -INF),
    (0.3, 2, 0, 2.0), (0.0, 2, 0, 2.0), (1.0, 2, 0, 2.0), (0.7, INF, 1, INF),
])
def test_qnorm_special_values(p, mu, sigma, quantile):
    assert same(distrova.qnorm(p, mu, sigma), quantile)


def test_qnorm_accuracy():
    assert distrova.qnorm(0.975) == pytest.approx(1.95996398454005, abs=1e-13)
    assert distrova.qnorm(0.025, 10, 2) == pytest.approx(10 - 2 * 1.95996398454005, abs=1e-12)
    with mpmath.workdps(30):
        for p in np.linspace(0.01, 0.99, 393):
            expected = mpmath.sqrt(2) * mpmath.erfinv(2 * mpmath.mpf(p) - 1)
            assert distrova.qnorm(p) == pytest.approx(float(expected), abs=1e-12), p
            assert distrova.qnorm(p, -3, 0.5) == pytest.approx(float(-3 + expected / 2),
                                                               abs=1e-12)


@pytest.mark.parametrize("x, mu, sigma, density", [
    (-1, 0, 1, 0.0), (0, 0, 1, 0.0), (1, 0, 0, 0.0), (0, -INF, 0, INF),
    (INF, INF, 0, INF), (INF, INF, 1, NAN), (INF, 0, 1, 0.0), (1, 0, INF, 0.0),
    (1, INF, 1, 0.0), (-INF, 0, 1, 0.0),
])
def test_dlnorm_special_values(x, mu, sigma, density):
    assert same(distrova.dlnorm(x, mu, sigma), density)
    expected_log = NAN if math.isnan(density) else (-INF if density == 0 else density)
    assert same(distrova.dlnorm(x, mu, sigma, log=True), expected_log)


def test_lognormal_accuracy():
    for mu, sigma in [(0, 1), (1.5, 0.3)]:
        for x in np.geomspace(1e-3, 1e3, 241):
            lx = mpmath.log(x)
            density = mpmath.npdf(lx, mu, sigma) / x
            assert distrova.dlnorm(x, mu, sigma) == pytest.approx(float(density), rel=2e-14)
            assert distrova.dlnorm(x, mu, sigma, log=True) == pytest.approx(
                float(mpmath.log(density)), rel=1e-14, abs=1e-14)
            assert distrova.plnorm(x, mu, sigma) == pytest.approx(
                float(mpmath.ncdf(lx, mu, sigma)), rel=1e-14, abs=2e-16)


@pytest.mark.parametrize("x, mu, sigma, flag, expected", [
    (0, 0, 1, False, 0.0), (-1, 0, 1, False, 0.0), (1e-17, 0, 1, False, 0.0),
    (0, 0, 1, True, -INF), (INF, 0, 1, False, 1.0), (1, 0, 1, False, 0.5),
    (INF, INF, 1, False, NAN), (1, 0, 0, False, 1.0),
])
def test_plnorm_special_values(x, mu, sigma, flag, expected):
    assert same(distrova.plnorm(x, mu, sigma, flag), expected)


def test_qlnorm():
    assert distrova.qlnorm(0, 0, 1) == 0.0 and distrova.qlnorm(1, 0, 1) == INF
    assert distrova.qlnorm(0.3, 1.5, 0) == pytest.approx(math.exp(1.5), rel=4 * ULP1)
    for p in np.linspace(0.02, 0.98, 49):
        expected = mpmath.exp(1 + 0.5 * mpmath.sqrt(2) * mpmath.erfinv(2 * mpmath.mpf(p) - 1))
        assert distrova.qlnorm(p, 1, 0.5) == pytest.approx(float(expected), rel=1e-12)


def test_log_p_rises_across_its_switch():
    assert np.all(np.diff(distrova.pnorm(np.linspace(-5.995, -5.985, 20001), 0, 1, True)) >= 0)


@pytest.mark.parametrize("log_p", [False, True])
@pytest.mark.parametrize("lower_tail", [True, False])
def test_quantiles_of_either_tail_invert_their_probability(lower_tail, log_p):
    tails = np.geomspace(1e-300, 0.5, 400)
    requested = np.log(tails) if log_p else tails
    for mu, sigma in [(0, 1), (-3, 0.01), (1e4, 20)]:
        x = distrova.qnorm(requested, mu, sigma, lower_tail=lower_tail, log_p=log_p)
        achieved = distrova.pnorm(x, mu, sigma, True, lower_tail=lower_tail)
        assert np.all(np.abs(achieved - np.log(tails)) <= 2e-9)
    lower, upper = distrova.pnorm(x, mu, sigma), distrova.pnorm(x, mu, sigma, lower_tail=False)
    assert lower + upper == pytest.approx(np.ones_like(x), rel=4e-16)
