"""One version: the CMake project's reaches every front end and the package metadata.

CTest passes the build directory (QUARVESSIN_BUILD_DIR), the command line
(QUARVESSIN_PROGRAM), the console program's compile definitions
(QUARVESSIN_PLOTDATA_DEFINITIONS) and, where it is built, the explorer page
(QUARVESSIN_PAGE).
"""

import os
import re
import subprocess
import sys
from pathlib import Path

import pytest
import quarvessin

ROOT = Path(os.environ.get("QUARVESSIN_SOURCE_DIR") or Path(__file__).resolve().parents[2])
BUILD = Path(os.environ.get("QUARVESSIN_BUILD_DIR") or ROOT / "build")


def project_version():
    """The version as CMake itself read it (the build's cache), not as a script parses it."""
    cache = (BUILD / "CMakeCache.txt").read_text()
    match = re.search(r"^CMAKE_PROJECT_VERSION:\w+=(.+)$", cache, re.MULTILINE)
    assert match, "no CMAKE_PROJECT_VERSION in the build's cache"
    return match.group(1)


def test_python_package_and_its_metadata():
    version = project_version()
    assert quarvessin.__version__ == version
    # What pip records: setup.py's version, read from CMakeLists.txt.
    out = subprocess.run([sys.executable, "setup.py", "--version"], cwd=ROOT,
                         capture_output=True, text=True, check=True)
    assert out.stdout.strip().splitlines()[-1] == version
    # pyproject.toml declares the version dynamic and states none of its own.
    pyproject = (ROOT / "pyproject.toml").read_text()
    assert not re.search(r"^version\s*=", pyproject, re.MULTILINE)
    assert re.search(r'^dynamic\s*=\s*\[[^]]*"version"', pyproject, re.MULTILINE)


def test_programs_and_page():
    version = project_version()
    program = os.environ.get("QUARVESSIN_PROGRAM")
    if program:
        out = subprocess.run([program, "--version"], capture_output=True, text=True, check=True)
        assert out.stdout == f"quarvessin {version}\n"
    definitions = os.environ.get("QUARVESSIN_PLOTDATA_DEFINITIONS")
    if definitions is None:
        pytest.skip("QUARVESSIN_PLOTDATA_DEFINITIONS is not set")
    assert f'QUARVESSIN_VERSION="{version}"' in definitions.split(";")
    page = os.environ.get("QUARVESSIN_PAGE")
    if page:
        footer = re.search(r"<footer>(.*?)</footer>", Path(page).read_text(), re.S)
        assert footer and f"quarvessin {version}." in footer.group(1)
