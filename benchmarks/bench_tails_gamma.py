"""The upper-tail and logarithmic forms of the gamma, chi-squared, inverse gamma,
exponential and Poisson functions next to SciPy's sf, logcdf, logsf and isf: nanoseconds
per element over an array, and the ratio (distrova over SciPy, below 1 is faster).

    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_tails_gamma.py
"""
import numpy as np
import scipy.stats as st

import distrova as d
from timing import best_seconds

N = 200_000


def cases():
    rng = np.random.default_rng(0)
    u = rng.uniform(size=N)
    x = 12 * u
    far = 10 ** rng.uniform(-300, -1, N)  # upper-tail probabilities down to 1e-300
    k = rng.integers(0, 40, N).astype(float)
    big = 1000 + 200 * rng.normal(size=N)
    return [
        ("pgamma upper (2.5)", lambda: d.pgamma(x, 2.5, 1.0, lower_tail=False), lambda: st.gamma.sf(x, 2.5)),
        ("pgamma log (2.5)", lambda: d.pgamma(x, 2.5, 1.0, True), lambda: st.gamma.logcdf(x, 2.5)),
        ("pgamma log upper (2.5)", lambda: d.pgamma(x, 2.5, 1.0, True, lower_tail=False),
         lambda: st.gamma.logsf(x, 2.5)),
        ("pgamma upper (1000)", lambda: d.pgamma(big, 1000.0, 1.0, lower_tail=False),
         lambda: st.gamma.sf(big, 1000)),
        ("qgamma upper (2.5)", lambda: d.qgamma(far, 2.5, 1.0, lower_tail=False), lambda: st.gamma.isf(far, 2.5)),
        ("qgamma log (2.5)", lambda: d.qgamma(np.log(u), 2.5, 1.0, log_p=True),
         lambda: st.gamma.ppf(u, 2.5)),
        ("pchisq upper (5)", lambda: d.pchisq(x, 5.0, lower_tail=False), lambda: st.chi2.sf(x, 5)),
        ("qchisq upper (5)", lambda: d.qchisq(far, 5.0, lower_tail=False), lambda: st.chi2.isf(far, 5)),
        ("pinvgamma upper (3)", lambda: d.pinvgamma(x, 3.0, 2.0, lower_tail=False),
         lambda: st.invgamma.sf(x, 3, scale=2)),
        ("qinvgamma upper (3)", lambda: d.qinvgamma(far, 3.0, 2.0, lower_tail=False),
         lambda: st.invgamma.isf(far, 3, scale=2)),
        ("pexp upper", lambda: d.pexp(x, 2.0, lower_tail=False), lambda: st.expon.sf(x, scale=0.5)),
        ("qexp upper", lambda: d.qexp(far, 2.0, lower_tail=False), lambda: st.expon.isf(far, scale=0.5)),
        ("ppois upper (4)", lambda: d.ppois(k, 4.0, lower_tail=False), lambda: st.poisson.sf(k, 4)),
        ("ppois log (4)", lambda: d.ppois(k, 4.0, True), lambda: st.poisson.logcdf(k, 4)),
        ("qpois upper (4)", lambda: d.qpois(far, 4.0, lower_tail=False), lambda: st.poisson.isf(far, 4)),
    ]


if __name__ == "__main__":
    print(f"time per element over {N:.0e} elements (ns)")
    print(f"    {'':26s} {'distrova':>10s} {'scipy':>10s} {'ratio':>7s}")
    for name, ours, theirs in cases():
        with np.errstate(all="ignore"):
            t_ours = best_seconds(ours, repeat=3) / N
            t_ref = best_seconds(theirs, repeat=3) / N
        print(f"    {name:26s} {t_ours * 1e9:10.1f} {t_ref * 1e9:10.1f} {t_ours / t_ref:7.2f}")
