"""Points between Python and the library.

Out: runs of x, y floats in the library's memory become numpy arrays of shape (n, 2) that view
that memory, read-only, when numpy is installed, and lists of (x, y) tuples otherwise.
In: the host's (x, y) pairs and values become float and double arrays the library reads."""

import ctypes
from typing import Any, Optional, Sequence, Tuple

try:
    import numpy
except ImportError:
    numpy = None

USES_NUMPY = numpy is not None

_FLOAT_BYTES = ctypes.sizeof(ctypes.c_float)
if numpy is not None:
    _NO_POINTS = numpy.empty((0, 2), numpy.float32)
    _NO_POINTS.flags.writeable = False


def points(address: Optional[int], first: int, end: int, owner: Any):
    """Points first to end (exclusive) of the x, y pairs at address. A numpy view keeps owner
    alive, so the library object that owns the memory is not destroyed under it."""
    count = end - first
    if count <= 0:
        return [] if numpy is None else _NO_POINTS
    memory = (ctypes.c_float * (2 * count)).from_address(address + 2 * first * _FLOAT_BYTES)
    if numpy is None:
        flat = iter(memory)
        return list(zip(flat, flat))
    memory.owner = owner
    view = numpy.frombuffer(memory, numpy.float32).reshape(count, 2)
    view.flags.writeable = False
    return view


def split(whole, sizes: Sequence[int]) -> list:
    """whole (points) cut into consecutive pieces of the given sizes: views of views with numpy."""
    pieces, offset = [], 0
    for size in sizes:
        pieces.append(whole[offset:offset + size])
        offset += size
    return pieces


def float_pairs(pairs) -> Tuple[int, Optional[Any], Any]:
    """(count, pointer, keep): the (x, y) pairs as a float array, keep holding its memory.
    ValueError when an entry is not a pair."""
    if numpy is not None:
        array = numpy.ascontiguousarray(pairs, dtype=numpy.float32)
        if array.size and (array.ndim != 2 or array.shape[1] != 2):
            raise ValueError(f"points must be (x, y) pairs, not an array of shape {array.shape}")
        return len(array) if array.size else 0, _pointer(array, ctypes.c_float), array
    flat = [float(v) for x, y in pairs for v in (x, y)]
    memory = (ctypes.c_float * len(flat))(*flat)
    return len(flat) // 2, ctypes.cast(memory, ctypes.POINTER(ctypes.c_float)), memory


def values(numbers, count: int, kind) -> Tuple[Optional[Any], Any]:
    """(pointer, keep): count numbers as an array of the ctypes kind, or (None, None) when
    numbers is None. ValueError when there are not exactly count of them."""
    if numbers is None:
        return None, None
    if numpy is not None:
        array = numpy.ascontiguousarray(numbers, dtype=numpy.dtype(kind)).reshape(-1)
    else:
        array = (kind * len(numbers))(*map(float, numbers))
    if len(array) != count:
        raise ValueError(f"{len(array)} values for {count} points")
    return (_pointer(array, kind) if numpy is not None
            else ctypes.cast(array, ctypes.POINTER(kind))), array


def _pointer(array, kind):
    return array.ctypes.data_as(ctypes.POINTER(kind)) if array.size else None

