"""A picture gallery of distrova's distributions.

    python examples/gallery.py --out gallery [--draws 100000] [--seed 2024]

For each family below it writes one PNG into the output folder (created if missing):
a histogram of draws from a seeded Engine against the density, then the distribution
and quantile functions side by side. The discrete family shows bars of the draws'
frequencies against the mass function. Needs matplotlib (`pip install distrova[examples]`);
no display is used.
"""
import argparse
import os
from dataclasses import dataclass
from pathlib import Path

import matplotlib
import matplotlib.pyplot as plt
import numpy as np

import distrova

matplotlib.use("Agg")  # files only, no display

MAX_DRAWS = 10**8  # 800 MB of draws; more is surely a typing error


@dataclass(frozen=True)
class Family:
    name: str        # the short name: d<name>, p<name>, q<name>, r<name>
    label: str       # the title of the figure
    params: tuple    # the parameters after the point, in the module's order
    low: float       # the range of the plots of points
    high: float
    discrete: bool = False

    def function(self, kind):
        return getattr(distrova, kind + self.name)


FAMILIES = [
    Family("norm", "normal, mu = 0, sigma = 1", (0.0, 1.0), -4.0, 4.0),
    Family("lnorm", "log-normal, mu = 0, sigma = 0.5", (0.0, 0.5), 0.0, 4.0),
    Family("gamma", "gamma, shape = 2.5, scale = 1", (2.5, 1.0), 0.0, 10.0),
    Family("beta", "beta, a = 2, b = 5", (2.0, 5.0), 0.0, 1.0),
    Family("t", "Student t, dof = 4", (4.0,), -6.0, 6.0),
    Family("cauchy", "Cauchy, mu = 0, sigma = 1", (0.0, 1.0), -8.0, 8.0),
    Family("laplace", "Laplace, mu = 0, sigma = 1", (0.0, 1.0), -6.0, 6.0),
    Family("logis", "logistic, mu = 0, sigma = 1", (0.0, 1.0), -7.0, 7.0),
    Family("unif", "uniform, a = -1, b = 2", (-1.0, 2.0), -1.5, 2.5),
    Family("weibull", "Weibull, shape = 1.5, scale = 2", (1.5, 2.0), 0.0, 7.0),
    Family("binom", "binomial, n_trials = 20, prob = 0.3", (20, 0.3), 0, 15, discrete=True),
]


def draws(family, count, seed):
    """`count` draws of the family from a fresh Engine seeded with `seed`."""
    return family.function("r")(*family.params, count, distrova.Engine(seed))


def histogram(family, sample, bins=80):
    """Bin edges over the plotted range and the height of each bin as a density: the
    share of all draws (those outside the range included) per unit of x."""
    if family.discrete:
        edges = np.arange(family.low, family.high + 2) - 0.5
    else:
        edges = np.linspace(family.low, family.high, bins + 1)
    counts, _ = np.histogram(sample, bins=edges)
    return edges, counts / (len(sample) * np.diff(edges))


def plot(family, sample, path):
    fig, (left, middle, right) = plt.subplots(1, 3, figsize=(13, 3.8), constrained_layout=True)
    edges, heights = histogram(family, sample)
    if family.discrete:
        ks = np.arange(family.low, family.high + 1)
        left.bar(ks, heights, width=0.8, color="tab:blue", alpha=0.5, label=f"{len(sample):,} draws")
        left.plot(ks, family.function("d")(ks, *family.params), "o", color="tab:red",
                  label=f"d{family.name}")
        middle.step(ks, family.function("p")(ks, *family.params), where="post", color="tab:green")
    else:
        x = np.linspace(family.low, family.high, 801)
        left.stairs(heights, edges, fill=True, color="tab:blue", alpha=0.4,
                    label=f"{len(sample):,} draws")
        left.plot(x, family.function("d")(x, *family.params), color="tab:red", label=f"d{family.name}")
        middle.plot(x, family.function("p")(x, *family.params), color="tab:green")
    p = np.linspace(0.005, 0.995, 397)
    right.plot(p, family.function("q")(p, *family.params), color="tab:purple",
               drawstyle="steps-post" if family.discrete else "default")
    left.set(title="draws and density" if not family.discrete else "draws and mass", xlabel="x")
    left.legend(loc="best", fontsize="small")
    middle.set(title=f"p{family.name}(x)", xlabel="x", ylim=(-0.02, 1.02))
    right.set(title=f"q{family.name}(p)", xlabel="p")
    for ax in (left, middle, right):
        ax.grid(alpha=0.3)
    fig.suptitle(family.label)
    fig.savefig(path, dpi=80)
    plt.close(fig)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", default="gallery", type=Path,
                        help="folder for the PNG files (default: gallery)")
    parser.add_argument("--draws", default=100_000, type=int,
                        help="draws per histogram (default: 100000)")
    parser.add_argument("--seed", default=2024, type=int, help="seed of every family's Engine")
    args = parser.parse_args(argv)
    if not 100 <= args.draws <= MAX_DRAWS:
        parser.error(f"--draws must be between 100 and {MAX_DRAWS}, not {args.draws}")
    if not -2**31 <= args.seed < 2**31:
        parser.error(f"--seed must fit a 32-bit signed integer, not {args.seed}")
    if args.out.exists() and not args.out.is_dir():
        parser.error(f"--out {args.out} exists and is not a folder")
    try:
        args.out.mkdir(parents=True, exist_ok=True)
    except OSError as error:
        parser.error(f"--out {args.out}: cannot create the folder ({error.strerror})")
    if not os.access(args.out, os.W_OK):
        parser.error(f"--out {args.out}: the folder is not writable")
    return args


def main(argv=None):
    args = parse_arguments(argv)
    written = []
    for family in FAMILIES:
        path = args.out / f"{family.name}.png"
        plot(family, draws(family, args.draws, args.seed), path)
        written.append(path)
        print(path)
    return written


if __name__ == "__main__":
    main()
