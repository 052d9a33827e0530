"""The upper-tail and logarithmic forms of every family's p and q functions next to
SciPy's sf, logcdf, logsf and isf (ndtri_exp for the normal's log quantile) on the same
points: time per element and the ratio, distrova's time over SciPy's, from this one run.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_tails.py [group ...]
with groups among normal, gamma, beta, student_f and closed_forms (all by default).
Quantile requests far out are spread like p-values: 10^-u with u uniform.
"""
import sys

import numpy as np
import scipy.special
import scipy.stats as st

import distrova as d
from timing import best_seconds

N = 200_000


def normal(rng):
    x = rng.normal(size=N)
    far = rng.uniform(-40, -6, N)  # beyond the plain lower tail's logarithm
    p = rng.uniform(size=N)
    tiny = 10.0 ** rng.uniform(-300, -7, N)  # quantiles solved from the tail
    pos = np.exp(x)
    norm, lognorm = st.norm(), st.lognorm(1.0)
    return [
        ("pnorm upper", lambda: d.pnorm(x, lower_tail=False), lambda: norm.sf(x)),
        ("pnorm log", lambda: d.pnorm(x, log_p=True), lambda: norm.logcdf(x)),
        ("pnorm log far", lambda: d.pnorm(far, log_p=True), lambda: norm.logcdf(far)),
        ("pnorm log upper", lambda: d.pnorm(x, log_p=True, lower_tail=False), lambda: norm.logsf(x)),
        ("plnorm upper", lambda: d.plnorm(pos, 0.0, 1.0, lower_tail=False), lambda: lognorm.sf(pos)),
        ("qnorm upper", lambda: d.qnorm(p, lower_tail=False), lambda: norm.isf(p)),
        ("qnorm tail", lambda: d.qnorm(tiny), lambda: norm.ppf(tiny)),
        ("qnorm log", lambda: d.qnorm(np.log(p), log_p=True), lambda: scipy.special.ndtri_exp(np.log(p))),
        ("qnorm log tail", lambda: d.qnorm(np.log(tiny), log_p=True),
         lambda: scipy.special.ndtri_exp(np.log(tiny))),
        ("qlnorm upper", lambda: d.qlnorm(p, 0.0, 1.0, lower_tail=False), lambda: lognorm.isf(p)),
    ]


def gamma(rng):
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
        ("qgamma log (2.5)", lambda: d.qgamma(np.log(u), 2.5, 1.0, log_p=True), lambda: st.gamma.ppf(u, 2.5)),
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


def beta(rng):
    x, p = rng.uniform(size=N), rng.uniform(size=N)
    counts = rng.integers(0, 101, size=N).astype(float)
    b, binom = st.beta(2.5, 4.0), st.binom(100, 0.3)
    return [
        ("pbeta upper", lambda: d.pbeta(x, 2.5, 4.0, lower_tail=False), lambda: b.sf(x)),
        ("pbeta log", lambda: d.pbeta(x, 2.5, 4.0, True), lambda: b.logcdf(x)),
        ("pbeta log upper", lambda: d.pbeta(x, 2.5, 4.0, True, lower_tail=False), lambda: b.logsf(x)),
        ("qbeta upper", lambda: d.qbeta(p, 2.5, 4.0, lower_tail=False), lambda: b.isf(p)),
        ("qbeta log", lambda: d.qbeta(np.log(p), 2.5, 4.0, log_p=True), lambda: b.ppf(p)),
        ("pbinom upper", lambda: d.pbinom(counts, 100, 0.3, lower_tail=False), lambda: binom.sf(counts)),
        ("pbinom log", lambda: d.pbinom(counts, 100, 0.3, True), lambda: binom.logcdf(counts)),
        ("qbinom upper", lambda: d.qbinom(p, 100, 0.3, lower_tail=False), lambda: binom.isf(p)),
    ]


def student_f(rng):
    p = rng.uniform(size=N)
    t_x, f_x = rng.standard_t(5.0, size=N), rng.f(3.0, 5.0, size=N)
    t, f = st.t(5.0), st.f(3.0, 5.0)
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


def closed_form(name, params, frozen, points, tail):
    p, q = getattr(d, "p" + name), getattr(d, "q" + name)
    return [
        (f"p{name} upper", lambda: p(points, *params, lower_tail=False), lambda: frozen.sf(points)),
        (f"p{name} log", lambda: p(points, *params, True), lambda: frozen.logcdf(points)),
        (f"p{name} log upper", lambda: p(points, *params, True, lower_tail=False), lambda: frozen.logsf(points)),
        (f"q{name} upper", lambda: q(tail, *params, lower_tail=False), lambda: frozen.isf(tail)),
        (f"q{name} log", lambda: q(np.log(tail), *params, log_p=True), lambda: frozen.ppf(tail)),
    ]


def closed_forms(rng):
    x = rng.normal(scale=3.0, size=N)
    tail = 10.0 ** -rng.uniform(0, 20, N)
    return (closed_form("unif", (0.0, 1.0), st.uniform(0.0, 1.0), rng.uniform(-0.5, 1.5, N), tail)
            + closed_form("weibull", (1.5, 2.0), st.weibull_min(1.5, scale=2.0),
                          rng.exponential(scale=2.0, size=N), tail)
            + closed_form("cauchy", (0.0, 1.0), st.cauchy(0.0, 1.0), x, tail)
            + closed_form("laplace", (0.0, 1.0), st.laplace(0.0, 1.0), x, tail)
            + closed_form("logis", (0.0, 1.0), st.logistic(0.0, 1.0), x, tail))


GROUPS = {"normal": normal, "gamma": gamma, "beta": beta, "student_f": student_f, "closed_forms": closed_forms}


def main(groups):
    unknown = sorted(set(groups) - set(GROUPS))
    if unknown:
        sys.exit(f"unknown groups {unknown}; choose among {', '.join(GROUPS)}")
    print(f"time per element over {N:.0e} elements")
    print(f"    {'':26s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}")
    rng = np.random.default_rng(0)
    for group in groups:
        for name, ours, reference in GROUPS[group](rng):
            with np.errstate(all="ignore"):
                t_ours, t_ref = best_seconds(ours, repeat=3) / N, best_seconds(reference, repeat=3) / N
            print(f"    {name:26s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x", flush=True)


if __name__ == "__main__":
    main(sys.argv[1:] or list(GROUPS))
