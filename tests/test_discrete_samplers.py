"""Bernoulli and binomial draws: one open uniform per trial, in order."""
import math

import pytest

import _distrova_testing as native
import distrova as d
from distrova import Engine
from interrupting import leaves_on_ctrl_c

INF = math.inf


def test_bernoulli_draws_compare_open_uniforms_with_prob():
    u = native.open_unit_draws(11, 400)
    for prob in [0.0, 0.3, 0.5, 1.0, float(u[7])]:
        assert d.rbern(prob, 400, Engine(11)).tolist() == [1.0 if v <= prob else 0.0 for v in u]
    assert d.rbern(0.5, 3, Engine(1)).tolist() == [1.0, 1.0, 1.0]


@pytest.mark.parametrize("n_trials, prob", [(0, 0.3), (1, 0.3), (3, 0.5), (7, 0.9), (50, 1.0), (40, 0.0)])
def test_binomial_is_the_sum_of_bernoulli_draws(n_trials, prob):
    a, b = Engine(3), Engine(3)
    draws = d.rbinom(n_trials, prob, 30, a)
    assert draws.tolist() == [sum(d.rbern(prob, n_trials, b)) if n_trials else 0.0 for _ in range(30)]
    assert d.runif(0, 1, engine=a) == d.runif(0, 1, engine=b)


# NaN parameters are the property suite's (test_nan_parameters_consume_nothing).
@pytest.mark.parametrize("name, params", [
    ("rbern", (1.5,)), ("rbern", (-0.1,)), ("rbern", (INF,)), ("rbinom", (-1, 0.5)),
    ("rbinom", (5, -INF)), ("rbinom", (5, 1.5)), ("rpois", (-1.0,)), ("rpois", (-INF,)),
])
def test_invalid_parameters_give_nan_and_draw_nothing(name, params):
    a, b = Engine(9), Engine(9)
    assert math.isnan(getattr(d, name)(*params, a))
    assert d.runif(0, 1, engine=a) == d.runif(0, 1, engine=b)


# One open uniform per draw, inverted by the Poisson quantile's search; a rate below EPS
# gives 0 and an infinite rate +inf, each after its draw.
@pytest.mark.parametrize("rate", [0.0, 1e-17, 0.5, 4.0, 10.9, 11.0, 30.0, 1000.0, 1e7, INF])
def test_poisson_draws_invert_the_distribution_function_at_open_uniforms(rate):
    a, b = Engine(5), Engine(5)
    u = native.open_unit_draws(5, 301)
    draws = d.rpois(rate, 300, a)
    assert draws.tolist() == [0.0 if rate < 2.2e-16 else d.qpois(v, rate) for v in u[:300]]
    assert [d.rpois(rate, b) for _ in range(300)] == draws.tolist()
    assert d.runif(0, 1, engine=a) == d.runif(0, 1, engine=b) == u[300]
    if 2.2e-16 < rate < 11:  # searched upward from 0: the count whose step holds u
        assert all(d.ppois(int(k) - 1, rate) <= v < d.ppois(int(k), rate) for k, v in zip(draws, u))


def test_poisson_draws_from_seed_one():
    assert d.rpois(4, 5, Engine(1)).tolist() == [2.0, 2.0, 4.0, 1.0, 3.0]


def test_n_trials_rejects_floats():
    with pytest.raises(TypeError):
        d.rbinom(10.0, 0.5)
    assert type(d.rbinom(10, 0.5)) is float


def test_huge_binomial_draw_stops_on_ctrl_c():
    assert leaves_on_ctrl_c("distrova.rbinom(10**12, 0.5)", within=1.0)


# The engine continues after the last draw made, at a look for Ctrl-C (every 1024 draws):
# the uniforms drawn next are found once in a fresh engine's stream, at such a count.
FOUND_AT_A_LOOK = ("after = d.runif(0.0, 1.0, 8, e); stream = d.runif(0.0, 1.0, 4 * 10**6, d.Engine(7)); "
                   "at = [i for i in np.flatnonzero(stream == after[0]) if (stream[i:i + 8] == after).all()]; "
                   "assert len(at) == 1 and at[0] > 0 and at[0] % 1024 == 0, at")


def test_many_draws_stop_on_ctrl_c_after_the_draws_made():
    assert leaves_on_ctrl_c("d.rpois(1000.0, 10**7, e)", within=1.0, delay=1.0, then=FOUND_AT_A_LOOK,
                            setup="import numpy as np, distrova as d\ne = d.Engine(7)")
