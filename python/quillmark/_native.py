"""Finding and loading the quillmark shared library, and the declarations of its C interface
(quillmark_c.h) for ctypes."""

import ctypes
import ctypes.util
import functools
import os

from . import _location

LIBRARY_VARIABLE = "QUILLMARK_LIBRARY"


class Shape(ctypes.Structure):
    """quillmark_shape: the rectangle that changed and the shape, in arrays owned by the pen."""

    _fields_ = [
        ("left", ctypes.c_float),
        ("top", ctypes.c_float),
        ("width", ctypes.c_float),
        ("height", ctypes.c_float),
        ("point_count", ctypes.c_int),
        ("path_count", ctypes.c_int),
        ("path_sizes", ctypes.POINTER(ctypes.c_int)),
        ("coords", ctypes.POINTER(ctypes.c_float)),
    ]


class RectC(ctypes.Structure):
    """quillmark_rect: a rectangle in drawing units; all 0 means nothing to repaint."""

    _fields_ = [(name, ctypes.c_float) for name in ("left", "top", "width", "height")]


class PolygonsC(ctypes.Structure):
    """quillmark_polygons: the whole shape, in arrays owned by the stroke."""

    _fields_ = [
        ("count", ctypes.c_int),
        ("point_count", ctypes.c_int),
        ("tail_count", ctypes.c_int),
        ("closed", ctypes.c_int),
        ("sizes", ctypes.POINTER(ctypes.c_int)),
        ("xy", ctypes.c_void_p),  # float[2 * point_count]; an address reads faster than a pointer
    ]


class RunC(ctypes.Structure):
    """quillmark_run: count points, the first kept of them unchanged since the previous read."""

    _fields_ = [
        ("count", ctypes.c_int),
        ("kept", ctypes.c_int),
        ("xy", ctypes.c_void_p),  # float[2 * count]
    ]


class PartsC(ctypes.Structure):
    """quillmark_parts: the shape in parts, for a host that keeps its own copy."""

    _fields_ = [
        ("start_cap", RunC),
        ("left", RunC),
        ("end_cap", RunC),
        ("right", RunC),
        ("polygon_count", ctypes.c_int),
        ("tail_count", ctypes.c_int),
        ("closed", ctypes.c_int),
        ("polygons", ctypes.POINTER(RunC)),
        ("predicted_count", ctypes.c_int),
        ("predicted", ctypes.POINTER(RunC)),
    ]


class PredictedC(ctypes.Structure):
    """quillmark_predicted: the predicted samples drawn now, four doubles each."""

    _fields_ = [
        ("count", ctypes.c_int),
        ("samples", ctypes.c_void_p),  # double[4 * count]: x, y, t_ms, pressure
    ]


class KeysC(ctypes.Structure):
    """quillmark_keys: keys handed out by a page, in an array owned by the page."""

    _fields_ = [
        ("count", ctypes.c_int),
        ("keys", ctypes.c_void_p),  # double[count]: whole numbers from 1
    ]


class SelectionC(ctypes.Structure):
    """quillmark_selection: what a lasso selects, in arrays owned by the page."""

    _fields_ = [
        ("count", ctypes.c_int),
        ("keys", ctypes.c_void_p),       # double[count]
        ("fractions", ctypes.c_void_p),  # double[count]
    ]


class BytesC(ctypes.Structure):
    """quillmark_bytes: a stored page, owned by the page."""

    _fields_ = [
        ("size", ctypes.c_size_t),
        ("data", ctypes.c_void_p),
    ]


_PEN = ctypes.c_void_p
_STROKE = ctypes.c_void_p
_PAGE = ctypes.c_void_p
_KEYS = ctypes.POINTER(KeysC)
_SHAPE = ctypes.POINTER(Shape)
_RECT = ctypes.POINTER(RectC)
_INT_OUT = ctypes.POINTER(ctypes.c_int)
_F, _D, _I = ctypes.c_float, ctypes.c_double, ctypes.c_int
_FLOATS, _DOUBLES = ctypes.POINTER(_F), ctypes.POINTER(_D)

