"""Log-gamma and the gamma-function kernels, through the test-only bindings."""
import math

import mpmath
import numpy as np
import pytest

import _distrova_testing as native

INF, NAN = math.inf, math.nan


@pytest.mark.parametrize("x, expected, ulps", [
    (1.0, 0.0, 0), (1 + 1e-17, 0.0, 0), (0.0, INF, 0), (-1.0, INF, 0), (-0.5, INF, 0),
    (0.5, 0.5723649429247004, 4), (3.0, math.log(2), 8), (100.0, 359.1342053695754, 2),
    (1e-3, 6.907178885383854, 4),
])
def test_lgamma_values(x, expected, ulps):
    got = native.lgamma(x)
    assert got == expected or abs(got - expected) <= ulps * math.ulp(expected)


@pytest.mark.parametrize("x", [NAN, INF])
def test_lgamma_nan_for_nan_and_infinity(x):
    assert math.isnan(native.lgamma(x))


# The shifted argument x - 1 carries the rounding of its own formation, so tiny x are
# accurate only in absolute terms; from 1e-3 up the series holds to about 1e-14.
def test_lgamma_accuracy():
    for x in np.geomspace(1e-3, 1e300, 4000):
        x = float(x)
        expected = float(mpmath.loggamma(x))
        if abs(expected) > 0.1:
            assert native.lgamma(x) == pytest.approx(expected, rel=2e-14), x
