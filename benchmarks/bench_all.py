"""Every function of the module: nanoseconds per element over an array and the latency
of one scalar call, next to the matching SciPy or NumPy call and, given a build from
before a change, next to that build's figures, all as ratios from one run. Where the
test-only module is importable, the array figure is also set against a plain C++ loop
over the same scalar function and data: what the binding layer costs.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_all.py [--before DIR]
        [--elements N] [--only NAME ...]
DIR holds an older build of the module (a distrova*.so); its figures are measured by a
child process of this run, each call in turn with this build's, so that a change in the
machine's load touches both alike; times are the calling thread's time on a core. Arrays have 1e6 elements by default; a call that
takes more than a few seconds is timed once, the others are the best of three. Ratios
are the time of this build over the other one's (below 1 is faster).
"""
import argparse
import functools
import os
import subprocess
import sys
import time
import timeit

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")  # idle BLAS threads would share the cores

import numpy as np  # noqa: E402
import scipy.special as sp  # noqa: E402
import scipy.stats as st  # noqa: E402

import distrova  # noqa: E402

try:
    import _distrova_testing as native  # noqa: E402
except ImportError:
    native = None

SLOW_CALL = 3.0  # seconds: time such a call once
# The time the calling thread spends on a core: the machine is shared, and time spent
# waiting for a core is not the call's.
CLOCK = time.thread_time


def families(rng, n):
    """Per family: parameters, points for d and p, the SciPy distribution and NumPy draws."""
    normal, uniform = rng.normal(size=n), rng.uniform(size=n)
    counts = lambda top: rng.integers(0, top + 1, n)  # noqa: E731
    g = np.random.default_rng(1)
    return {
        "norm": ((0.0, 1.0), normal, st.norm(0, 1), lambda m: g.normal(0, 1, m)),
        "bern": ((0.3,), counts(1), st.bernoulli(0.3), lambda m: g.binomial(1, 0.3, m)),
        "beta": ((2.5, 3.5), uniform, st.beta(2.5, 3.5), lambda m: g.beta(2.5, 3.5, m)),
        "binom": ((20, 0.3), counts(20), st.binom(20, 0.3), lambda m: g.binomial(20, 0.3, m)),
        "cauchy": ((0.0, 1.0), 3 * normal, st.cauchy(0, 1), lambda m: g.standard_cauchy(m)),
        "chisq": ((5.0,), 15 * uniform, st.chi2(5), lambda m: g.chisquare(5, m)),
        "exp": ((2.0,), 2 * uniform, st.expon(scale=0.5), lambda m: g.exponential(0.5, m)),
        "f": ((5.0, 8.0), 5 * uniform, st.f(5, 8), lambda m: g.f(5, 8, m)),
        "gamma": ((2.5, 1.0), 8 * uniform, st.gamma(2.5), lambda m: g.gamma(2.5, 1.0, m)),
        "invgamma": ((3.0, 2.0), 3 * uniform, st.invgamma(3, scale=2), lambda m: 1 / g.gamma(3, 0.5, m)),
        "laplace": ((0.0, 1.0), 3 * normal, st.laplace(0, 1), lambda m: g.laplace(0, 1, m)),
        "lnorm": ((0.0, 1.0), np.exp(normal), st.lognorm(1.0), lambda m: g.lognormal(0, 1, m)),
        "logis": ((0.0, 1.0), 3 * normal, st.logistic(0, 1), lambda m: g.logistic(0, 1, m)),
        "pois": ((4.0,), counts(12), st.poisson(4), lambda m: g.poisson(4, m)),
        "t": ((5.0,), 2 * normal, st.t(5), lambda m: g.standard_t(5, m)),
        "unif": ((0.0, 1.0), 3 * uniform - 1, st.uniform(0, 1), lambda m: g.uniform(0, 1, m)),
        "weibull": ((1.5, 2.0), 4 * uniform, st.weibull_min(1.5, scale=2), lambda m: 2 * g.weibull(1.5, m)),
    }


