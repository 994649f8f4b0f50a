"""ZIZUDUZ's routines for Python, over its C interface (ZIZUDUZC) through ctypes.

Texts are bytes to the library. Pass bytes and get bytes back, or pass str and get str back,
encoded and decoded with `encoding` (UTF-8 unless named). On Windows the library reads and
writes texts in the ANSI code page, so pass encoding="mbcs" there for paths, window titles and
messages that leave the ASCII range. Bytes that the encoding cannot decode come back as
surrogates ("surrogateescape"), as os.fsdecode gives them, and encode back to the same bytes.

NUL bytes inside a text are kept, except where the library cannot take one: a message box shows
its text up to the first NUL, and set_log_name refuses a path holding one (ValueError), as open()
does. A text of another type, None included, raises TypeError.

The library is the one the environment variable ZIZUDUZ_LIBRARY names when it is set, else the
one the installation recorded (cmake --install: under the same prefix; a wheel: its own copy),
else ZIZUDUZC.dll (on Windows) or libZIZUDUZC.so beside the package. Python 3.8 or later.
"""

import ctypes
import operator
import os
import threading

__all__ = [
    "trim", "trim_left", "trim_right", "pad", "extract_file_name", "extract_file_path",
    "short_path_name", "window_title", "debug", "send_debug_msg", "show_msg", "show_error",
    "log_name", "set_log_name"
]


def _library_path():
    path = os.environ.get("ZIZUDUZ_LIBRARY")
    if path:
        return path
    # Full paths: Windows then finds ZIZUDUZ.dll in ZIZUDUZC.dll's own folder.
    here = os.path.dirname(os.path.abspath(__file__))
    beside = os.path.join(here, "ZIZUDUZC.dll" if os.name == "nt" else "libZIZUDUZC.so")
    try:
        from ._library import LIBRARY  # written by cmake --install and by the wheel's build
    except ImportError:
        return beside
    recorded = os.path.normpath(os.path.join(here, LIBRARY))
    # A package copied elsewhere with the library put beside it has left the recorded place.
    return beside if not os.path.exists(recorded) and os.path.exists(beside) else recorded


def _load():
    path = _library_path()
    try:
        return ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(f"zizuduz cannot load {path} ({error}); the environment variable "
                          "ZIZUDUZ_LIBRARY may name the library") from error


_lib = _load()
_TEXT = _OUT = [ctypes.c_char_p, ctypes.c_size_t]  # a text in, or a buffer out, and its length
for _name in ("zyl_trim", "zyl_trim_left", "zyl_trim_right", "zyl_extract_file_name",
              "zyl_extract_file_path", "zyl_short_path_name"):
    getattr(_lib, _name).argtypes = _TEXT + _OUT
    getattr(_lib, _name).restype = ctypes.c_size_t
_lib.zyl_pad.argtypes = _TEXT + [ctypes.c_char, ctypes.c_int, ctypes.c_int] + _OUT
_lib.zyl_pad.restype = ctypes.c_size_t
_lib.zyl_window_title.argtypes = [ctypes.c_void_p] + _OUT
_lib.zyl_window_title.restype = ctypes.c_size_t
_lib.zyl_debug.argtypes = []
_lib.zyl_debug.restype = ctypes.c_int
_lib.zyl_send_debug_msg.argtypes = _TEXT
_lib.zyl_send_debug_msg.restype = None
_lib.zyl_show_msg.argtypes = _TEXT
_lib.zyl_show_msg.restype = None
_lib.zyl_show_error.argtypes = _TEXT + _TEXT
_lib.zyl_show_error.restype = None
_lib.zyl_log_name.argtypes = []
_lib.zyl_log_name.restype = ctypes.c_char_p
_lib.zyl_set_log_name.argtypes = [ctypes.c_char_p]
_lib.zyl_set_log_name.restype = None

_INT_MIN, _INT_MAX = -2**31, 2**31 - 1
_ERRORS = "surrogateescape"

# The library keeps set_log_name's pointer, and a record's append reads it throughout: the bytes
# live here until the next call replaces them, and the lock keeps that from happening while one
# of our calls reads the name.
_log_lock = threading.Lock()
_log_name_buffer = None


def _encode(text, encoding, what="text"):
    if isinstance(text, bytes):
        return text
    if isinstance(text, str):
        return text.encode(encoding, _ERRORS)
    raise TypeError(f"{what} must be str or bytes, not {type(text).__name__}")


def _decode(data, like, encoding):
    return data if isinstance(like, bytes) else data.decode(encoding, _ERRORS)


