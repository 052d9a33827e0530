"""Module-level behaviour: registration, argument handling and array calling."""
import glob
import json
import math
import os
import re
import shutil
import subprocess
import sys

import numpy as np
import pytest

import distrova

FAMILIES = ["norm", "bern", "beta", "binom", "cauchy", "chisq", "exp", "f", "gamma",
            "invgamma", "laplace", "lnorm", "logis", "pois", "t", "unif", "weibull"]
BLOCKS = ["d", "Engine", "r", "p", "q"]


def registration_key(name):
    if name == "Engine":
        return (BLOCKS.index("Engine"), 0)
    return (BLOCKS.index(name[0]), FAMILIES.index(name[1:]))


def public_names():
    return [n for n in vars(distrova) if not n.startswith("__")]


def test_attributes_are_registered_in_block_and_table_order():
    names = public_names()
    assert "Engine" in names
    assert all(n == "Engine" or (n[0] in "dpqr" and n[1:] in FAMILIES) for n in names)
    assert names == sorted(names, key=registration_key)


def test_the_module_has_its_68_functions_and_engine_in_registration_order():
    expected = ([f"d{f}" for f in FAMILIES] + ["Engine"] + [f"r{f}" for f in FAMILIES]
                + [f"p{f}" for f in FAMILIES] + [f"q{f}" for f in FAMILIES])
    assert public_names() == expected
    assert len([n for n in dir(distrova) if not n.startswith("_")]) == 69


def test_each_family_has_matching_d_and_p_functions():
    names = set(public_names())
    for family in FAMILIES:
        assert (f"d{family}" in names) == (f"p{family}" in names) == (f"q{family}" in names)


def test_docstring():
    assert distrova.__doc__ == "pybind11 wrapper for veltrane/distrova"


def run_python(code):
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env=os.environ.copy(), check=True).stdout.strip()


def test_import_and_scalar_draws_do_not_load_numpy():
    out = run_python("import sys, distrova as d; d.rnorm(); a = 'numpy' in sys.modules; "
                     "d.dnorm(0.0); print(a, 'numpy' in sys.modules)")
    assert out == "False True"


def other_interpreters():
    # Every other CPython from 3.9 to 3.13 that pyenv has.
    found = []
    for minor in range(9, 14):
        for path in sorted(glob.glob(os.path.expanduser(f"~/.pyenv/versions/3.{minor}.*/bin/python3"))):
            if sys.version_info[:2] != (3, minor):
                found.append(path)
    return found


@pytest.mark.parametrize("interpreter", other_interpreters() or
                         [pytest.param(None, marks=pytest.mark.skip("no other interpreter"))])
def test_module_refuses_other_interpreter_versions(interpreter, tmp_path):
    # Other versions don't look for our file name, so offer the module under a plain name.
    shutil.copy(distrova.__file__, tmp_path / "distrova.so")
    code = ("import json, sys\nsys.path.insert(0, sys.argv[1])\n"
            "try:\n    import distrova\n    message = None\n"
            "except ImportError as e:\n    message = str(e)\n"
            "print(json.dumps([message, sys.version]))")
    out = subprocess.run([interpreter, "-c", code, str(tmp_path)], capture_output=True,
                         text=True, timeout=60, check=True).stdout
    message, version = json.loads(out)
    expected = (f"Python version mismatch: module was compiled for Python "
                f"{sys.version_info[0]}.{sys.version_info[1]}, but the interpreter version "
                f"is incompatible: {version}.")
    # Where the loader finds every interpreter function that the module calls, the binding
    # library's check refuses the interpreter; elsewhere the loader already has.
    assert message == expected or re.fullmatch(r"\S+/distrova\.so: undefined symbol: \w+", str(message))


class TestArguments:
    def test_normal_defaults(self):
        assert distrova.dnorm(0.3) == distrova.dnorm(0.3, 0.0, 1.0, False)
        assert distrova.pnorm(0.3) == distrova.pnorm(0.3, 0.0, 1.0, False)
        assert distrova.qnorm(0.3) == distrova.qnorm(0.3, 0.0, 1.0)

    def test_defaults_are_python_integers(self):
        signature = distrova.dnorm.__doc__
        assert re.search(r"mu: [^=]* = 0, sigma: [^=]* = 1, log: [^=]* = False\)", signature)

    def test_keywords(self):
        assert distrova.dnorm(x=1.0, sigma=2.0) == distrova.dnorm(1.0, 0.0, 2.0)
        assert distrova.pnorm(0.5, log_p=True) == distrova.pnorm(0.5, 0, 1, True)
        assert distrova.qnorm(p=0.25, mu=3) == distrova.qnorm(0.25, 3, 1)
        assert distrova.dlnorm(1.5, sigma=2, mu=0.5) == distrova.dlnorm(1.5, 0.5, 2)

    @pytest.mark.parametrize("call", [
        lambda: distrova.dcauchy(0.0),                 # parameters without defaults
        lambda: distrova.dlnorm(1.0, 0.0),
        lambda: distrova.qnorm(0.5, 0, 1, True),       # the quantiles' flags are keyword-only
        lambda: distrova.pnorm(0.5, 0, 1, False, True),
        lambda: distrova.pnorm(0.5, lower_tail=1),     # and take booleans only
        lambda: distrova.qnorm(0.5, log_p=np.array([0.0])),
        lambda: distrova.qgamma([0.5], 2, 1, lower_tail="yes"),
        lambda: distrova.dnorm(0.0, lg=True),          # unknown keyword
        lambda: distrova.dnorm(0.0, 0, 1, False, 1),   # too many arguments
        lambda: distrova.dnorm(),
        lambda: distrova.dnorm("abc"),
        lambda: distrova.pnorm([1.0, "x"]),
        lambda: distrova.qnorm(0.5, mu={}),
    ])
    def test_rejected_calls_raise_type_error(self, call):
        with pytest.raises(TypeError):
            call()


