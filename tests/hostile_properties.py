"""Properties of every d, p, q and r function of the module over hostile arguments.

The functions are found in the module itself and their arguments read from the
signatures it generates; the tables below only say what kind of value each argument name
takes and where each family's draws lie. Each property is checked over every combination
of a few corner values per argument, then over Hypothesis examples that mix hostile and
ordinary values. test_properties.py runs this file in a subprocess with a time limit, so
that a hang fails instead of blocking; `pytest tests/hostile_properties.py` runs it here.
"""
import functools
import itertools
import math
import re
import sys
import time
from fractions import Fraction

import numpy as np
import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import distrova as d
from distrova import Engine
from docstring_signatures import is_count, overloads, positionally

settings.register_profile("hostile", derandomize=True, database=None, deadline=None,
                          max_examples=30, print_blob=False,
                          suppress_health_check=[HealthCheck.too_slow, HealthCheck.filter_too_much])
settings.load_profile("hostile")
pytestmark = pytest.mark.filterwarnings("ignore")  # NumPy's casts of odd values warn

INF, NAN = math.inf, math.nan
EPS, DBL_MAX, DBL_MIN = 2.220446049250313e-16, sys.float_info.max, sys.float_info.min
CALL_SECONDS = 2.0  # far above any bounded call, far below a hang
# The slowest element known (a beta quantile far out at a tiny and a huge shape, solved on
# tails integrated outwards) takes 0.1 s, three times that under the sanitizers: an
# array's bound grows with its elements.
ELEMENT_SECONDS = 2e-2

# ---- what the module has -------------------------------------------------------------

FUNCTIONS = sorted(n for n in dir(d) if re.fullmatch(r"[dpqr][a-z]+", n))
D, P, Q, R = ([n for n in FUNCTIONS if n[0] == k] for k in "dpqr")


@functools.lru_cache(maxsize=None)
def arguments(name):
    """[(argument name, 'real' | 'integer' | 'flag')] of the function (the scalar overload
    of an r function), the engine left out."""
    def element(arg, annotation):
        if "bool" in annotation:
            return "flag"
        if "SupportsInt" in annotation and "Float" not in annotation:
            return "integer"
        return "integer" if is_count(name, arg) else "real"
    params, _ = overloads(name)[0]
    return tuple((arg, element(arg, annotation)) for arg, annotation, _ in params if arg != "engine")


def real_positions(name):
    return [i for i, (_, element) in enumerate(arguments(name)) if element == "real"]


# ---- the values each kind of argument takes ------------------------------------------

KINDS = {"x": "point", "p": "probability", "prob": "probability", "mu": "location",
         "sigma": "scale", "scale": "scale", "rate": "scale", "a": "shape", "b": "shape",
         "shape": "shape", "dof": "shape", "df1": "shape", "df2": "shape"}
CORNER_REALS = [NAN, INF, -INF, 0.0, -0.0, 5e-324, 1e-310, 1e-17, EPS, 0.5, 1.0, 2.5,
                1e300, DBL_MAX, -1.0, -DBL_MAX, 2.0**63]
CORNER_COUNTS = [-2**63, -1, 0, 1, 2, 5, 2**62, 2**63 - 1]
HOSTILE_REALS = CORNER_REALS + [-5e-324, DBL_MIN, -2.0**63, 9.223372036854775e18, -1e300]
HOSTILE_COUNTS = CORNER_COUNTS + [-2**63 + 1, 2**63 - 2]
ORDINARY = {"point": st.floats(-30, 30), "probability": st.floats(0, 1),
            "location": st.floats(-10, 10), "scale": st.floats(0, 10),
            "shape": st.floats(0, 50) | st.floats(1e-4, 1e-1)}


def kind(arg, element):
    return {"flag": "flag", "integer": "count"}.get(element) or KINDS[arg]


def corners(kind_name):
    return {"flag": [False, True], "count": CORNER_COUNTS}.get(kind_name, CORNER_REALS)


def values(kind_name):
    if kind_name == "flag":
        return st.booleans()
    if kind_name == "count":
        return st.sampled_from(HOSTILE_COUNTS) | st.integers(-3, 60)
    return st.sampled_from(HOSTILE_REALS) | ORDINARY[kind_name]


