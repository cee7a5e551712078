"""Builds the extension quarvessin._core with the project's CMake.

`pip install .` (or `pip install --no-build-isolation --no-index .` with
Debian's python3-pybind11, python3-numpy and python3-setuptools) runs this:
CMake configures the project without tests and benchmarks, builds the target
quarvessin_python for the interpreter that runs pip, and the module is copied
into the package. CMAKE_BUILD_PARALLEL_LEVEL sets the number of compile jobs
(default 2).
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


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
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(
    ext_modules=[CMakeExtension("quarvessin._core")],
    cmdclass={"build_ext": CMakeBuild},
    # Out of the way of the CMake build directory build/.
    options={"build": {"build_base": "build-python"}},
)