# Scalar references from scipy.special where one function is the same quantity.
SPECIAL = {
    "pnorm": lambda: sp.ndtr(0.5), "qnorm": lambda: sp.ndtri(0.3), "pbeta": lambda: sp.betainc(2.5, 3.5, 0.5),
    "qbeta": lambda: sp.betaincinv(2.5, 3.5, 0.3), "pbinom": lambda: sp.bdtr(5, 20, 0.3),
    "pchisq": lambda: sp.chdtr(5, 0.5), "pf": lambda: sp.fdtr(5, 8, 0.5), "qf": lambda: sp.fdtri(5, 8, 0.3),
    "pgamma": lambda: sp.gammainc(2.5, 0.5), "qgamma": lambda: sp.gammaincinv(2.5, 0.3),
    "plogis": lambda: sp.expit(0.5), "qlogis": lambda: sp.logit(0.3), "ppois": lambda: sp.pdtr(5, 4.0),
    "pt": lambda: sp.stdtr(5, 0.5), "qt": lambda: sp.stdtrit(5, 0.3),
}


def cases(n):
    """(name, array call, scalar call) of every function of the module, in its order."""
    rng = np.random.default_rng(0)
    p = rng.uniform(size=n)
    for name, (params, points, _, _) in families(rng, n).items():
        scalar_point = float(points[0]) if points.dtype.kind == "f" else int(points[0])
        for kind, at, scalar_at, flag in [("d", points, scalar_point, (False,)),
                                          ("p", points, scalar_point, (False,)), ("q", p, 0.3, ())]:
            f = getattr(distrova, kind + name, None)
            if f is not None:
                yield (kind + name, functools.partial(f, at, *params, *flag),
                       functools.partial(f, scalar_at, *params, *flag))
        r = getattr(distrova, "r" + name, None)
        if r is not None:
            yield "r" + name, functools.partial(r, *params, size=n), functools.partial(r, *params)


def reference_cases(n):
    rng = np.random.default_rng(0)
    p = rng.uniform(size=n)
    for name, (params, points, frozen, draw) in families(rng, n).items():
        scalar_point = float(points[0])
        discrete = name in ("bern", "binom", "pois")
        density = frozen.pmf if discrete else frozen.pdf
        yield "d" + name, lambda f=density, x=points: f(x), lambda f=density, s=scalar_point: f(s)
        yield "p" + name, lambda f=frozen.cdf, x=points: f(x), SPECIAL.get("p" + name, lambda f=frozen.cdf, s=scalar_point: f(s))
        yield "q" + name, lambda f=frozen.ppf: f(p), SPECIAL.get("q" + name, lambda f=frozen.ppf: f(0.3))
        yield "r" + name, lambda d=draw: d(n), lambda d=draw: d(None)


def loop_cases(n):
    """(name, plain C++ loop over the array of `cases`, None) for every function."""
    rng = np.random.default_rng(0)
    p = rng.uniform(size=n)
    for name, (params, points, _, _) in families(rng, n).items():
        for kind, at, flag in [("d", points, (False,)), ("p", points, (False,)), ("q", p, ())]:
            if hasattr(distrova, kind + name):
                yield kind + name, functools.partial(native.cxx_loop, kind + name, at, (*params, *flag)), None
        if hasattr(distrova, "r" + name):
            yield "r" + name, functools.partial(native.cxx_draw_loop, "r" + name, params, n, 1), None


def per_element(call, n, rounds=3):
    start = CLOCK()
    call()
    first = CLOCK() - start
    if first > SLOW_CALL or rounds == 1:
        return first / n
    return min([first] + timeit.repeat(call, number=1, repeat=rounds - 1, timer=CLOCK)) / n


def latency(call, repeat=5):
    number = max(1, int(0.05 / max(timeit.timeit(call, number=1), 1e-7)))
    return min(timeit.repeat(call, number=number, repeat=repeat, timer=CLOCK)) / number


