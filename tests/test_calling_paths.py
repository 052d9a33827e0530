"""The two paths of a d, p or q call: plain Python scalars answered directly, everything
else through arrays. Both must give the same results and the same errors."""
import math
import struct
import tracemalloc

import numpy as np
import pytest

import distrova
from docstring_signatures import is_count, keyword_only, overloads, positionally
from interrupting import leaves_on_ctrl_c

ELEMENT = {f"typing.Annotated[numpy.typing.ArrayLike, numpy.{t}]": kind
           for t, kind in [("float64", "f64"), ("int64", "i64"), ("bool", "bool")]}


def signature(name):
    """Argument names, element kinds ('f64', 'i64' for the counts, 'bool') and defaults of a
    d, p or q function."""
    (params, _), = overloads(name)
    return [(arg, "i64" if is_count(name, arg) else ELEMENT[annotation], default)
            for arg, annotation, default in params]


ELEMENTWISE = [n for n in vars(distrova) if n[0] in "dpq" and callable(getattr(distrova, n))]


# Twins of Python scalars that NumPy converts exactly like them but that are not of the
# exact types, so that a call made with them takes the array path. Their repr is the
# original's, so that error messages match too.
class FloatTwin(float):
    __repr__ = float.__repr__


class IntTwin(int):
    __repr__ = int.__repr__


class BoolTwin(int):
    def __repr__(self):
        return repr(bool(self))


TWINS = {bool: BoolTwin, int: IntTwin, float: FloatTwin}


def twin(v):
    return TWINS[type(v)](v) if type(v) in TWINS else v


SCALARS = [0.5, -0.0, 2.7, -2.7, 1e308, 5e-324, -1e-300, math.nan, math.inf, -math.inf,
           0, 1, -3, 10, 2**53 + 1, 2**63 - 1, 2**63, -2**63, -2**63 - 1, 2**64 + 3, 2**70 + 1,
           10**308, 10**400, -10**400, 2.0**63, -2.0**63, 9.3e18, 1e19, True, False]
OTHERS = [np.float64(0.25), np.int64(3), np.bool_(True), np.float32(0.5), np.array(0.5),
          np.array(2), np.array([0.5, 2.0]), [1.0], None, "abc", object(), 1j]


def outcome(call):
    try:
        r = call()
    except Exception as e:  # noqa: BLE001 - the exception is the outcome
        return type(e), str(e)
    if isinstance(r, float):
        return float, struct.pack("<d", r)
    return type(r), r.dtype, r.shape, r.tobytes()


def call_variants(name, rng):
    """Positional and keyword calls over many argument kinds, some of them malformed."""
    sig = signature(name)
    names = [a for a, _, _ in sig]
    required = sum(default is None for _, _, default in sig)
    for _ in range(150):
        kinds = SCALARS if rng.random() < 0.7 else SCALARS + OTHERS
        values = [kinds[i] for i in rng.integers(0, len(kinds), len(names))]
        given = int(rng.integers(required, len(names) + 1))
        split = int(rng.integers(0, given + 1))
        yield values[:split], dict(zip(names[split:given], values[split:given]))
    point = SCALARS[0]
    yield [], {}                                            # nothing given
    yield [point] * (len(names) + 1), {}                    # one too many
    yield [point], {"nonsense": 1.0}                        # unknown keyword
    yield [point], {names[0]: point}                        # given twice
    if required > 1:
        yield [point], {}                                   # a required argument missing
    yield [point] * required, {names[-1]: point, names[0]: point}


@pytest.mark.parametrize("name", ELEMENTWISE)
def test_scalar_calls_match_the_array_path(name):
    f = getattr(distrova, name)
    rng = np.random.default_rng(sum(map(ord, name)))
    for args, kwargs in call_variants(name, rng):
        direct = outcome(lambda: f(*args, **kwargs))
        # A keyword-only flag takes booleans only, so its bool stays: the other twins
        # already send the call through arrays.
        strict = keyword_only(name)
        through_arrays = outcome(lambda: f(*map(twin, args), **{
            k: v if k in strict and type(v) is bool else twin(v) for k, v in kwargs.items()}))
        assert direct == through_arrays, (name, args, kwargs)


@pytest.mark.parametrize("name", ELEMENTWISE)
def test_array_calls_broadcast_like_numpy_over_any_layout(name):
    """Random shapes, strides, orders and element types against one scalar call per element."""
    sig = signature(name)
    f = positionally(getattr(distrova, name))
    rng = np.random.default_rng(7 + sum(map(ord, name)))
    values = {"f64": [0.3, 2.5, -1.0, 0.0, 1e-300, math.inf, math.nan, 7.0, 0.99],
              "i64": [0, 1, 3, -2, 10], "bool": [False, True]}
    for _ in range(12):
        shape = tuple(int(s) for s in rng.integers(1, 5, int(rng.integers(1, 4))))
        args = []
        for position, (_, kind, _) in enumerate(sig):
            own = tuple(s if position == 0 or rng.random() < 0.6 else 1 for s in shape)
            own = own[int(rng.integers(0, len(own) + 1)) if position else 0:]
            big = np.asarray(rng.choice(values[kind], size=tuple(2 * s for s in own)))
            a = big[tuple(slice(None, None, int(rng.choice([2, -2]))) for _ in own)]  # strided views
            if rng.random() < 0.3:
                a = np.asfortranarray(a)
            if kind == "f64" and rng.random() < 0.3:
                a = a.astype(np.float32)
            args.append(a)
        out = f(*args)
        expected = np.broadcast_shapes(*(np.shape(a) for a in args))
        assert out.shape == expected and out.dtype == np.float64
        flat = [np.broadcast_to(a, expected).ravel() for a in args]
        reference = [f(*(x.item() for x in column)) for column in zip(*flat)]
        assert out.ravel().tobytes() == np.array(reference).tobytes()


@pytest.mark.parametrize("build", [
    lambda n: (np.linspace(-3, 3, n),),
    lambda n: (np.linspace(-3, 3, n)[::-1],),
    lambda n: (np.linspace(-3, 3, n)[:, None], np.linspace(0, 1, 3)[None, :]),
    lambda n: (np.linspace(-3, 3, 1000)[:, None], np.linspace(0, 1, n // 1000)[None, :]),
])
def test_only_the_result_is_allocated(build):
    args = build(600_000)
    tracemalloc.start()
    try:
        out = distrova.pnorm(*args)
        _, peak = tracemalloc.get_traced_memory()
    finally:
        tracemalloc.stop()
    assert out.nbytes <= peak <= out.nbytes + 64 * 1024


def test_fortran_inputs_give_a_fortran_result():
    x = np.asfortranarray(np.linspace(0.0, 1.0, 12).reshape(3, 4))
    out = distrova.qnorm(x, np.asfortranarray(np.ones((3, 4))))
    assert out.flags.f_contiguous and not out.flags.c_contiguous
    assert out.tolist() == distrova.qnorm(np.ascontiguousarray(x), 1.0).tolist()


def test_a_long_array_call_stops_at_ctrl_c():
    setup = "import numpy as np, distrova as d\nx = np.linspace(0.01, 0.99, 2000)[:, None]\nd.qnorm(x[:2], 0.0)"
    assert leaves_on_ctrl_c("d.qnorm(x, np.zeros((1, 4000)))", within=1.0, setup=setup)
