"""Draws the strokes of a recording with one engine through the Python package and writes them
as SVG: each stroke's polygons filled with the nonzero rule, or the fix engine's centre line
stroked at the pen width.

    PYTHONPATH=python QUILLMARK_LIBRARY=build/release/src/libquillmark-qt5.so \\
        python3 examples/python_svg.py data/pf-recorded.txt brush 4 > brush.svg
"""

import sys

import quillmark


def path_data(points, closed):
    """SVG path data through points."""
    pairs = " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    return f"M{pairs}{'Z' if closed else ''}"


def svg(strokes, engine, width):
    closed = engine != "fix"
    paths = []
    for samples in strokes:
        with quillmark.draw(engine, width, samples) as stroke:
            data = " ".join(path_data(p, closed) for p in stroke.polygons() if len(p))
        paint = ('fill="black" fill-rule="nonzero"' if closed else
                 f'fill="none" stroke="black" stroke-width="{width}" stroke-linecap="round" '
                 'stroke-linejoin="round"')
        paths.append(f'<path {paint} d="{data}"/>')
    xs = [s.x for stroke in strokes for s in stroke]
    ys = [s.y for stroke in strokes for s in stroke]
    left, top = min(xs) - 2 * width, min(ys) - 2 * width
    size = f"{max(xs) - left + 2 * width:.0f} {max(ys) - top + 2 * width:.0f}"
    return (f'<svg xmlns="http://www.w3.org/2000/svg" viewBox="{left:.0f} {top:.0f} {size}">\n'
            + "\n".join(paths) + "\n</svg>\n")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    recording, engine, width = sys.argv[1], sys.argv[2], float(sys.argv[3])
    sys.stdout.write(svg(quillmark.read_strokes(recording), engine, width))
