"""Kernels and distribution functions evaluated a group of lanes at a time: every lane
bit for bit the scalar function, over millions of values and the special ones."""
import math
import time

import numpy as np
import pytest

import _distrova_testing as native
import distrova
from docstring_signatures import positionally
from test_calling_paths import ELEMENTWISE, signature

pytestmark = pytest.mark.slow  # millions of elements through both paths

EPS = 2.0**-52
SPECIAL = np.array([0.0, -0.0, math.inf, -math.inf, math.nan, 5e-324, -5e-324, 2.2250738585072014e-308,
                    1.7976931348623157e308, -1.7976931348623157e308, EPS, -EPS, EPS / 2, 1e-17, 1e-4,
                    -1e-4, 0.5, 1.5, 1.0, -1.0, 2.0, -2.0, math.nextafter(2.0, 0), math.nextafter(-2.0, 0),
                    2.1, 2.0**63, -(2.0**63), 10.0, 18.0, -18.0, 709.78, -745.2, 1e300, -1e300])


def pool(rng, n):
    """Ordinary values, every magnitude of both signs, raw bit patterns (NaN payloads
    included) and the special values, shuffled together."""
    parts = [rng.normal(scale=3.0, size=n // 4),
             rng.choice([-1.0, 1.0], n // 4) * 10.0 ** rng.uniform(-320, 308, n // 4),
             rng.integers(0, 2**64, n // 8, dtype=np.uint64).view(np.float64),
             rng.choice(SPECIAL, n // 8)]
    values = np.concatenate(parts + [rng.uniform(-2.5, 2.5, n - sum(map(len, parts)))])
    rng.shuffle(values)
    return values


def extended_bits(values):
    """The ten bytes that hold an x87 extended value, without the padding."""
    return np.ascontiguousarray(values, dtype=np.longdouble).view(np.uint8).reshape(-1, 16)[:, :10].tobytes()


@pytest.mark.parametrize("lanes, scalar", [
    (native.lanes_exp, native.exp), (native.lanes_expm1, native.expm1), (native.lanes_log, native.log),
    (native.lanes_log_core, native.log_core), (native.lanes_tanh, native.tanh),
])
def test_double_kernels(lanes, scalar):
    x = pool(np.random.default_rng(11), 1_000_000)
    assert lanes(x).tobytes() == scalar(x).tobytes()


def test_power():
    rng = np.random.default_rng(12)
    a, b = np.abs(pool(rng, 1_000_000)), pool(rng, 1_000_000)
    a[::3] = rng.uniform(0, 3, a[::3].size)
    b[::3] = rng.uniform(-4, 4, b[::3].size)
    assert native.lanes_pow(a, b).tobytes() == native.pow(a, b).tobytes()


@pytest.mark.parametrize("lanes, scalar", [
    (native.lanes_exp_ext, native.each_exp_ext), (native.lanes_erf_piece_ext, native.each_erf_piece_ext),
])
def test_extended_kernels(lanes, scalar):
    x = pool(np.random.default_rng(13), 400_000)
    if lanes is native.lanes_erf_piece_ext:
        x = np.abs(x)
    assert extended_bits(lanes(x)) == extended_bits(scalar(x))


@pytest.mark.parametrize("unit", native.vector_units())
@pytest.mark.parametrize("wide, scalar", [(native.wide_exp, native.exp), (native.wide_log, native.log)])
def test_fifty_lanes_on_every_vector_unit(wide, scalar, unit):
    x = pool(np.random.default_rng(15), 500_000)
    assert wide(unit, x).tobytes() == scalar(x).tobytes()


def test_quadrature_sum():
    """Windows as the quadrature forms them, and wild ones."""
    rng = np.random.default_rng(16)
    n = 30_000
    a = np.where(rng.random(n) < 0.5, rng.uniform(10, 1000, n), 10.0 ** rng.uniform(1, 10, n))
    x = a * rng.uniform(0, 3, n)
    lower, upper = np.maximum(np.minimum(x, a) - 9 * np.sqrt(a), 0), np.minimum(x, a + 8 * np.sqrt(a))
    wild = rng.random((3, n)) < 0.2
    a, lower, upper = (np.where(w, pool(rng, n), v) for w, v in zip(wild, (a, lower, upper)))
    # Windows the quadrature never forms give NaN, whose sign follows the order in which
    # the compiler takes the operands of a product.
    same_nan = lambda v: np.where(np.isnan(v), np.nan, v).tobytes()  # noqa: E731
    assert (same_nan(native.gamma_quadrature_sum(a, lower, upper))
            == same_nan(native.gamma_quadrature_sum_one_by_one(a, lower, upper)))


def arguments(name, rng, n):
    """Arrays for every argument: half ordinary values for the kind, half the wild pool."""
    arrays = []
    for position, (_, kind, _) in enumerate(signature(name)):
        if kind == "bool":
            arrays.append(rng.random(n) < 0.3)
            continue
        wild = pool(rng, n)
        ordinary = rng.normal(scale=3.0, size=n) if position == 0 else rng.uniform(0.05, 6.0, n)
        if name[0] == "q" and position == 0:
            ordinary = rng.uniform(0.0, 1.0, n)
        values = np.where(rng.random(n) < 0.5, ordinary, wild)
        if kind == "i64":
            # Counts stay moderate: the binomial search grows with n_trials.
            values = np.where(np.isfinite(values) & (np.abs(values) < 1e4), values, 3.0).astype(np.int64)
        arrays.append(values)
    return arrays


def arguments_sized_for(seconds, function, name, rng, probe, fewest, most):
    """arguments() for as many elements as `function` takes about `seconds` over (between
    `fewest` and `most`), judged from a timed call over `probe` elements."""
    sample = arguments(name, rng, probe)
    start = time.perf_counter()
    function(*sample)
    per_element = (time.perf_counter() - start) / probe
    return arguments(name, rng, int(min(most, max(fewest, seconds / per_element))))


@pytest.mark.parametrize("name", ELEMENTWISE)
def test_array_path_matches_the_scalar_function(name):
    """Sized to a fraction of a second: millions of elements for the quick functions."""
    f = positionally(getattr(distrova, name))
    rng = np.random.default_rng(sum(map(ord, name)))
    args = arguments_sized_for(0.15, f, name, rng, probe=2000, fewest=5000, most=2_000_000)
    assert f(*args).tobytes() == native.cxx_elementwise(name, tuple(args)).tobytes()
