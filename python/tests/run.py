"""Runs every test of the package: `run.py with_numpy` or `run.py without_numpy`, the second as
on a machine without numpy (its import fails, so the package hands out lists)."""

import os
import sys
import unittest

if __name__ == "__main__":
    mode = sys.argv[1] if len(sys.argv) == 2 else ""
    if mode not in ("with_numpy", "without_numpy"):
        sys.exit("usage: run.py with_numpy|without_numpy")
    if mode == "without_numpy":
        sys.modules["numpy"] = None
    else:
        import numpy  # noqa: F401  (fails here rather than testing the lists twice)
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, os.path.dirname(here))
    suite = unittest.defaultTestLoader.discover(here, top_level_dir=here)
    result = unittest.TextTestRunner(verbosity=1).run(suite)
    sys.exit(not result.wasSuccessful())
