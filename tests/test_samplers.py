"""The continuous samplers: streams for a seed, engine outputs per draw, goodness of fit."""
import math
import sys

import numpy as np
import pytest
import scipy.stats as st

import _distrova_testing as native
import distrova as d
from distrova import Engine

INF, NAN = math.inf, math.nan
DBL_MAX = sys.float_info.max


def uniform(engine):
    # runif(0, 1) is the engine's next open unit draw (the canonical draw, 0 excepted).
    return d.runif(0.0, 1.0, engine=engine)


def consumed(draw, seed=1):
    """Engine outputs that draw(engine) takes from a fresh engine."""
    engine = Engine(seed)
    draw(engine)
    return native.open_unit_draws(seed, 200).tolist().index(uniform(engine))


def polar_normal(engine):
    while True:
        x = uniform(engine) * 2 - 1
        y = uniform(engine) * 2 - 1
        r2 = x * x + y * y
        if 0 < r2 <= 1:
            return y * math.sqrt((math.log(r2) * -2.0) / r2)


def reference_gamma(k, theta, engine):
    if k <= 1:
        u = uniform(engine)
        return math.pow(u, 1 / k if k else INF) * reference_gamma(1 + k, theta, engine)
    dd = k - 0.3333333333333333
    g = 0.3333333333333333 / math.sqrt(dd)
    while True:
        z = polar_normal(engine)
        if not z > -1.0 / g:
            continue
        v = math.pow(g * z + 1, 3)
        if math.log(uniform(engine)) < z * (0.5 * z) + ((1 - v) + math.log(v)) * dd:
            return (dd * v) * theta


def reference_gamma_with_log(k, theta, engine):
    """One gamma draw and its logarithm, ln(u)/k + ln G, from the same outputs."""
    if k > 1:
        g = reference_gamma(k, 1.0, engine)
        return g * theta, math.log(g) + math.log(theta)
    u = uniform(engine)
    g, log_g = reference_gamma_with_log(1 + k, theta, engine)
    return math.pow(u, 1 / k) * g, math.log(u) / k + log_g


def reference_beta(a, b, engine):
    (x, lx), (y, ly) = reference_gamma_with_log(a, 1.0, engine), reference_gamma_with_log(b, 1.0, engine)
    if y + x < INF and not math.isnan(x / (y + x) if y + x else NAN):
        return x / (y + x)
    t = ly - lx
    return 1 / (1 + math.exp(t)) if t <= 0 else math.exp(-t) / (1 + math.exp(-t))


def reference_f(df1, df2, engine):
    (x, lx), (y, ly) = (reference_gamma_with_log(df * 0.5, 2.0, engine) for df in (df1, df2))
    if y and (df2 / df1) * x / y <= DBL_MAX:
        return ((df2 / df1) * x) / y
    try:
        return math.exp(((lx - ly) + math.log(df2)) - math.log(df1))
    except OverflowError:
        return INF


def test_published_values_from_seed_one():
    assert d.runif(0, 1, engine=Engine(1)) == 0.13387664401253274
    assert d.rnorm(engine=Engine(1)) == -0.38683176162103994
    assert d.rgamma(2.5, 1, engine=Engine(1)) == 1.645688848081783
    assert d.rgamma(0.5, 2, engine=Engine(1)) == 0.036347676863192735
    assert [consumed(lambda e: d.rnorm(engine=e)), consumed(lambda e: d.rgamma(2.5, 1, e)),
            consumed(lambda e: d.rgamma(0.5, 2, e))] == [4, 5, 4]


# From a = 0 the subnormal lower bound only shows for tiny b; elsewhere it is a's neighbour.
@pytest.mark.parametrize("a, b", [(0.0, 1.0), (-0.0, 3.5), (0.0, 2.0**-900), (0.0, 2.0**-1000),
                                  (0.0, 1e-310), (0.0, 1.7e308), (1.0, 2.0), (-3.0, -1.0),
                                  (5e-324, 1.0), (-2.0**-1022, 1.0)])
def test_uniform_scales_the_canonical_draw_above_a(a, b):
    lo = math.nextafter(a, b)
    expected = [(b - lo) * u + lo for u in native.canonical_draws(7, 300)]
    assert d.runif(a, b, 300, Engine(7)).tolist() == expected


# Shapes below 1 boost (twice where 1 + k rounds to 1); near 1 the cube bound rejects.
@pytest.mark.parametrize("shape, scale", [(0.0, 1.0), (1e-20, 2.0), (0.3, 1.0), (1.0, 1.0),
                                          (1.05, 0.5), (2.5, 3.0), (40.0, 1.0), (0.4, INF)])
