"""What the calls hand back: rectangles, and the shape read whole or in parts.

Points are numpy arrays of shape (n, 2) and dtype float32 when numpy is installed, and lists of
(x, y) tuples otherwise; either way the host's own copy."""

from typing import TYPE_CHECKING, List, NamedTuple, Tuple, Union

if TYPE_CHECKING:
    import numpy
    import numpy.typing

Points = Union["numpy.typing.NDArray[numpy.float32]", List[Tuple[float, float]]]


class Rect(NamedTuple):
    """A rectangle in drawing units (x grows to the right, y downwards). All 0: nothing to
    repaint."""
    left: float
    top: float
    width: float
    height: float


class Run(NamedTuple):
    """A run of points read by Stroke.parts(): the host's copy of it keeps its first kept points
    and appends added."""
    kept: int
    added: Points


class Parts(NamedTuple):
    """The shape as what changed since the previous Stroke.parts().

    The body, once the stroke has grown past its start, is one closed polygon of four runs:
    start_cap, then left, then end_cap, then right walked backwards. The sides only grow while
    the stroke is drawn; the caps are small. For the fix engine, left is the centre line (an open
    polyline) and the other three are empty. polygons are further closed polygons, each a run of
    its own: the body while it is not in the four runs (a start dot, the recent part drawn in
    batches), then the tapering tails, the last tail_count of them. Copies of polygons beyond
    len(polygons) are gone. A joint may repeat a point: the last of one run may equal the first
    of the next."""
    start_cap: Run
    left: Run
    end_cap: Run
    right: Run
    polygons: List[Run]
    tail_count: int
