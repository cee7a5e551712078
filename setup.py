"""Builds the extension quarvessin._core with the project's CMake.

`pip install .` (or `pip install --no-build-isolation --no-index .` with
Debian's python3-pybind11, python3-numpy and python3-setuptools) runs this:
CMake configures the project without tests and benchmarks, builds the target
quarvessin_python for the interpreter that runs pip, and the module is copied
into the package. CMAKE_BUILD_PARALLEL_LEVEL sets the number of compile jobs
(default 2). The version is the CMake project's, read from CMakeLists.txt;
CMake writes it into the package as quarvessin/_version.py, copied with the
module.
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


def project_version():
    """The VERSION of the project() call in the top CMakeLists.txt."""
    text = (ROOT / "CMakeLists.txt").read_text()
    match = re.search(r"^project\(\s*\S+\s+VERSION\s+([0-9][0-9.]*)", text, re.MULTILINE)
    if not match:
        raise RuntimeError("no project(... VERSION ...) in CMakeLists.txt")
    return match.group(1)


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        target = Path(self.get_ext_fullpath(ext.name)).resolve()
        build_dir = Path(self.build_temp).resolve() / "cmake"
        configure = [
            "cmake", "-S", str(ROOT), "-B", str(build_dir),
            "-DCMAKE_BUILD_TYPE=Release",
            "-DQUARVESSIN_BUILD_TESTS=OFF",
            "-DQUARVESSIN_BUILD_BENCHMARKS=OFF",
            "-DQUARVESSIN_BUILD_PYTHON=ON",
            "-DQUARVESSIN_PYTHON_REQUIRED=ON",
            f"-DPython3_EXECUTABLE={sys.executable}",
        ]
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build_dir), "--target", "quarvessin_python",
                        "-j", jobs], check=True)
        built = build_dir / "python" / "quarvessin" / target.name
        if not built.is_file():
            raise RuntimeError(f"CMake did not produce {built}")
        version = built.parent / "_version.py"
        if not version.is_file():
            raise RuntimeError(f"CMake did not produce {version}")
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)
        shutil.copyfile(version, target.parent / version.name)


setup(
    version=project_version(),
    ext_modules=[CMakeExtension("quarvessin._core")],
    cmdclass={"build_ext": CMakeBuild},
    # Out of the way of the CMake build directory build/.
    options={"build": {"build_base": "build-python"}},
)
