"""Arguments from Python to the library: numbers checked by the name the caller wrote, so that a
string where a number belongs raises TypeError naming it, and not ctypes' "argument 2"."""

import ctypes
import numbers


def real(value, name: str) -> float:
    """value as a float; TypeError naming the argument when it is not a real number (a string
    that spells one is not)."""
    if isinstance(value, numbers.Real):
        return float(value)
    raise TypeError(f"{name} must be a number, not {type(value).__name__} {value!r}")


def call_with_numbers(function, handle, names, values, *rest):
    """function(handle, *values, *rest). The values go to the library as they are (ctypes takes
    any real number); only when ctypes refuses one is each checked, so that the TypeError names
    it."""
    try:
        return function(handle, *values, *rest)
    except ctypes.ArgumentError:
        checked = [real(value, name) for name, value in zip(names, values)]
        return function(handle, *checked, *rest)
