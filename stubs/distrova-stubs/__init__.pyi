"""R-style probability distributions with reproducible random streams.

For each of seventeen distributions the module has a density or mass function (`d...`),
a distribution function (`p...`), a quantile function (`q...`) and random draws
(`r...`), all computed by the library's own numerical kernels, and the random-number
engine class `Engine` (a 64-bit Mersenne Twister). The `d`, `p` and `q` functions take
NumPy arrays or scalars for every argument and broadcast them; the `r` functions take
scalar parameters, an optional `size` and an optional `engine`. Invalid parameters give
NaN, never an exception. Every `p` function takes a keyword-only `lower_tail` (false:
the upper tail P(X > x)) and every `q` function keyword-only `lower_tail` and `log_p`
(true: `p` is a log probability), with R's meanings; these two flags take booleans
only. The examples assume `from distrova import *`.

Types: a d, p or q call whose arguments are all scalars is a `float`; one with a NumPy
array in any argument (and scalars or arrays in the others) is an `NDArray[float64]`;
any other array-like, such as a list, makes it `float | NDArray[float64]`. A
zero-dimensional array is typed as an array, as NumPy's own functions are typed, but
the call returns a float when every argument is a scalar or a zero-dimensional array:
wrap the result in `numpy.asarray` where an array must come back.
"""
# The scalar overload of each d, p and q function comes first and its array overload
# accepts scalars too (an array may sit in any argument), so the two overlap by design:
# the first that matches decides.
# mypy: disable-error-code="overload-overlap"
from collections.abc import Sequence
from typing import Any, SupportsFloat, SupportsIndex, TypeAlias, TypeVar, overload

import numpy as np
from numpy.typing import ArrayLike, NDArray

# Scalars for which the d, p and q functions return a float.
_Real: TypeAlias = float | np.floating[Any] | np.integer[Any]
_Flag: TypeAlias = bool | np.bool_
# What NumPy turns into a bool array: all that `lower_tail` and the `log_p` of a q take.
_Flags: TypeAlias = _Flag | NDArray[np.bool_] | Sequence[_Flags]
_Result: TypeAlias = float | NDArray[np.float64]
# The parameters of the array overloads (NumPy arrays or scalars, giving an array) and
# of the array-like ones (anything NumPy converts, giving either). Each is a variable
# of its own, solved to the type of the argument: mypy answers Any when an argument
# whose type contains Any (as NumPy's arrays of floating[Any] do) matches overloads
# through different parameter types, and a solved variable is the same type in both.
_Array1 = TypeVar("_Array1", bound=_Real | NDArray[Any])
_Array2 = TypeVar("_Array2", bound=_Real | NDArray[Any])
_Array3 = TypeVar("_Array3", bound=_Real | NDArray[Any])
_ArrayLog = TypeVar("_ArrayLog", bound=_Flag | NDArray[Any])
_ArrayFlag1 = TypeVar("_ArrayFlag1", bound=_Flag | NDArray[np.bool_])
_ArrayFlag2 = TypeVar("_ArrayFlag2", bound=_Flag | NDArray[np.bool_])
_Like1 = TypeVar("_Like1", bound=ArrayLike)
_Like2 = TypeVar("_Like2", bound=ArrayLike)
_Like3 = TypeVar("_Like3", bound=ArrayLike)
_Like4 = TypeVar("_Like4", bound=ArrayLike)
_FlagLike1 = TypeVar("_FlagLike1", bound=_Flags)
_FlagLike2 = TypeVar("_FlagLike2", bound=_Flags)
# Arguments of the r functions: plain numbers, a shape, and the array of draws.
_Number: TypeAlias = SupportsFloat | SupportsIndex
_Shape: TypeAlias = Sequence[SupportsIndex] | NDArray[np.integer[Any]]
_Draws: TypeAlias = NDArray[np.float64]

# Density and mass functions.
@overload
def dnorm(x: _Real, mu: _Real = 0, sigma: _Real = 1, log: _Flag = False) -> float:
    """Density at `x` of the normal distribution with mean `mu` and standard deviation
    `sigma`; with `log` true, its natural logarithm. `mu` is any real number (default 0)
    and `sigma` >= 0 (default 1); `sigma` = 0 is the point mass at `mu`. The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, or `sigma` < 0, gives NaN; a point outside the support gives 0
    (-inf with `log`).

    >>> dnorm(1.0)
    0.24197072451914342
    """