def measure(case_list, n, only, before=None):
    """ns per element and per scalar call; with `before`, also those of the older build,
    taken in turn with this build's, round by round."""
    figures, older = {}, {}
    for name, array_call, scalar_call in case_list:
        if only and name not in only:
            continue
        if before is None:
            figures[name] = (per_element(array_call, n) * 1e9, latency(scalar_call) * 1e9 if scalar_call else None)
        else:
            array_ns, old_array_ns, scalar_ns, old_scalar_ns = [], [], [], []
            for _ in range(3):
                array_ns.append(per_element(array_call, n, rounds=1) * 1e9)
                old_array_ns.append(before.ask("array", name))
                if max(array_ns[-1], old_array_ns[-1]) * n > SLOW_CALL * 1e9:
                    break
            for _ in range(5):
                scalar_ns.append(latency(scalar_call, repeat=1) * 1e9)
                old_scalar_ns.append(before.ask("scalar", name))
            figures[name] = (min(array_ns), min(scalar_ns))
            older[name] = (min(old_array_ns), min(old_scalar_ns))
        print(f"  measured {name}", file=sys.stderr, flush=True)
    return (figures, older) if before is not None else figures


class Before:
    """A child process with an older build on its path that times its calls on request."""

    def __init__(self, folder, n):
        self.child = subprocess.Popen([sys.executable, __file__, "--serve", "--elements", str(n)],
                                      env={**os.environ, "PYTHONPATH": os.path.abspath(folder)},
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, kind, name):
        self.child.stdin.write(f"{kind} {name}\n")
        self.child.stdin.flush()
        answer = self.child.stdout.readline().strip()
        return float(answer) if answer != "None" else None

    def close(self):
        self.child.stdin.close()
        self.child.wait()


def serve(n):
    calls = {name: (array_call, scalar_call) for name, array_call, scalar_call in cases(n)}
    for line in sys.stdin:
        kind, name = line.split()
        if name not in calls:
            print("None", flush=True)
        elif kind == "array":
            print(per_element(calls[name][0], n, rounds=1) * 1e9, flush=True)
        else:
            print(latency(calls[name][1], repeat=1) * 1e9, flush=True)


def ratio(a, b):
    return f"{a / b:7.2f}" if a is not None and b else f"{'':7s}"


def number(v):
    return f"{v:10.1f}" if v is not None else f"{'':10s}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--before", help="folder of an older build of the module")
    parser.add_argument("--elements", type=int, default=1_000_000)
    parser.add_argument("--only", nargs="*", default=[])
    parser.add_argument("--serve", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.serve:  # the child process that times an older build
        serve(args.elements)
        return
    before = {}
    if args.before:
        server = Before(args.before, args.elements)
        ours, before = measure(cases(args.elements), args.elements, args.only, server)
        server.close()
    else:
        ours = measure(cases(args.elements), args.elements, args.only)
    reference = measure(reference_cases(args.elements), args.elements, list(ours))
    loop = measure(loop_cases(args.elements), args.elements, list(ours)) if native else {}

    print(f"ns per element over {args.elements:.0e} elements, and ns per scalar call")
    print(f"{'':10s} {'array':>10s} {'before':>10s} {'ratio':>7s} {'reference':>10s} {'ratio':>7s}"
          f" {'C++ loop':>10s} {'ratio':>7s} | {'scalar':>10s} {'before':>10s} {'ratio':>7s} {'reference':>10s} {'ratio':>7s}")
    for name, (array_ns, scalar_ns) in ours.items():
        old = before.get(name, (None, None))
        ref = reference.get(name, (None, None))
        plain = loop.get(name, (None, None))[0]
        print(f"{name:10s} {number(array_ns)} {number(old[0])} {ratio(array_ns, old[0])} {number(ref[0])}"
              f" {ratio(array_ns, ref[0])} {number(plain)} {ratio(array_ns, plain)} | {number(scalar_ns)} {number(old[1])} {ratio(scalar_ns, old[1])}"
              f" {number(ref[1])} {ratio(scalar_ns, ref[1])}")


if __name__ == "__main__":
    main()
