"""Points between Python and the library.

Out: runs of x, y floats in the library's memory are copied, in one piece, into memory of their
own: numpy arrays of shape (n, 2) and dtype float32 when numpy is installed, lists of (x, y)
tuples otherwise. Nothing handed to the host views the library's memory, so no later call, close
or garbage collection can change or free what the host holds.
In: the host's (x, y) pairs and values become float and double arrays the library reads."""

import ctypes
from typing import Any, Optional, Sequence, Tuple

from ._arguments import real

try:
    import numpy
except ImportError:
    numpy = None

USES_NUMPY = numpy is not None

_FLOAT_BYTES = ctypes.sizeof(ctypes.c_float)


def points(address: Optional[int], first: int, end: int):
    """A copy of points first to end (exclusive) of the x, y pairs at address."""
    count = end - first
    if count <= 0:
        return [] if numpy is None else numpy.empty((0, 2), numpy.float32)
    source = address + 2 * first * _FLOAT_BYTES
    if numpy is None:
        flat = iter((ctypes.c_float * (2 * count)).from_address(source))
        return list(zip(flat, flat))
    copy = numpy.empty((count, 2), numpy.float32)
    ctypes.memmove(copy.ctypes.data, source, 2 * count * _FLOAT_BYTES)
    return copy


def split(whole, sizes: Sequence[int]) -> list:
    """whole (points) cut into consecutive pieces of the given sizes: with numpy, views of the
    one copy, which they keep alive."""
    pieces, offset = [], 0
    for size in sizes:
        pieces.append(whole[offset:offset + size])
        offset += size
    return pieces


def float_pairs(pairs, name: str) -> Tuple[int, Optional[Any], Any]:
    """(count, pointer, keep): the (x, y) pairs as a float array, keep holding its memory.
    TypeError naming the argument when an entry is not a number, ValueError when one is not a
    pair."""
    if numpy is not None:
        try:
            array = numpy.ascontiguousarray(pairs, dtype=numpy.float32)
        except (TypeError, ValueError) as error:
            raise _not_numbers(name, error) from None
        if array.size and (array.ndim != 2 or array.shape[1] != 2):
            raise ValueError(f"{name} must be (x, y) pairs, not an array of shape {array.shape}")
        return len(array) if array.size else 0, _pointer(array, ctypes.c_float), array
    flat = []
    for pair in pairs:
        try:
            x, y = pair
        except (TypeError, ValueError):
            raise ValueError(f"{name} must be (x, y) pairs, not {pair!r}") from None
        flat += (real(x, name), real(y, name))
    memory = (ctypes.c_float * len(flat))(*flat)
    return len(flat) // 2, ctypes.cast(memory, ctypes.POINTER(ctypes.c_float)), memory


def values(numbers, count: int, kind, name: str) -> Tuple[Optional[Any], Any]:
    """(pointer, keep): count numbers as an array of the ctypes kind, or (None, None) when
    numbers is None. TypeError naming the argument for an entry that is not a number, ValueError
    when there are not exactly count of them."""
    if numbers is None:
        return None, None
    try:
        if numpy is not None:
            array = numpy.ascontiguousarray(numbers, dtype=numpy.dtype(kind)).reshape(-1)
        else:
            array = (kind * len(numbers))(*(real(v, name) for v in numbers))
    except (TypeError, ValueError) as error:
        raise _not_numbers(name, error) from None
    if len(array) != count:
        raise ValueError(f"{name} has {len(array)} values for {count} points")
    return (_pointer(array, kind) if numpy is not None
            else ctypes.cast(array, ctypes.POINTER(kind))), array


def _not_numbers(name, error):
    return TypeError(f"{name} must hold numbers only ({error})")


def _pointer(array, kind):
    return array.ctypes.data_as(ctypes.POINTER(kind)) if array.size else None