def test_gamma_stream_follows_marsaglia_tsang_with_boost(shape, scale):
    a, b = Engine(23), Engine(23)
    got = d.rgamma(shape, scale, size=200, engine=a)
    assert np.array_equal(got, [reference_gamma(shape, scale, b) for _ in range(200)], equal_nan=True)
    assert uniform(a) == uniform(b)


# Each composed sampler against its building blocks drawn in the stated order from a twin.
@pytest.mark.parametrize("draw, twin", [
    (lambda e: d.rchisq(3.0, e), lambda e: d.rgamma(1.5, 2.0, e)),
    (lambda e: d.rinvgamma(2.0, 4.0, e), lambda e: 1 / d.rgamma(2.0, 0.25, e)),
    (lambda e: d.rbeta(2.0, 3.0, e),
     lambda e: (lambda x, y: x / (y + x))(d.rgamma(2.0, 1.0, e), d.rgamma(3.0, 1.0, e))),
    (lambda e: d.rf(3.0, 5.0, e),
     lambda e: (lambda x, y: ((5.0 / 3.0) * x) / y)(d.rgamma(1.5, 2.0, e), d.rgamma(2.5, 2.0, e))),
    (lambda e: d.rt(3.0, e),
     lambda e: (lambda z, w: z / math.sqrt(w / 3.0))(d.rnorm(engine=e), d.rgamma(1.5, 2.0, e))),
    # Infinite degrees of freedom: the chi-squared over them is 1, and nothing is drawn for it.
    (lambda e: d.rt(INF, e), lambda e: d.rnorm(engine=e)),
    (lambda e: d.rf(3.0, INF, e), lambda e: d.rchisq(3.0, e) / 3.0),
    (lambda e: d.rf(INF, 5.0, e), lambda e: 5.0 / d.rchisq(5.0, e)),
    (lambda e: d.rcauchy(1.0, 2.0, e), lambda e: d.qcauchy(uniform(e), 1.0, 2.0)),
    (lambda e: d.rlaplace(1.0, 2.0, e), lambda e: d.qlaplace(uniform(e), 1.0, 2.0)),
    (lambda e: d.rlogis(1.0, 2.0, e), lambda e: d.qlogis(uniform(e), 1.0, 2.0)),
    (lambda e: d.rweibull(1.5, 2.0, e), lambda e: d.qweibull(uniform(e), 1.5, 2.0)),
])
def test_composed_samplers_draw_their_parts_in_order(draw, twin):
    a, b = Engine(29), Engine(29)
    assert [draw(a) for _ in range(50)] == [twin(b) for _ in range(50)]
    assert uniform(a) == uniform(b)


@pytest.mark.parametrize("draw, twin", [
    (lambda e: d.rlnorm(0.5, 2.0, e), lambda e: math.exp(d.rnorm(0.5, 2.0, e))),
    (lambda e: d.rexp(2.0, e), lambda e: -math.log(1 - uniform(e)) / 2.0),
])
def test_samplers_on_the_kernel_exp_and_log(draw, twin):
    a, b = Engine(31), Engine(31)
    np.testing.assert_allclose([draw(a) for _ in range(50)], [twin(b) for _ in range(50)], rtol=1e-13)
    assert uniform(a) == uniform(b)


SAMPLERS = {  # name: (valid parameters, parameter sets rejected before any draw)
    "runif": ((0.0, 1.0), [(1.0, 1.0), (2.0, 1.0)]),
    "rnorm": ((0.0, 1.0), [(0.0, -1.0)]),
    "rlnorm": ((0.0, 1.0), [(0.0, -1.0)]),
    "rexp": ((1.0,), [(-1.0,)]),
    "rgamma": ((2.0, 1.0), [(-1.0, 1.0), (2.0, 1e-17)]),
    "rchisq": ((3.0,), [(-1.0,)]),
    "rinvgamma": ((2.0, 1.0), [(-1.0, 1.0), (2.0, -1.0), (2.0, 1e17), (2.0, INF)]),
    "rbeta": ((2.0, 3.0), [(-1.0, 3.0), (2.0, -1.0)]),
    "rf": ((3.0, 5.0), [(1e-17, 1.0), (1.0, 0.0)]),
    "rt": ((3.0,), [(0.0,)]),
    "rcauchy": ((0.0, 1.0), [(0.0, -1.0)]),
    "rlaplace": ((0.0, 1.0), [(0.0, -1.0)]),
    "rlogis": ((0.0, 1.0), [(0.0, -1.0)]),
    "rweibull": ((2.0, 1.0), [(1e-17, 1.0), (2.0, 0.0)]),
}
REJECTED = [(name, params) for name, (valid, bad) in SAMPLERS.items()
            for params in bad + [valid[:i] + (NAN,) + valid[i + 1:] for i in range(len(valid))]]


