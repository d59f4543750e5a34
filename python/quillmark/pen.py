"""quillmark.Pen: the pen over the library's gateway face (pen types 1 and 2)."""

import ctypes
from typing import List, NamedTuple, Tuple

from . import _arrays, _native
from ._arguments import call_with_numbers, real
from ._handle import NativeHandle
from .shapes import Rect

FILLED = 1  # filled outline of fixed width; hands out its centre line, after batches its outline
BRUSH = 2   # outline whose tail thins toward the pen tip; hands out body and tail paths

# Factors the pen settings carry besides width and kind; the engines read neither.
_NEUTRAL_FACTOR = 1.0


class Update(NamedTuple):
    """What one call hands back: the changed rectangle and the current shape, one list of
    (x, y) points per path. Outline paths list every element: move-to and line-to points and each
    cubic's two control points and end point; an outline of nothing but a move-to (a tail without
    a segment yet, at (0, 0)) is a path of one point."""
    rect: Rect
    paths: List[List[Tuple[float, float]]]


_NOTHING_CHANGED = Rect(0.0, 0.0, 0.0, 0.0)


class Pen(NativeHandle):
    """One pen drawing one stroke at a time.

    1. Pen(width, kind): width a positive finite number, kind FILLED or BRUSH (ValueError
       otherwise; TypeError for a width that is not a number).
    2. start(x, y, t) begins a stroke on a fresh engine.
    3. move(x, y) per sample (rounded to whole units, stamped with the time of day), or
       move_batch(points, t) per batch of (x, y) pairs, t stamping the newest; a stroke fed in
       batches draws only its recent part.
    4. end(x, y, t) ends the stroke the way it was fed (after batches, the batch end).
    5. close(), or leave a with block. Calls on a closed pen raise ValueError.

    Positions that are not finite numbers are dropped by the engines; time stamps that are not
    finite mean now. Every call hands back copies; calls from several threads are taken one at a
    time.
    """

    _what = "pen"

    def __init__(self, width, kind=FILLED):
        if kind not in (FILLED, BRUSH):
            raise ValueError(f"pen kind must be {FILLED} (filled) or {BRUSH} (brush), not {kind!r}")
        self._width = real(width, "width")
        self._pen_type = kind
        super().__init__(lambda lib: lib.quillmark_pen_create(),
                         lambda lib, handle: lib.quillmark_pen_destroy(handle))
        if self._handle is None:
            raise MemoryError("cannot create a quillmark pen")
        if not self.call(self._configure):
            self.close()
            raise ValueError(f"pen width must be a positive finite number, not {width!r}")
        self._batched = False
        self._last_paths = []

    def start(self, x, y, t=0):
        def fresh_stroke(handle):
            # An engine serves one stroke: every stroke gets a new one.
            self._lib.quillmark_pen_free_stroke(handle)
            self._configure(handle)
            return self._sketch(handle, self._lib.quillmark_pen_start, ("x", "y", "t"), x, y, t)
        self._batched = False
        return self.call(fresh_stroke)

    def move(self, x, y):
        return self.call(self._sketch, self._lib.quillmark_pen_move, ("x", "y"), x, y)

    def move_batch(self, points, t=0):
        """points: (x, y) pairs. An empty batch draws nothing: the rectangle is empty and the
        shape is the last one."""
        count, xy, _memory = _arrays.float_pairs(points, "points")
        t = real(t, "t")
        if not count:
            self.call(lambda handle: None)   # a closed pen still refuses
            return Update(_NOTHING_CHANGED, self._last_paths)
        self._batched = True
        return self.call(self._sketch, self._lib.quillmark_pen_move_batch, ("count", "xy", "t"),
                         count, xy, t)

    def end(self, x, y, t=0):
        lib = self._lib
        end = lib.quillmark_pen_end_batch if self._batched else lib.quillmark_pen_end_timed
        self._batched = False
        return self.call(self._sketch, end, ("x", "y", "t"), x, y, t)

    def _configure(self, handle):
        return self._lib.quillmark_pen_set_environment(
            handle, _NEUTRAL_FACTOR, _NEUTRAL_FACTOR, self._width, self._pen_type)

    def _sketch(self, handle, function, names, *arguments):
        shape = _native.Shape()
        if not call_with_numbers(function, handle, names, arguments, ctypes.byref(shape)):
            # A configured pen refuses only when the library ran out of memory.
            raise MemoryError("the quillmark library could not draw the sample")
        self._last_paths = _paths(shape)
        return Update(Rect(shape.left, shape.top, shape.width, shape.height), self._last_paths)


def _paths(shape):
    """Copies the pen's arrays, valid only until its next call, into lists of points."""
    coords = shape.coords[:2 * shape.point_count] if shape.point_count else []
    paths, offset = [], 0
    for size in shape.path_sizes[:shape.path_count] if shape.path_count else []:
        paths.append(list(zip(coords[2 * offset:2 * (offset + size):2],
                              coords[2 * offset + 1:2 * (offset + size):2])))
        offset += size
    return paths
