"""quillmark.Page: a page of finished strokes, over the library's page face (quillmark_page.h)."""

import ctypes
import numbers
import os
from typing import Iterable, List, Sequence, Tuple

from . import _arrays, _native
from ._arguments import call_with_numbers, real
from ._handle import NativeHandle
from .shapes import Points, Rect
from .stroke import Stroke

BLACK = (0, 0, 0, 255)

# Keys are whole numbers from 1; the library hands them out as doubles, exact up to 2^53.
_LARGEST_KEY = 2 ** 53

# The library's refusals (QUILLMARK_PAGE_REFUSED_*) that this package words itself.
_OUT_OF_RANGE, _POINTS = 8, 9
_NO_MEMORY, _FILE, _DAMAGED, _TOO_LARGE = 17, 18, 19, 20

# Refusals in this package's words where a call's arguments differ from the library's text.
_WORDS = {("hit", _POINTS): "x, y: not a finite position",
          ("add", _OUT_OF_RANGE): "stroke: a position lies beyond 2,000,000 units of the origin",
          ("move", _OUT_OF_RANGE): "dx, dy: a stroke would lie beyond 2,000,000 units of the "
                                   "origin"}


class Page(NativeHandle):
    """A page of finished strokes that a host hit-tests, erases, selects with a lasso, moves,
    undoes and redoes, and saves and loads.

    1. Page(), or Page.load(path) / Page.from_bytes(data) for a stored one.
    2. key = page.add(stroke, colour) for every finished Stroke (after end(), end_batch() or
       replay()): the page replays what the stroke was drawn from on an engine of its own, so
       the stroke may be closed right after. Keys are ints from 1, never used twice on a page.
    3. Queries, which change nothing: hit(x, y, radius), hit_swept(points, radius), lasso(points).
       They test the ink as drawn, not the centre line.
    4. Edits, each one step for undo() and redo(): erase(points, radius) cuts away exactly the ink
       under the eraser swept along points (a stroke cut in several parts becomes one stroke per
       part, each with a new key), erase_strokes(points, radius) removes the strokes it touches,
       move(keys, dx, dy). Steps between begin_group() and end_group() are one step.
    5. Paint keys() (oldest first) or keys_in(area): polygons(key) in colour(key).
    6. save(path) or to_bytes() stores the strokes under their keys, with what was erased from
       them or moved since (not the undo steps).
    7. close(), or leave a with block.

    Points are (x, y) pairs, or an array of shape (n, 2); an eraser's path is its positions
    oldest first. What a call refuses raises ValueError naming the argument and changes nothing:
    positions that are not finite, a radius that is not positive and finite, a lasso of fewer
    than three points, an unknown key, undo or redo with nothing to take back or make again, a
    stroke that has not ended. An argument that is not a number raises TypeError naming it.
    Everything handed out is the host's own copy; calls on one page from several threads are
    taken one at a time.
    """

    _what = "page"

    def __init__(self):
        super().__init__(lambda lib: lib.quillmark_page_create(),
                         lambda lib, handle: lib.quillmark_page_destroy(handle))
        if self._handle is None:
            raise MemoryError("cannot create a quillmark page")
        self._changed = _native.RectC()
        self._changed_out = ctypes.pointer(self._changed)
        self._keys = _native.KeysC()
        self._keys_out = ctypes.pointer(self._keys)

    @classmethod
    def load(cls, path) -> "Page":
        """The page stored in the file at path (str, bytes or os.PathLike): every stroke under its
        key, with the same ink to the bit, and no undo steps. OSError when the file cannot be
        read, ValueError when it is not a page this library reads: both say what went wrong and
        where."""
        page, name = cls(), os.fsencode(path)
        page._run("load", lambda handle: page._lib.quillmark_page_load(handle, name))
        return page

    @classmethod
    def from_bytes(cls, data) -> "Page":
        """The page stored in data (bytes-like, as to_bytes() gives); ValueError saying what and
        where when it is not a page this library reads."""
        if not isinstance(data, (bytes, bytearray, memoryview)):
            raise TypeError(f"data must be bytes, not {type(data).__name__}")
        page, data = cls(), bytes(data)
        page._run("from_bytes",
                  lambda handle: page._lib.quillmark_page_from_bytes(handle, data, len(data)))
        return page

    def save(self, path) -> None:
        """Writes the page to the file at path: into a new file first, renamed over path once
        complete. OSError when it cannot be written."""
        name = os.fsencode(path)
        self._run("save", lambda handle: self._lib.quillmark_page_save(handle, name))

    def to_bytes(self) -> bytes:
        """The page in the page file's form: every stroke under its key as what it was drawn
        from, exactly, and what was erased from it or moved since."""
        stored = _native.BytesC()
        return self._run("to_bytes",
                         lambda handle: self._lib.quillmark_page_to_bytes(handle,
                                                                          ctypes.byref(stored)),
                         lambda: ctypes.string_at(stored.data, stored.size))

    def add(self, stroke: Stroke, colour: Sequence[int] = BLACK) -> int:
        """Adds a finished stroke on top of the others in colour (red, green, blue, alpha, each 0
        to 255); returns its key. ValueError when the stroke has not ended or draws no ink."""
        if not isinstance(stroke, Stroke):
            raise TypeError(f"stroke must be a quillmark.Stroke, not {type(stroke).__name__}")
        rgba, key = _rgba(colour), ctypes.c_double()
        # The page's lock, then the stroke's: a stroke never waits for a page.
        return self._run("add", lambda handle: stroke.call(
            lambda drawn: self._lib.quillmark_page_add(handle, drawn, rgba, ctypes.byref(key),
                                                       self._changed_out)),
            lambda: int(key.value))

    def keys(self) -> List[int]:
        """Every stroke's key, in drawing order (oldest first)."""
        return self._run("keys", lambda handle: self._lib.quillmark_page_keys(
            handle, self._keys_out), self._handed_keys)

    def keys_in(self, area: Sequence[float]) -> List[int]:
        """The keys of the strokes whose ink may meet area (left, top, width, height, as a Rect),
        in drawing order: what to paint for a repaint of it."""
        rect = _native.RectC(*(real(v, "area") for v in _four(area, "area")))
        return self._run("keys_in", lambda handle: self._lib.quillmark_page_keys_in(
            handle, rect, self._keys_out), self._handed_keys)

    def colour(self, key: int) -> Tuple[int, int, int, int]:
        """The colour the stroke was added with, (red, green, blue, alpha)."""
        rgba, wanted = ctypes.c_ulong(), _key(key)
        self._run("colour", lambda handle: self._lib.quillmark_page_colour(
            handle, wanted, ctypes.byref(rgba)))
        value = rgba.value
        return (value >> 24 & 255, value >> 16 & 255, value >> 8 & 255, value & 255)

    def polygons(self, key: int) -> List[Points]:
        """The stroke's ink now: closed polygons to fill with the nonzero rule, each a numpy array
        of shape (n, 2) and dtype float32 (or without numpy a list of (x, y) tuples)."""
        shape, wanted = _native.PolygonsC(), _key(key)

        def copied():
            whole = _arrays.points(shape.xy, 0, shape.point_count)
            return _arrays.split(whole, shape.sizes[:shape.count] if shape.count else [])
        return self._run("polygons", lambda handle: self._lib.quillmark_page_polygons(
            handle, wanted, ctypes.byref(shape)), copied)

    def hit(self, x: float, y: float, radius: float) -> List[int]:
        """The strokes whose ink a disc of radius at (x, y) touches, in drawing order."""
        return self._run("hit", lambda handle: call_with_numbers(
            self._lib.quillmark_page_hit, handle, ("x", "y", "radius"), (x, y, radius),
            self._keys_out), self._handed_keys)

    def hit_swept(self, points, radius: float) -> List[int]:
        """The strokes whose ink a disc of radius touches as it moves along points."""
        count, xy, _memory = _arrays.float_pairs(points, "points")
        radius = real(radius, "radius")
        return self._run("hit_swept", lambda handle: self._lib.quillmark_page_hit_swept(
            handle, count, xy, radius, self._keys_out), self._handed_keys)

    def lasso(self, points) -> List[Tuple[int, float]]:
        """The strokes with ink inside the closed polygon of points (at least three; it may cross
        itself), in drawing order, each with the share of its ink inside (above 0, up to 1)."""
        count, xy, _memory = _arrays.float_pairs(points, "points")
        selected = _native.SelectionC()

        def copied():
            n = selected.count
            if not n:
                return []
            keys = (ctypes.c_double * n).from_address(selected.keys)
            fractions = (ctypes.c_double * n).from_address(selected.fractions)
            return [(int(k), f) for k, f in zip(keys, fractions)]
        return self._run("lasso", lambda handle: self._lib.quillmark_page_lasso(
            handle, count, xy, ctypes.byref(selected)), copied)

    def erase(self, points, radius: float) -> Rect:
        """Cuts away the ink under an eraser of radius swept along points (one point: a disc);
        returns the Rect that changed (all 0: nothing was under the eraser, and no step was
        made)."""
        count, xy, _memory = _arrays.float_pairs(points, "points")
        return self._edit("erase", self._lib.quillmark_page_erase, count, xy,
                          real(radius, "radius"))

    def erase_strokes(self, points, radius: float) -> List[int]:
        """Removes every stroke the eraser of radius swept along points touches; returns their
        keys (none: no step was made)."""
        count, xy, _memory = _arrays.float_pairs(points, "points")
        radius = real(radius, "radius")
        return self._run("erase_strokes", lambda handle: self._lib.quillmark_page_erase_strokes(
            handle, count, xy, radius, self._keys_out, None), self._handed_keys)

    def move(self, keys: Iterable[int], dx: float, dy: float) -> Rect:
        """Moves the strokes of keys by (dx, dy); returns the Rect that changed. ValueError,
        moving none, when a key is unknown."""
        keys = [_key(k) for k in keys]
        return self._edit("move", self._lib.quillmark_page_move, len(keys),
                          (ctypes.c_double * len(keys))(*keys), real(dx, "dx"), real(dy, "dy"))

    def undo(self) -> Rect:
        """Takes back the last step (every stroke as it was, under the same keys); returns the
        Rect that changed. ValueError when there is nothing to undo."""
        return self._edit("undo", self._lib.quillmark_page_undo)

    def redo(self) -> Rect:
        """Makes the last step taken back again. ValueError when there is nothing to redo."""
        return self._edit("redo", self._lib.quillmark_page_redo)

    @property
    def can_undo(self) -> bool:
        return bool(self.call(self._lib.quillmark_page_can_undo))

    @property
    def can_redo(self) -> bool:
        return bool(self.call(self._lib.quillmark_page_can_redo))

    def begin_group(self) -> None:
        """The steps until end_group() are one step (an eraser drag); pairs may nest."""
        self.call(self._lib.quillmark_page_begin_group)

    def end_group(self) -> None:
        self.call(self._lib.quillmark_page_end_group)

    def _run(self, name, call, result=lambda: None):
        """call(handle) under the page's lock; when the library refused it, the error that says
        why, else result()."""
        def run(handle):
            if not call(handle):
                raise self._refused(name, handle)
            return result()
        return self.call(run)

    def _refused(self, name, handle) -> Exception:
        refusal = self._lib.quillmark_page_refusal(handle)
        if refusal == _NO_MEMORY:
            return MemoryError(f"page: {name}() ran out of memory")
        if refusal in (_FILE, _DAMAGED, _TOO_LARGE):
            error = self._lib.quillmark_page_error(handle).decode(errors="replace")
            return (OSError if refusal == _FILE else ValueError)(
                f"page refused {name}(): {error}")
        words = _WORDS.get((name, refusal))
        if words is None:
            words = self._lib.quillmark_page_refusal_text(refusal).decode()
        return ValueError(f"page refused {name}(): {words}")

    def _handed_keys(self) -> List[int]:
        count = self._keys.count
        if not count:
            return []
        return [int(k) for k in (ctypes.c_double * count).from_address(self._keys.keys)]

    def _edit(self, name, function, *arguments) -> Rect:
        def changed():
            rect = self._changed
            return Rect(rect.left, rect.top, rect.width, rect.height)
        return self._run(name, lambda handle: function(handle, *arguments, self._changed_out),
                         changed)


def _key(key) -> float:
    """A key as the library takes it; 0 (no stroke's) for an int out of the keys' range."""
    if not isinstance(key, numbers.Integral) or isinstance(key, bool):
        raise TypeError(f"key must be an int, not {type(key).__name__} {key!r}")
    return float(key) if 1 <= key <= _LARGEST_KEY else 0.0


def _four(values, name):
    try:
        values = tuple(values)
    except TypeError:
        values = ()
    if len(values) != 4:
        raise ValueError(f"{name} must hold four numbers")
    return values


def _rgba(colour) -> int:
    """(red, green, blue, alpha) as the library's 0xRRGGBBAA."""
    rgba = 0
    for value in _four(colour, "colour"):
        if not isinstance(value, numbers.Integral) or isinstance(value, bool):
            raise TypeError(f"colour must hold ints from 0 to 255, not {value!r}")
        if not 0 <= value <= 255:
            raise ValueError(f"colour must hold ints from 0 to 255, not {value!r}")
        rgba = rgba << 8 | int(value)
    return rgba
