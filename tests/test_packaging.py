"""The built wheel and sdist: their contents, metadata, and a fresh install running the tour."""
import email.parser
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

# The wheel is what scripts/setup.sh installed; a run against another build of the
# module (the -O2 one) has nothing new to say about it.
pytestmark = pytest.mark.skipif(
    Path(distrova.__file__).parent != Path(sysconfig.get_paths()["platlib"]) or len(WHEELS) != 1,
    reason="the module under test is not the wheel that scripts/setup.sh built and installed")


def test_wheel_holds_the_module_the_stubs_and_complete_metadata():
    with zipfile.ZipFile(WHEELS[0]) as wheel:
        names = wheel.namelist()
        stub = wheel.read("distrova-stubs/__init__.pyi")
        metadata = email.parser.Parser().parsestr(
            wheel.read("distrova-0.1.0.dist-info/METADATA").decode())
    assert stub == (ROOT / "stubs" / "distrova-stubs" / "__init__.pyi").read_bytes()
    assert any(n.startswith("distrova.cpython-310-") and n.endswith(".so") for n in names)
    assert "distrova-0.1.0.dist-info/licenses/LICENSE" in names
    for field in ["Name", "Version", "Summary", "License-Expression", "Requires-Python",
                  "Description-Content-Type"]:
        assert metadata[field], field
    assert metadata["Requires-Python"] == ">=3.10"
    assert "Typing :: Typed" in metadata.get_all("Classifier")
    assert metadata.get_all("Requires-Dist") == [
        "numpy", 'matplotlib; extra == "examples"', 'dask[array]; extra == "examples"']


def test_sdist_has_everything_the_build_reads(tmp_path):
    subprocess.run([sys.executable, "-m", "build", "--sdist", "--outdir", str(tmp_path), str(ROOT)],
                   check=True, capture_output=True)
    (sdist,) = tmp_path.glob("distrova-*.tar.gz")
    with tarfile.open(sdist) as archive:
        members = {Path(name).relative_to("distrova-0.1.0").as_posix()
                   for name in archive.getnames() if name != "distrova-0.1.0"}
    needed = {"pyproject.toml", "CMakeLists.txt", "README.md", "LICENSE", "PKG-INFO"}
    needed |= {p.relative_to(ROOT).as_posix() for d in ("src", "stubs")
               for p in (ROOT / d).rglob("*") if p.is_file()}
    assert needed <= members
    assert not any(m.startswith(("build/", ".venv/")) for m in members)


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