@overload
def dnorm(x: _Array1, mu: _Array2 = ..., sigma: _Array3 = ...,
          log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dnorm(x: _Like1, mu: _Like2 = ..., sigma: _Like3 = ..., log: _Like4 = ...) -> _Result: ...

@overload
def dbern(x: _Real, prob: _Real, log: _Flag = False) -> float:
    """Probability mass at the whole number `x` of the Bernoulli distribution with success
    probability `prob`; with `log` true, its natural logarithm. `prob` is a finite
    number in [0, 1]. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, an `x` that is not a whole number,
    or `prob` outside [0, 1] or infinite, gives NaN; a point outside the support gives 0
    (-inf with `log`). With `log` true the result is the logarithm of the mass.

    >>> dbern(1, 0.3)
    0.3
    """
@overload
def dbern(x: _Array1, prob: _Array2, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dbern(x: _Like1, prob: _Like2, log: _Like3 = ...) -> _Result: ...

@overload
def dbeta(x: _Real, a: _Real, b: _Real, log: _Flag = False) -> float:
    """Density at `x` of the beta distribution with shapes `a` and `b` on [0, 1]; with
    `log` true, its natural logarithm. `a` >= 0 and `b` >= 0; a zero or infinite shape
    gives the limiting point masses (a = b = 0: half at 0 and half at 1; a = b = +inf:
    all at 0.5; otherwise a = 0 or b = +inf: all at 0, and b = 0 or a = +inf: all at 1).
    The arguments broadcast as NumPy arrays; all scalars give a float, otherwise a
    float64 array. NaN in any argument, or `a` < 0 or `b` < 0, gives NaN; a point
    outside the support gives 0 (-inf with `log`).

    >>> dbeta(0.5, 2, 3)
    1.500000000000006
    """
@overload
def dbeta(x: _Array1, a: _Array2, b: _Array3, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dbeta(x: _Like1, a: _Like2, b: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dbinom(x: _Real, n_trials: _Real, prob: _Real, log: _Flag = False) -> float:
    """Probability mass at the whole number `x` of the binomial distribution with
    `n_trials` trials and success probability `prob`; with `log` true, its natural
    logarithm. `n_trials` is a whole number >= 0 and `prob` a finite number in [0, 1].
    The arguments broadcast as NumPy arrays; all scalars give a float, otherwise a
    float64 array. NaN in any argument, an `x` or `n_trials` that is not a whole number,
    or `n_trials` < 0, or `prob` outside [0, 1] or infinite, gives NaN; a point outside
    the support gives 0 (-inf with `log`).

    >>> dbinom(2, 4, 0.5)
    0.37500000000000183
    """
@overload
def dbinom(x: _Array1, n_trials: _Array2, prob: _Array3,
           log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dbinom(x: _Like1, n_trials: _Like2, prob: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dcauchy(x: _Real, mu: _Real, sigma: _Real, log: _Flag = False) -> float:
    """Density at `x` of the Cauchy distribution with location `mu` and scale `sigma`; with
    `log` true, its natural logarithm. `mu` is any real number and `sigma` >= 0; `sigma`
    = 0 is the point mass at `mu`. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, or `sigma` < 0, gives
    NaN; a point outside the support gives 0 (-inf with `log`).

    >>> dcauchy(0.0, 0, 1)
    0.3183098861837907
    """
@overload
def dcauchy(x: _Array1, mu: _Array2, sigma: _Array3,
            log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dcauchy(x: _Like1, mu: _Like2, sigma: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dchisq(x: _Real, dof: _Real, log: _Flag = False) -> float:
    """Density at `x` of the chi-squared distribution with `dof` degrees of freedom; with
    `log` true, its natural logarithm. `dof` >= 0 is any real number; `dof` = 0 is the
    point mass at 0. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, or `dof` < 0, gives NaN; a point
    outside the support gives 0 (-inf with `log`).

    >>> dchisq(1.0, 2)
    0.3032653298563167
    """
@overload
def dchisq(x: _Array1, dof: _Array2, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dchisq(x: _Like1, dof: _Like2, log: _Like3 = ...) -> _Result: ...

@overload
def dexp(x: _Real, rate: _Real, log: _Flag = False) -> float:
    """Density at `x` of the exponential distribution with rate `rate` (mean 1/`rate`);
    with `log` true, its natural logarithm. `rate` >= 0. The arguments broadcast as
    NumPy arrays; all scalars give a float, otherwise a float64 array. NaN in any
    argument, or `rate` < 0, gives NaN; a point outside the support gives 0 (-inf with
    `log`). `rate` = +inf is invalid here.

    >>> dexp(1.0, 2)
    0.2706705664732254
    """
@overload
def dexp(x: _Array1, rate: _Array2, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dexp(x: _Like1, rate: _Like2, log: _Like3 = ...) -> _Result: ...

@overload
def df(x: _Real, df1: _Real, df2: _Real, log: _Flag = False) -> float:
    """Density at `x` of the F distribution with `df1` and `df2` degrees of freedom; with
    `log` true, its natural logarithm. `df1` and `df2` are real numbers of at least
    2.2e-16; an infinite one gives the limiting distribution (a scaled chi-squared or
    its reciprocal). The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, or `df1` or `df2` below 2.2e-16,
    gives NaN; a point outside the support gives 0 (-inf with `log`).

    >>> df(1.0, 3, 5)
    0.3611744789422841
    """
@overload
def df(x: _Array1, df1: _Array2, df2: _Array3, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def df(x: _Like1, df1: _Like2, df2: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dgamma(x: _Real, shape: _Real, scale: _Real, log: _Flag = False) -> float:
    """Density at `x` of the gamma distribution with shape `shape` and scale `scale` (mean
    shape * scale); with `log` true, its natural logarithm. `shape` >= 0 and `scale` >=
    2.2e-16; `shape` = 0 is the point mass at 0. The arguments broadcast as NumPy
    arrays; all scalars give a float, otherwise a float64 array. NaN in any argument, or
    `shape` < 0 or `scale` < 2.2e-16, gives NaN; a point outside the support gives 0
    (-inf with `log`).

    >>> dgamma(2.0, 2, 1.5)
    0.2343085672139793
    """
@overload
def dgamma(x: _Array1, shape: _Array2, scale: _Array3,
           log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dgamma(x: _Like1, shape: _Like2, scale: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dinvgamma(x: _Real, shape: _Real, scale: _Real, log: _Flag = False) -> float:
    """Density at `x` of the inverse gamma distribution with shape `shape` and scale
    `scale` (the law of 1/X for X gamma with that shape and scale 1/`scale`); with `log`
    true, its natural logarithm. `shape` >= 0 and `scale` >= 0. The arguments broadcast
    as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN in any
    argument, or `shape` < 0 or `scale` < 0, gives NaN; a point outside the support
    gives 0 (-inf with `log`).

    >>> dinvgamma(0.5, 2, 1)
    1.082682265892901
    """
@overload
def dinvgamma(x: _Array1, shape: _Array2, scale: _Array3,
              log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dinvgamma(x: _Like1, shape: _Like2, scale: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dlaplace(x: _Real, mu: _Real, sigma: _Real, log: _Flag = False) -> float:
    """Density at `x` of the Laplace (double exponential) distribution with location `mu`
    and scale `sigma`, density exp(-|x - mu| / sigma) / (2 sigma); with `log` true, its
    natural logarithm. `mu` is any real number and `sigma` >= 0; `sigma` = 0 is the
    point mass at `mu`. The arguments broadcast as NumPy arrays; all scalars give a
    float, otherwise a float64 array. NaN in any argument, or `sigma` < 0, gives NaN; a
    point outside the support gives 0 (-inf with `log`).

    >>> dlaplace(0.5, 0, 1)
    0.3032653298563167
    """
@overload
def dlaplace(x: _Array1, mu: _Array2, sigma: _Array3,
             log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dlaplace(x: _Like1, mu: _Like2, sigma: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dlnorm(x: _Real, mu: _Real, sigma: _Real, log: _Flag = False) -> float:
    """Density at `x` of the log-normal distribution, whose logarithm is normal with mean
    `mu` and standard deviation `sigma`; with `log` true, its natural logarithm. `mu` is
    any real number and `sigma` >= 0 (both required, on the log scale). The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, or `sigma` < 0, gives NaN; a point outside the support gives 0
    (-inf with `log`).

    >>> dlnorm(1.0, 0, 1)
    0.39894228040143265
    """
@overload
def dlnorm(x: _Array1, mu: _Array2, sigma: _Array3,
           log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dlnorm(x: _Like1, mu: _Like2, sigma: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dlogis(x: _Real, mu: _Real, sigma: _Real, log: _Flag = False) -> float:
    """Density at `x` of the logistic distribution with location `mu` and scale `sigma`;
    with `log` true, its natural logarithm. `mu` is any real number and `sigma` >= 0;
    `sigma` = 0 is the point mass at `mu`. The arguments broadcast as NumPy arrays; all
    scalars give a float, otherwise a float64 array. NaN in any argument, or `sigma` <
    0, gives NaN; a point outside the support gives 0 (-inf with `log`).

    >>> dlogis(0.0, 0, 1, log=True)
    -1.3862943611198906
    """
@overload
def dlogis(x: _Array1, mu: _Array2, sigma: _Array3,
           log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dlogis(x: _Like1, mu: _Like2, sigma: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dpois(x: _Real, rate: _Real, log: _Flag = False) -> float:
    """Probability mass at the whole number `x` of the Poisson distribution with mean
    `rate`; with `log` true, its natural logarithm. `rate` >= 0; `rate` = 0 is the point
    mass at 0. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, an `x` that is not a whole number,
    or `rate` < 0, gives NaN; a point outside the support gives 0 (-inf with `log`).

    >>> dpois(3, 2.5)
    0.2137630172497367
    """
@overload
def dpois(x: _Array1, rate: _Array2, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dpois(x: _Like1, rate: _Like2, log: _Like3 = ...) -> _Result: ...

@overload
def dt(x: _Real, dof: _Real, log: _Flag = False) -> float:
    """Density at `x` of Student's t distribution with `dof` degrees of freedom; with `log`
    true, its natural logarithm. `dof` is a real number of at least 2.2e-16; `dof` =
    +inf is the standard normal. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, or `dof` below
    2.2e-16, gives NaN; a point outside the support gives 0 (-inf with `log`).

    >>> dt(0.0, 5)
    0.37960668982249396
    """
@overload
def dt(x: _Array1, dof: _Array2, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dt(x: _Like1, dof: _Like2, log: _Like3 = ...) -> _Result: ...

@overload
def dunif(x: _Real, a: _Real, b: _Real, log: _Flag = False) -> float:
    """Density at `x` of the uniform distribution on [`a`, `b`]; with `log` true, its
    natural logarithm. `a` < `b`. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, or `a` >= `b`, gives
    NaN; a point outside the support gives 0 (-inf with `log`). An infinite bound gives
    density 0.

    >>> dunif(0.5, 0, 2)
    0.5
    """
@overload
def dunif(x: _Array1, a: _Array2, b: _Array3, log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dunif(x: _Like1, a: _Like2, b: _Like3, log: _Like4 = ...) -> _Result: ...

@overload
def dweibull(x: _Real, shape: _Real, scale: _Real, log: _Flag = False) -> float:
    """Density at `x` of the Weibull distribution with shape `shape` and scale `scale`, P(X
    <= x) = 1 - exp(-(x / scale)**shape); with `log` true, its natural logarithm.
    `shape` and `scale` are at least 2.2e-16. The arguments broadcast as NumPy arrays;
    all scalars give a float, otherwise a float64 array. NaN in any argument, or `shape`
    or `scale` below 2.2e-16, gives NaN; a point outside the support gives 0 (-inf with
    `log`).

    >>> dweibull(1.0, 2, 1)
    0.7357588823428846
    """
@overload
def dweibull(x: _Array1, shape: _Array2, scale: _Array3,
             log: _ArrayLog = ...) -> NDArray[np.float64]: ...
@overload
def dweibull(x: _Like1, shape: _Like2, scale: _Like3, log: _Like4 = ...) -> _Result: ...

class Engine:
    """A random-number engine: the 64-bit Mersenne Twister MT19937-64, seeded with `seed`,
    an integer from -2**31 to 2**31 - 1 (a negative seed s seeds the generator with
    2**64 + s). Pass it as `engine` to any `r` function; every draw advances it in
    place. Two engines with the same seed give the same draws for the same calls, on
    every machine whose `log`, `sqrt` and `pow` are correctly rounded, and draws from
    one never affect another. It has no methods or attributes, cannot be copied, pickled
    or reseeded; the seed is positional only.

    >>> runif(0, 1, engine=Engine(1)) == runif(0, 1, engine=Engine(1))
    True
    """
    def __init__(self, seed: SupportsIndex, /) -> None: ...

# Random draws.
@overload
def rnorm(mu: _Number = 0, sigma: _Number = 1, engine: Engine = ...) -> float:
    """Random draws from the normal distribution with mean `mu` and standard deviation
    `sigma`. The parameters are plain numbers, not arrays: `mu` is any real number
    (default 0) and `sigma` >= 0 (default 1); `sigma` = 0 is the point mass at `mu`.
    Without `size`, one draw as a float; with an integer `size`, a float64 array of that
    many draws; with a sequence of integers, an array of that shape (filled in row-major
    order). Draws come from `engine`, by default the module's own engine (seeded with 1
    at import); a seeded Engine reproduces them exactly. NaN, or `sigma` < 0, gives NaN.
    A third positional argument is taken as `size`; `rnorm(5)` is one draw with mean 5.

    >>> rnorm(engine=Engine(42))
    0.7049882664208599
    """
@overload
def rnorm(mu: _Number, sigma: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rnorm(mu: _Number = 0, sigma: _Number = 1, *, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rnorm(mu: _Number, sigma: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...
@overload
def rnorm(mu: _Number = 0, sigma: _Number = 1, *, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rbern(prob: _Number, engine: Engine = ...) -> float:
    """Random draws from the Bernoulli distribution with success probability `prob`. The
    parameters are plain numbers, not arrays: `prob` is a finite number in [0, 1].
    Without `size`, one draw as a float; with an integer `size`, a float64 array of that
    many draws; with a sequence of integers, an array of that shape (filled in row-major
    order). Draws come from `engine`, by default the module's own engine (seeded with 1
    at import); a seeded Engine reproduces them exactly. NaN, or `prob` outside [0, 1]
    or infinite, gives NaN. Counts are returned as floats.

    >>> rbern(0.3, 8, Engine(1)).tolist()
    [1.0, 1.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0]
    """
@overload
def rbern(prob: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rbern(prob: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rbeta(a: _Number, b: _Number, engine: Engine = ...) -> float:
    """Random draws from the beta distribution with shapes `a` and `b` on [0, 1]. The
    parameters are plain numbers, not arrays: `a` >= 0 and `b` >= 0; a zero or infinite
    shape gives the limiting point masses (a = b = 0: half at 0 and half at 1; a = b =
    +inf: all at 0.5; otherwise a = 0 or b = +inf: all at 0, and b = 0 or a = +inf: all
    at 1). Without `size`, one draw as a float; with an integer `size`, a float64 array
    of that many draws; with a sequence of integers, an array of that shape (filled in
    row-major order). Draws come from `engine`, by default the module's own engine
    (seeded with 1 at import); a seeded Engine reproduces them exactly. NaN, or `a` < 0,
    `b` < 0, or `a` = `b` = 0, gives NaN.

    >>> rbeta(2, 3, engine=Engine(42))
    0.4840811106374432
    """
@overload
def rbeta(a: _Number, b: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rbeta(a: _Number, b: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rbinom(n_trials: SupportsIndex, prob: _Number, engine: Engine = ...) -> float:
    """Random draws from the binomial distribution with `n_trials` trials and success
    probability `prob`. The parameters are plain numbers, not arrays: `n_trials` is an
    integer >= 0 and `prob` a finite number in [0, 1]. Without `size`, one draw as a
    float; with an integer `size`, a float64 array of that many draws; with a sequence
    of integers, an array of that shape (filled in row-major order). Draws come from
    `engine`, by default the module's own engine (seeded with 1 at import); a seeded
    Engine reproduces them exactly. NaN, or `n_trials` < 0, or `prob` outside [0, 1] or
    infinite, gives NaN. Counts are returned as floats. Each draw takes one uniform per
    trial, so its time grows with `n_trials`.

    >>> rbinom(10, 0.5, engine=Engine(42))
    5.0
    """
@overload
def rbinom(n_trials: SupportsIndex, prob: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rbinom(n_trials: SupportsIndex, prob: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rcauchy(mu: _Number, sigma: _Number, engine: Engine = ...) -> float:
    """Random draws from the Cauchy distribution with location `mu` and scale `sigma`. The
    parameters are plain numbers, not arrays: `mu` is any real number and `sigma` >= 0.
    Without `size`, one draw as a float; with an integer `size`, a float64 array of that
    many draws; with a sequence of integers, an array of that shape (filled in row-major
    order). Draws come from `engine`, by default the module's own engine (seeded with 1
    at import); a seeded Engine reproduces them exactly. NaN, or `sigma` < 0 or `sigma`
    = +inf, gives NaN.

    >>> rcauchy(0, 1, engine=Engine(42))
    1.0329293920896938
    """
@overload
def rcauchy(mu: _Number, sigma: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rcauchy(mu: _Number, sigma: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rchisq(dof: _Number, engine: Engine = ...) -> float:
    """Random draws from the chi-squared distribution with `dof` degrees of freedom. The
    parameters are plain numbers, not arrays: `dof` >= 0 is any real number; `dof` = 0
    is the point mass at 0. Without `size`, one draw as a float; with an integer `size`,
    a float64 array of that many draws; with a sequence of integers, an array of that
    shape (filled in row-major order). Draws come from `engine`, by default the module's
    own engine (seeded with 1 at import); a seeded Engine reproduces them exactly. NaN,
    or `dof` < 0, gives NaN.

    >>> rchisq(3, engine=Engine(42))
    4.21165017579465
    """
@overload
def rchisq(dof: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rchisq(dof: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rexp(rate: _Number, engine: Engine = ...) -> float:
    """Random draws from the exponential distribution with rate `rate` (mean 1/`rate`). The
    parameters are plain numbers, not arrays: `rate` >= 0. Without `size`, one draw as a
    float; with an integer `size`, a float64 array of that many draws; with a sequence
    of integers, an array of that shape (filled in row-major order). Draws come from
    `engine`, by default the module's own engine (seeded with 1 at import); a seeded
    Engine reproduces them exactly. NaN, or `rate` < 0, gives NaN.

    >>> rexp(2, engine=Engine(42))
    0.703566049206072
    """
@overload
def rexp(rate: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rexp(rate: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rf(df1: _Number, df2: _Number, engine: Engine = ...) -> float:
    """Random draws from the F distribution with `df1` and `df2` degrees of freedom. The
    parameters are plain numbers, not arrays: `df1` and `df2` are real numbers of at
    least 2.2e-16; an infinite one gives the limiting distribution (a scaled chi-squared
    or its reciprocal). Without `size`, one draw as a float; with an integer `size`, a
    float64 array of that many draws; with a sequence of integers, an array of that
    shape (filled in row-major order). Draws come from `engine`, by default the module's
    own engine (seeded with 1 at import); a seeded Engine reproduces them exactly. NaN,
    or `df1` or `df2` below 2.2e-16, gives NaN.

    >>> rf(3, 5, engine=Engine(42))
    1.4574717857012622
    """
@overload
def rf(df1: _Number, df2: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rf(df1: _Number, df2: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rgamma(shape: _Number, scale: _Number, engine: Engine = ...) -> float:
    """Random draws from the gamma distribution with shape `shape` and scale `scale` (mean
    shape * scale). The parameters are plain numbers, not arrays: `shape` >= 0 and
    `scale` >= 2.2e-16; `shape` = 0 is the point mass at 0. Without `size`, one draw as
    a float; with an integer `size`, a float64 array of that many draws; with a sequence
    of integers, an array of that shape (filled in row-major order). Draws come from
    `engine`, by default the module's own engine (seeded with 1 at import); a seeded
    Engine reproduces them exactly. NaN, or `shape` < 0 or `scale` < 2.2e-16, gives NaN.

    >>> rgamma(2.5, 1, [2, 3], Engine(7)).shape
    (2, 3)
    """
@overload
def rgamma(shape: _Number, scale: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rgamma(shape: _Number, scale: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rinvgamma(shape: _Number, scale: _Number, engine: Engine = ...) -> float:
    """Random draws from the inverse gamma distribution with shape `shape` and scale
    `scale` (the law of 1/X for X gamma with that shape and scale 1/`scale`). The
    parameters are plain numbers, not arrays: `shape` >= 0 and 0 <= `scale` <= about
    4.5e15. Without `size`, one draw as a float; with an integer `size`, a float64 array
    of that many draws; with a sequence of integers, an array of that shape (filled in
    row-major order). Draws come from `engine`, by default the module's own engine
    (seeded with 1 at import); a seeded Engine reproduces them exactly. NaN, or `shape`
    < 0, `scale` < 0 or `scale` above about 4.5e15, gives NaN.

    >>> rinvgamma(2, 1, engine=Engine(42))
    0.36330289027389123
    """
@overload
def rinvgamma(shape: _Number, scale: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rinvgamma(shape: _Number, scale: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rlaplace(mu: _Number, sigma: _Number, engine: Engine = ...) -> float:
    """Random draws from the Laplace (double exponential) distribution with location `mu`
    and scale `sigma`, density exp(-|x - mu| / sigma) / (2 sigma). The parameters are
    plain numbers, not arrays: `mu` is any real number and `sigma` >= 0. Without `size`,
    one draw as a float; with an integer `size`, a float64 array of that many draws;
    with a sequence of integers, an array of that shape (filled in row-major order).
    Draws come from `engine`, by default the module's own engine (seeded with 1 at
    import); a seeded Engine reproduces them exactly. NaN, or `sigma` < 0 or `sigma` =
    +inf, gives NaN.

    >>> rlaplace(0, 1, engine=Engine(42))
    0.7139849178521989
    """
@overload
def rlaplace(mu: _Number, sigma: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rlaplace(mu: _Number, sigma: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rlnorm(mu: _Number, sigma: _Number, engine: Engine = ...) -> float:
    """Random draws from the log-normal distribution, whose logarithm is normal with mean
    `mu` and standard deviation `sigma`. The parameters are plain numbers, not arrays:
    `mu` is any real number and `sigma` >= 0 (both required, on the log scale). Without
    `size`, one draw as a float; with an integer `size`, a float64 array of that many
    draws; with a sequence of integers, an array of that shape (filled in row-major
    order). Draws come from `engine`, by default the module's own engine (seeded with 1
    at import); a seeded Engine reproduces them exactly. NaN, or `sigma` < 0, gives NaN.

    >>> rlnorm(0, 1, engine=Engine(42))
    2.0238229380964206
    """
@overload
def rlnorm(mu: _Number, sigma: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rlnorm(mu: _Number, sigma: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rlogis(mu: _Number, sigma: _Number, engine: Engine = ...) -> float:
    """Random draws from the logistic distribution with location `mu` and scale `sigma`.
    The parameters are plain numbers, not arrays: `mu` is any real number and `sigma` >=
    0. Without `size`, one draw as a float; with an integer `size`, a float64 array of
    that many draws; with a sequence of integers, an array of that shape (filled in row-
    major order). Draws come from `engine`, by default the module's own engine (seeded
    with 1 at import); a seeded Engine reproduces them exactly. NaN, or `sigma` < 0 or
    `sigma` = +inf, gives NaN.

    >>> rlogis(0, 1, engine=Engine(42))
    1.126300551376436
    """
@overload
def rlogis(mu: _Number, sigma: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rlogis(mu: _Number, sigma: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rpois(rate: _Number, engine: Engine = ...) -> float:
    """Random draws from the Poisson distribution with mean `rate`. The parameters are
    plain numbers, not arrays: `rate` >= 0; `rate` = 0 is the point mass at 0. Without
    `size`, one draw as a float; with an integer `size`, a float64 array of that many
    draws; with a sequence of integers, an array of that shape (filled in row-major
    order). Draws come from `engine`, by default the module's own engine (seeded with 1
    at import); a seeded Engine reproduces them exactly. NaN, or `rate` < 0, gives NaN.
    Counts are returned as floats.

    >>> rpois(2.5, 5, Engine(42)).tolist()
    [3.0, 3.0, 3.0, 1.0, 5.0]
    """
@overload
def rpois(rate: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rpois(rate: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rt(dof: _Number, engine: Engine = ...) -> float:
    """Random draws from Student's t distribution with `dof` degrees of freedom. The
    parameters are plain numbers, not arrays: `dof` is a real number of at least
    2.2e-16; `dof` = +inf is the standard normal. Without `size`, one draw as a float;
    with an integer `size`, a float64 array of that many draws; with a sequence of
    integers, an array of that shape (filled in row-major order). Draws come from
    `engine`, by default the module's own engine (seeded with 1 at import); a seeded
    Engine reproduces them exactly. NaN, or `dof` below 2.2e-16, gives NaN.

    >>> rt(5, engine=Engine(42))
    0.9332158571099257
    """
@overload
def rt(dof: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rt(dof: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def runif(a: _Number, b: _Number, engine: Engine = ...) -> float:
    """Random draws from the uniform distribution on [`a`, `b`]. The parameters are plain
    numbers, not arrays: `a` < `b`. Without `size`, one draw as a float; with an integer
    `size`, a float64 array of that many draws; with a sequence of integers, an array of
    that shape (filled in row-major order). Draws come from `engine`, by default the
    module's own engine (seeded with 1 at import); a seeded Engine reproduces them
    exactly. NaN, or `a` >= `b` or `a` = -inf, gives NaN.

    >>> runif(0, 1, engine=Engine(1))
    0.13387664401253274
    """
@overload
def runif(a: _Number, b: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def runif(a: _Number, b: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

@overload
def rweibull(shape: _Number, scale: _Number, engine: Engine = ...) -> float:
    """Random draws from the Weibull distribution with shape `shape` and scale `scale`, P(X
    <= x) = 1 - exp(-(x / scale)**shape). The parameters are plain numbers, not arrays:
    `shape` and `scale` are at least 2.2e-16. Without `size`, one draw as a float; with
    an integer `size`, a float64 array of that many draws; with a sequence of integers,
    an array of that shape (filled in row-major order). Draws come from `engine`, by
    default the module's own engine (seeded with 1 at import); a seeded Engine
    reproduces them exactly. NaN, or `shape` or `scale` below 2.2e-16, gives NaN.

    >>> rweibull(2, 1, engine=Engine(42))
    1.1862259896040652
    """
@overload
def rweibull(shape: _Number, scale: _Number, size: _Shape, engine: Engine = ...) -> _Draws: ...
@overload
def rweibull(shape: _Number, scale: _Number, size: SupportsIndex, engine: Engine = ...) -> _Draws: ...

# Distribution functions.
@overload
def pnorm(x: _Real, mu: _Real = 0, sigma: _Real = 1, log_p: _Flag = False,
          *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the normal distribution with mean `mu` and
    standard deviation `sigma`; with `lower_tail` false, the upper tail P(X > x); with
    `log_p` true, the natural logarithm of the probability. `mu` is any real number
    (default 0) and `sigma` >= 0 (default 1); `sigma` = 0 is the point mass at `mu`. The
    arguments broadcast as NumPy arrays; all scalars give a float, otherwise a float64
    array. NaN in any argument, or `sigma` < 0, gives NaN. `lower_tail` is keyword-only
    and takes booleans only (Python's or NumPy's, or arrays of them); any other value, 0
    and 1 included, is a TypeError.

    >>> pnorm([-1.0, 0.0, 1.0]).tolist()
    [0.15865525393145705, 0.5, 0.8413447460685429]
    >>> pnorm(2.0, lower_tail=False)
    0.02275013194817921
    """
@overload
def pnorm(x: _Array1, mu: _Array2 = ..., sigma: _Array3 = ..., log_p: _ArrayLog = ...,
          *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pnorm(x: _Like1, mu: _Like2 = ..., sigma: _Like3 = ..., log_p: _Like4 = ...,
          *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pbern(x: _Real, prob: _Real, log_p: _Flag = False, *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at the whole number `x` of the Bernoulli
    distribution with success probability `prob`; with `lower_tail` false, the upper
    tail P(X > x) = 1 - P(X <= x), not P(X >= x); with `log_p` true, the natural
    logarithm of the probability. `prob` is a finite number in [0, 1]. The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, an `x` that is not a whole number, or `prob` outside [0, 1] or
    infinite, gives NaN. `lower_tail` is keyword-only and takes booleans only (Python's
    or NumPy's, or arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> pbern(0, 0.3)
    0.7
    >>> pbern(0, 0.25, lower_tail=False)
    0.25
    """
@overload
def pbern(x: _Array1, prob: _Array2, log_p: _ArrayLog = ...,
          *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pbern(x: _Like1, prob: _Like2, log_p: _Like3 = ...,
          *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pbeta(x: _Real, a: _Real, b: _Real, log_p: _Flag = False,
          *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the beta distribution with shapes `a` and
    `b` on [0, 1]; with `lower_tail` false, the upper tail P(X > x); with `log_p` true,
    the natural logarithm of the probability. `a` >= 0 and `b` >= 0; a zero or infinite
    shape gives the limiting point masses (a = b = 0: half at 0 and half at 1; a = b =
    +inf: all at 0.5; otherwise a = 0 or b = +inf: all at 0, and b = 0 or a = +inf: all
    at 1). The arguments broadcast as NumPy arrays; all scalars give a float, otherwise
    a float64 array. NaN in any argument, or `a` < 0 or `b` < 0, gives NaN. `lower_tail`
    is keyword-only and takes booleans only (Python's or NumPy's, or arrays of them);
    any other value, 0 and 1 included, is a TypeError.

    >>> pbeta(0.3, 2, 3)
    0.348300000000001
    >>> pbeta(0.75, 2, 5, lower_tail=False)
    0.004638671874999983
    """
@overload
def pbeta(x: _Array1, a: _Array2, b: _Array3, log_p: _ArrayLog = ...,
          *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pbeta(x: _Like1, a: _Like2, b: _Like3, log_p: _Like4 = ...,
          *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pbinom(x: _Real, n_trials: _Real, prob: _Real, log_p: _Flag = False,
           *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at the whole number `x` of the binomial distribution
    with `n_trials` trials and success probability `prob`; with `lower_tail` false, the
    upper tail P(X > x) = 1 - P(X <= x), not P(X >= x); with `log_p` true, the natural
    logarithm of the probability. `n_trials` is a whole number >= 0 and `prob` a finite
    number in [0, 1]. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, an `x` or `n_trials` that is not a
    whole number, or `n_trials` < 0, or `prob` outside [0, 1] or infinite, gives NaN. It
    sums `x` + 1 mass values, so its time grows with `x`. `lower_tail` is keyword-only
    and takes booleans only (Python's or NumPy's, or arrays of them); any other value, 0
    and 1 included, is a TypeError.

    >>> pbinom(2, 4, 0.5)
    0.6875000000000031
    >>> pbinom(3, 10, 0.25, lower_tail=False)
    0.22412490844726465
    """
@overload
def pbinom(x: _Array1, n_trials: _Array2, prob: _Array3, log_p: _ArrayLog = ...,
           *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pbinom(x: _Like1, n_trials: _Like2, prob: _Like3, log_p: _Like4 = ...,
           *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pcauchy(x: _Real, mu: _Real, sigma: _Real, log_p: _Flag = False,
            *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the Cauchy distribution with location `mu`
    and scale `sigma`; with `lower_tail` false, the upper tail P(X > x); with `log_p`
    true, the natural logarithm of the probability. `mu` is any real number and `sigma`
    >= 0; `sigma` = 0 is the point mass at `mu`. The arguments broadcast as NumPy
    arrays; all scalars give a float, otherwise a float64 array. NaN in any argument, or
    `sigma` < 0, gives NaN. `lower_tail` is keyword-only and takes booleans only
    (Python's or NumPy's, or arrays of them); any other value, 0 and 1 included, is a
    TypeError.

    >>> pcauchy(1.0, 0, 1)
    0.75
    >>> pcauchy(1.0, 0, 1, lower_tail=False)
    0.25
    """
@overload
def pcauchy(x: _Array1, mu: _Array2, sigma: _Array3, log_p: _ArrayLog = ...,
            *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pcauchy(x: _Like1, mu: _Like2, sigma: _Like3, log_p: _Like4 = ...,
            *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pchisq(x: _Real, dof: _Real, log_p: _Flag = False, *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the chi-squared distribution with `dof`
    degrees of freedom; with `lower_tail` false, the upper tail P(X > x); with `log_p`
    true, the natural logarithm of the probability. `dof` >= 0 is any real number; `dof`
    = 0 is the point mass at 0. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, or `dof` < 0, gives
    NaN. `lower_tail` is keyword-only and takes booleans only (Python's or NumPy's, or
    arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> pchisq(3.84, 1)
    0.9499564787512951
    >>> pchisq(3.0, 3, lower_tail=False)
    0.39162517627108895
    """
@overload
def pchisq(x: _Array1, dof: _Array2, log_p: _ArrayLog = ...,
           *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pchisq(x: _Like1, dof: _Like2, log_p: _Like3 = ...,
           *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pexp(x: _Real, rate: _Real, log_p: _Flag = False, *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the exponential distribution with rate
    `rate` (mean 1/`rate`); with `lower_tail` false, the upper tail P(X > x); with
    `log_p` true, the natural logarithm of the probability. `rate` >= 0. The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, or `rate` < 0, gives NaN. `lower_tail` is keyword-only and takes
    booleans only (Python's or NumPy's, or arrays of them); any other value, 0 and 1
    included, is a TypeError.

    >>> pexp(1.0, 2)
    0.8646647167633873
    >>> pexp(1.0, 2, lower_tail=False)
    0.1353352832366127
    """
@overload
def pexp(x: _Array1, rate: _Array2, log_p: _ArrayLog = ...,
         *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pexp(x: _Like1, rate: _Like2, log_p: _Like3 = ...,
         *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pf(x: _Real, df1: _Real, df2: _Real, log_p: _Flag = False,
       *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the F distribution with `df1` and `df2`
    degrees of freedom; with `lower_tail` false, the upper tail P(X > x); with `log_p`
    true, the natural logarithm of the probability. `df1` and `df2` are real numbers of
    at least 2.2e-16; an infinite one gives the limiting distribution (a scaled chi-
    squared or its reciprocal). The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, or `df1` or `df2`
    below 2.2e-16, gives NaN. `lower_tail` is keyword-only and takes booleans only
    (Python's or NumPy's, or arrays of them); any other value, 0 and 1 included, is a
    TypeError.

    >>> pf(2.0, 3, 5)
    0.7673760819999219
    >>> pf(5.0, 2, 10, lower_tail=False)
    0.03125000000000002
    """
@overload
def pf(x: _Array1, df1: _Array2, df2: _Array3, log_p: _ArrayLog = ...,
       *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pf(x: _Like1, df1: _Like2, df2: _Like3, log_p: _Like4 = ...,
       *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pgamma(x: _Real, shape: _Real, scale: _Real, log_p: _Flag = False,
           *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the gamma distribution with shape `shape`
    and scale `scale` (mean shape * scale); with `lower_tail` false, the upper tail
    P(X > x); with `log_p` true, the natural logarithm of the probability. `shape` >= 0
    and `scale` >= 2.2e-16; `shape` = 0 is the point mass at 0. The arguments broadcast
    as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN in any
    argument, or `shape` < 0 or `scale` < 2.2e-16, gives NaN. `lower_tail` is keyword-
    only and takes booleans only (Python's or NumPy's, or arrays of them); any other
    value, 0 and 1 included, is a TypeError.

    >>> pgamma(2.0, 2, 1.5)
    0.3849400110633042
    >>> pgamma(2.0, 2, 1.5, lower_tail=False)
    0.6150599889366959
    """
@overload
def pgamma(x: _Array1, shape: _Array2, scale: _Array3, log_p: _ArrayLog = ...,
           *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pgamma(x: _Like1, shape: _Like2, scale: _Like3, log_p: _Like4 = ...,
           *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pinvgamma(x: _Real, shape: _Real, scale: _Real, log_p: _Flag = False,
              *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the inverse gamma distribution with shape
    `shape` and scale `scale` (the law of 1/X for X gamma with that shape and scale
    1/`scale`); with `lower_tail` false, the upper tail P(X > x); with `log_p` true, the
    natural logarithm of the probability. `shape` >= 0 and `scale` >= 0. The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, or `shape` < 0 or `scale` < 0, gives NaN. A `scale` above about
    4.5e15 gives NaN. `lower_tail` is keyword-only and takes booleans only (Python's or
    NumPy's, or arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> pinvgamma(0.5, 2, 1)
    0.406005849709838
    >>> pinvgamma(1.0, 2, 1, lower_tail=False)
    0.26424111765711533
    """
@overload
def pinvgamma(x: _Array1, shape: _Array2, scale: _Array3, log_p: _ArrayLog = ...,
              *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pinvgamma(x: _Like1, shape: _Like2, scale: _Like3, log_p: _Like4 = ...,
              *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def plaplace(x: _Real, mu: _Real, sigma: _Real, log_p: _Flag = False,
             *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the Laplace (double exponential)
    distribution with location `mu` and scale `sigma`, density exp(-|x - mu| / sigma) /
    (2 sigma); with `lower_tail` false, the upper tail P(X > x); with `log_p` true, the
    natural logarithm of the probability. `mu` is any real number and `sigma` >= 0;
    `sigma` = 0 is the point mass at `mu`. The arguments broadcast as NumPy arrays; all
    scalars give a float, otherwise a float64 array. NaN in any argument, or `sigma` <
    0, gives NaN. `lower_tail` is keyword-only and takes booleans only (Python's or
    NumPy's, or arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> plaplace(0.5, 0, 1)
    0.6967346701436833
    >>> plaplace(1.0, 0, 1, lower_tail=False)
    0.18393972058572117
    """
@overload
def plaplace(x: _Array1, mu: _Array2, sigma: _Array3, log_p: _ArrayLog = ...,
             *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def plaplace(x: _Like1, mu: _Like2, sigma: _Like3, log_p: _Like4 = ...,
             *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def plnorm(x: _Real, mu: _Real, sigma: _Real, log_p: _Flag = False,
           *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the log-normal distribution, whose
    logarithm is normal with mean `mu` and standard deviation `sigma`; with `lower_tail`
    false, the upper tail P(X > x); with `log_p` true, the natural logarithm of the
    probability. `mu` is any real number and `sigma` >= 0 (both required, on the log
    scale). The arguments broadcast as NumPy arrays; all scalars give a float, otherwise
    a float64 array. NaN in any argument, or `sigma` < 0, gives NaN. `lower_tail` is
    keyword-only and takes booleans only (Python's or NumPy's, or arrays of them); any
    other value, 0 and 1 included, is a TypeError.

    >>> plnorm(2.0, 0, 1)
    0.7558914042144173
    >>> plnorm(5.0, 1, 1, lower_tail=False)
    0.2711171073468822
    """
@overload
def plnorm(x: _Array1, mu: _Array2, sigma: _Array3, log_p: _ArrayLog = ...,
           *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def plnorm(x: _Like1, mu: _Like2, sigma: _Like3, log_p: _Like4 = ...,
           *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def plogis(x: _Real, mu: _Real, sigma: _Real, log_p: _Flag = False,
           *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the logistic distribution with location
    `mu` and scale `sigma`; with `lower_tail` false, the upper tail P(X > x); with
    `log_p` true, the natural logarithm of the probability. `mu` is any real number and
    `sigma` >= 0; `sigma` = 0 is the point mass at `mu`. The arguments broadcast as
    NumPy arrays; all scalars give a float, otherwise a float64 array. NaN in any
    argument, or `sigma` < 0, gives NaN. `lower_tail` is keyword-only and takes booleans
    only (Python's or NumPy's, or arrays of them); any other value, 0 and 1 included, is
    a TypeError.

    >>> plogis(2.0, 0, 1)
    0.8807970779778824
    >>> plogis(1.0, 0, 1, lower_tail=False)
    0.2689414213699951
    """
@overload
def plogis(x: _Array1, mu: _Array2, sigma: _Array3, log_p: _ArrayLog = ...,
           *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def plogis(x: _Like1, mu: _Like2, sigma: _Like3, log_p: _Like4 = ...,
           *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def ppois(x: _Real, rate: _Real, log_p: _Flag = False, *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at the whole number `x` of the Poisson distribution
    with mean `rate`; with `lower_tail` false, the upper tail P(X > x) = 1 - P(X <= x),
    not P(X >= x); with `log_p` true, the natural logarithm of the probability. `rate`
    >= 0; `rate` = 0 is the point mass at 0. The arguments broadcast as NumPy arrays;
    all scalars give a float, otherwise a float64 array. NaN in any argument, an `x`
    that is not a whole number, or `rate` < 0, gives NaN. `lower_tail` is keyword-only
    and takes booleans only (Python's or NumPy's, or arrays of them); any other value, 0
    and 1 included, is a TypeError.

    >>> ppois(3, 2.5)
    0.7575761331330659
    >>> ppois(5, 2.5, lower_tail=False)
    0.042021038195305976
    """
@overload
def ppois(x: _Array1, rate: _Array2, log_p: _ArrayLog = ...,
          *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def ppois(x: _Like1, rate: _Like2, log_p: _Like3 = ...,
          *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pt(x: _Real, dof: _Real, log_p: _Flag = False, *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of Student's t distribution with `dof`
    degrees of freedom; with `lower_tail` false, the upper tail P(X > x); with `log_p`
    true, the natural logarithm of the probability. `dof` is a real number of at least
    2.2e-16; `dof` = +inf is the standard normal. The arguments broadcast as NumPy
    arrays; all scalars give a float, otherwise a float64 array. NaN in any argument, or
    `dof` below 2.2e-16, gives NaN. `lower_tail` is keyword-only and takes booleans only
    (Python's or NumPy's, or arrays of them); any other value, 0 and 1 included, is a
    TypeError.

    >>> pt(2.0, 5)
    0.9490302605850709
    >>> pt(2.5, 2, lower_tail=False)
    0.0648058601107554
    """
@overload
def pt(x: _Array1, dof: _Array2, log_p: _ArrayLog = ...,
       *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pt(x: _Like1, dof: _Like2, log_p: _Like3 = ...,
       *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def punif(x: _Real, a: _Real, b: _Real, log_p: _Flag = False,
          *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the uniform distribution on [`a`, `b`];
    with `lower_tail` false, the upper tail P(X > x); with `log_p` true, the natural
    logarithm of the probability. `a` < `b`. The arguments broadcast as NumPy arrays;
    all scalars give a float, otherwise a float64 array. NaN in any argument, or `a` >=
    `b`, gives NaN. With both bounds infinite the result is NaN. `lower_tail` is
    keyword-only and takes booleans only (Python's or NumPy's, or arrays of them); any
    other value, 0 and 1 included, is a TypeError.

    >>> punif(0.25, 0, 1)
    0.25
    >>> punif(0.75, 0, 1, lower_tail=False)
    0.25
    """
@overload
def punif(x: _Array1, a: _Array2, b: _Array3, log_p: _ArrayLog = ...,
          *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def punif(x: _Like1, a: _Like2, b: _Like3, log_p: _Like4 = ...,
          *, lower_tail: _FlagLike1 = ...) -> _Result: ...

@overload
def pweibull(x: _Real, shape: _Real, scale: _Real, log_p: _Flag = False,
             *, lower_tail: _Flag = True) -> float:
    """Distribution function P(X <= x) at `x` of the Weibull distribution with shape
    `shape` and scale `scale`, P(X <= x) = 1 - exp(-(x / scale)**shape); with
    `lower_tail` false, the upper tail P(X > x); with `log_p` true, the natural
    logarithm of the probability. `shape` and `scale` are at least 2.2e-16. The
    arguments broadcast as NumPy arrays; all scalars give a float, otherwise a float64
    array. NaN in any argument, or `shape` or `scale` below 2.2e-16, gives NaN.
    `lower_tail` is keyword-only and takes booleans only (Python's or NumPy's, or arrays
    of them); any other value, 0 and 1 included, is a TypeError.

    >>> pweibull(1.0, 2, 1, log_p=True)
    -0.4586751453870819
    >>> pweibull(1.0, 2, 1, lower_tail=False)
    0.36787944117144233
    """
@overload
def pweibull(x: _Array1, shape: _Array2, scale: _Array3, log_p: _ArrayLog = ...,
             *, lower_tail: _ArrayFlag1 = ...) -> NDArray[np.float64]: ...
@overload
def pweibull(x: _Like1, shape: _Like2, scale: _Like3, log_p: _Like4 = ...,
             *, lower_tail: _FlagLike1 = ...) -> _Result: ...

# Quantile functions.
@overload
def qnorm(p: _Real, mu: _Real = 0, sigma: _Real = 1, *, lower_tail: _Flag = True,
          log_p: _Flag = False) -> float:
    """Quantile function of the normal distribution with mean `mu` and standard deviation
    `sigma`: the point at which the distribution function P(X <= x) reaches `p`, or with
    `lower_tail` false the point x with upper tail P(X > x) = `p`. `p` is a probability
    in [0, 1], or with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0
    gives the lower end of the support and 1 the upper end, or the other way round for
    the upper tail. `mu` is any real number (default 0) and `sigma` >= 0 (default 1);
    `sigma` = 0 is the point mass at `mu`. The arguments broadcast as NumPy arrays; all
    scalars give a float, otherwise a float64 array. NaN in any argument, `p` outside
    [0, 1] (above 0 with `log_p`), or `sigma` < 0, gives NaN. `sigma` = +inf gives NaN.
    `lower_tail` and `log_p` are keyword-only and take booleans only (Python's or
    NumPy's, or arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> qnorm(0.975)
    1.959963984540033
    >>> qnorm(0.15, lower_tail=False)
    1.0364333894937896
    """
@overload
def qnorm(p: _Array1, mu: _Array2 = ..., sigma: _Array3 = ..., *, lower_tail: _ArrayFlag1 = ...,
          log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qnorm(p: _Like1, mu: _Like2 = ..., sigma: _Like3 = ..., *, lower_tail: _FlagLike1 = ...,
          log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qbern(p: _Real, prob: _Real, *, lower_tail: _Flag = True, log_p: _Flag = False) -> float:
    """Quantile function of the Bernoulli distribution with success probability `prob`: 1
    when 1 - `prob` < `p`, else 0, or with `lower_tail` false 1 when `p` < `prob`, else
    0, returned as a float. `p` is a probability in [0, 1], or with `log_p` true its
    natural logarithm, in [-inf, 0]. Probability 0 gives the lower end of the support
    and 1 the upper end, or the other way round for the upper tail. `prob` is a finite
    number in [0, 1]. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, `p` outside [0, 1] (above 0 with
    `log_p`), or `prob` outside [0, 1] or infinite, gives NaN. `lower_tail` and `log_p`
    are keyword-only and take booleans only (Python's or NumPy's, or arrays of them);
    any other value, 0 and 1 included, is a TypeError.

    >>> qbern(0.71, 0.3)
    1.0
    >>> qbern(0.2, 0.3, lower_tail=False)
    1.0
    """
@overload
def qbern(p: _Array1, prob: _Array2, *, lower_tail: _ArrayFlag1 = ...,
          log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qbern(p: _Like1, prob: _Like2, *, lower_tail: _FlagLike1 = ...,
          log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qbeta(p: _Real, a: _Real, b: _Real, *, lower_tail: _Flag = True,
          log_p: _Flag = False) -> float:
    """Quantile function of the beta distribution with shapes `a` and `b` on [0, 1]: the
    point at which the distribution function P(X <= x) reaches `p`, or with `lower_tail`
    false the point x with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or
    with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0 gives the lower
    end of the support and 1 the upper end, or the other way round for the upper tail.
    `a` >= 0 and `b` >= 0; a zero or infinite shape gives the limiting point masses (a =
    b = 0: half at 0 and half at 1; a = b = +inf: all at 0.5; otherwise a = 0 or b =
    +inf: all at 0, and b = 0 or a = +inf: all at 1). The arguments broadcast as NumPy
    arrays; all scalars give a float, otherwise a float64 array. NaN in any argument,
    `p` outside [0, 1] (above 0 with `log_p`), or `a` < 0 or `b` < 0, gives NaN.
    `lower_tail` and `log_p` are keyword-only and take booleans only (Python's or
    NumPy's, or arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> qbeta(0.5, 2, 3)
    0.3857275681323888
    >>> qbeta(0.025, 2, 3, lower_tail=False)
    0.8058795503167568
    """
@overload
def qbeta(p: _Array1, a: _Array2, b: _Array3, *, lower_tail: _ArrayFlag1 = ...,
          log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qbeta(p: _Like1, a: _Like2, b: _Like3, *, lower_tail: _FlagLike1 = ...,
          log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qbinom(p: _Real, n_trials: _Real, prob: _Real, *, lower_tail: _Flag = True,
           log_p: _Flag = False) -> float:
    """Quantile function of the binomial distribution with `n_trials` trials and success
    probability `prob`: the smallest count k with `p` <= P(X <= k), or with `lower_tail`
    false the smallest k with P(X > k) <= `p`, returned as a float. `p` is a probability
    in [0, 1], or with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0
    gives the lower end of the support and 1 the upper end, or the other way round for
    the upper tail. `n_trials` is a whole number >= 0 and `prob` a finite number in
    [0, 1]. The arguments broadcast as NumPy arrays; all scalars give a float, otherwise
    a float64 array. NaN in any argument, `p` outside [0, 1] (above 0 with `log_p`),
    `n_trials` < 0 or not a whole number, or `prob` outside [0, 1] or infinite, gives
    NaN. The search runs upward from 0, so its time grows with the answer. `lower_tail`
    and `log_p` are keyword-only and take booleans only (Python's or NumPy's, or arrays
    of them); any other value, 0 and 1 included, is a TypeError.

    >>> qbinom(0.5, 4, 0.5)
    2.0
    >>> qbinom(0.1, 4, 0.5, lower_tail=False)
    3.0
    """
@overload
def qbinom(p: _Array1, n_trials: _Array2, prob: _Array3, *, lower_tail: _ArrayFlag1 = ...,
           log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qbinom(p: _Like1, n_trials: _Like2, prob: _Like3, *, lower_tail: _FlagLike1 = ...,
           log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qcauchy(p: _Real, mu: _Real, sigma: _Real, *, lower_tail: _Flag = True,
            log_p: _Flag = False) -> float:
    """Quantile function of the Cauchy distribution with location `mu` and scale `sigma`:
    the point at which the distribution function P(X <= x) reaches `p`, or with
    `lower_tail` false the point x with upper tail P(X > x) = `p`. `p` is a probability
    in [0, 1], or with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0
    gives the lower end of the support and 1 the upper end, or the other way round for
    the upper tail. `mu` is any real number and `sigma` >= 0; `sigma` = 0 is the point
    mass at `mu`. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, `p` outside [0, 1] (above 0 with
    `log_p`), or `sigma` < 0, gives NaN. `sigma` = +inf gives NaN. `lower_tail` and
    `log_p` are keyword-only and take booleans only (Python's or NumPy's, or arrays of
    them); any other value, 0 and 1 included, is a TypeError.

    >>> qcauchy(0.75, 0, 1)
    1.0
    >>> qcauchy(0.125, 0, 1, lower_tail=False)
    2.414213562373095
    """
@overload
def qcauchy(p: _Array1, mu: _Array2, sigma: _Array3, *, lower_tail: _ArrayFlag1 = ...,
            log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qcauchy(p: _Like1, mu: _Like2, sigma: _Like3, *, lower_tail: _FlagLike1 = ...,
            log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qchisq(p: _Real, dof: _Real, *, lower_tail: _Flag = True, log_p: _Flag = False) -> float:
    """Quantile function of the chi-squared distribution with `dof` degrees of freedom: the
    point at which the distribution function P(X <= x) reaches `p`, or with `lower_tail`
    false the point x with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or
    with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0 gives the lower
    end of the support and 1 the upper end, or the other way round for the upper tail.
    `dof` >= 0 is any real number; `dof` = 0 is the point mass at 0. The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, `p` outside [0, 1] (above 0 with `log_p`), or `dof` < 0, gives NaN.
    `lower_tail` and `log_p` are keyword-only and take booleans only (Python's or
    NumPy's, or arrays of them); any other value, 0 and 1 included, is a TypeError.

    >>> qchisq(0.95, 1)
    3.8414588206941325
    >>> qchisq(0.05, 28, lower_tail=False)
    41.337138151427396
    """
@overload
def qchisq(p: _Array1, dof: _Array2, *, lower_tail: _ArrayFlag1 = ...,
           log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qchisq(p: _Like1, dof: _Like2, *, lower_tail: _FlagLike1 = ...,
           log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qexp(p: _Real, rate: _Real, *, lower_tail: _Flag = True, log_p: _Flag = False) -> float:
    """Quantile function of the exponential distribution with rate `rate` (mean 1/`rate`):
    the point at which the distribution function P(X <= x) reaches `p`, or with
    `lower_tail` false the point x with upper tail P(X > x) = `p`. `p` is a probability
    in [0, 1], or with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0
    gives the lower end of the support and 1 the upper end, or the other way round for
    the upper tail. `rate` >= 0. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, `p` outside [0, 1]
    (above 0 with `log_p`), or `rate` < 0, gives NaN. `lower_tail` and `log_p` are
    keyword-only and take booleans only (Python's or NumPy's, or arrays of them); any
    other value, 0 and 1 included, is a TypeError.

    >>> qexp(0.5, 2)
    0.3465735902799726
    >>> qexp(0.01, 2, lower_tail=False)
    2.302585092994046
    """
@overload
def qexp(p: _Array1, rate: _Array2, *, lower_tail: _ArrayFlag1 = ...,
         log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qexp(p: _Like1, rate: _Like2, *, lower_tail: _FlagLike1 = ...,
         log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qf(p: _Real, df1: _Real, df2: _Real, *, lower_tail: _Flag = True,
       log_p: _Flag = False) -> float:
    """Quantile function of the F distribution with `df1` and `df2` degrees of freedom: the
    point at which the distribution function P(X <= x) reaches `p`, or with `lower_tail`
    false the point x with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or
    with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0 gives the lower
    end of the support and 1 the upper end, or the other way round for the upper tail.
    `df1` and `df2` are real numbers of at least 2.2e-16; an infinite one gives the
    limiting distribution (a scaled chi-squared or its reciprocal). The arguments
    broadcast as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN
    in any argument, `p` outside [0, 1] (above 0 with `log_p`), or `df1` or `df2` below
    2.2e-16, gives NaN. `lower_tail` and `log_p` are keyword-only and take booleans only
    (Python's or NumPy's, or arrays of them); any other value, 0 and 1 included, is a
    TypeError.

    >>> qf(0.95, 3, 5)
    5.409451318056482
    >>> qf(0.25, 2, 2, lower_tail=False)
    3.0
    """
@overload
def qf(p: _Array1, df1: _Array2, df2: _Array3, *, lower_tail: _ArrayFlag1 = ...,
       log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qf(p: _Like1, df1: _Like2, df2: _Like3, *, lower_tail: _FlagLike1 = ...,
       log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qgamma(p: _Real, shape: _Real, scale: _Real, *, lower_tail: _Flag = True,
           log_p: _Flag = False) -> float:
    """Quantile function of the gamma distribution with shape `shape` and scale `scale`
    (mean shape * scale): the point at which the distribution function P(X <= x) reaches
    `p`, or with `lower_tail` false the point x with upper tail P(X > x) = `p`. `p` is a
    probability in [0, 1], or with `log_p` true its natural logarithm, in [-inf, 0].
    Probability 0 gives the lower end of the support and 1 the upper end, or the other
    way round for the upper tail. `shape` >= 0 and `scale` >= 2.2e-16; `shape` = 0 is
    the point mass at 0. The arguments broadcast as NumPy arrays; all scalars give a
    float, otherwise a float64 array. NaN in any argument, `p` outside [0, 1] (above 0
    with `log_p`), or `shape` < 0 or `scale` < 2.2e-16, gives NaN. `lower_tail` and
    `log_p` are keyword-only and take booleans only (Python's or NumPy's, or arrays of
    them); any other value, 0 and 1 included, is a TypeError.

    >>> qgamma(0.5, 2, 1.5)
    2.5175204850249915
    >>> qgamma(0.01, 2, 1.5, lower_tail=False)
    9.957528101990718
    """
@overload
def qgamma(p: _Array1, shape: _Array2, scale: _Array3, *, lower_tail: _ArrayFlag1 = ...,
           log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qgamma(p: _Like1, shape: _Like2, scale: _Like3, *, lower_tail: _FlagLike1 = ...,
           log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qinvgamma(p: _Real, shape: _Real, scale: _Real, *, lower_tail: _Flag = True,
              log_p: _Flag = False) -> float:
    """Quantile function of the inverse gamma distribution with shape `shape` and scale
    `scale` (the law of 1/X for X gamma with that shape and scale 1/`scale`): the point
    at which the distribution function P(X <= x) reaches `p`, or with `lower_tail` false
    the point x with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or with
    `log_p` true its natural logarithm, in [-inf, 0]. Probability 0 gives the lower end
    of the support and 1 the upper end, or the other way round for the upper tail.
    `shape` >= 0 and `scale` >= 0. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, `p` outside [0, 1]
    (above 0 with `log_p`), or `shape` < 0 or `scale` < 0, gives NaN. `lower_tail` and
    `log_p` are keyword-only and take booleans only (Python's or NumPy's, or arrays of
    them); any other value, 0 and 1 included, is a TypeError.

    >>> qinvgamma(0.5, 2, 1)
    0.5958243473776975
    >>> qinvgamma(0.25, 2, 1, lower_tail=False)
    1.0402809657000605
    """
@overload
def qinvgamma(p: _Array1, shape: _Array2, scale: _Array3, *, lower_tail: _ArrayFlag1 = ...,
              log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qinvgamma(p: _Like1, shape: _Like2, scale: _Like3, *, lower_tail: _FlagLike1 = ...,
              log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qlaplace(p: _Real, mu: _Real, sigma: _Real, *, lower_tail: _Flag = True,
             log_p: _Flag = False) -> float:
    """Quantile function of the Laplace (double exponential) distribution with location
    `mu` and scale `sigma`, density exp(-|x - mu| / sigma) / (2 sigma): the point at
    which the distribution function P(X <= x) reaches `p`, or with `lower_tail` false
    the point x with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or with
    `log_p` true its natural logarithm, in [-inf, 0]. Probability 0 gives the lower end
    of the support and 1 the upper end, or the other way round for the upper tail. `mu`
    is any real number and `sigma` >= 0; `sigma` = 0 is the point mass at `mu`. The
    arguments broadcast as NumPy arrays; all scalars give a float, otherwise a float64
    array. NaN in any argument, `p` outside [0, 1] (above 0 with `log_p`), or `sigma` <
    0, gives NaN. `sigma` = +inf gives NaN. `lower_tail` and `log_p` are keyword-only
    and take booleans only (Python's or NumPy's, or arrays of them); any other value, 0
    and 1 included, is a TypeError.

    >>> qlaplace(0.75, 0, 1)
    0.6931471805599452
    >>> qlaplace(0.005, 0, 1, lower_tail=False)
    4.605170185988092
    """
@overload
def qlaplace(p: _Array1, mu: _Array2, sigma: _Array3, *, lower_tail: _ArrayFlag1 = ...,
             log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qlaplace(p: _Like1, mu: _Like2, sigma: _Like3, *, lower_tail: _FlagLike1 = ...,
             log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qlnorm(p: _Real, mu: _Real, sigma: _Real, *, lower_tail: _Flag = True,
           log_p: _Flag = False) -> float:
    """Quantile function of the log-normal distribution, whose logarithm is normal with
    mean `mu` and standard deviation `sigma`: the point at which the distribution
    function P(X <= x) reaches `p`, or with `lower_tail` false the point x with upper
    tail P(X > x) = `p`. `p` is a probability in [0, 1], or with `log_p` true its
    natural logarithm, in [-inf, 0]. Probability 0 gives the lower end of the support
    and 1 the upper end, or the other way round for the upper tail. `mu` is any real
    number and `sigma` >= 0 (both required, on the log scale). The arguments broadcast
    as NumPy arrays; all scalars give a float, otherwise a float64 array. NaN in any
    argument, `p` outside [0, 1] (above 0 with `log_p`), or `sigma` < 0, gives NaN.
    `sigma` = +inf gives NaN. `lower_tail` and `log_p` are keyword-only and take
    booleans only (Python's or NumPy's, or arrays of them); any other value, 0 and 1
    included, is a TypeError.

    >>> qlnorm(0.5, 0, 1)
    1.0
    >>> qlnorm(0.25, 0, 0.5, lower_tail=False)
    1.4010821118543542
    """
@overload
def qlnorm(p: _Array1, mu: _Array2, sigma: _Array3, *, lower_tail: _ArrayFlag1 = ...,
           log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qlnorm(p: _Like1, mu: _Like2, sigma: _Like3, *, lower_tail: _FlagLike1 = ...,
           log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qlogis(p: _Real, mu: _Real, sigma: _Real, *, lower_tail: _Flag = True,
           log_p: _Flag = False) -> float:
    """Quantile function of the logistic distribution with location `mu` and scale `sigma`:
    the point at which the distribution function P(X <= x) reaches `p`, or with
    `lower_tail` false the point x with upper tail P(X > x) = `p`. `p` is a probability
    in [0, 1], or with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0
    gives the lower end of the support and 1 the upper end, or the other way round for
    the upper tail. `mu` is any real number and `sigma` >= 0; `sigma` = 0 is the point
    mass at `mu`. The arguments broadcast as NumPy arrays; all scalars give a float,
    otherwise a float64 array. NaN in any argument, `p` outside [0, 1] (above 0 with
    `log_p`), or `sigma` < 0, gives NaN. `sigma` = +inf gives NaN. `lower_tail` and
    `log_p` are keyword-only and take booleans only (Python's or NumPy's, or arrays of
    them); any other value, 0 and 1 included, is a TypeError.

    >>> qlogis(0.75, 0, 1)
    1.0986122886681098
    >>> qlogis(0.25, 0, 1, lower_tail=False)
    1.09861228866811
    """
@overload
def qlogis(p: _Array1, mu: _Array2, sigma: _Array3, *, lower_tail: _ArrayFlag1 = ...,
           log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qlogis(p: _Like1, mu: _Like2, sigma: _Like3, *, lower_tail: _FlagLike1 = ...,
           log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qpois(p: _Real, rate: _Real, *, lower_tail: _Flag = True, log_p: _Flag = False) -> float:
    """Quantile function of the Poisson distribution with mean `rate`: the smallest count k
    with `p` < P(X <= k), or with `lower_tail` false the smallest k with P(X > k) < `p`,
    returned as a float. `p` is a probability in [0, 1], or with `log_p` true its
    natural logarithm, in [-inf, 0]. Probability 0 gives the lower end of the support
    and 1 the upper end, or the other way round for the upper tail. `rate` >= 0; `rate`
    = 0 is the point mass at 0. The arguments broadcast as NumPy arrays; all scalars
    give a float, otherwise a float64 array. NaN in any argument, `p` outside [0, 1]
    (above 0 with `log_p`), or `rate` < 0, gives NaN. `lower_tail` and `log_p` are
    keyword-only and take booleans only (Python's or NumPy's, or arrays of them); any
    other value, 0 and 1 included, is a TypeError.

    >>> qpois(0.5, 2.5)
    2.0
    >>> qpois(0.1, 2.5, lower_tail=False)
    5.0
    """
@overload
def qpois(p: _Array1, rate: _Array2, *, lower_tail: _ArrayFlag1 = ...,
          log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qpois(p: _Like1, rate: _Like2, *, lower_tail: _FlagLike1 = ...,
          log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qt(p: _Real, dof: _Real, *, lower_tail: _Flag = True, log_p: _Flag = False) -> float:
    """Quantile function of Student's t distribution with `dof` degrees of freedom: the
    point at which the distribution function P(X <= x) reaches `p`, or with `lower_tail`
    false the point x with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or
    with `log_p` true its natural logarithm, in [-inf, 0]. Probability 0 gives the lower
    end of the support and 1 the upper end, or the other way round for the upper tail.
    `dof` is a real number of at least 2.2e-16; `dof` = +inf is the standard normal. The
    arguments broadcast as NumPy arrays; all scalars give a float, otherwise a float64
    array. NaN in any argument, `p` outside [0, 1] (above 0 with `log_p`), or `dof`
    below 2.2e-16, gives NaN. `lower_tail` and `log_p` are keyword-only and take
    booleans only (Python's or NumPy's, or arrays of them); any other value, 0 and 1
    included, is a TypeError.

    >>> round(qt(0.975, 5), 12)
    2.570581835636
    >>> qt(0.125, 2, lower_tail=False)
    1.6035674514745464
    """
@overload
def qt(p: _Array1, dof: _Array2, *, lower_tail: _ArrayFlag1 = ...,
       log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qt(p: _Like1, dof: _Like2, *, lower_tail: _FlagLike1 = ...,
       log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qunif(p: _Real, a: _Real, b: _Real, *, lower_tail: _Flag = True,
          log_p: _Flag = False) -> float:
    """Quantile function of the uniform distribution on [`a`, `b`]: the point at which the
    distribution function P(X <= x) reaches `p`, or with `lower_tail` false the point x
    with upper tail P(X > x) = `p`. `p` is a probability in [0, 1], or with `log_p` true
    its natural logarithm, in [-inf, 0]. Probability 0 gives the lower end of the
    support and 1 the upper end, or the other way round for the upper tail. `a` < `b`.
    The arguments broadcast as NumPy arrays; all scalars give a float, otherwise a
    float64 array. NaN in any argument, `p` outside [0, 1] (above 0 with `log_p`), or
    `a` >= `b`, gives NaN. An infinite bound gives NaN. `lower_tail` and `log_p` are
    keyword-only and take booleans only (Python's or NumPy's, or arrays of them); any
    other value, 0 and 1 included, is a TypeError.

    >>> qunif(0.25, 2, 6)
    3.0
    >>> qunif(0.1, 2, 6, lower_tail=False)
    5.6
    """
@overload
def qunif(p: _Array1, a: _Array2, b: _Array3, *, lower_tail: _ArrayFlag1 = ...,
          log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qunif(p: _Like1, a: _Like2, b: _Like3, *, lower_tail: _FlagLike1 = ...,
          log_p: _FlagLike2 = ...) -> _Result: ...

@overload
def qweibull(p: _Real, shape: _Real, scale: _Real, *, lower_tail: _Flag = True,
             log_p: _Flag = False) -> float:
    """Quantile function of the Weibull distribution with shape `shape` and scale `scale`,
    P(X <= x) = 1 - exp(-(x / scale)**shape): the point at which the distribution
    function P(X <= x) reaches `p`, or with `lower_tail` false the point x with upper
    tail P(X > x) = `p`. `p` is a probability in [0, 1], or with `log_p` true its
    natural logarithm, in [-inf, 0]. Probability 0 gives the lower end of the support
    and 1 the upper end, or the other way round for the upper tail. `shape` and `scale`
    are at least 2.2e-16. The arguments broadcast as NumPy arrays; all scalars give a
    float, otherwise a float64 array. NaN in any argument, `p` outside [0, 1] (above 0
    with `log_p`), or `shape` or `scale` below 2.2e-16, gives NaN. `lower_tail` and
    `log_p` are keyword-only and take booleans only (Python's or NumPy's, or arrays of
    them); any other value, 0 and 1 included, is a TypeError.

    >>> qweibull(0.5, 2, 1)
    0.8325546111576977
    >>> qweibull(0.05, 2, 1, lower_tail=False)
    1.7308183826022854
    """
@overload
def qweibull(p: _Array1, shape: _Array2, scale: _Array3, *, lower_tail: _ArrayFlag1 = ...,
             log_p: _ArrayFlag2 = ...) -> NDArray[np.float64]: ...
@overload
def qweibull(p: _Like1, shape: _Like2, scale: _Like3, *, lower_tail: _FlagLike1 = ...,
             log_p: _FlagLike2 = ...) -> _Result: ...
