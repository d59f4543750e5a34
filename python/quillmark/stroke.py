"""quillmark.Stroke: one stroke of any of the six engines, over the library's stroke face."""

import ctypes
import functools
from typing import List, Optional, Sequence, Tuple

from . import _arrays, _native
from ._arguments import call_with_numbers, real
from ._handle import NativeHandle
from .shapes import Parts, Points, Rect, Run

# Full pressure: what a host without pressure input (a mouse) hands over.
FULL_PRESSURE = 1.0

_SAMPLE = ("x", "y", "t_ms", "pressure")

# The library's ways of feeding (QUILLMARK_FEED_*) by the Stroke calls that use them.
_FEEDS = {"add_batch": 4, "end_batch": 4, "add_raw": 8, "add_fitted": 16, "replay": 2}


@functools.lru_cache(maxsize=None)
def engines() -> Tuple[str, ...]:
    """The engines' short names, as the library lists them: ("fix", "fill", "pressure", "speed",
    "extend", "brush")."""
    lib = _native.library()
    return tuple(lib.quillmark_engine_name(i).decode()
                 for i in range(1, lib.quillmark_engine_count() + 1))


def engines_with(call: str) -> Tuple[str, ...]:
    """The engines that take the Stroke call of that name (all of them for start, add and end)."""
    lib, way = _native.library(), _FEEDS.get(call, 1)
    return tuple(name for number, name in enumerate(engines(), 1)
                 if lib.quillmark_engine_feeds(number) & way)


