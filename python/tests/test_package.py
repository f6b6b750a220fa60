"""The package as a Python user installs it: a wheel built from this tree with the project's
build, installed into a fresh virtual environment, imports there and gives the tree's numbers."""
import json
import os
import subprocess
import sys

import numpy as np
import pytest

import qavsec
from conftest import SOURCE

BUILD = os.environ.get("QAVSEC_BUILD")


@pytest.mark.skipif(not BUILD, reason="needs the CMake build tree the module was built in")
def test_the_wheel_installs_and_imports_in_a_fresh_venv(tmp_path):
    env = dict(os.environ, QAVSEC_CMAKE_BUILD_DIR=BUILD)
    subprocess.run([sys.executable, "-m", "pip", "wheel", "--no-build-isolation", "--no-deps",
                    "--no-index", "-q", "-w", str(tmp_path / "wheels"), str(SOURCE)],
                   check=True, env=env)
    (wheel,) = (tmp_path / "wheels").glob("qavsec-*.whl")
    assert wheel.name.startswith(f"qavsec-{qavsec.__version__}-")
    subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", str(tmp_path / "env")],
                   check=True)
    python = str(tmp_path / "env" / "bin" / "python")
    subprocess.run([python, "-m", "pip", "install", "--no-index", "--no-deps", "-q", str(wheel)],
                   check=True)
    example = SOURCE / "examples" / "rectangular_column.sec"
    script = ("import json, qavsec; c = qavsec.open(%r).pm(30); "
              "print(json.dumps([qavsec.__file__, qavsec.__version__, c.P.tolist(), c.M.tolist()]))"
              % str(example))
    clean = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    out = subprocess.run([python, "-c", script], check=True, capture_output=True, text=True,
                         env=clean, cwd=tmp_path)
    where, version, P, M = json.loads(out.stdout)
    assert where.startswith(str(tmp_path / "env"))
    assert version == qavsec.__version__
    here = qavsec.open(example).pm(30)
    assert np.array_equal(P, here.P) and np.array_equal(M, here.M)


def test_the_package_exports_only_its_own_names():
    public = {n for n in dir(qavsec) if not n.startswith("_")}
    assert public == set(qavsec.__all__) - {"__version__"}
    assert qavsec.__version__ == qavsec._core.__version__
    assert all(getattr(qavsec, n) is not None for n in qavsec.__all__)
