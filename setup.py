"""Builds quillon._core through the project's CMake build for `pip install .`.

The metadata is in pyproject.toml; this file only tells setuptools how to
build the extension: configure the project with the Python module alone
(no tests, tool or examples) for the interpreter running pip, build its
target, and put the result where setuptools packs it.
"""

import os
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
        build = Path(self.build_temp).resolve() / "cmake"
        subprocess.run(
            [
                "cmake", "-S", str(ROOT), "-B", str(build),
                "-DCMAKE_BUILD_TYPE=Release",
                "-DQUILLON_BUILD_PYTHON=ON",
                "-DQUILLON_BUILD_TESTS=OFF",
                "-DQUILLON_BUILD_TOOLS=OFF",
                "-DQUILLON_BUILD_EXAMPLES=OFF",
                f"-DPython3_EXECUTABLE={sys.executable}",
            ],
            check=True,
        )
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1))
        subprocess.run(["cmake", "--build", str(build), "--target", "quillon_python", "-j", jobs], check=True)
        built = next((build / "python" / "quillon").glob("_core*" + (".pyd" if os.name == "nt" else ".so")))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        self.copy_file(str(built), str(target))


setup(ext_modules=[CMakeExtension("quillon._core")], cmdclass={"build_ext": CMakeBuild})
