"""The error function in double and extended precision, and its inverse."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
import distrova

INF, NAN = math.inf, math.nan
ULP1 = 2.0**-53  # half the spacing of doubles just below 1


def extended(parts):
    if isinstance(parts, float):
        return mpmath.mpf(parts)
    sign, significand, exponent = parts
    with mpmath.workprec(max(mpmath.mp.prec, 64)):
        return (-1) ** sign * mpmath.ldexp(mpmath.mpf(significand), exponent)


@pytest.mark.parametrize("x, expected", [(0.0, 0.0), (INF, 1.0), (-INF, -1.0)])
def test_erf_guards(x, expected):
    assert native.erf(x) == expected
    assert extended(native.erf_ext(x)) == expected


def test_negligible_arguments():
    assert native.erf(1e-17) == 0.0 and native.erf(-1e-17) == 0.0
    # The extended threshold is 2^-63: 1e-17 is resolved there, 1e-20 is not.
    assert extended(native.erf_ext(1e-17)) == pytest.approx(2e-17 / math.sqrt(math.pi), rel=1e-15)
    assert extended(native.erf_ext(1e-20)) == 0


def test_nan_propagates():
    assert math.isnan(native.erf(NAN)) and math.isnan(native.erf_inv(NAN))
    assert math.isnan(native.erf_ext(NAN))


@pytest.mark.parametrize("x, expected", [
    (0.5, 0.5204998778130465), (1.0, 0.8427007929497149), (3.0, 0.9999779095030014),
])
def test_erf_known_values(x, expected):
    assert native.erf(x) == pytest.approx(expected, rel=4 * ULP1)


def test_erf_switches_forms_above_2_1():
    # 2.1 itself still takes the small-argument fraction, about 3e-13 off; the next double
    # takes the large-argument one, correct to the last place.
    above = float(np.nextafter(2.1, 3.0))
    assert 1e-13 < abs(native.erf(2.1) - float(mpmath.erf(2.1))) < 5e-13
    assert native.erf(above) == pytest.approx(float(mpmath.erf(above)), rel=2 * ULP1)
    # The extended twin switches at the same double; its small form is far closer there.
    with mpmath.workdps(30):
        assert abs(extended(native.erf_ext(2.1)) - mpmath.erf(2.1)) < 2e-16
        assert abs(extended(native.erf_ext(above)) - mpmath.erf(above)) < 1e-19
        with mpmath.workprec(64):
            assert extended(native.erf_ext(above)) == 1 - extended(native.erfc_large_ext(above))


def test_erf_is_odd_exactly():
    for x in np.linspace(1e-3, 7, 701):
        assert native.erf(-x) == -native.erf(x)
        assert native.erf_ext(-x)[1:] == native.erf_ext(x)[1:]


def test_erf_accuracy():
    for x in np.linspace(0.01, 2.1, 400):
        assert native.erf(x) == pytest.approx(float(mpmath.erf(x)), rel=1e-12)
    for x in np.linspace(2.11, 6.5, 400):
        assert native.erf(x) == pytest.approx(float(mpmath.erf(x)), rel=2 * ULP1)


def test_erf_ext_and_its_tail_in_extended_precision():
    with mpmath.workdps(30):
        # The small-argument fraction loses precision as it nears its switch point.
        for low, high, tolerance in [(0.01, 1.5, 1e-17), (1.5, 2.1, 5e-16), (2.11, 8, 1e-19)]:
            for x in np.linspace(low, high, 40):
                x = float(x)
                assert abs(extended(native.erf_ext(x)) / mpmath.erf(x) - 1) < tolerance
        for u in np.linspace(2.2, 100, 50):
            u = float(u)
            assert abs(extended(native.erfc_large_ext(u)) / mpmath.erfc(u) - 1) < 1e-18 * u**2


def test_erf_inv():
    assert native.erf_inv(0.0) == 0.0
    assert math.sqrt(2) * native.erf_inv(2 * 0.975 - 1) == pytest.approx(1.95996398454005,
                                                                         abs=1e-13)
    for y in np.linspace(-0.9, 0.9, 181):
        assert native.erf_inv(y) == pytest.approx(float(mpmath.erfinv(y)), rel=4e-15, abs=1e-16)
        assert native.erf_inv(-y) == -native.erf_inv(y)
    # Its accuracy follows that of erf: the small-argument form loses most near 2.1.
    for y in np.linspace(-0.999, 0.999, 201):
        assert native.erf_inv(y) == pytest.approx(float(mpmath.erfinv(y)), rel=5e-11)


def test_normal_cdf_kernel_is_pnorm_bit_for_bit():
    z = np.concatenate([np.linspace(-40, 40, 8001), [0.0, -0.0, INF, -INF, 1e-300, -2.97, 2.97]])
    assert native.standard_normal_cdf(z).tobytes() == distrova.pnorm(z).tobytes()


def test_normal_tails_and_the_tail_deviate():
    z = np.concatenate([-np.geomspace(1e-20, 1e5, 400), np.linspace(-40, 40, 401)])
    with mpmath.workdps(30):
        tail = [mpmath.ncdf(v) for v in z]
        assert max(abs(t / mpmath.mpf(v) - 1) for t, v in zip(tail, native.standard_normal_tail(z))
                   if t > 1e-300) < 5e-15
        assert max(abs(mpmath.log(t) - v) / max(1, -mpmath.log(t))
                   for t, v in zip(tail, native.standard_normal_log_tail(z))) < 1e-15
    # The deviate inverts the log tail to a few units in the last place, however far.
    deep = z[z < -3.7]
    assert native.standard_normal_tail_deviate(native.standard_normal_log_tail(deep)) == pytest.approx(-deep, rel=4e-16)
