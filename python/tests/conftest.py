"""Where the tests find the module, the flat library and the tool.

QUILLON_BUILD_DIR names a CMake build: its python/ folder is imported, and
its libquillon.so and tools/quillon serve as references. Without it the
installed quillon is tested and the comparisons with them are skipped.
"""

import ctypes
import os
import pathlib
import sys

import pytest

BUILD = os.environ.get("QUILLON_BUILD_DIR")
if BUILD:
    sys.path.insert(0, str(pathlib.Path(BUILD, "python")))

NMEA_DIR = pathlib.Path(
    os.environ.get("QUILLON_NMEA_DIR", pathlib.Path(__file__).resolve().parents[3] / "shared" / "data" / "nmea")
)


def peer(module, package):
    """The peer module used as an oracle, or a skip naming its Debian package."""
    return pytest.importorskip(module, reason=f"{module} is missing: apt-get install {package}")


@pytest.fixture(scope="session")
def flat():
    """The flat interface of this build's shared library, through ctypes."""
    path = pathlib.Path(BUILD or "", "src", "libquillon.so")
    if not BUILD or not path.exists():
        pytest.skip("no libquillon.so: set QUILLON_BUILD_DIR to a build")
    lib = ctypes.CDLL(str(path))
    d, i, w = ctypes.c_double, ctypes.c_int, ctypes.c_wchar_p
    pi = ctypes.POINTER(i)
    for name, result, args in [
        ("angToStr", None, [w, d, i, i]),
        ("latToStr", None, [w, d, i, i]),
        ("lonToStr", None, [w, d, i, i]),
        ("parseStrToAng", d, [w, pi]),
        ("timeToStr", i, [w, d]),
        ("strToTime", d, [w]),
        ("gpsToDos", d, [d, d]),
        ("julDate", i, [i, i, i]),
        ("gasdev", d, [pi]),
    ]:
        getattr(lib, name).restype = result
        getattr(lib, name).argtypes = args
    return lib


@pytest.fixture(scope="session")
def tool():
    """This build's quillon tool."""
    path = pathlib.Path(BUILD or "", "tools", "quillon")
    if not BUILD or not path.exists():
        pytest.skip("no quillon tool: set QUILLON_BUILD_DIR to a build")
    return path
