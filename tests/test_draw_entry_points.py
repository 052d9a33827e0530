"""The Engine class and the scalar, shape and count overloads of the r functions."""
import subprocess
import sys
import threading

import numpy as np
import pytest

import distrova
from distrova import Engine


def next_uniform(engine):
    # runif(0, 1) returns the engine's next canonical draw unchanged: a probe of its state.
    return distrova.runif(0.0, 1.0, engine=engine)


def assert_same_state(a, b):
    assert [next_uniform(a) for _ in range(3)] == [next_uniform(b) for _ in range(3)]


class TestEngine:
    @pytest.mark.parametrize("args, kwargs", [
        ((2**31,), {}), ((-2**31 - 1,), {}), ((1.0,), {}), (("1",), {}), ((), {}),
        ((1, 2), {}), ((), {"seed": 1}),
    ])
    def test_rejected_seeds(self, args, kwargs):
        with pytest.raises(TypeError):
            Engine(*args, **kwargs)

    @pytest.mark.parametrize("seed", [0, -1, 2**31 - 1, -2**31])
    def test_seeds_across_the_32_bit_range_are_valid(self, seed):
        assert 0.0 <= next_uniform(Engine(seed)) < 1.0

    def test_same_seed_same_stream_and_engines_are_independent(self):
        a, b = Engine(5), Engine(5)
        first = distrova.rnorm(size=4, engine=a)
        distrova.rexp(2.0, size=100, engine=Engine(5))  # draws from a third engine
        assert distrova.rnorm(size=4, engine=b).tolist() == first.tolist()
        assert_same_state(a, b)

    def test_different_seeds_differ(self):
        assert next_uniform(Engine(1)) != next_uniform(Engine(2))


class TestOverloads:
    def test_scalar_overload(self):
        value = distrova.rnorm(engine=Engine(1))
        assert type(value) is float
        # A single positional argument is a parameter, never a size.
        assert distrova.rnorm(5, engine=Engine(1)) == value + 5.0
        assert type(distrova.rweibull(2, 3)) is float

    def test_count_overload(self):
        out = distrova.rnorm(0.0, 1.0, 5, Engine(1))
        assert out.dtype == np.float64 and out.shape == (5,)
        assert distrova.rnorm(size=np.int64(3)).shape == (3,)
        assert distrova.rexp(1.0, 10).shape == (10,)

    @pytest.mark.parametrize("size", [[2, 3], (2, 3), np.array([2, 3]), [np.uint8(2), 3]])
    def test_shape_overload_is_row_major_in_draw_order(self, size):
        out = distrova.runif(2.0, 5.0, size, Engine(3))
        engine = Engine(3)
        expected = [distrova.runif(2.0, 5.0, engine=engine) for _ in range(6)]
        assert out.shape == (2, 3) and out.flags.c_contiguous
        assert out.ravel().tolist() == expected

    def test_array_of_n_equals_n_scalar_draws_and_same_engine_state(self):
        a, b = Engine(11), Engine(11)
        out = distrova.rgamma(0.7, 2.0, size=[3, 4], engine=a)
        assert out.ravel().tolist() == [distrova.rgamma(0.7, 2.0, engine=b) for _ in range(12)]
        assert_same_state(a, b)

    @pytest.mark.parametrize("size, shape", [(0, (0,)), ([2, 0], (2, 0)), ([0], (0,))])
    def test_empty_results_draw_nothing(self, size, shape):
        engine = Engine(4)
        out = distrova.rnorm(size=size, engine=engine)
        assert out.shape == shape and out.dtype == np.float64
        assert_same_state(engine, Engine(4))

    def test_empty_shape_gives_one_draw_in_a_zero_dimensional_array(self):
        out = distrova.rnorm(size=[], engine=Engine(1))
        assert out.shape == () and out.dtype == np.float64
        assert out[()] == distrova.rnorm(engine=Engine(1))

    @pytest.mark.parametrize("size", [2**62, 2**64 - 1, [2**40, 2**40], [2**63], [3, 2**63 - 1],
                                      [0, 2**62, 2**62]])
    def test_sizes_too_large_raise_numpy_errors_without_drawing(self, size):
        engine = Engine(9)
        with pytest.raises((MemoryError, ValueError)):
            distrova.rnorm(size=size, engine=engine)
        assert_same_state(engine, Engine(9))

    @pytest.mark.parametrize("call", [
        lambda: distrova.rnorm(size=-1),
        lambda: distrova.rnorm(size=2.0),
        lambda: distrova.rnorm(size="ab"),
        lambda: distrova.rnorm(size=[2, -1]),
        lambda: distrova.rnorm(size=[2.0]),
        lambda: distrova.rnorm(size=2**64),
        lambda: distrova.rnorm(engine=None),
        lambda: distrova.rnorm(0.0, 1.0, 3, None),
        lambda: distrova.rnorm("a"),
        lambda: distrova.rcauchy(0.0),                 # parameters without defaults
        lambda: distrova.rexp(1.0, bogus=3),
        lambda: distrova.rnorm(0.0, 1.0, 3, Engine(1), 4),
    ])
    def test_rejected_calls_raise_type_error(self, call):
        with pytest.raises(TypeError):
            call()

    def test_integer_parameters_convert(self):
        assert distrova.rnorm(np.int64(2), 3, engine=Engine(1)) == \
            distrova.rnorm(2.0, 3.0, engine=Engine(1))

    @pytest.mark.parametrize("size", [None, 4, [2, 2]])
    def test_invalid_parameters_give_nan_without_raising(self, size):
        kwargs = {} if size is None else {"size": size}
        assert np.isnan(distrova.rnorm(0.0, -1.0, **kwargs)).all()


class TestDefaultEngine:
    def test_fresh_import_draws_from_an_engine_seeded_with_one(self):
        code = ("import distrova as d\n"
                "print(repr(d.rnorm()), repr(d.rnorm(engine=d.Engine(1))))\n"
                "print(repr(d.rnorm()) != repr(d.rnorm()))")
        out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                             check=True).stdout.split()
        assert out[0] == out[1] and out[2] == "True"

    def test_every_r_function_shares_the_default_stream(self):
        code = ("import distrova as d\n"
                "d.rexp(1.0, 3); print(repr(d.runif(0.0, 1.0)))\n"
                "e = d.Engine(1); d.rexp(1.0, 3, e); print(repr(d.runif(0.0, 1.0, engine=e)))")
        out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                             check=True).stdout.split()
        assert out[0] == out[1]


def test_threads_sharing_an_engine_lose_no_draws():
    engine, results = Engine(21), []

    def work():
        results.extend(distrova.runif(0.0, 1.0, 250, engine).tolist())

    threads = [threading.Thread(target=work) for _ in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert sorted(results) == sorted(distrova.runif(0.0, 1.0, 1000, Engine(21)).tolist())
