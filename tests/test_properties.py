"""The property suite over hostile arguments, run in a subprocess so that a hang fails."""
import os
import pathlib
import subprocess
import sys

import pytest

SUITE = pathlib.Path(__file__).with_name("hostile_properties.py")
TIME_LIMIT = 900  # seconds; the suite takes about two minutes on an idle machine, more under the sanitizers


@pytest.mark.slow
def test_hostile_property_suite():
    try:
        run = subprocess.run([sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider",
                              str(SUITE)], capture_output=True, text=True, timeout=TIME_LIMIT,
                             env=os.environ.copy())
    except subprocess.TimeoutExpired as hang:
        output = (hang.stdout or b"").decode(errors="replace")
        raise AssertionError(f"the property suite did not finish in {TIME_LIMIT} s:\n"
                             f"{output[-4000:]}") from None
    assert run.returncode == 0, run.stdout[-12000:] + run.stderr[-4000:]