# name: (result type, argument types)
_SIGNATURES = {
    "quillmark_version": (ctypes.c_char_p, []),
    "quillmark_version_numbers": (None, [_INT_OUT, _INT_OUT, _INT_OUT]),
    "quillmark_pen_create": (_PEN, []),
    "quillmark_pen_destroy": (None, [_PEN]),
    "quillmark_pen_set_environment": (_I, [_PEN, _F, _F, _F, _I]),
    "quillmark_pen_free_stroke": (None, [_PEN]),
    "quillmark_pen_clearup": (None, [_PEN]),
    "quillmark_pen_start": (_I, [_PEN, _F, _F, _D, _SHAPE]),
    "quillmark_pen_move": (_I, [_PEN, _F, _F, _SHAPE]),
    "quillmark_pen_end": (_I, [_PEN, _F, _F, _SHAPE]),
    "quillmark_pen_end_timed": (_I, [_PEN, _F, _F, _D, _SHAPE]),
    "quillmark_pen_move_batch": (_I, [_PEN, _I, _FLOATS, _D, _SHAPE]),
    "quillmark_pen_end_batch": (_I, [_PEN, _F, _F, _D, _SHAPE]),
    "quillmark_pen_end_batch_accumulated": (_I, [_PEN, _F, _F, _D, _SHAPE]),
    "quillmark_engine_from_name": (_I, [ctypes.c_char_p]),
    "quillmark_engine_count": (_I, []),
    "quillmark_engine_name": (ctypes.c_char_p, [_I]),
    "quillmark_engine_feeds": (_I, [_I]),
    "quillmark_stroke_refusal": (_I, [_STROKE]),
    "quillmark_refusal_text": (ctypes.c_char_p, [_I]),
    "quillmark_stroke_create": (_STROKE, [_I, _F]),
    "quillmark_stroke_destroy": (None, [_STROKE]),
    "quillmark_stroke_start": (_I, [_STROKE, _F, _F, _D, _F, _RECT]),
    "quillmark_stroke_add": (_I, [_STROKE, _F, _F, _D, _F, _RECT]),
    "quillmark_stroke_end": (_I, [_STROKE, _F, _F, _D, _F, _RECT]),
    "quillmark_stroke_add_batch": (_I, [_STROKE, _I, _FLOATS, _D, _RECT]),
    "quillmark_stroke_end_batch": (_I, [_STROKE, _F, _F, _D, _F, _RECT]),
    "quillmark_stroke_add_raw": (_I, [_STROKE, _I, _FLOATS, _D, _RECT]),
    "quillmark_stroke_add_fitted": (_I, [_STROKE, _I, _FLOATS, _D, _RECT]),
    "quillmark_stroke_replay": (_I, [_STROKE, _I, _FLOATS, _DOUBLES, _FLOATS, _RECT]),
    "quillmark_stroke_polygons": (_I, [_STROKE, ctypes.POINTER(PolygonsC)]),
    "quillmark_stroke_parts": (_I, [_STROKE, ctypes.POINTER(PartsC)]),
    "quillmark_stroke_predict": (_I, [_STROKE, _D, _RECT]),
    "quillmark_stroke_predict_samples": (_I, [_STROKE, _I, _DOUBLES, _RECT]),
    "quillmark_stroke_predicted": (_I, [_STROKE, ctypes.POINTER(PredictedC)]),
    "quillmark_page_refusal": (_I, [_PAGE]),
    "quillmark_page_refusal_text": (ctypes.c_char_p, [_I]),
    "quillmark_page_error": (ctypes.c_char_p, [_PAGE]),
    "quillmark_page_create": (_PAGE, []),
    "quillmark_page_destroy": (None, [_PAGE]),
    "quillmark_page_add": (_I, [_PAGE, _STROKE, ctypes.c_ulong, _DOUBLES, _RECT]),
    "quillmark_page_keys": (_I, [_PAGE, _KEYS]),
    "quillmark_page_keys_in": (_I, [_PAGE, RectC, _KEYS]),
    "quillmark_page_colour": (_I, [_PAGE, _D, ctypes.POINTER(ctypes.c_ulong)]),
    "quillmark_page_polygons": (_I, [_PAGE, _D, ctypes.POINTER(PolygonsC)]),
    "quillmark_page_hit": (_I, [_PAGE, _D, _D, _D, _KEYS]),
    "quillmark_page_hit_swept": (_I, [_PAGE, _I, _FLOATS, _D, _KEYS]),
    "quillmark_page_lasso": (_I, [_PAGE, _I, _FLOATS, ctypes.POINTER(SelectionC)]),
    "quillmark_page_erase": (_I, [_PAGE, _I, _FLOATS, _D, _RECT]),
    "quillmark_page_erase_strokes": (_I, [_PAGE, _I, _FLOATS, _D, _KEYS, _RECT]),
    "quillmark_page_move": (_I, [_PAGE, _I, _DOUBLES, _D, _D, _RECT]),
    "quillmark_page_undo": (_I, [_PAGE, _RECT]),
    "quillmark_page_redo": (_I, [_PAGE, _RECT]),
    "quillmark_page_can_undo": (_I, [_PAGE]),
    "quillmark_page_can_redo": (_I, [_PAGE]),
    "quillmark_page_begin_group": (None, [_PAGE]),
    "quillmark_page_end_group": (None, [_PAGE]),
    "quillmark_page_save": (_I, [_PAGE, ctypes.c_char_p]),
    "quillmark_page_load": (_I, [_PAGE, ctypes.c_char_p]),
    "quillmark_page_to_bytes": (_I, [_PAGE, ctypes.POINTER(BytesC)]),
    "quillmark_page_from_bytes": (_I, [_PAGE, ctypes.c_char_p, ctypes.c_size_t]),
}