# Work that is linear in a count (a sum or search over counts, one output
# per trial) is kept affordable here; beyond it such calls are slow but interruptible.
AFFORDABLE = 10**4
LINEAR_WORK = {"pbinom": lambda x, n, *_: min(x, n) if 0 <= x < n else 0,
               "qbinom": lambda p, n, prob, lower_tail=True, log_p=False:
                   n if 0 < (math.exp(p) if log_p and p <= 0 else p) < 1 else 0,
               "rbinom": lambda n, *_: n}


def affordable(name, row):
    return name not in LINEAR_WORK or LINEAR_WORK[name](*row) <= AFFORDABLE


@functools.lru_cache(maxsize=None)
def corner_rows(name, skip=0):
    """Every combination of the corner values of the arguments (after the first `skip`)."""
    pools = [corners(kind(arg, element)) for arg, element in arguments(name)[skip:]]
    padding = (0.5,) * skip  # a probability inside (0, 1) stands for a skipped p
    return [row for row in itertools.product(*pools) if affordable(name, padding + row)]


@functools.lru_cache(maxsize=None)
def example_rows(name, skip=0):
    """Hypothesis rows of hostile and ordinary values (lists of up to six)."""
    row = st.tuples(*(values(kind(arg, element)) for arg, element in arguments(name)[skip:]))
    padding = (0.5,) * skip
    return st.lists(row.filter(lambda r: affordable(name, padding + r)), min_size=1, max_size=6)


def over_corners_and_examples(name, check, skip=0):
    """check(rows) over all corner rows at once, then over Hypothesis examples."""
    check(corner_rows(name, skip))
    given(example_rows(name, skip))(check)()


def elements(args):
    try:
        return np.broadcast(*(np.asarray(a, dtype=object) for a in args)).size if args else 1
    except ValueError:  # the ragged and unbroadcastable arguments of the binding tests
        return 1


def call(function, *args, **kwargs):
    start = time.perf_counter()
    try:
        return positionally(function)(*args, **kwargs)
    finally:
        elapsed = time.perf_counter() - start
        if elapsed > CALL_SECONDS + ELEMENT_SECONDS * elements(args):
            pytest.fail(f"{function.__name__}{args[:4]} took {elapsed:.1f} s")


def evaluate(name, rows):
    """The function at each row: one scalar call for a single row, else one array call."""
    if len(rows) == 1:
        return np.array([call(getattr(d, name), *rows[0])])
    return call(getattr(d, name), *(np.array(column) for column in zip(*rows)))


def same(a, b):
    return np.array_equal(np.asarray(a, dtype=float), np.asarray(b, dtype=float), equal_nan=True)


def test_every_function_and_argument_is_known():
    assert FUNCTIONS and len(D) == len(P) == len(Q)
    for name in FUNCTIONS:
        for arg, element in arguments(name):
            kind(arg, element)  # a KeyError names an argument the tables do not know


# ---- every function ------------------------------------------------------------------

ODD_OBJECTS = ["1.5", b"x", None, 1 + 2j, object(), [], [0.5, 2.0], [[0.5], [2.0]], [1, [2]],
               np.array([]), np.zeros((3, 1)), np.arange(4.0), np.float32(0.5), np.int8(3),
               np.array([True, False]), np.array(["a"]), np.array([1, None], dtype=object),
               2**64, 2**100, -2**100, True, Fraction(1, 3), np.datetime64("2020-01-01"),
               np.array(0.5, dtype=np.longdouble), {"a": 1}]
SIZES = [0, 1, 5, [], [2, 3], [2, 0], (3,), np.array([2, 2]), True, -1, 2.0, "ab", b"ab",
         None, [-1], [1.5], 2**63, 2**64 - 1, 2**64, [2**62], [2**32, 2**32], [0, 2**63]]


