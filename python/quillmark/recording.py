"""Recorded strokes: reading the text files of recorded samples, and drawing a whole recorded
stroke in one call."""

from typing import Iterable, List, NamedTuple, Sequence

from .stroke import Stroke


class Sample(NamedTuple):
    x: float
    y: float
    t_ms: float
    pressure: float


def read_strokes(path: str) -> List[List[Sample]]:
    """The strokes of a recording: one sample "x y t_ms pressure" a line, '#' starting a comment
    line, a blank line ending a stroke. ValueError names the first line that is not a sample."""
    strokes: List[List[Sample]] = []
    current: List[Sample] = []
    with open(path) as lines:
        for number, line in enumerate(lines, 1):
            fields = line.split()
            if line.startswith("#"):
                continue
            if not fields:
                if current:
                    strokes.append(current)
                current = []
                continue
            try:
                current.append(Sample(*map(float, fields)))
            except (TypeError, ValueError):
                raise ValueError(f"{path}:{number}: not a sample (x y t_ms pressure): "
                                 f"{line.strip()!r}") from None
    return strokes + ([current] if current else [])


def draw(engine: str, width: float, samples: Iterable[Sequence[float]]) -> Stroke:
    """A finished Stroke of engine drawn from samples of (x, y, t_ms, pressure) (a Sample, a
    tuple, a row of an array), fed the way a live host feeds them: start with the first, add
    with each further one, end with the last, each with its own time stamp and pressure, so the
    result is the same however fast this runs. ValueError on no samples, an unknown engine or a
    bad width."""
    samples = list(samples)
    if not samples:
        raise ValueError("a stroke needs at least one sample")
    stroke = Stroke(engine, width)
    try:
        stroke.start(*samples[0])
        for sample in samples[1:-1]:
            stroke.add(*sample)
        stroke.end(*samples[-1])
    except BaseException:
        stroke.close()
        raise
    return stroke