@pytest.mark.parametrize("name, params", REJECTED)
def test_rejected_parameters_give_nan_and_draw_nothing(name, params):
    assert consumed(lambda e: (np.isnan(getattr(d, name)(*params, e)) or pytest.fail())) == 0


@pytest.mark.parametrize("name", SAMPLERS)
def test_array_equals_scalar_draws_and_leaves_the_same_state(name):
    params, a, b = SAMPLERS[name][0], Engine(37), Engine(37)
    out = getattr(d, name)(*params, [4, 5], a)
    assert out.ravel().tolist() == [getattr(d, name)(*params, b) for _ in range(20)]
    assert uniform(a) == uniform(b)


@pytest.mark.parametrize("draw, value, outputs", [
    (lambda e: d.rcauchy(0.0, INF, e), NAN, 1), (lambda e: d.rcauchy(3.0, 0.0, e), 3.0, 1),
    (lambda e: d.rlaplace(0.0, INF, e), NAN, 1), (lambda e: d.rlaplace(3.0, 0.0, e), 3.0, 1),
    (lambda e: d.rlogis(0.0, INF, e), NAN, 1), (lambda e: d.rlogis(3.0, -0.0, e), 3.0, 1),
    (lambda e: d.rweibull(INF, 2.0, e), 2.0, 1),
    (lambda e: d.rnorm(5.0, 0.0, e), 5.0, 4),
    # Mended: an infinite shape is its limit, drawn from nothing; the finite parts still
    # draw in order (the limits of the quantiles: mass at +inf, 0, 1 or 0.5).
    (lambda e: d.rgamma(INF, 3.0, e), INF, 0), (lambda e: d.rchisq(INF, e), INF, 0),
    (lambda e: d.rinvgamma(INF, 2.0, e), 0.0, 0),
    (lambda e: d.rbeta(INF, 2.0, e), 1.0, consumed(lambda e: d.rgamma(2.0, 1.0, e))),
    (lambda e: d.rbeta(2.0, INF, e), 0.0, consumed(lambda e: d.rgamma(2.0, 1.0, e))),
    (lambda e: d.rbeta(INF, 0.0, e), 1.0, consumed(lambda e: d.rgamma(0.0, 1.0, e))),
    (lambda e: d.rbeta(INF, INF, e), 0.5, 0), (lambda e: d.rf(INF, INF, e), 1.0, 0),
    # Mended: a power that underflowed times a core beyond DBL_MAX (0 * inf) is +inf for
    # an infinite scale and 0 for shape 0.
    (lambda e: d.rgamma(0.001, INF, e), INF, consumed(lambda e: d.rgamma(0.001, 1.0, e))),
    (lambda e: d.rinvgamma(0.001, 0.0, e), 0.0, consumed(lambda e: d.rgamma(0.001, 1.0, e))),
    (lambda e: d.rinvgamma(5e-324, 0.0, e), 0.0, consumed(lambda e: d.rgamma(0.0, 1.0, e))),
    (lambda e: d.rgamma(0.0, DBL_MAX, e), 0.0, consumed(lambda e: d.rgamma(0.0, 1.0, e))),
    # Mended: -0.0 acts as +0.0 (shape 0 gives 0; scale 0 of rinvgamma is a valid limit).
    (lambda e: d.rgamma(-0.0, 1.0, e), 0.0, consumed(lambda e: d.rgamma(0.0, 1.0, e))),
    (lambda e: d.rchisq(-0.0, e), 0.0, consumed(lambda e: d.rchisq(0.0, e))),
    (lambda e: d.rinvgamma(2.0, -0.0, e), 0.0, consumed(lambda e: d.rinvgamma(2.0, 0.0, e))),
    (lambda e: d.rexp(-0.0, e), INF, 1),
    # Mended: an infinite lower bound gives NaN, not finite values from -DBL_MAX.
    (lambda e: d.runif(-INF, 0.0, e), NAN, 1), (lambda e: d.runif(-INF, INF, e), NAN, 1),
    (lambda e: d.runif(0.0, INF, e), INF, 1),
])
def test_degenerate_parameters_and_their_outputs(draw, value, outputs):
    got = [None]
    assert consumed(lambda e: got.__setitem__(0, draw(e))) == outputs
    assert got[0] == value or (math.isnan(value) and math.isnan(got[0]))
    assert not math.copysign(1.0, got[0]) < 0 or value != 0