class Stroke(NativeHandle):
    """One stroke drawn by one engine, fed with the host's own positions, time stamps and
    pressures, exactly as given.

    1. Stroke(engine, width): engine one of quillmark.ENGINES, width the pen's diameter, a
       positive finite number (ValueError otherwise; TypeError for what is not a str or number).
    2. start(x, y, t_ms, pressure) with the first sample; then either add(...) per sample (the
       brush also takes add_raw and add_fitted) and end(...) with the last, or add_batch(...) per
       batch and end_batch(...) (fill and brush; only the recent part of the stroke is drawn).
       The first call after start decides the way. Or instead of all of 2: replay(...) once.
    3. polygons() whenever the shape is wanted (once per frame, not per sample), or parts() for
       what changed since the previous parts().
    4. close(), or leave a with block.

    Every sample call returns the Rect that changed, and copies no shape: all 0 when the engine
    dropped the input (a sample 0.1 or closer to the previous one; a coordinate, time stamp or
    pressure that is not a finite number; a batch with nothing usable). A call the stroke refuses
    raises ValueError saying why and changes nothing: before start, after the end or a replay, a
    second start, a call the engine lacks, a call of the other way of feeding, no points. An
    argument that is not a number raises TypeError naming it.

    t_ms is milliseconds on any clock (taken relative to the stamp of start, rounded to whole
    milliseconds): results depend on the stamps only, never on when the calls are made. pressure
    (0 to 1) is read by the pressure engine only.

    What the reads hand out is the host's own: copies, never views of the library's memory, so
    they stay as they are whatever is called later (a read, close, del). Calls on one stroke from
    several threads are taken one at a time.
    """

    _what = "stroke"

    def __init__(self, engine: str, width: float):
        if not isinstance(engine, str):
            raise TypeError(f"engine must be a str, not {type(engine).__name__} {engine!r}")
        width = real(width, "width")
        if engine not in engines():
            raise ValueError(f"engine must be one of {', '.join(engines())}, not {engine!r}")
        self.engine = engine
        self.width = width
        super().__init__(lambda lib: lib.quillmark_stroke_create(
            lib.quillmark_engine_from_name(engine.encode()), width),
            lambda lib, handle: lib.quillmark_stroke_destroy(handle))
        if self._handle is None:
            raise ValueError(f"width must be a positive finite number, not {width!r}")
        self._changed = _native.RectC()
        self._changed_out = ctypes.pointer(self._changed)

    def start(self, x: float, y: float, t_ms: float, pressure: float = FULL_PRESSURE) -> Rect:
        """The first sample. A sample that is not finite is dropped and leaves the stroke
        unstarted."""
        return self._sample("start", self._lib.quillmark_stroke_start, x, y, t_ms, pressure)

    def add(self, x: float, y: float, t_ms: float, pressure: float = FULL_PRESSURE) -> Rect:
        """A further sample."""
        return self._sample("add", self._lib.quillmark_stroke_add, x, y, t_ms, pressure)

    def end(self, x: float, y: float, t_ms: float, pressure: float = FULL_PRESSURE) -> Rect:
        """The last sample, appended when it lies 1.0 or more from the previous one; a stroke of
        one sample ends in a dot. A dropped last sample leaves the stroke open."""
        return self._sample("end", self._lib.quillmark_stroke_end, x, y, t_ms, pressure)

    def add_batch(self, points: Sequence[Tuple[float, float]], t_ms: float) -> Rect:
        """Fill and brush: the samples that arrived since the previous call, oldest first, as
        (x, y) pairs (or an array of shape (n, 2)); t_ms stamps the newest, the others get stamps
        spread evenly since the previous sample. Positions closer than 1.0 to the previously kept
        one are left out."""
        return self._pairs("add_batch", self._lib.quillmark_stroke_add_batch, points, t_ms)

    def end_batch(self, x: float, y: float, t_ms: float,
                  pressure: float = FULL_PRESSURE) -> Rect:
        """Fill and brush: the last sample of a stroke fed in batches."""
        return self._sample("end_batch", self._lib.quillmark_stroke_end_batch, x, y, t_ms,
                            pressure)

    def add_raw(self, points: Sequence[Tuple[float, float]], t_ms: float) -> Rect:
        """Brush: a batch of raw samples, taken unsmoothed; stamps as in add_batch. The stroke
        ends with end()."""
        return self._pairs("add_raw", self._lib.quillmark_stroke_add_raw, points, t_ms)

    def add_fitted(self, points: Sequence[Tuple[float, float]], t_ms: float) -> Rect:
        """Brush: a new sample, the last of points, stamped t_ms; the points before it, oldest
        first, steer the smoothing curve through a fitted cubic."""
        return self._pairs("add_fitted", self._lib.quillmark_stroke_add_fitted, points, t_ms)

    def replay(self, points: Sequence[Tuple[float, float]],
               t_ms: Optional[Sequence[float]] = None,
               pressure: Optional[Sequence[float]] = None) -> Rect:
        """Rebuilds a stored stroke in one call, on a stroke that has not started: the engines'
        own rebuild, which reads positions and, for the pressure engine, pressures (default
        FULL_PRESSURE) but no time stamps, so it differs from drawing the samples one by one
        (see quillmark.draw). Points with a coordinate or pressure that is not finite are left
        out. The stroke is finished afterwards."""
        # The arrays live until the call returns.
        count, xy, _xy = _arrays.float_pairs(points, "points")
        stamps, _stamps = _arrays.values(t_ms, count, ctypes.c_double, "t_ms")
        pressures, _pressures = _arrays.values(pressure, count, ctypes.c_float, "pressure")
        return self._changed_by("replay", self._lib.quillmark_stroke_replay,
                                count, xy, stamps, pressures)

    def polygons(self) -> List[Points]:
        """The whole shape: closed polygons to fill with the nonzero rule (each on its own, or
        all with the same paint; the shape is their union), the tapering tails last; for the fix
        engine one open polyline, the centre line, to stroke with a round pen of the stroke's
        width. Curves are flattened with chords within 0.05 units of the curve. Empty before
        start.

        Each polygon is a numpy array of shape (n, 2) and dtype float32 (views of one array that
        holds the whole shape), or without numpy a list of (x, y) tuples: the host's own copy.
        The cost grows with the stroke; a host reading after every sample uses parts()."""
        return self.call(self._read_polygons)

    def parts(self) -> Optional[Parts]:
        """The shape as what changed since the previous parts() (see Parts); None before start.
        Each run hands out a copy of only its added points, so a read costs what the last calls
        changed, whatever the length of the stroke."""
        return self.call(self._read_parts)

    def _read_polygons(self, handle) -> List[Points]:
        shape = _native.PolygonsC()
        if not self._lib.quillmark_stroke_polygons(handle, ctypes.byref(shape)):
            return []
        whole = _arrays.points(shape.xy, 0, shape.point_count)
        return _arrays.split(whole, shape.sizes[:shape.count] if shape.count else [])

    def _read_parts(self, handle) -> Optional[Parts]:
        parts = _native.PartsC()
        if not self._lib.quillmark_stroke_parts(handle, ctypes.byref(parts)):
            return None
        return Parts(_run(parts.start_cap), _run(parts.left), _run(parts.end_cap),
                     _run(parts.right),
                     [_run(parts.polygons[i]) for i in range(parts.polygon_count)],
                     parts.tail_count)

    def _sample(self, name, function, x, y, t_ms, pressure):
        return self.call(self._reached, name, lambda handle: call_with_numbers(
            function, handle, _SAMPLE, (x, y, t_ms, pressure), self._changed_out))

    def _pairs(self, name, function, points, t_ms):
        count, xy, _memory = _arrays.float_pairs(points, "points")
        return self._changed_by(name, function, count, xy, real(t_ms, "t_ms"))

    def _changed_by(self, name, function, *arguments):
        return self.call(self._reached, name,
                         lambda handle: function(handle, *arguments, self._changed_out))

    def _reached(self, handle, name, call):
        """The Rect of call(handle), or ValueError with the reason the library refused it."""
        if not call(handle):
            refusal = self._lib.quillmark_stroke_refusal(handle)
            if refusal == _NO_MEMORY:
                raise MemoryError(f"{self.engine} stroke: {name}() ran out of memory")
            raise ValueError(f"{self.engine} stroke refused {name}(): {self._reason(refusal, name)}")
        changed = self._changed
        return Rect(changed.left, changed.top, changed.width, changed.height)

    def _reason(self, refusal, name):
        if refusal == _ENGINE:
            return (f"the {self.engine} engine has no {name}(); "
                    f"{', '.join(engines_with(name))} have it")
        return _REASONS.get(refusal) or self._lib.quillmark_refusal_text(refusal).decode()


# The library's refusals (QUILLMARK_REFUSED_*) in the words of this package.
_ENGINE, _NO_MEMORY = 3, 9
_REASONS = {
    4: "no points (an empty batch)",
    5: "the stroke has not started: call start() first",
    6: "the stroke has already started (start() and replay() begin a fresh stroke only)",
    7: "the stroke has ended (after end(), end_batch() or replay() nothing more is taken)",
    8: "the stroke is fed the other way: after add_batch() only add_batch() and end_batch(), "
       "after add(), add_raw() or add_fitted() not these two",
}


def _run(run) -> Run:
    return Run(run.kept, _arrays.points(run.xy, run.kept, run.count))
