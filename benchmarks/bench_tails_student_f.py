"""The upper-tail and log forms of the t and F functions: time per element next to SciPy's
sf, logcdf, logsf and isf on the same points.

Run by hand after tests/build-native.sh has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_tails_student_f.py
Each form runs over 1e5 float64 elements (t with 5 degrees of freedom, F with 3 and 5);
times are the best of a few repeats, ratios are distrova's time over SciPy's.
"""
import numpy as np
import scipy.stats as st

import distrova
from timing import best_seconds

N = 100_000


def forms(rng):
    p = rng.uniform(size=N)
    t_x, f_x = rng.standard_t(5.0, size=N), rng.f(3.0, 5.0, size=N)
    t, f = st.t(5.0), st.f(3.0, 5.0)
    d = distrova
    return [
        ("pt upper", lambda: d.pt(t_x, 5.0, lower_tail=False), lambda: t.sf(t_x)),
        ("pt log", lambda: d.pt(t_x, 5.0, True), lambda: t.logcdf(t_x)),
        ("pt log upper", lambda: d.pt(t_x, 5.0, True, lower_tail=False), lambda: t.logsf(t_x)),
        ("qt upper", lambda: d.qt(p, 5.0, lower_tail=False), lambda: t.isf(p)),
        ("qt log", lambda: d.qt(np.log(p), 5.0, log_p=True), lambda: t.ppf(p)),
        ("pf upper", lambda: d.pf(f_x, 3.0, 5.0, lower_tail=False), lambda: f.sf(f_x)),
        ("pf log", lambda: d.pf(f_x, 3.0, 5.0, True), lambda: f.logcdf(f_x)),
        ("pf log upper", lambda: d.pf(f_x, 3.0, 5.0, True, lower_tail=False), lambda: f.logsf(f_x)),
        ("qf upper", lambda: d.qf(p, 3.0, 5.0, lower_tail=False), lambda: f.isf(p)),
        ("qf log", lambda: d.qf(np.log(p), 3.0, 5.0, log_p=True), lambda: f.ppf(p)),
    ]


if __name__ == "__main__":
    print(f"time per element over {N:.0e} elements")
    print(f"    {'':13s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}")
    for name, ours, reference in forms(np.random.default_rng(0)):
        t_ours, t_ref = best_seconds(ours, repeat=3) / N, best_seconds(reference, repeat=3) / N
        print(f"    {name:13s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x")
