"""Fixed-count iterations that stop once their state repeats, against all the steps."""
import numpy as np
import pytest

import _distrova_full_count as full_count
import _distrova_testing as native
import distrova
from docstring_signatures import positionally
from test_calling_paths import ELEMENTWISE
from test_lockstep import arguments_sized_for


def orbit_end(count, start, increment, modulus):
    """The state after `count` steps and the step at which a state first came back."""
    seen = {start: 0}
    v, first_repeat = start, None
    for n in range(1, count + 1):
        v = (v * v + increment) % modulus
        if first_repeat is None and v in seen:
            first_repeat = n
        seen.setdefault(v, n)
    return v, first_repeat or count


@pytest.mark.parametrize("count", [6, 36, 55])
def test_cycles_of_any_period_end_where_all_steps_end(count):
    periods = set()
    for modulus in range(2, 400, 3):
        for increment in (1, 2, 5):
            for start in range(0, modulus, max(1, modulus // 7)):
                value, steps = native.iterate_square_map(count, start, increment, modulus)
                expected, first_repeat = orbit_end(count, start, increment, modulus)
                assert (value, steps) == (expected, first_repeat), (count, start, increment, modulus)
                periods.add(first_repeat)
    assert set(range(1, min(count, 20) + 1)) <= periods


def pool_in_open_interval(rng):
    """Probabilities spread over (-1, 1): uniform, near the ends, tiny and raw bit patterns."""
    sign = lambda n: rng.choice([-1.0, 1.0], n)  # noqa: E731
    near_one = 1 - 10.0 ** -rng.uniform(0.0, 15.6, 4000)
    tiny = 10.0 ** -rng.uniform(0.0, 320.0, 3000)
    raw = rng.integers(0, 0x3FF0000000000000, 3000).view(np.float64)
    special = np.array([0.0, -0.0, np.nan, 1 - 2**-52, -(1 - 2**-52), 5e-324, -5e-324, 0.5, -0.5])
    return np.concatenate([rng.uniform(-1, 1, 40000), near_one * sign(4000), tiny * sign(3000),
                           raw * sign(3000), special])


@pytest.mark.slow
def test_inverse_error_function_keeps_the_bits_of_all_55_steps():
    y = pool_in_open_interval(np.random.default_rng(55))
    early = native.erf_inv(y).tobytes()
    assert early == full_count.erf_inv(y).tobytes()
    assert early == native.lanes_erf_inv(y).tobytes()  # every lane with its own end


@pytest.mark.slow
@pytest.mark.parametrize("name", ELEMENTWISE)
def test_every_function_keeps_the_bits_of_the_full_count_build(name):
    """The quantiles behind the gamma, beta and t inverses above all; sized to a fraction
    of a second of the full-count build."""
    rng = np.random.default_rng(97 + sum(map(ord, name)))
    full = getattr(full_count, name)  # every argument positional
    args = arguments_sized_for(0.2, full, name, rng, probe=500, fewest=500, most=200_000)
    assert positionally(getattr(distrova, name))(*args).tobytes() == full(*args).tobytes()
