"""Exact comparisons shared by the tests of the d, p and q functions."""
import math

import _distrova_testing as native

INF, NAN = math.inf, math.nan
EPS = 2.0**-52


def same(value, expected):
    """Equal, or both NaN; an approximate expected value compares as itself."""
    return value == expected or (isinstance(expected, float) and math.isnan(expected) and math.isnan(value))


def check(value, expected):
    assert same(value, expected), (value, expected)


def check_with_log(function, args, expected):
    """function(*args) is expected, and under the log flag its guarded logarithm; NaN stays NaN."""
    check(function(*args), expected)
    check(function(*args, True), NAN if math.isnan(expected) else native.log(expected))