class TestArrayCalling:
    def test_scalars_and_zero_dimensional_arrays_give_float(self):
        for args in [(0.0,), (np.float64(0.0),), (np.array(0.0), np.array(0)), (0, 0, 1, True)]:
            assert type(distrova.dnorm(*args)) is float

    def test_sequences_give_new_float64_arrays(self):
        x = np.array([0.0, 1.0])
        out = distrova.dnorm(x)
        assert out.dtype == np.float64 and out.shape == (2,) and out is not x
        assert distrova.dnorm([0.0]).shape == (1,)
        assert distrova.pnorm(np.array([[0, 1]], dtype=np.int32)).dtype == np.float64

    def test_broadcasting_matches_scalar_calls(self):
        x = np.array([[-1.0], [0.0], [2.5]])
        mu = np.array([0.0, 0.5, 1.0, -3.0])
        out = distrova.pnorm(x, mu, 2.0)
        assert out.shape == (3, 4)
        expected = [[distrova.pnorm(float(a), float(m), 2.0) for m in mu] for a in x[:, 0]]
        assert out.tolist() == expected

    def test_incompatible_shapes(self):
        with pytest.raises(RuntimeError) as info:
            distrova.dnorm(np.zeros(3), np.zeros(4))
        assert str(info.value) == "pybind11::vectorize: incompatible size/dimension of inputs!"

    @pytest.mark.parametrize("x", [[], np.zeros((0, 3)), np.zeros((2, 0))])
    def test_empty_inputs(self, x):
        out = distrova.qnorm(x, [[0.0]])
        assert out.dtype == np.float64 and out.size == 0
        assert out.shape == np.broadcast(np.asarray(x), np.zeros((1, 1))).shape

    def test_flags_vary_per_element_and_cast_from_numbers(self):
        out = distrova.dnorm([0.0, 0.0, 0.0], log=[False, True, 2.5])
        assert out[0] == distrova.dnorm(0.0)
        assert out[1] == out[2] == distrova.dnorm(0.0, log=True)

    def test_tail_flags_broadcast_like_the_other_arguments(self):
        x, lower = np.array([[-1.0], [2.0]]), np.array([True, False, True])
        out = distrova.pgamma(np.abs(x), 2.0, 1.0, [False, True, False], lower_tail=lower)
        assert out.tolist() == [[distrova.pgamma(abs(float(v)), 2.0, 1.0, bool(f), lower_tail=bool(t))
                                 for f, t in zip([False, True, False], lower)] for v in x[:, 0]]
        assert distrova.qnorm([0.25], lower_tail=np.True_)[0] == distrova.qnorm(0.25)

    @pytest.mark.parametrize("call", [
        lambda v: distrova.dbinom(2, v, 0.5), lambda v: distrova.dbinom(v, 9, 0.5),
        lambda v: distrova.pbinom(v, 9, 0.5), lambda v: distrova.qbinom(0.5, v, 0.5),
        lambda v: distrova.dpois(v, 3.0), lambda v: distrova.ppois(v, 3.0, lower_tail=False),
        lambda v: distrova.dbern(v, 0.3), lambda v: distrova.pbern(v, 0.3),
    ])
    def test_counts_that_are_not_whole_give_nan(self, call):
        assert math.isnan(call(4.7)) and math.isnan(call(np.array([-0.5]))[0])
        assert call(4.0) == call(4) == call(np.array([4], dtype=np.int64))[0]

    def test_integer_and_strided_inputs(self):
        x = np.arange(12, dtype=np.int64).reshape(3, 4)[:, ::2]
        assert distrova.pnorm(x, 5, 3).tolist() == [
            [distrova.pnorm(float(v), 5.0, 3.0) for v in row] for row in x]
        x32 = np.array([0.25, -1.5], dtype=np.float32)
        assert distrova.dnorm(x32).tolist() == [distrova.dnorm(float(v)) for v in x32]

    def test_nan_stays_in_its_elements(self):
        out = distrova.dnorm([[0.0, math.nan, 1.0]], [[0.0], [math.nan]])
        assert np.isnan(out).tolist() == [[False, True, False], [True, True, True]]
        assert out[0, 0] == distrova.dnorm(0.0) and out[0, 2] == distrova.dnorm(1.0)

    def test_input_is_left_unchanged(self):
        x = np.array([0.1, 0.2, 0.3])
        distrova.qnorm(x, 1.0, 2.0)
        assert x.tolist() == [0.1, 0.2, 0.3]


class Unconvertible:
    def __float__(self):
        raise RuntimeError("no float")

    def __array__(self, *args, **kwargs):
        raise ValueError("no array")


NOT_ARRAYS = [[[1.0, 2.0], [3.0]], Unconvertible()]
NOT_REALS = [object(), {}, np.array(["a"]), [1 + 2j], "abc"]  # a flag takes these by truth


@pytest.mark.parametrize("position, value",
                         [(p, v) for p in range(3) for v in NOT_ARRAYS + NOT_REALS]
                         + [(3, v) for v in NOT_ARRAYS])
def test_odd_objects_in_any_argument_raise_type_error(position, value):
    args = [0.5, 0.0, 1.0, False]
    args[position] = value
    with pytest.raises(TypeError):
        distrova.pnorm(*args)


def test_result_too_large_to_allocate_raises_numpy_memory_error():
    with pytest.raises(MemoryError):
        distrova.dnorm(np.zeros((10**6, 1)), np.zeros(10**6))