@pytest.mark.parametrize("name, params, reference", [
    ("runif", (-2.0, 3.0), st.uniform(-2.0, 5.0)),
    ("rnorm", (1.0, 2.0), st.norm(1.0, 2.0)),
    ("rlnorm", (0.5, 0.8), st.lognorm(0.8, scale=math.exp(0.5))),
    ("rexp", (2.0,), st.expon(scale=0.5)),
    ("rgamma", (0.3, 2.0), st.gamma(0.3, scale=2.0)),
    ("rgamma", (4.5, 0.5), st.gamma(4.5, scale=0.5)),
    ("rchisq", (3.0,), st.chi2(3.0)),
    ("rinvgamma", (3.0, 2.0), st.invgamma(3.0, scale=2.0)),
    ("rbeta", (0.7, 3.0), st.beta(0.7, 3.0)),
    ("rf", (4.0, 7.0), st.f(4.0, 7.0)),
    ("rt", (2.5,), st.t(2.5)),
    ("rt", (INF,), st.norm()),
    ("rf", (4.0, INF), st.chi2(4.0, scale=1 / 4.0)),
    ("rf", (INF, 7.0), st.invgamma(3.5, scale=3.5)),
    ("rcauchy", (1.0, 2.0), st.cauchy(1.0, 2.0)),
    ("rlaplace", (1.0, 2.0), st.laplace(1.0, 2.0)),
    ("rlogis", (1.0, 2.0), st.logistic(1.0, 2.0)),
    ("rweibull", (1.5, 2.0), st.weibull_min(1.5, scale=2.0)),
])
def test_goodness_of_fit(name, params, reference):
    sample = getattr(d, name)(*params, 4000, Engine(2024))
    assert st.kstest(sample, reference.cdf).pvalue > 1e-3


# Mended: where the plain ratio is NaN (both draws underflowed to 0), or a sum, product
# or quotient of the draws overflows, the ratio comes from the draws' logarithms; every
# other draw, and the stream, stay those of the plain formula.
@pytest.mark.parametrize("name, params, reference", [
    ("rbeta", (0.001, 0.001), reference_beta), ("rbeta", (1e-300, 1e-300), reference_beta),
    ("rbeta", (0.004, 0.02), reference_beta), ("rbeta", (1e-5, 3.0), reference_beta),
    ("rbeta", (1e308, 1e308), reference_beta), ("rbeta", (0.5, 2.0), reference_beta),
    ("rf", (0.001, 0.001), reference_f), ("rf", (0.003, 0.0004), reference_f),
    ("rf", (1.0, DBL_MAX), reference_f), ("rf", (1e300, 1e-10), reference_f),
])
def test_ratios_of_underflowing_gamma_draws(name, params, reference):
    a, b = Engine(41), Engine(41)
    draws = getattr(d, name)(*params, 3000, a)
    assert draws.tolist() == [reference(*params, b) for _ in range(3000)]
    assert uniform(a) == uniform(b)


# Mended: where the core of a boosted draw times a scale near DBL_MAX overflows, the value
# comes from the logarithms: the same draws as for scale 1, scaled, and +inf only beyond.
def test_boosted_gamma_draws_near_the_largest_double():
    unit = d.rgamma(0.5, 1.0, 4000, Engine(47))
    scaled = d.rgamma(0.5, DBL_MAX, 4000, Engine(47)) / DBL_MAX
    np.testing.assert_allclose(scaled[unit < 0.99], unit[unit < 0.99], rtol=1e-12)
    assert np.isinf(scaled[unit > 1.01]).all()


# Shapes so small that ln(u)/k overflows: only the side is left, 1 with probability
# a / (a + b) as in the limit; a shape of 0 puts all the mass at 0, two of them give NaN.
@pytest.mark.parametrize("a, b", [(5e-324, 5e-324), (2e-320, 1e-320), (1e-310, 4e-310),
                                  (0.0, 1e-320), (1e-320, 0.0), (0.0, 0.001)])
def test_beta_draws_of_vanishing_shapes(a, b):
    draws = d.rbeta(a, b, 1000, Engine(43))
    assert set(draws.tolist()) <= {0.0, 1.0} and abs(draws.mean() - a / (a + b)) < 0.05
    assert np.isnan(d.rbeta(0.0, 0.0, 50, Engine(43))).all()
