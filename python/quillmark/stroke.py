"""quillmark.Stroke: one stroke of any of the six engines, over the library's stroke face."""

import ctypes
from typing import List, Optional, Sequence, Tuple

from . import _arrays, _native
from .shapes import Parts, Points, Rect, Run

# The engines by the short names the tools use.
ENGINES = ("fix", "fill", "pressure", "speed", "extend", "brush")

# Full pressure: what a host without pressure input (a mouse) hands over.
FULL_PRESSURE = 1.0


class Stroke:
    """One stroke drawn by one engine, fed with the host's own positions, time stamps and
    pressures, exactly as given.

    1. Stroke(engine, width): engine one of ENGINES, width the pen's diameter, a positive finite
       number (ValueError otherwise).
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
    raises ValueError and changes nothing: before start, after the end or a replay, a second
    start, a call the engine lacks or that the way the stroke is fed excludes, an empty batch.

    t_ms is milliseconds on any clock (taken relative to the stamp of start, rounded to whole
    milliseconds): results depend on the stamps only, never on when the calls are made. pressure
    (0 to 1) is read by the pressure engine only. One thread at a time per stroke.
    """

    def __init__(self, engine: str, width: float):
        self._lib = _native.library()
        self._handle = None
        if engine not in ENGINES:
            raise ValueError(f"engine must be one of {', '.join(ENGINES)}, not {engine!r}")
        number = self._lib.quillmark_engine_from_name(engine.encode())
        handle = self._lib.quillmark_stroke_create(number, float(width))
        if not handle:
            raise ValueError(f"width must be a positive finite number, not {width!r}")
        self._handle = handle
        self.engine = engine
        self.width = float(width)
        self._changed = _native.RectC()
        self._changed_out = ctypes.pointer(self._changed)

    def start(self, x: float, y: float, t_ms: float, pressure: float = FULL_PRESSURE) -> Rect:
        """The first sample. A sample that is not finite is dropped and leaves the stroke
        unstarted."""
        return self._changed_by("start", self._lib.quillmark_stroke_start, x, y, t_ms, pressure)

    def add(self, x: float, y: float, t_ms: float, pressure: float = FULL_PRESSURE) -> Rect:
        """A further sample."""
        return self._changed_by("add", self._lib.quillmark_stroke_add, x, y, t_ms, pressure)

    def end(self, x: float, y: float, t_ms: float, pressure: float = FULL_PRESSURE) -> Rect:
        """The last sample, appended when it lies 1.0 or more from the previous one; a stroke of
        one sample ends in a dot. A dropped last sample leaves the stroke open."""
        return self._changed_by("end", self._lib.quillmark_stroke_end, x, y, t_ms, pressure)

    def add_batch(self, points: Sequence[Tuple[float, float]], t_ms: float) -> Rect:
        """Fill and brush: the samples that arrived since the previous call, oldest first, as
        (x, y) pairs (or an array of shape (n, 2)); t_ms stamps the newest, the others get stamps
        spread evenly since the previous sample. Positions closer than 1.0 to the previously kept
        one are left out."""
        return self._pairs("add_batch", self._lib.quillmark_stroke_add_batch, points, t_ms)

    def end_batch(self, x: float, y: float, t_ms: float,
                  pressure: float = FULL_PRESSURE) -> Rect:
        """Fill and brush: the last sample of a stroke fed in batches."""
        return self._changed_by("end_batch", self._lib.quillmark_stroke_end_batch, x, y, t_ms,
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
        count, xy, _xy = _arrays.float_pairs(points)
        stamps, _stamps = _arrays.values(t_ms, count, ctypes.c_double)
        pressures, _pressures = _arrays.values(pressure, count, ctypes.c_float)
        return self._changed_by("replay", self._lib.quillmark_stroke_replay,
                                count, xy, stamps, pressures)

    def polygons(self) -> List[Points]:
        """The whole shape: closed polygons to fill with the nonzero rule (each on its own, or
        all with the same paint; the shape is their union), the tapering tails last; for the fix
        engine one open polyline, the centre line, to stroke with a round pen of the stroke's
        width. Curves are flattened with chords within 0.05 units of the curve. Empty before
        start.

        With numpy, the arrays view the stroke's memory until the next polygons() or close():
        copy what you keep. The cost grows with the stroke; a host reading after every sample
        uses parts()."""
        shape = _native.PolygonsC()
        if not self._lib.quillmark_stroke_polygons(self._open_handle(), ctypes.byref(shape)):
            return []
        whole = _arrays.points(shape.xy, 0, shape.point_count, self)
        return _arrays.split(whole, shape.sizes[:shape.count] if shape.count else [])

    def parts(self) -> Optional[Parts]:
        """The shape as what changed since the previous parts() (see Parts); None before start.
        Each run hands out only its added points, so a read costs what the last calls changed,
        whatever the length of the stroke. With numpy, added views the stroke's memory until the
        next parts() or close()."""
        parts = _native.PartsC()
        if not self._lib.quillmark_stroke_parts(self._open_handle(), ctypes.byref(parts)):
            return None
        return Parts(self._run(parts.start_cap), self._run(parts.left),
                     self._run(parts.end_cap), self._run(parts.right),
                     [self._run(parts.polygons[i]) for i in range(parts.polygon_count)],
                     parts.tail_count)

    def close(self) -> None:
        """Releases the stroke and the memory its arrays view; closing again does nothing."""
        if self._handle is not None:
            self._lib.quillmark_stroke_destroy(self._handle)
            self._handle = None

    @property
    def closed(self) -> bool:
        return self._handle is None

    def __enter__(self) -> "Stroke":
        return self

    def __exit__(self, *exc) -> None:
        self.close()

    def __del__(self):
        if getattr(self, "_handle", None) is not None:
            self.close()

    def _open_handle(self):
        if self._handle is None:
            raise ValueError("the stroke is closed")
        return self._handle

    def _pairs(self, name, function, points, t_ms):
        count, xy, _memory = _arrays.float_pairs(points)
        return self._changed_by(name, function, count, xy, t_ms)

    def _changed_by(self, name, function, *arguments):
        if not function(self._open_handle(), *arguments, self._changed_out):
            raise ValueError(f"{self.engine} stroke refused {name}: before start, after the "
                             "end, a call this engine or this way of feeding lacks, or no points")
        changed = self._changed
        return Rect(changed.left, changed.top, changed.width, changed.height)

    def _run(self, run) -> Run:
        return Run(run.kept, _arrays.points(run.xy, run.kept, run.count, self))
