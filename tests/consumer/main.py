"""A Python host of the installed package: draws a short stroke, puts it on a page, cuts it in
two, stores the page and reads it back (the pieces under their keys), and checks that the
library it loaded is the one installed under the prefix given as the argument. (What each page
call does is python/tests' own.)"""

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
    with quillmark.Page() as page:
        key = page.add(stroke, colour=(0, 0, 0, 255))
        page.erase([(30, 0), (30, 40)], 4)
        pieces = page.keys()
        copied = quillmark.Page.from_bytes(page.to_bytes()).keys()
on_page = key == 1 and len(pieces) == 2 and copied == pieces
if not loaded.startswith(prefix + os.sep) or not points or not ahead or not on_page:
    sys.exit(f"consumer.py: loaded {loaded}, drew {points} points, {ahead} predicted; page: "
             f"cut into {pieces}, stored and read back as {copied}")
print(f"consumer.py: {points} outline points from {loaded}, {len(pieces)} pieces after a cut")
