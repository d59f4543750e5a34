"""An object of the library (a stroke, a pen) held by a Python object: every call on it runs under
the object's lock, so close() in one thread can never free the object while a call in another
thread is inside it, and a closed object refuses every call with ValueError."""

import threading

from . import _native


class NativeHandle:
    """Owns one library object: create is called once and gives its handle (or None when the
    library refused it), destroy releases it. Subclasses call what they need through call()."""

    _what = "object"   # what the subclass holds, for messages: "stroke", "pen", ...

    def __init__(self, create, destroy):
        self._handle = None
        self._lock = threading.Lock()
        self._lib = _native.library()
        self._destroy = destroy
        self._handle = create(self._lib)

    def call(self, function, *arguments):
        """function(handle, *arguments) under the lock; ValueError once closed."""
        with self._lock:
            if self._handle is None:
                raise ValueError(f"the {self._what} is closed")
            return function(self._handle, *arguments)

    def close(self) -> None:
        """Releases the library's object; every array handed out before stays valid (they are
        copies). Closing again does nothing."""
        with self._lock:
            if self._handle is not None:
                self._destroy(self._lib, self._handle)
                self._handle = None

    @property
    def closed(self) -> bool:
        return self._handle is None

    def __enter__(self):
        return self

    def __exit__(self, *exc) -> None:
        self.close()

    def __del__(self):
        if getattr(self, "_handle", None) is not None:
            self.close()
