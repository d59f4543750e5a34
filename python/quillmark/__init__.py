"""quillmark for Python hosts, through the library's C interface (ctypes; numpy when installed).

    import quillmark

    with quillmark.Stroke("brush", 6) as stroke:    # or "fix", "fill", "pressure", ...
        changed = stroke.start(x, y, t_ms, pressure)  # t_ms: the host's own time stamps
        changed = stroke.add(x, y, t_ms, pressure)    # per sample: Rect(left, top, width, height)
        changed = stroke.end(x, y, t_ms, pressure)    # the last sample
        stroke.polygons()    # per frame: [array of shape (n, 2), ...] to fill (nonzero rule)
        stroke.parts()       # or only what changed since the previous parts()

    stroke = quillmark.draw("brush", 6, samples)    # a whole recorded stroke in one call

    page = quillmark.Page()                         # finished strokes, to hit-test and erase
    key = page.add(stroke, colour=(0, 0, 0, 255))
    page.hit(x, y, radius); page.erase(eraser_points, radius); page.undo()

Stroke copies no shape while it is drawn; polygons() and parts() hand out copies the host owns:
numpy arrays of shape (n, 2) and dtype float32, or without numpy lists of (x, y) tuples. A
refused call raises ValueError saying why, an argument that is not a number TypeError naming it.
Page holds finished strokes: hit(), lasso(), erase() (exactly the ink under the eraser),
erase_strokes(), move(), undo() and redo(), save() and load(). Pen is the older face over the
gateway (pen types FILLED and BRUSH), which hands out the whole shape at every call. ENGINES lists the engines' names as the library gives them.

The shared library is QUILLMARK_LIBRARY when that is set, else a libquillmark-qt5 or -qt6 file
inside this package's folder, else the installed library that pkg-config named when the package
was installed, else what the system's search finds (the Qt 5 build before the Qt 6 one). When
none loads, the first use raises OSError naming every place that was looked in.
"""

from . import _native
from ._arrays import USES_NUMPY
from .page import Page
from .pen import BRUSH, FILLED, Pen, Update
from .recording import Sample, draw, read_strokes
from .shapes import Parts, Rect, Run
from .stroke import FULL_PRESSURE, Stroke, engines

__all__ = ["BRUSH", "ENGINES", "FILLED", "FULL_PRESSURE", "Page", "Parts", "Pen", "Rect", "Run",
           "Sample", "Stroke", "USES_NUMPY", "Update", "draw", "library_path", "read_strokes",
           "version"]


def __getattr__(name):
    # ENGINES comes from the library, which is loaded at first use rather than at import.
    if name == "ENGINES":
        return engines()
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")


def version() -> str:
    """The loaded library's version, e.g. "0.1.0"."""
    return _native.library().quillmark_version().decode()


def library_path() -> str:
    """The path of the loaded library, as it was found."""
    return _native.library()._name