@pytest.mark.parametrize("name", FUNCTIONS)
@given(data=st.data())
def test_a_value_or_a_binding_error(name, data):
    """Any arguments give a float or a float64 array, or the binding library's TypeError,
    its RuntimeError for shapes that do not broadcast, NumPy's errors for impossible sizes."""
    args = list(data.draw(example_rows(name))[0])
    for i in data.draw(st.sets(st.integers(0, len(args) - 1), max_size=2)):
        args[i] = data.draw(st.sampled_from(ODD_OBJECTS))
    allowed = (TypeError, RuntimeError)
    if name[0] == "r" and data.draw(st.booleans()):
        args.append(data.draw(st.sampled_from(SIZES)))
        allowed += (MemoryError, ValueError)
    if data.draw(st.booleans()):
        args.pop()  # one argument too few, or the size left out
    keywords = data.draw(st.sampled_from([{}, {}, {"engine": None}, {"bogus": 1}]))
    try:
        result = call(getattr(d, name), *args, **keywords)
    except allowed:
        return
    assert type(result) is float or (type(result) is np.ndarray and result.dtype == np.float64)


# ---- density, distribution and quantile functions ------------------------------------

@pytest.mark.parametrize("name", D + P + Q)
def test_nan_in_a_real_argument_gives_nan(name):
    def check(rows):
        with_nan = np.isnan(np.array(rows, dtype=float)[:, real_positions(name)]).any(axis=1)
        assert np.isnan(evaluate(name, rows)[with_nan]).all()
    over_corners_and_examples(name, check)


@pytest.mark.parametrize("name", D)
def test_densities_are_not_negative(name):
    def check(rows):
        rows = [row[:-1] + (False,) for row in rows]
        assert not (evaluate(name, rows) < 0).any()
    over_corners_and_examples(name, check)


# The continued fractions of the incomplete beta are not clamped: a rounding beyond the
# ends of [0, 1] is theirs to keep, anything more is a fault.
ROUNDING = 4 * EPS


@pytest.mark.parametrize("name", P)
def test_probabilities_lie_in_the_unit_interval(name):
    def check(rows):
        at = [arg for arg, _ in arguments(name)].index("log_p")
        values, log_p = evaluate(name, rows), np.array([row[at] for row in rows], dtype=bool)
        outside = np.where(log_p, values > ROUNDING, (values < -ROUNDING) | (values > 1 + ROUNDING))
        assert not outside.any(), [(row, v) for row, v, o in zip(rows, values, outside) if o][:5]
    over_corners_and_examples(name, check)


P_GRID = np.array([0.0, 5e-324, 1e-300, 1e-20, EPS / 4, EPS, 1e-10, 1e-3, 0.1, 0.3, 0.5, 0.7,
                   0.9, 0.999, 1 - 1e-10, 1 - EPS, 1 - 2.0**-53, 1.0])
OUTSIDE = np.array([-INF, -0.1, -5e-324, 1 + EPS, 1.1, INF])
OUTSIDE_LOG = np.array([5e-324, 0.1, 1.0, INF, INF, INF])  # no logarithm of a probability


@pytest.mark.parametrize("name", Q)
def test_quantiles_do_not_decrease_in_p_and_are_nan_outside_it(name):
    """In the lower tail q rises with p; in the upper one it falls; log_p changes neither."""
    def check(rows):
        params = [np.array(column)[:, None] for column in zip(*rows)]
        lower_tail, log_p = params[-2].astype(bool), params[-1].astype(bool)
        with np.errstate(divide="ignore"):
            grid = np.where(lower_tail, P_GRID[None, :], P_GRID[None, ::-1])
            grid = np.where(log_p, np.log(grid), grid)
        q = call(getattr(d, name), grid, *params)
        highest_before = np.maximum.accumulate(np.where(np.isnan(q), -INF, q), axis=1)[:, :-1]
        later = q[:, 1:]
        # The fixed-depth exponential is not monotone in its last bits (qlnorm with a
        # tiny sigma): a step down of a few units in the last place is its rounding.
        wobble = highest_before - later <= 4 * np.spacing(np.abs(later))
        assert (np.isnan(later) | (later >= highest_before) | wobble).all(), (rows, q)
        outside = np.where(log_p, OUTSIDE_LOG[None, :], OUTSIDE[None, :])
        assert np.isnan(call(getattr(d, name), outside, *params)).all()
    over_corners_and_examples(name, check, skip=1)


