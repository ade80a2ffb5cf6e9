"""Type aliases of the annotations."""

import os
from typing import Union

import numpy as np
import numpy.typing as npt

ArrayLike = npt.ArrayLike
"""A number, a sequence of numbers or a numpy array."""
Coordinates = Union[float, np.ndarray]
"""A float for scalar input, otherwise an array of the broadcast shape."""
Text = Union[str, bytes, bytearray]
"""Text: a str (as UTF-8), or bytes as they are."""
Path = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
"""A file name."""
Unit = Union[str, int]
"""A unit of length: 'm', 'ft', 'usft', 'km', 'nm', or the index 0..4."""
