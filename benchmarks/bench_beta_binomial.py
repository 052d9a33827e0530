"""Beta and binomial functions: time per element, and single long binomial calls.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_beta_binomial.py
Each function runs over 1e6 elements next to the matching scipy.stats call (beta with
shapes 2.5 and 4, binomial with 100 trials and prob 0.3); times are the best of a few
repeats (one for the slow ones), ratios are distrova's time over scipy's from this one
run. Then single calls that a fresh sum for every count would make quadratic or long.
"""
import numpy as np
import scipy.stats as st

import distrova
from timing import best_seconds, print_per_element

N = 1_000_000


def cases():
    rng = np.random.default_rng(0)
    x = rng.uniform(size=N)
    p = rng.uniform(size=N)
    counts = rng.integers(0, 101, size=N)
    beta, binom = st.beta(2.5, 4.0), st.binom(100, 0.3)
    yield "dbeta", lambda: distrova.dbeta(x, 2.5, 4.0), lambda: beta.pdf(x), (x, (2.5, 4.0, False))
    yield "pbeta", lambda: distrova.pbeta(x, 2.5, 4.0), lambda: beta.cdf(x), (x, (2.5, 4.0, False)), 3
    yield "qbeta", lambda: distrova.qbeta(p, 2.5, 4.0), lambda: beta.ppf(p), (p, (2.5, 4.0)), 1
    yield "pbinom", lambda: distrova.pbinom(counts, 100, 0.3), lambda: binom.cdf(counts), \
        (counts, (100, 0.3, False)), 1
    yield "qbinom", lambda: distrova.qbinom(p, 100, 0.3), lambda: binom.ppf(p), (p, (100, 0.3)), 1


def main():
    print_per_element(cases(), N)
    print("single calls")
    for text, call in [("qbinom(0.5, 1e6, 0.5)", lambda: distrova.qbinom(0.5, 10**6, 0.5)),
                       ("pbinom(4e8, 1e9, 0.5)", lambda: distrova.pbinom(4 * 10**8, 10**9, 0.5)),
                       ("pbinom(5e8, 1e9, 0.5)", lambda: distrova.pbinom(5 * 10**8, 10**9, 0.5)),
                       ("qbinom(0.5, 1e9, 0.5)", lambda: distrova.qbinom(0.5, 10**9, 0.5))]:
        print(f"    {text:24s} {best_seconds(call, repeat=3) * 1e3:10.3f} ms")


if __name__ == "__main__":
    main()
