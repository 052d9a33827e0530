"""Finite bounds and scales whose span overflows a double: results stay finite and in place."""
import math
import sys
from fractions import Fraction

import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d
from distrova import Engine

DBL_MAX = sys.float_info.max
SPANS = [(-DBL_MAX, DBL_MAX), (-1e308, 1e308), (-1e300, DBL_MAX), (-DBL_MAX, 1e293),
         (-9e307, 9.1e307)]
P_GRID = np.sort(np.concatenate([[5e-324, 1e-300, 2.0**-53, 0.25, 0.5, 1 - 2.0**-53],
                                 np.random.default_rng(5).random(150)]))


def largest_error(values, exact):
    return max(abs(Fraction(v) - e) for v, e in zip(values.tolist(), exact))


@pytest.mark.parametrize("a, b", SPANS)
def test_uniform_quantile(a, b):
    q = d.qunif(P_GRID, a, b)
    assert a <= q.min() and q.max() <= b and np.all(np.diff(q) >= 0)
    exact = [Fraction(a) + Fraction(p) * (Fraction(b) - Fraction(a)) for p in P_GRID.tolist()]
    assert largest_error(q, exact) <= 2 * math.ulp(max(-a, b))
    assert (d.qunif(0.0, a, b), d.qunif(1.0, a, b)) == (a, b)


@pytest.mark.parametrize("a, b", SPANS)
def test_uniform_draws(a, b):
    engine = Engine(17)
    x = d.runif(a, b, 600, engine)
    assert np.all((x > a) & (x <= b))
    lo = math.nextafter(a, b)
    u = native.canonical_draws(17, 601)
    exact = [Fraction(lo) + Fraction(v) * (Fraction(b) - Fraction(lo)) for v in u[:600].tolist()]
    assert largest_error(x, exact) <= 2 * math.ulp(max(-a, b))
    assert d.runif(0.0, 1.0, engine=engine) == u[600]  # one output per draw
    assert st.kstest(x / 2 - a / 2, st.uniform(0, b / 2 - a / 2).cdf).pvalue > 1e-3


# Where sigma * sqrt(2) overflows the standard value is scaled first: sigma * (sqrt(2) z) + mu.
@pytest.mark.parametrize("sigma", [DBL_MAX, 1.3e308, 1.2712e308])
@pytest.mark.parametrize("mu", [0.0, 3.0, -1e308])
def test_normal_quantile_with_a_scale_near_the_largest_double(sigma, mu):
    with np.errstate(over="ignore"):
        expected = sigma * d.qnorm(P_GRID) + mu
    assert d.qnorm(P_GRID, mu, sigma).tolist() == expected.tolist()
    assert d.qnorm(0.5, mu, sigma) == mu
    assert d.qlnorm(0.5, mu / 1e306, sigma) == d.qlnorm(0.5, mu / 1e306, 1.0)
