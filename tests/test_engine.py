"""The MT19937-64 engine and its two uniform draws, through the test-only bindings."""
import numpy as np
import pytest

import _distrova_testing as native

TOP = 1.0 - 2.0**-53


def expected_canonical(x):
    # Python rounds an int to the nearest double, ties to even: the reference conversion.
    return min(float(int(x)) * 2.0**-64, TOP)


def test_published_check_values():
    outputs = native.engine_outputs(5489, 10000)
    assert outputs[0] == 14514284786278117030
    assert outputs[9999] == 9981545732273789042
    assert native.engine_outputs(1, 3).tolist() == [2469588189546311528, 2516265689700432462,
                                                     8323445853463659930]


@pytest.mark.parametrize("seed, seed64", [
    (0, 0), (1, 1), (5489, 5489), (2**31 - 1, 2**31 - 1),
    (-1, 2**64 - 1), (-2**31, 2**64 - 2**31), (-7, 2**64 - 7),
])
def test_matches_the_standard_library_over_many_regenerations(seed, seed64):
    assert np.array_equal(native.engine_outputs(seed, 3000),
                          native.reference_outputs(seed64, 3000))


@pytest.mark.parametrize("x", [
    0, 1, 2**53 - 1, 2**53 + 1, 2**53 + 3,            # exact, then ties to even
    2**63 - 1, 2**63, 2**63 + 2**10, 2**63 + 3 * 2**10, 2**63 + 2**10 + 1,
    2**64 - 2**11, 2**64 - 2**10 - 1,                 # the largest value kept below 1
    2**64 - 2**10, 2**64 - 1,                         # round up to 2^64, clamped
])
def test_output_to_canonical_rounding_and_clamp(x):
    u = native.canonical_from_output(x)
    assert u == expected_canonical(x) and 0.0 <= u < 1.0


def test_open_unit_lifts_only_zero():
    assert native.open_from_canonical(0.0) == 5e-324
    assert native.open_from_canonical(2.0**-64) == 2.0**-64
    assert native.open_from_canonical(TOP) == TOP


@pytest.mark.parametrize("seed", [1, -3])
def test_uniform_draws_use_one_output_each(seed):
    outputs = native.engine_outputs(seed, 1000)
    expected = [expected_canonical(x) for x in outputs]
    assert native.canonical_draws(seed, 1000).tolist() == expected
    assert native.open_unit_draws(seed, 1000).tolist() == expected  # no zero output here
