"""Installs the quillmark package: `pip install ./python`.

Needs nothing but setuptools, so it installs offline (Debian: python3-setuptools). The package
loads the quillmark shared library at run time; the library folder that pkg-config reports for an
installed quillmark is written into the installed package, so it finds that library without
QUILLMARK_LIBRARY. numpy is optional: with it, shapes come as numpy arrays."""

import os
import subprocess
import sys

from setuptools import setup
from setuptools.command.build_py import build_py

LOCATION_MODULE = os.path.join("quillmark", "_location.py")


# The pkg-config modules of the Qt 5 and the Qt 6 build; either serves, the Qt 5 build first.
MODULES = ("quillmark-qt5", "quillmark-qt6")


def module_library_dir(module):
    """The libdir of an installed pkg-config module, or None without one."""
    try:
        found = subprocess.run(["pkg-config", "--variable=libdir", module],
                               capture_output=True, text=True, check=True)
    except (OSError, subprocess.CalledProcessError):
        return None
    libdir = found.stdout.strip()
    return os.path.normpath(libdir) if libdir else None


def installed_library_dirs():
    """The folders of the installed quillmark builds, each once."""
    found = [module_library_dir(module) for module in MODULES]
    return tuple(dict.fromkeys(libdir for libdir in found if libdir))


class BuildPyWithLibraryDir(build_py):
    """Writes the installed libraries' folders into the built copy of _location.py."""

    def run(self):
        super().run()
        libdirs = installed_library_dirs()
        target = os.path.join(self.build_lib, LOCATION_MODULE)
        if not libdirs:
            # pip shows this with -v; the import's error names every place it looks in as well.
            print("quillmark: pkg-config finds neither quillmark-qt5 nor quillmark-qt6, so the "
                  "package will look for the library only in its own folder, in "
                  "QUILLMARK_LIBRARY and on the system's search path (set PKG_CONFIG_PATH to "
                  "<prefix>/lib/pkgconfig and install again to record a custom prefix)",
                  file=sys.stderr)
        if libdirs and not self.dry_run:
            os.remove(target)  # it may be a hard link to the source file
            with open(target, "w") as module:
                module.write(f'"""Written by setup.py."""\n\nLIBRARY_DIRS = {libdirs!r}\n')


setup(
    name="quillmark",
    version="0.1.0",  # the library's version, as in CMakeLists.txt
    description="Ink-stroke geometry for Python hosts, over quillmark's C interface",
    packages=["quillmark"],
    package_data={"quillmark": ["py.typed"]},
    python_requires=">=3.8",
    extras_require={"numpy": ["numpy"]},
    cmdclass={"build_py": BuildPyWithLibraryDir},
)