def _result(function, *args):
    """The whole result of a function with snprintf's contract: its length first, then it."""
    length = function(*args, None, 0)
    while True:
        out = ctypes.create_string_buffer(length + 1)
        whole = function(*args, out, len(out))
        if whole <= length:
            return out.raw[:whole]
        length = whole  # grown between the two calls (a window retitled): ask again


def _text_call(function, text, encoding):
    data = _encode(text, encoding)
    return _decode(_result(function, data, len(data)), text, encoding)


def trim(text, encoding="utf-8"):
    """`text` without its leading and trailing blanks and control bytes (0x00-0x20, 0x7F)."""
    return _text_call(_lib.zyl_trim, text, encoding)


def trim_left(text, encoding="utf-8"):
    """`text` without its leading blanks and control bytes."""
    return _text_call(_lib.zyl_trim_left, text, encoding)


def trim_right(text, encoding="utf-8"):
    """`text` without its trailing blanks and control bytes."""
    return _text_call(_lib.zyl_trim_right, text, encoding)


def pad(text, width, fill=" ", left=False, encoding="utf-8"):
    """`text` widened to `width` bytes with `fill`, on the left when `left`; a `width` at or below
    the text's length in bytes gives the text. `fill` is one byte, or a str of one byte in
    `encoding`, whatever the text's type.
    """
    data = _encode(text, encoding)
    fill_byte = _encode(fill, encoding, "fill")
    if len(fill_byte) != 1:
        raise ValueError(f"fill must be one byte, not {fill_byte!r}")
    width = operator.index(width)
    if not _INT_MIN <= width <= _INT_MAX:
        raise OverflowError(f"width {width} is out of the C int's range")
    return _decode(_result(_lib.zyl_pad, data, len(data), fill_byte, width, 1 if left else 0),
                   text, encoding)


def extract_file_name(path, encoding="utf-8"):
    """The part of `path` after its last backslash or colon; empty without one."""
    return _text_call(_lib.zyl_extract_file_name, path, encoding)


def extract_file_path(path, encoding="utf-8"):
    """The part of `path` up to and including its last backslash or colon; empty without one."""
    return _text_call(_lib.zyl_extract_file_path, path, encoding)


def short_path_name(path, encoding="utf-8"):
    """The short (8.3) form of an existing path; empty when there is none."""
    return _text_call(_lib.zyl_short_path_name, path, encoding)


def window_title(handle=None, encoding="utf-8"):
    """The title of the window `handle` (an HWND as an int), empty for a handle that names no
    window; for None the executable's file name. bytes when `encoding` is None."""
    if handle is not None:
        handle = operator.index(handle)
        bits = 8 * ctypes.sizeof(ctypes.c_void_p)
        if not -2**(bits - 1) <= handle < 2**bits:
            raise OverflowError(f"handle {handle} does not fit a pointer")
    title = _result(_lib.zyl_window_title, handle)
    return title if encoding is None else title.decode(encoding, _ERRORS)


def debug():
    """True when the environment variable DEBUG is "ON" in any letter case."""
    return _lib.zyl_debug() != 0


def send_debug_msg(message, encoding="utf-8"):
    """Appends a time-stamped record of `message` to the log that log_name() names."""
    data = _encode(message, encoding, "message")
    with _log_lock:
        _lib.zyl_send_debug_msg(data, len(data))


def show_msg(text, encoding="utf-8"):
    """A modal box showing `text` up to its first NUL; returns when it is closed."""
    data = _encode(text, encoding)
    _lib.zyl_show_msg(data, len(data))


def show_error(text, detail, encoding="utf-8"):
    """A modal box showing `detail` when debug() is True, `text` otherwise."""
    data = _encode(text, encoding)
    detail_data = _encode(detail, encoding, "detail")
    _lib.zyl_show_error(data, len(data), detail_data, len(detail_data))


def log_name(encoding="utf-8"):
    """The log's path ("C:\\ZYL.LOG" at load), None when logging is off; bytes when `encoding`
    is None."""
    with _log_lock:
        name = _lib.zyl_log_name()
    if name is None or encoding is None:
        return name
    return name.decode(encoding, _ERRORS)


def set_log_name(path, encoding="utf-8"):
    """Sends later records to `path` (str, bytes or os.PathLike); None turns logging off."""
    global _log_name_buffer
    if path is None:
        buffer = None
    else:
        data = _encode(os.fspath(path) if isinstance(path, os.PathLike) else path, encoding,
                       "path")
        if b"\0" in data:
            raise ValueError("embedded null byte in the log's path")
        buffer = ctypes.create_string_buffer(data)
    with _log_lock:
        _lib.zyl_set_log_name(buffer)
        _log_name_buffer = buffer
