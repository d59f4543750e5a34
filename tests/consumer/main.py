"""A Python host of the installed package: draws a short stroke and checks that the library it
loaded is the one installed under the prefix given as the argument."""

import os
import sys

import quillmark

prefix = os.path.realpath(sys.argv[1])
loaded = os.path.realpath(quillmark.library_path())
with quillmark.Stroke("brush", 4) as stroke:
    stroke.start(10, 10, 0, 0.5)
    for i in range(1, 20):
        stroke.add(10 + 3 * i, 10 + i, 8 * i, 0.5)
        stroke.predict(16)
    ahead = min(len(stroke.predicted()), len(stroke.parts().predicted))
    stroke.predict_samples([(70, 30, 160, 0.5)])
    stroke.end(70, 30, 160, 0.5)
    points = sum(len(polygon) for polygon in stroke.polygons())
if not loaded.startswith(prefix + os.sep) or not points or not ahead:
    sys.exit(f"consumer.py: loaded {loaded}, drew {points} points, {ahead} predicted")
print(f"consumer.py: {points} outline points from {loaded}")