@pytest.mark.parametrize("name", D + P + Q)
def test_array_calls_equal_scalar_calls(name):
    def check(rows):
        rows = rows[::7] if len(rows) > 400 else rows
        scalars = [call(getattr(d, name), *row) for row in rows]
        assert same(call(getattr(d, name), *(np.array(c) for c in zip(*rows))), scalars)
    over_corners_and_examples(name, check)


# ---- random draws --------------------------------------------------------------------

# Where each family's draws lie, and the parameters (all finite) for which no draw is NaN.
LOCATION_SCALE = (lambda mu, sigma: (-INF, INF), lambda mu, sigma: sigma >= 0)
SUPPORT = {
    "norm": LOCATION_SCALE, "cauchy": LOCATION_SCALE, "laplace": LOCATION_SCALE, "logis": LOCATION_SCALE,
    "lnorm": (lambda mu, sigma: (0, INF), lambda mu, sigma: sigma >= 0),
    "unif": (lambda a, b: (a, b), lambda a, b: a < b),
    "exp": (lambda rate: (0, INF), lambda rate: rate >= 0),
    "gamma": (lambda shape, scale: (0, INF), lambda shape, scale: shape >= 0 and scale >= EPS),
    "chisq": (lambda dof: (0, INF), lambda dof: dof >= 0),
    "invgamma": (lambda shape, scale: (0, INF),
                 # shape 0 meets an inner scale 1/scale of +inf where it overflows
                 lambda shape, scale: shape >= 0 and 0 <= scale <= 1 / EPS and
                 (shape > 0 or scale > 1 / DBL_MAX)),
    "beta": (lambda a, b: (0, 1), lambda a, b: a >= 0 and b >= 0 and a + b > 0),
    "f": (lambda df1, df2: (0, INF), lambda df1, df2: min(df1, df2) >= EPS),
    "t": (lambda dof: (-INF, INF), lambda dof: dof >= EPS),
    "weibull": (lambda shape, scale: (0, INF), lambda shape, scale: min(shape, scale) >= EPS),
    "bern": (lambda prob: (0, 1), lambda prob: 0 <= prob <= 1),
    "binom": (lambda n, prob: (0, n), lambda n, prob: n >= 0 and 0 <= prob <= 1),
    # At huge rates the Poisson search may find no count whose probability exceeds u.
    "pois": (lambda rate: (0, INF), lambda rate: 0 <= rate <= 1e6),
}
COUNTING = {"bern", "binom", "pois"}


def test_every_family_has_a_support():
    assert {n[1:] for n in R} <= set(SUPPORT)


@pytest.mark.parametrize("name", R)
def test_draws_lie_in_the_support(name):
    bounds, regular = SUPPORT[name[1:]]

    def check(rows):
        for row in rows:
            draws = call(getattr(d, name), *row, 4, Engine(13))
            if all(-DBL_MAX <= v <= DBL_MAX for v in row) and regular(*row):
                assert not np.isnan(draws).any(), (row, draws)
            numbers = draws[~np.isnan(draws)]
            low, high = bounds(*row)
            assert ((numbers >= low) & (numbers <= high)).all(), (row, draws)
            assert name != "runif" or (numbers > low).all(), (row, draws)
            assert name[1:] not in COUNTING or (numbers[np.isfinite(numbers)] % 1 == 0).all()
    over_corners_and_examples(name, check)


@pytest.mark.parametrize("name", R)
def test_array_draws_equal_scalar_draws(name):
    def check(rows):
        for row in rows:
            a, b = Engine(7), Engine(7)
            draws = call(getattr(d, name), *row, [2, 2], a)
            assert same(draws.ravel(), [call(getattr(d, name), *row, b) for _ in range(4)]), row
            assert d.runif(0.0, 1.0, engine=a) == d.runif(0.0, 1.0, engine=b), row
    over_corners_and_examples(name, check)


@pytest.mark.parametrize("name", R)
def test_nan_parameters_consume_nothing(name):
    untouched = d.runif(0.0, 1.0, engine=Engine(11))

    def check(rows):
        for row in rows:
            for i in real_positions(name):
                engine = Engine(11)
                assert math.isnan(call(getattr(d, name), *row[:i], NAN, *row[i + 1:], engine))
                assert d.runif(0.0, 1.0, engine=engine) == untouched, row
    over_corners_and_examples(name, check)
