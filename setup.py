"""Builds the package qavsec: python/qavsec around the compiled qavsec._core, which the project's
CMake build makes (the core and the module only: no application, tests or benchmarks).

QAVSEC_CMAKE_BUILD_DIR names a CMake build folder to build the module in (an existing build tree
of the project is used as it is configured); by default build/python-package in the clone.
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution

ROOT = Path(__file__).resolve().parent


def version():
    """The program's version, from the project's CMake declaration."""
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(qavsec VERSION ([0-9.]+)", text).group(1)


class BuildWithCMake(build_py):
    """Copies the package's Python files, then builds the compiled core and puts it beside them."""

    def run(self):
        super().run()
        build = Path(os.environ.get("QAVSEC_CMAKE_BUILD_DIR", ROOT / "build" / "python-package"))
        if not (build / "CMakeCache.txt").exists():
            generator = ["-G", "Ninja"] if shutil.which("ninja") else []
            subprocess.check_call(
                ["cmake", "-S", str(ROOT), "-B", str(build), *generator,
                 "-DCMAKE_BUILD_TYPE=Release", "-DQAVSEC_APP=OFF", "-DQAVSEC_TESTS=OFF",
                 "-DQAVSEC_BENCH=OFF", "-DQAVSEC_PYTHON=ON",
                 f"-DPython3_EXECUTABLE={sys.executable}"])
        subprocess.check_call(["cmake", "--build", str(build), "--target", "qavsec_python"])
        cores = sorted((build / "python" / "qavsec").glob("_core*.so"))
        if not cores:
            raise RuntimeError(f"The build in {build} made no qavsec._core.")
        target = Path(self.build_lib) / "qavsec"
        target.mkdir(parents=True, exist_ok=True)
        for core in cores:
            shutil.copy2(core, target / core.name)


class BinaryDistribution(Distribution):
    """A wheel for this platform and Python: the package holds a compiled module."""

    def has_ext_modules(self):
        return True


# setuptools' own work files go under the build folder, not beside the sources.
WORK = ROOT / "build" / "python-setuptools"
WORK.mkdir(parents=True, exist_ok=True)

setup(
    version=version(),
    options={"build": {"build_base": str(WORK)}, "egg_info": {"egg_base": str(WORK)}},
    packages=["qavsec"],
    package_dir={"qavsec": "python/qavsec"},
    package_data={"qavsec": ["__init__.pyi", "py.typed"]},
    cmdclass={"build_py": BuildWithCMake},
    distclass=BinaryDistribution,
    zip_safe=False,
)
