"""Random draws: throughput of array draws and latency of a scalar draw.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the test-only
module:  PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_random.py
Ratios are distrova's time over the reference's, from this one run.
"""

import numpy as np

import distrova
from timing import best_seconds
import _distrova_testing as native

def array_throughput(n=1_000_000):
    print(f"time per draw over {n:.0e} draws (RandomState = numpy.random.RandomState(1))")
    engine, state = distrova.Engine(1), np.random.RandomState(1)
    cases = [
        ("rnorm(0, 1)", lambda: distrova.rnorm(0.0, 1.0, n, engine),
         lambda: state.normal(size=n), ("rnorm", (0.0, 1.0))),
        ("runif(0, 1)", lambda: distrova.runif(0.0, 1.0, n, engine),
         lambda: state.uniform(size=n), ("runif", (0.0, 1.0))),
        ("rgamma(2.5, 1)", lambda: distrova.rgamma(2.5, 1.0, n, engine),
         lambda: state.gamma(2.5, 1.0, size=n), ("rgamma", (2.5, 1.0))),
        ("rexp(1)", lambda: distrova.rexp(1.0, n, engine),
         lambda: state.exponential(1.0, size=n), ("rexp", (1.0,))),
        ("rbeta(2, 3)", lambda: distrova.rbeta(2.0, 3.0, n, engine),
         lambda: state.beta(2.0, 3.0, size=n), ("rbeta", (2.0, 3.0))),
    ]
    has_loop = hasattr(native, "cxx_draw_loop")
    print(f"    {'':15s} {'distrova':>11s} {'RandomState':>12s} {'C++ loop':>11s} "
          f"{'vs RandomState':>15s} {'vs C++ loop':>12s}")
    for name, ours, reference, (sampler, params) in cases:
        t_ours = best_seconds(ours, 1) / n
        t_ref = best_seconds(reference, 1) / n
        line = f"    {name:15s} {t_ours * 1e9:8.2f} ns {t_ref * 1e9:9.2f} ns "
        if has_loop:
            t_loop = best_seconds(lambda: native.cxx_draw_loop(sampler, params, n, 1), 1) / n
            line += f"{t_loop * 1e9:8.2f} ns {t_ours / t_ref:14.3f}x {t_ours / t_loop:11.3f}x"
        else:
            line += f"{'-':>11s} {t_ours / t_ref:14.3f}x {'-':>12s}"
        print(line)

def scalar_latency(number=200_000):
    print("scalar call latency")
    engine, state = distrova.Engine(1), np.random.RandomState(1)
    t_ours = best_seconds(lambda: distrova.rnorm(), number)
    t_ours_engine = best_seconds(lambda: distrova.rnorm(engine=engine), number)
    t_ref = best_seconds(lambda: state.normal(), number)
    print(f"    rnorm()                {t_ours * 1e9:7.0f} ns  {t_ours / t_ref:6.3f}x RandomState.normal()")
    print(f"    rnorm(engine=e)        {t_ours_engine * 1e9:7.0f} ns  "
          f"{t_ours_engine / t_ref:6.3f}x RandomState.normal()")
    print(f"    RandomState.normal()   {t_ref * 1e9:7.0f} ns")

if __name__ == "__main__":
    array_throughput()
    scalar_latency()
