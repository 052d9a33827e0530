"""What scripts/setup.sh built and installed: the sdist and the wheel built from it, their
contents and metadata, a fresh install running the tour, and the README's quick commands."""
import email.parser
import re
import shlex
import subprocess
import sys
import sysconfig
import tarfile
import zipfile
from pathlib import Path

import pytest

import distrova

ROOT = Path(__file__).resolve().parent.parent
WHEELS = sorted((ROOT / "build" / "wheelhouse").glob("distrova-*.whl"))
SDISTS = sorted((ROOT / "build" / "wheelhouse").glob("distrova-*.tar.gz"))

# The wheel is what scripts/setup.sh installed; a run against another build of the
# module (the -O2 one) has nothing new to say about it.
pytestmark = pytest.mark.skipif(
    Path(distrova.__file__).parent != Path(sysconfig.get_paths()["platlib"])
    or len(WHEELS) != 1 or len(SDISTS) != 1,
    reason="the module under test is not the wheel that scripts/setup.sh built and installed")


def test_wheel_holds_the_module_the_stubs_and_complete_metadata():
    with zipfile.ZipFile(WHEELS[0]) as wheel:
        names = wheel.namelist()
        stub = wheel.read("distrova-stubs/__init__.pyi")
        metadata = email.parser.Parser().parsestr(
            wheel.read("distrova-0.1.0.dist-info/METADATA").decode())
    assert stub == (ROOT / "stubs" / "distrova-stubs" / "__init__.pyi").read_bytes()
    assert f"distrova{sysconfig.get_config_var('EXT_SUFFIX')}" in names
    assert "distrova-0.1.0.dist-info/licenses/LICENSE" in names
    for field in ["Name", "Version", "Summary", "License-Expression", "Requires-Python",
                  "Description-Content-Type"]:
        assert metadata[field], field
    assert metadata["Requires-Python"] == "<3.14,>=3.10"
    classifiers = metadata.get_all("Classifier")
    assert "Typing :: Typed" in classifiers
    assert [c for c in classifiers if re.fullmatch(r"Programming Language :: Python :: 3\.\d+", c)] == [
        f"Programming Language :: Python :: 3.{minor}" for minor in range(10, 14)]
    assert metadata.get_all("Requires-Dist") == [
        "numpy", 'matplotlib; extra == "examples"', 'dask[array,distributed]; extra == "examples"']


def test_sdist_holds_exactly_the_tracked_files_the_build_reads():
    # setup.sh built the installed wheel from it, so it lacks nothing the build reads.
    with tarfile.open(SDISTS[0]) as archive:
        members = {name.split("/", 1)[1] for name in archive.getnames() if "/" in name}
    tracked = subprocess.run(["git", "ls-files", "pyproject.toml", "CMakeLists.txt", "README.md",
                              "LICENSE", "src", "stubs"], cwd=ROOT, check=True, capture_output=True,
                             text=True).stdout.split()
    assert members == set(tracked) | {"PKG-INFO"}


def test_fresh_environment_installs_the_wheel_and_runs_the_tour(tmp_path):
    venv = tmp_path / "venv"
    subprocess.run([sys.executable, "-m", "venv", str(venv)], check=True)
    subprocess.run([venv / "bin" / "python", "-m", "pip", "install", "-q", str(WHEELS[0])],
                   check=True, capture_output=True)
    tour = [str(ROOT / "examples" / "tour.py")]
    fresh = subprocess.run([venv / "bin" / "python"] + tour, cwd=tmp_path, check=True,
                           capture_output=True, text=True).stdout
    here = subprocess.run([sys.executable] + tour, check=True, capture_output=True, text=True).stdout
    assert fresh == here and "qnorm(0.975)" in fresh


# The README's commands that run an example (the tour's after the setup's `&&`).
README_EXAMPLES = re.findall(r"(?m)(?:^    |&& )(\.venv/bin/python examples/.*)$",
                             (ROOT / "README.md").read_text())


@pytest.mark.parametrize("command", README_EXAMPLES)
def test_readme_example_commands_run_after_setup(command, tmp_path):
    (tmp_path / "examples").symlink_to(ROOT / "examples")  # what they write lands in tmp_path
    run = subprocess.run([sys.executable] + shlex.split(command)[1:], cwd=tmp_path,
                         capture_output=True, text=True, timeout=600)
    assert run.returncode == 0, run.stderr[-4000:]
