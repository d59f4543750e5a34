"""Folders holding an installed quillmark library. Empty in the source tree; setup.py writes the
folder that pkg-config reports into the installed package."""

LIBRARY_DIRS: tuple = ()
