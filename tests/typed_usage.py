"""A user's script: type-checked with mypy --strict against the installed stubs, then run."""
import numpy as np
from numpy.typing import NDArray
from typing_extensions import assert_type

import distrova as d

engine = d.Engine(42)

# Scalars in, float out; anything array-like may give an array.
assert_type(d.dnorm(0.5), float)
assert_type(d.pnorm(1.96, log_p=True), float)
assert_type(d.qnorm(0.975, 1.0, sigma=np.float64(2.0)), float)
assert_type(d.pweibull(np.int64(2), 1.5, 2.0), float)
points = np.linspace(-3.0, 3.0, 7)
density = d.dnorm(points, [[0.0], [1.0]])
assert_type(density, float | NDArray[np.float64])
assert isinstance(density, np.ndarray) and density.shape == (2, 7)
tail: float = d.pcauchy(1.0, 0, 1) + d.plogis(0.0, 0, 1) + d.qunif(0.25, 2, 6)
# A NumPy array in any argument gives an array, a list either; the tail flags.
total = d.pnorm(np.linspace(-3, 3, 7)).sum()
assert_type(d.qgamma(0.5, np.array([1.0, 2.0]), 1.0), NDArray[np.float64])
assert_type(d.pnorm(0.0, lower_tail=np.array([True, False])), NDArray[np.float64])
assert_type(d.pt([2.0, 3.0], 5, lower_tail=False), float | NDArray[np.float64])
assert_type(d.qchisq(-50.0, 3, lower_tail=False, log_p=True), float)

# The three overloads of a draw: one value, a shape, a count.
assert_type(d.rnorm(), float)
assert_type(d.rnorm(5), float)
assert_type(d.rnorm(size=3), NDArray[np.float64])
assert_type(d.rnorm(0, 1, [2, 3], engine), NDArray[np.float64])
assert_type(d.rnorm(sigma=2, size=(2, 2)), NDArray[np.float64])
assert_type(d.rbinom(10, 0.5, engine=engine), float)
assert_type(d.runif(0, 1, np.array([2, 2]), engine), NDArray[np.float64])
assert_type(d.rweibull(2, 1, 5), NDArray[np.float64])
assert d.rgamma(2.5, 1, [2, 3], engine).shape == (2, 3)


def rejected() -> None:
    """Calls the stubs refuse; each ignore would be reported as unused if one were accepted."""
    d.Engine(1.5)  # type: ignore[arg-type]
    d.Engine(seed=1)  # type: ignore[call-arg]
    d.dcauchy(0.0)  # type: ignore[call-overload]
    d.qnorm(0.5, log=True)  # type: ignore[call-overload]
    d.pnorm(2.0, lower_tail=1)  # type: ignore[call-overload]
    d.rnorm(0, 1, size=2.5)  # type: ignore[call-overload]
    d.rbinom(10.0, 0.5)  # type: ignore[call-overload]
    d.rexp([1.0, 2.0])  # type: ignore[call-overload]
    scalar: float = d.dnorm([0.0])  # type: ignore[assignment]
