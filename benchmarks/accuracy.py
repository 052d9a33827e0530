"""The accuracy table: per function and contract clause, distrova's worst error over grids
larger than the test suite's, next to SciPy's worst error on the same points (its sf,
logcdf, logsf and isf for the tail forms), both against mpmath.

Slow (several minutes a group); run by hand after tests/build-native.sh has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/accuracy.py [group ...]
with groups among normal, gamma, beta, student_f and closed_forms (all by default); each
group's rows come from its piece, benchmarks/accuracy_<group>.py.
"""
import importlib.util
import pathlib
import signal
import sys

import mpmath

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tests"))  # the test rows and their references
import accuracy_harness  # noqa: E402

GROUPS = ("normal", "gamma", "beta", "student_f", "closed_forms")
# mpmath's series can take hours at some points far out under huge parameters (a binomial
# of 1e15 trials at 0, a t of 1e7 dof at -300); such a point is left out, and counted.
REFERENCE_SECONDS = 20.0
skipped = 0


class SlowReference(Exception):
    pass


def _time_out(signum, frame):
    raise SlowReference


def at_precision_in_time(row, params, f, *args, _plain=accuracy_harness.at_precision):
    """The reference, or NaN (which every worst error passes over) where it takes too long."""
    global skipped
    previous = signal.signal(signal.SIGALRM, _time_out)
    signal.setitimer(signal.ITIMER_REAL, REFERENCE_SECONDS)
    try:
        return _plain(row, params, f, *args)
    except SlowReference:
        skipped += 1
        return (mpmath.nan, mpmath.nan) if f is row.tails else mpmath.nan
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)


# Before the pieces import it, so that theirs is this one too.
accuracy_harness.at_precision = at_precision_in_time


def group_rows(group):
    # Loaded under names of their own: each piece imports the test rows of its group,
    # which carry the same module name.
    spec = importlib.util.spec_from_file_location(f"accuracy_table_{group}", HERE / f"accuracy_{group}.py")
    piece = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(piece)
    return piece.rows()


def main(groups):
    unknown = sorted(set(groups) - set(GROUPS))
    if unknown:
        sys.exit(f"unknown groups {unknown}; choose among {', '.join(GROUPS)}")
    print(f"{'function':10s} {'clause':24s} {'distrova':>10s} {'SciPy':>10s}")
    for group in groups:
        for function, clause, ours, theirs in group_rows(group):
            print(f"{function:10s} {clause:24s} {ours:10.2e} {theirs:10.2e}", flush=True)
    if skipped:
        print(f"({skipped} points left out: their reference took over {REFERENCE_SECONDS:g} s)")


if __name__ == "__main__":
    main(sys.argv[1:] or list(GROUPS))