# The library is named after the Qt it was built on; either serves, the Qt 5 build first.
LIBRARY_NAMES = ("quillmark-qt5", "quillmark-qt6")


def _is_library_file(name):
    return name.startswith(tuple(f"{prefix}{library}." for library in LIBRARY_NAMES
                                 for prefix in ("lib", ""))) and any(
        suffix in name for suffix in (".so", ".dylib", ".dll"))


def _library_files(folder):
    try:
        names = sorted(os.listdir(folder))
    except OSError:
        return []
    return [os.path.join(folder, name) for name in names if _is_library_file(name)]


def search():
    """Where the library is looked for, in order: a list of (place, path), path None where the
    place held no library (the place then says what was missing). An explicit QUILLMARK_LIBRARY
    is the only place: a wrong setting fails instead of silently loading another build. Else a
    library inside this package's folder, the folders of the installed library that setup.py
    recorded from pkg-config, and what the system's search finds."""
    explicit = os.environ.get(LIBRARY_VARIABLE)
    if explicit:
        return [(f"{LIBRARY_VARIABLE}={explicit}", explicit)]
    places = [(f"{LIBRARY_VARIABLE}: not set", None)]
    names = "/".join(f"lib{library}.so" for library in LIBRARY_NAMES)
    folders = [(os.path.dirname(os.path.abspath(__file__)), "the package's folder")]
    folders += [(folder, "recorded from pkg-config at install") for folder in _location.LIBRARY_DIRS]
    for folder, why in folders:
        files = _library_files(folder)
        places += [(f"{path} ({why})", path) for path in files] or [
            (f"{folder} ({why}): no {names} there", None)]
    if not _location.LIBRARY_DIRS:
        places.append(("pkg-config at install: found no quillmark-qt5 or quillmark-qt6 module, "
                       "so no installed library folder was recorded (install the package with "
                       "PKG_CONFIG_PATH naming <prefix>/lib/pkgconfig)", None))
    for library in LIBRARY_NAMES:
        found = ctypes.util.find_library(library)
        places.append((f"the system's search for lib{library} (ldconfig's cache, "
                       f"LD_LIBRARY_PATH)" + ("" if found else ": not found"), found))
    return places


def candidates():
    """The library files to try, in the order of search()."""
    return [path for _, path in search() if path]


def _declare(library):
    for name, (result, arguments) in _SIGNATURES.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments


def load():
    """Loads the first candidate that loads and declares the C interface on it; OSError naming
    every place looked in when none does."""
    looked = []
    for place, path in search():
        if path is None:
            looked.append(place)
            continue
        try:
            library = ctypes.CDLL(path)
            _declare(library)
            return library
        except OSError as error:
            looked.append(f"{place}: {error}")
        except AttributeError as error:
            looked.append(f"{place}: no C interface ({error})")
    places = "".join("\n  " + place for place in looked)
    raise OSError(f"cannot load the quillmark library; looked in:{places}\n"
                  f"Set {LIBRARY_VARIABLE} to the library's path, or see the README on a custom "
                  "prefix.")


@functools.lru_cache(maxsize=None)
def library():
    """The library, loaded on first use."""
    return load()
